#include "reader/producers/faces.h"

#include "reader/records/ocs.h"
#include "support/vectors.h"

namespace ostra {

using brevo::point;

namespace {
int flagsof(const grouptable& t) {
    double v = t.number(70);
    return v >= 0 && v <= 255 ? static_cast<int>(v) : 0;
}
}  // namespace

void faceproducer::add(const point& a, const point& b) {
    if (!samepoint(a, b)) edges_[count_++] = brevo::lineseg(a, b);
}

void faceproducer::face(const grouptable& t, emitter& e) {
    if (!e.test()) return;
    point v[4] = {slotpoint(t, 10), slotpoint(t, 11), slotpoint(t, 12),
                  t.carried(13) ? slotpoint(t, 13) : slotpoint(t, 12)};
    int hide = flagsof(t);
    count_ = next_ = 0;
    for (int i = 0; i < 4; ++i)
        if (!(hide & (1 << i))) add(v[i], v[(i + 1) % 4]);
    // Its whole outline, when no edge is hidden, is a closed contour.
    e.setclosed((hide & 15) == 0);
    send(e);
}

void faceproducer::solid(const grouptable& t, emitter& e) {
    if (!e.test()) return;
    brevo::trafo ocs = ocstrafo(t);
    point v1 = ocs.apply(slotpoint(t, 10)), v2 = ocs.apply(slotpoint(t, 11)), v3 = ocs.apply(slotpoint(t, 12));
    point v4 = t.carried(13) ? ocs.apply(slotpoint(t, 13)) : v3;
    count_ = next_ = 0;
    add(v1, v2);
    add(v2, v4);
    add(v4, v3);
    add(v3, v1);
    e.setclosed(true);
    send(e, &solidfill);
}

// A SOLID or TRACE is filled: its outline bounds one outer loop.
const fillinfo faceproducer::solidfill = [] {
    fillinfo f;
    f.solid = true;
    return f;
}();

void faceproducer::send(emitter& e, const fillinfo* fill) {
    info_ = e.recordinfo();
    info_.fill = fill;
    if (count_ > 0) e.emitall(*this);
}

bool faceproducer::fill(sink& s) {
    if (next_ >= count_) return false;
    s.put(brevo::geometry(edges_[next_++]), info_);
    return true;
}

}  // namespace ostra
