// The streaming spline flattener: one Bezier piece per knot span, cut
// depth first in halves until flat, each flat piece's end point a vertex.
#include "support/splineflatten.h"

#include <algorithm>
#include <cmath>

#include "support/vectors.h"

namespace ostra {

namespace {

// Below this fraction of the largest coordinate, rounding rules the chain.
const double tolerancefloor = 0x1p-44;

hpoint midpoint(const hpoint& a, const hpoint& b) {
    return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5, (a.w + b.w) * 0.5};
}

}  // namespace

double defaulttolerance(const splinedata& d) {
    const std::vector<brevo::point>& pts = d.control.empty() ? d.fit : d.control;
    bool any = false;
    brevo::point lo, hi;
    for (const brevo::point& q : pts) {
        if (!finite(q)) continue;
        if (!any) lo = hi = q;
        any = true;
        lo = brevo::point(std::min(lo.x, q.x), std::min(lo.y, q.y), std::min(lo.z, q.z));
        hi = brevo::point(std::max(hi.x, q.x), std::max(hi.y, q.y), std::max(hi.z, q.z));
    }
    if (!any) return 0.01;
    double t = (hi - lo).length() / 1000;
    return t > 0 && t < 0.01 ? t : 0.01;
}

bool splineflattener::start(splinedata& d, double tolerance) {
    done_ = true;
    looked_ = 0;
    top_ = 0;
    samples_ = 0;
    used_ = 0;
    haslast_ = false;
    pendingstart_ = false;
    if (!(tolerance > 0) || !std::isfinite(tolerance)) tolerance = defaulttolerance(d);
    bool ok = d.control.empty() ? fitcurve(d, curve_, fitwork_) : makecurve(d, curve_);
    if (!ok) return false;
    degree_ = curve_.degree;
    rational_ = !curve_.weights.empty();
    std::size_t n = curve_.control.size();
    spansleft_ = 0;
    for (std::size_t k = static_cast<std::size_t>(degree_); k < n; ++k) {
        if (curve_.knots[k] < curve_.knots[k + 1]) ++spansleft_;
    }
    if (spansleft_ == 0) return false;
    // Coordinates are scaled by a power of two (exactly) to put the largest
    // near 1, so that squared distances neither overflow nor underflow.
    int e = 0;
    std::frexp(curve_.extent, &e);
    e = std::min(std::max(e, -1000), 1000);
    scale_ = std::ldexp(1.0, -e);
    unscale_ = std::ldexp(1.0, e);
    tol_ = std::max(tolerance, curve_.extent * tolerancefloor);
    tol2_ = (tol_ * scale_) * (tol_ * scale_);
    stack_.resize(static_cast<std::size_t>(splinemaxdepth + 2) * static_cast<std::size_t>(degree_ + 1));
    span_ = static_cast<std::size_t>(degree_);
    budget_ = splinebudget;
    done_ = false;
    return true;
}

bool splineflattener::nextvertex(brevo::point& p) {
    while (!done_) {
        if (top_ == 0 && !loadspan()) {
            done_ = true;
            break;
        }
        if (pendingstart_) {
            pendingstart_ = false;
            if (emit(slot(0)[0], p)) return true;
        }
        if (samples_ > 0 ? nextsample(p) : nextpiece(p)) return true;
    }
    return false;
}

// The next span of positive length into slot 0, with its depth limit from
// its share of the budget, and whether its Bezier weights allow subdivision.
// The share is the budget left less a reserve for each later span (8 pieces,
// or the budget left per span where that is less), so no span is limited
// unless the whole curve needs more than the budget, and then the later
// spans keep a few pieces each.
bool splineflattener::loadspan() {
    budget_ = budget_ > used_ ? budget_ - used_ : 0;
    used_ = 0;
    const std::vector<double>& u = curve_.knots;
    std::size_t n = curve_.control.size();
    while (span_ < n && !(u[span_] < u[span_ + 1])) ++span_;
    if (span_ >= n || spansleft_ == 0) return false;
    std::uint64_t reserve = std::min<std::uint64_t>(8, budget_ / spansleft_);
    --spansleft_;
    std::uint64_t share = std::max<std::uint64_t>(1, budget_ - spansleft_ * reserve);
    cap_ = 0;
    while (cap_ < splinemaxdepth && (std::uint64_t(2) << cap_) <= share) ++cap_;
    hpoint* q = slot(0);
    bezierspan(curve_, span_++, scale_, q);
    top_ = 1;
    depth_[0] = 0;
    samples_ = 0;
    for (int i = 0; rational_ && i <= degree_; ++i) {
        if (!(q[i].w > 0)) {
            samples_ = static_cast<int>(std::min<std::uint64_t>(splinesamples, share));
            sample_ = 1;
            break;
        }
    }
    // A span that does not begin where the chain stands (the first one, or
    // after a jump at a knot of full multiplicity) gives its start first.
    pendingstart_ = !haslast_ || !((project(q[0]) - last_).length() <= tol_);
    return true;
}

// Depth first: the top piece is halved (right half stays, left half goes on
// top) until it is flat or at the depth limit; its end point is the vertex.
bool splineflattener::nextpiece(brevo::point& p) {
    hpoint* q = slot(top_ - 1);
    int depth = depth_[top_ - 1];
    while (depth < cap_ && !flat(q)) {
        hpoint* left = slot(top_);
        split(q, left);
        ++depth;
        depth_[top_ - 1] = depth;
        depth_[top_] = depth;
        ++top_;
        q = left;
    }
    --top_;
    ++used_;
    return emit(q[degree_], p);
}

bool splineflattener::nextsample(brevo::point& p) {
    if (sample_ > samples_) {
        top_ = 0;
        return false;
    }
    const hpoint* q = slot(0);
    int i = sample_++;
    ++used_;
    double t = static_cast<double>(i) / samples_;
    return emit(i == samples_ ? q[degree_] : bezierat(q, degree_, t, slot(1)), p);
}

// q becomes its right half, left its left half: the first and the last
// points of the de Casteljau levels at 1/2.
void splineflattener::split(hpoint* q, hpoint* left) const {
    left[0] = q[0];
    for (int r = 1; r <= degree_; ++r) {
        for (int i = 0; i + r <= degree_; ++i) q[i] = midpoint(q[i], q[i + 1]);
        left[r] = q[0];
    }
}

// Every inner control point (scaled, Euclidean) within the tolerance of the
// segment between the end points. Plain arithmetic rather than the geometry
// library's vector, whose operations are calls into another library.
bool splineflattener::flat(const hpoint* q) const {
    struct v3 {
        double x, y, z;
    };
    auto at = [&](int i) -> v3 {
        if (!rational_) return {q[i].x, q[i].y, q[i].z};
        double r = 1 / q[i].w;
        return {q[i].x * r, q[i].y * r, q[i].z * r};
    };
    v3 a = at(0), b = at(degree_);
    v3 d = {b.x - a.x, b.y - a.y, b.z - a.z};
    double len2 = d.x * d.x + d.y * d.y + d.z * d.z;
    for (int i = 1; i < degree_; ++i) {
        v3 c = at(i);
        v3 v = {c.x - a.x, c.y - a.y, c.z - a.z};
        double t = v.x * d.x + v.y * d.y + v.z * d.z;
        if (t >= len2 && len2 > 0) {
            v = {c.x - b.x, c.y - b.y, c.z - b.z};
        } else if (t > 0) {
            double f = t / len2;
            v = {v.x - d.x * f, v.y - d.y * f, v.z - d.z * f};
        }
        if (!(v.x * v.x + v.y * v.y + v.z * v.z <= tol2_)) return false;
    }
    return true;
}

brevo::point splineflattener::project(const hpoint& h) const {
    if (!rational_) return brevo::point(h.x * unscale_, h.y * unscale_, h.z * unscale_);
    if (h.w == 0) return brevo::point(HUGE_VAL, HUGE_VAL, HUGE_VAL);
    return brevo::point(h.x / h.w * unscale_, h.y / h.w * unscale_, h.z / h.w * unscale_);
}

bool splineflattener::emit(const hpoint& h, brevo::point& out) {
    ++looked_;
    brevo::point p = project(h);
    if (!finite(p)) return false;
    if (haslast_ && samepoint(p, last_)) return false;
    last_ = p;
    haslast_ = true;
    out = p;
    return true;
}

}  // namespace ostra
