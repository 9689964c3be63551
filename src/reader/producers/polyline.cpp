#include "reader/producers/polyline.h"

#include <cstring>

#include "reader/records/ocs.h"

namespace ostra {

using brevo::geometry;
using brevo::lineseg;
using brevo::point;

namespace {
// A coordinate of the previous vertex taken from slot code.
void take(double& v, bool& has, const grouptable& t, int code) {
    v = t.number(code);
    has = !t.empty(code);
}
}  // namespace

void polylineproducer::start(bool light) {
    light_ = light;
    first_.setinvalid();
    prevx_ = prevy_ = prevz_ = 0;
    hasx_ = hasy_ = hasz_ = false;
    closed_ = false;
}

void polylineproducer::vertexgroup(int code, const grouptable& t, emitter& e) {
    switch (code) {
    case 10:
        if (hasx_ && hasy_ && e.test()) e.emit(geometry(lineseg(prev(), slotpoint(t, 10))));
        take(prevx_, hasx_, t, 10);
        break;
    case 20:
        take(prevy_, hasy_, t, 20);
        break;
    case 30:
        take(prevz_, hasz_, t, 30);
        break;
    default:
        break;
    }
}

void polylineproducer::vertexend(bool vertex, const grouptable& t, emitter& e) {
    if (vertex) e.useprops("POLYLINE", &header_);
    if (e.test() && anyprev()) e.emit(geometry(lineseg(prev(), slotpoint(t, 10))));
    if (vertex) {
        // The previous vertex becomes the one in slots 10, 20 and 30.
        take(prevx_, hasx_, t, 10);
        take(prevy_, hasy_, t, 20);
        take(prevz_, hasz_, t, 30);
        if (first_.invalid()) first_ = prev();
    } else {
        // Exactly "1": group 70 is not read as a bit mask here.
        closed_ = std::strcmp(t.get(70), "1") == 0;
        // A light polyline gets no closing segment in this reading.
        e.setclosed(closed_ && !light_);
        if (!light_) header_ = readprops(t, t.recordid());
    }
}

void polylineproducer::closing(emitter& e) {
    e.useprops("POLYLINE", &header_);
    if (closed_ && first_.valid() && anyprev() && e.test()) e.emit(geometry(lineseg(first_, prev())));
}

}  // namespace ostra
