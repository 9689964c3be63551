#include "reader/producers/spline.h"

#include <cstring>
#include <utility>

#include "support/vectors.h"

namespace ostra {

using brevo::point;
using brevo::vector;

void chainsource::startpoints(std::vector<point>& points, const geometryinfo& info) {
    std::swap(points_, points);
    nextpoint_ = 0;
    spline_ = false;
    hasprev_ = false;
    info_ = info;
}

bool chainsource::startspline(splinedata& d, double tolerance, const geometryinfo& info) {
    spline_ = flattener_.start(d, tolerance);
    points_.clear();
    nextpoint_ = 0;
    hasprev_ = false;
    info_ = info;
    return spline_;
}

bool chainsource::nextvertex(point& p) {
    if (spline_) return flattener_.nextvertex(p);
    if (nextpoint_ >= points_.size()) return false;
    p = points_[nextpoint_++];
    return true;
}

std::uint64_t chainsource::looked() const { return spline_ ? flattener_.looked() : nextpoint_; }

// The segment from the previous vertex to the next one that differs from it.
// Every vertex after the first is work: one that ends a segment counts as
// the segment, every other one (repeated, or left out by the flattener as
// not finite) on its own.
bool chainsource::fill(sink& s) {
    point v;
    for (;;) {
        std::uint64_t before = looked();
        bool more = nextvertex(v);
        std::uint64_t passed = looked() - before - (more ? 1 : 0);
        if (passed > 0 && !s.spend(static_cast<long long>(passed))) return true;
        if (!more) return false;
        if (!hasprev_) {
            prev_ = v;
            hasprev_ = true;
        } else if (!samepoint(v, prev_)) {
            s.put(brevo::geometry(brevo::lineseg(prev_, v)), info_);
            prev_ = v;
            return true;
        } else if (!s.spend()) {
            return true;
        }
    }
}

void addcoordinate(std::vector<point>& points, int axis, double v) {
    if (axis == 0)
        points.push_back(point(v, 0, 0));
    else if (!points.empty())
        (axis == 1 ? points.back().y : points.back().z) = v;
}

void splineproducer::start() {
    data_ = splinedata();
    collecting_ = true;
}

void splineproducer::group(int code, const char* value, const grouptable& t) {
    if (code == 100 && std::strcmp(value, "AcDbHelix") == 0) collecting_ = false;
    if (!collecting_) return;
    double v = t.number(code);
    switch (code) {
    case 10: case 20: case 30: addcoordinate(data_.control, code / 10 - 1, v); break;
    case 11: case 21: case 31: addcoordinate(data_.fit, code / 10 - 1, v); break;
    case 40: data_.knots.push_back(v); break;
    case 41: data_.weights.push_back(v); break;
    default: break;
    }
}

void splineproducer::end(const grouptable& t, emitter& e, chainsource& chain, double tolerance) {
    if (!e.test()) return;
    int flags = t.carried(70) && t.number(70) >= 0 && t.number(70) < 65536 ? static_cast<int>(t.number(70)) : 0;
    double degree = t.carried(71) ? t.number(71) : 3;
    data_.degree = degree >= 0 && degree <= 1000 ? static_cast<int>(degree) : 3;
    data_.closed = flags & 1;
    data_.periodic = flags & 2;
    if (t.carried(12) || t.carried(22) || t.carried(32)) {
        data_.hasstarttangent = true;
        data_.starttangent = vector(t.number(12), t.number(22), t.number(32));
    }
    if (t.carried(13) || t.carried(23) || t.carried(33)) {
        data_.hasendtangent = true;
        data_.endtangent = vector(t.number(13), t.number(23), t.number(33));
    }
    e.setclosed(data_.closed || data_.periodic);
    if (chain.startspline(data_, tolerance, e.recordinfo())) e.emitall(chain);
}

}  // namespace ostra
