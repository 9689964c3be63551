#include "writer/planecurve.h"

#include <algorithm>

namespace ostra {

using brevo::cosdeg;
using brevo::sindeg;
using brevo::vector;

namespace {

// Any unit vector perpendicular to n (zero when n is).
vector perpendicular(const vector& n) {
    vector a = std::fabs(n.x) < 0.9 ? vector(1, 0, 0) : vector(0, 1, 0);
    return a.cross(n).unit();
}

struct interval {
    double lo, hi;
};

// The range of alpha cos t + beta sin t for t in [ta, tb] (degrees, tb - ta
// at most 180): its values at the ends and at the extremes inside.
interval trigrange(double alpha, double beta, double ta, double tb) {
    auto f = [&](double t) { return alpha * cosdeg(t) + beta * sindeg(t); };
    interval r{std::min(f(ta), f(tb)), std::max(f(ta), f(tb))};
    const double amplitude = std::hypot(alpha, beta);
    if (!(amplitude > 0)) return r;
    // The extremes lie at phase + k * 180 degrees: +amplitude for even k.
    const double phase = std::atan2(beta, alpha) * 180 / 3.14159265358979323846;
    const double first = std::ceil((ta - phase) / 180);
    for (int i = 0; i < 3; ++i) {
        const double k = first + i;
        if (!(phase + k * 180 <= tb)) break;
        const double v = std::fmod(k, 2.0) == 0 ? amplitude : -amplitude;
        r.lo = std::min(r.lo, v);
        r.hi = std::max(r.hi, v);
    }
    return r;
}

}  // namespace

planecurve::planecurve(const brevo::ellipse& e) : c_(e.center()) {
    const vector u = e.majoraxis(), v = e.minoraxis();
    a_ = u.length();
    e1_ = a_ > 0 ? u * (1 / a_) : perpendicular(e.normal());
    if (!(e1_.length() > 0)) e1_ = vector(1, 0, 0);
    bx_ = v.dot(e1_);
    const vector w = v - e1_ * bx_;
    by_ = w.length();
    e2_ = by_ > 0 ? w * (1 / by_) : e.normal().unit().cross(e1_).unit();
    if (!(e2_.length() > 0)) e2_ = perpendicular(e1_);
    n_ = e1_.cross(e2_).unit();
}

vec2 planecurve::at(double t) const {
    const double c = cosdeg(t), s = sindeg(t);
    return {a_ * c + bx_ * s, by_ * s};
}

vec2 planecurve::tangent(double t) const {
    const double c = cosdeg(t), s = sindeg(t);
    return unit({-a_ * s + bx_ * c, by_ * c});
}

brevo::point planecurve::world(vec2 p) const { return c_ + e1_ * p.x + e2_ * p.y; }

// With d the unit chord from P(ta), both the distance from the chord's line
// and the position along it are of the form alpha cos t + beta sin t + gamma:
// their exact ranges bound the distance from the chord itself.
double planecurve::chorderror(double ta, double tb) const {
    const vec2 p0 = at(ta), p1 = at(tb);
    const double len = length(p1 - p0);
    const vec2 d = len > 0 ? (p1 - p0) * (1 / len) : vec2{1, 0};
    const interval along = trigrange(d.x * a_, d.x * bx_ + d.y * by_, ta, tb);
    const interval across = trigrange(-d.y * a_, d.x * by_ - d.y * bx_, ta, tb);
    const double s0 = dot(d, p0), e0 = cross(d, p0);
    const double off = std::max(std::fabs(across.lo - e0), std::fabs(across.hi - e0));
    const double over = std::max({0.0, s0 - along.lo, along.hi - s0 - len});
    return std::hypot(off, over);
}

}  // namespace ostra
