#include "reader/producers/wipeout.h"

#include "reader/records/ocs.h"
#include "support/vectors.h"

namespace ostra {

using brevo::point;
using brevo::vector;

const fillinfo wipeoutproducer::wipeoutfill = [] {
    fillinfo f;
    f.solid = true;
    f.wipeout = true;
    return f;
}();

void wipeoutproducer::group(int code, const grouptable& t) {
    if (code == 14) clip_.push_back(point2{t.number(14), 0});
    if (code == 24 && !clip_.empty()) clip_.back().y = t.number(24);
}

void wipeoutproducer::end(const grouptable& t, emitter& e) {
    if (!e.test()) return;
    std::vector<point2> v = clip_;
    bool rectangle = t.carried(71) && t.number(71) == 1;
    if (v.size() < 2) {
        v = {point2{-0.5, -0.5}, point2{0.5, 0.5}};
        rectangle = true;
    }
    if (rectangle) v = {v[0], point2{v[1].x, v[0].y}, v[1], point2{v[0].x, v[1].y}};
    point ins = slotpoint(t, 10);
    vector u(t.number(11), t.number(21), t.number(31)), w(t.number(12), t.number(22), t.number(32));
    outline_.clear();
    for (const point2& c : v) outline_.push_back(ins + u * (c.x + 0.5) + w * (0.5 - c.y));
    // A last vertex on the first one closes the outline already.
    if (outline_.size() > 1 && samepoint(outline_.front(), outline_.back())) outline_.pop_back();
    next_ = 0;
    e.setclosed(true);
    info_ = e.recordinfo();
    info_.fill = &wipeoutfill;
    if (outline_.size() >= 2) e.emitall(*this);
}

// The sides in order, the closing one last; a side of no length is passed
// over as work.
bool wipeoutproducer::fill(sink& s) {
    while (next_ < outline_.size()) {
        const point& a = outline_[next_];
        const point& b = outline_[(next_ + 1) % outline_.size()];
        ++next_;
        if (!samepoint(a, b)) {
            s.put(brevo::geometry(brevo::lineseg(a, b)), info_);
            return true;
        }
        if (!s.spend()) return true;
    }
    return false;
}

}  // namespace ostra
