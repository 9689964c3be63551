// Polyline assembly: POLYLINE with VERTEX and SEQEND records, and
// LWPOLYLINE, as chains of line segments, one segment as soon as its end
// vertex is complete.
#include "reader/polyline.h"

#include <cstring>

#include "reader/readerstate.h"
#include "support/number.h"

namespace ostra {

using brevo::geometry;
using brevo::lineseg;
using brevo::point;

void polylinestate::start() {
    firstvertex.setinvalid();
    prevx[0] = prevy[0] = prevz[0] = '\0';
    closed = false;
}

point polylinestate::prev() const {
    return point(parsedouble(prevx), parsedouble(prevy), parsedouble(prevz));
}

void polylinestate::advance(const grouptable& t) {
    std::strcpy(prevx, t.get(10));
    std::strcpy(prevy, t.get(20));
    std::strcpy(prevz, t.get(30));
}

namespace {
point slotpoint(const grouptable& t) {
    return point(parsedouble(t.get(10)), parsedouble(t.get(20)), parsedouble(t.get(30)));
}
}  // namespace

// A group 10, 20 or 30 inside a POLYLINE header or LWPOLYLINE record, before
// its value is stored. In an LWPOLYLINE the group 10 that begins vertex k+2
// completes vertex k+1: the segment from vertex k to it is emitted.
void readerstate::polylinevertexgroup(int code) {
    switch (code) {
    case 10:
        if (poly.prevx[0] && poly.prevy[0] && emittest())
            emit(geometry(lineseg(poly.prev(), slotpoint(table))));
        std::strcpy(poly.prevx, table.get(10));
        break;
    case 20:
        std::strcpy(poly.prevy, table.get(20));
        break;
    case 30:
        std::strcpy(poly.prevz, table.get(30));
        break;
    default:
        break;
    }
}

// The end of a POLYLINE header, LWPOLYLINE or VERTEX record.
void readerstate::polylinevertexend() {
    if (emittest() && poly.anyprev()) emit(geometry(lineseg(poly.prev(), slotpoint(table))));
    if (kind == kvertex) {
        poly.advance(table);
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
