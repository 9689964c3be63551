// Polyline assembly: POLYLINE with VERTEX and SEQEND records, and
// LWPOLYLINE, as chains of line segments, one segment as soon as its end
// vertex is complete.
#include "reader/polyline.h"

#include <cstring>

#include "reader/readerstate.h"

namespace ostra {

using brevo::geometry;
using brevo::lineseg;
using brevo::point;

void polylinestate::start() {
    firstvertex.setinvalid();
    prevx = prevy = prevz = 0;
    hasx = hasy = hasz = false;
    closed = false;
}

namespace {
point slotpoint(const grouptable& t) { return point(t.number(10), t.number(20), t.number(30)); }

// A coordinate of the previous vertex taken from slot code.
void take(double& v, bool& has, const grouptable& t, int code) {
    v = t.number(code);
    has = t.get(code)[0] != '\0';
}
}  // namespace

// A group 10, 20 or 30 inside a POLYLINE header or LWPOLYLINE record, before
// its value is stored. In an LWPOLYLINE the group 10 that begins vertex k+2
// completes vertex k+1: the segment from vertex k to it is emitted.
void readerstate::polylinevertexgroup(int code) {
    switch (code) {
    case 10:
        if (poly.hasx && poly.hasy && emittest()) emit(geometry(lineseg(poly.prev(), slotpoint(table))));
        take(poly.prevx, poly.hasx, table, 10);
        break;
    case 20:
        take(poly.prevy, poly.hasy, table, 20);
        break;
    case 30:
        take(poly.prevz, poly.hasz, table, 30);
        break;
    default:
        break;
    }
}

// The end of a POLYLINE header, LWPOLYLINE or VERTEX record.
void readerstate::polylinevertexend() {
    if (emittest() && poly.anyprev()) emit(geometry(lineseg(poly.prev(), slotpoint(table))));
    if (kind == kvertex) {
        // The previous vertex becomes the one in slots 10, 20 and 30.
        take(poly.prevx, poly.hasx, table, 10);
        take(poly.prevy, poly.hasy, table, 20);
        take(poly.prevz, poly.hasz, table, 30);
        if (poly.firstvertex.invalid()) poly.firstvertex = poly.prev();
    } else {
        // Exactly "1": group 70 is not read as a bit mask here.
        poly.closed = std::strcmp(table.get(70), "1") == 0;
    }
}

// The end of a SEQEND record: the closing segment of a closed polyline runs
// from the first vertex to the last.
void readerstate::polylineclosing() {
    if (poly.closed && poly.firstvertex.valid() && poly.anyprev() && emittest())
        emit(geometry(lineseg(poly.firstvertex, poly.prev())));
}

}  // namespace ostra
