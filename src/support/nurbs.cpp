// Making a SPLINE's control data usable, and Bezier extraction by knot
// insertion.
#include "support/nurbs.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "support/vectors.h"

namespace ostra {

namespace {

// Every knot finite, and none below the one before.
bool finitesorted(const std::vector<double>& u) {
    for (std::size_t i = 0; i < u.size(); ++i) {
        if (!std::isfinite(u[i]) || (i > 0 && !(u[i] >= u[i - 1]))) return false;
    }
    return true;
}

// Finite, non-decreasing, a span of positive length between u[p] and u[n],
// and a finite range, so that no knot difference overflows.
bool knotsusable(const std::vector<double>& u, std::size_t n, std::size_t p) {
    if (u.size() != n + p + 1 || !finitesorted(u)) return false;
    return u[n] > u[p] && std::isfinite(u.back() - u.front());
}

// Weights count when there is one per control point. They are scaled by a
// power of two (exact but where a weight underflows) so that the largest
// magnitude lies in [0.5, 1): w x then stays finite for every finite
// coordinate. Equal weights are the same curve as no weights; all negative
// weights the same as their negation.
bool prepareweights(std::vector<double>& w, std::size_t n) {
    if (w.size() != n) {
        w.clear();
        return true;
    }
    double lo = w[0], hi = w[0], big = 0;
    for (double v : w) {
        if (!std::isfinite(v)) return false;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        big = std::max(big, std::fabs(v));
    }
    if (lo == hi) {
        w.clear();
        return lo != 0;
    }
    int e = 0;
    std::frexp(big, &e);
    double f = std::ldexp(hi < 0 ? -1.0 : 1.0, -e);
    for (double& v : w) v *= f;
    return true;
}

// Appends the first p control points (and weights) again.
void wrap(nurbscurve& c, std::size_t p) {
    std::size_t n = c.control.size();
    c.control.reserve(n + p);
    for (std::size_t i = 0; i < p; ++i) {
        brevo::point q = c.control[i % n];
        c.control.push_back(q);
    }
    if (c.weights.empty()) return;
    c.weights.reserve(n + p);
    for (std::size_t i = 0; i < p; ++i) {
        double v = c.weights[i % n];
        c.weights.push_back(v);
    }
}

void uniformknots(std::vector<double>& u, std::size_t count) {
    u.resize(count);
    for (std::size_t i = 0; i < count; ++i) u[i] = static_cast<double>(i);
}

void clampedknots(std::vector<double>& u, std::size_t n, std::size_t p) {
    u.resize(n + p + 1);
    for (std::size_t i = 0; i < u.size(); ++i) {
        std::size_t j = std::min(std::max(i, p), n) - p;
        u[i] = static_cast<double>(j);
    }
}

// n + 1 knots u[0..n] as one period of a closed curve: the control points are
// wrapped and the knots continued by the period on both sides.
bool periodicknots(nurbscurve& c, std::size_t p) {
    std::vector<double>& u = c.knots;
    std::size_t n = c.control.size();
    if (u.size() != n + 1 || !finitesorted(u)) return false;
    double period = u[n] - u[0];
    if (!(period > 0) || !std::isfinite(u[0] - period) || !std::isfinite(u[n] + period) ||
        !std::isfinite(3 * period))
        return false;
    u.resize(n + 2 * p + 1);
    std::copy_backward(u.begin(), u.begin() + static_cast<std::ptrdiff_t>(n + 1),
                       u.begin() + static_cast<std::ptrdiff_t>(n + p + 1));
    // min and max keep the order where rounding would break it.
    for (std::size_t j = 1; j <= p; ++j) {
        u[p - j] = std::min(u[p + n - j] - period, u[p - j + 1]);
        u[p + n + j] = std::max(u[p + j] + period, u[p + n + j - 1]);
    }
    wrap(c, p);
    return true;
}

// The last p control points and weights repeat the first p.
bool wrappedalready(const nurbscurve& c, std::size_t p) {
    std::size_t n = c.control.size();
    for (std::size_t i = 0; i < p; ++i) {
        if (!samepoint(c.control[i], c.control[n - p + i])) return false;
        if (!c.weights.empty() && c.weights[i] != c.weights[n - p + i]) return false;
    }
    return true;
}

void rebuildknots(nurbscurve& c, std::size_t p, bool closed) {
    std::size_t n = c.control.size();
    if (!closed) {
        clampedknots(c.knots, n, p);
    } else if (periodicknots(c, p)) {
        // knots and control points extended
    } else if (wrappedalready(c, p)) {
        uniformknots(c.knots, n + p + 1);
    } else if (samepoint(c.control.front(), c.control.back())) {
        clampedknots(c.knots, n, p);
    } else {
        wrap(c, p);
        uniformknots(c.knots, n + 2 * p + 1);
    }
}

}  // namespace

bool checkcontrol(nurbscurve& c) {
    double big = 0;
    bool alike = true;
    for (const brevo::point& q : c.control) {
        if (!finite(q)) return false;
        big = std::max({big, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
        alike = alike && samepoint(q, c.control.front());
    }
    c.extent = big;
    return !c.control.empty() && !alike;
}

bool makecurve(splinedata& d, nurbscurve& c) {
    std::swap(c.control, d.control);
    std::swap(c.weights, d.weights);
    std::swap(c.knots, d.knots);
    d.control.clear();
    d.weights.clear();
    d.knots.clear();
    std::size_t n = c.control.size();
    if (d.degree < 1 || d.degree > maxsplinedegree || n < 2) return false;
    if (!checkcontrol(c) || !prepareweights(c.weights, n)) return false;
    std::size_t p = static_cast<std::size_t>(d.degree);
    bool usable = p < n && knotsusable(c.knots, n, p);
    p = std::min(p, n - 1);
    c.degree = static_cast<int>(p);
    if (!usable) rebuildknots(c, p, d.closed || d.periodic);
    return true;
}

// With the span's local knots t[j] = knots[k - p + 1 + j] (j < 2p) and
// a = t[p-1] < b = t[p], control point i carries the blossom
// B(t[i], ..., t[i+p-1]). A de Boor triangle at a, keeping the last point
// of each level, turns them into B(a^(p-i), t[p], ..., t[p+i-1]); one at b,
// keeping the first point of each level, into B(a^(p-i), b^i), the Bezier
// points. Every step is a convex combination whose denominator is at least
// b - a.
void bezierspan(const nurbscurve& c, std::size_t k, double scale, hpoint* out) {
    std::size_t p = static_cast<std::size_t>(c.degree);
    const double* t = c.knots.data() + (k + 1 - p);
    const brevo::point* cp = c.control.data() + (k - p);
    const double* wp = c.weights.empty() ? nullptr : c.weights.data() + (k - p);
    for (std::size_t i = 0; i <= p; ++i) {
        double w = wp ? wp[i] : 1;
        double f = w * scale;
        out[i] = {cp[i].x * f, cp[i].y * f, cp[i].z * f, w};
    }
    double a = t[p - 1], b = t[p];
    for (std::size_t r = 1; r <= p; ++r) {
        for (std::size_t i = 0; i + r <= p; ++i) {
            double lo = t[i + r - 1], hi = t[i + p];
            if (lo < a) out[i] = lerp(out[i], out[i + 1], (a - lo) / (hi - lo));
        }
    }
    // Level r of the second triangle sits in out[r..p], so out[r] keeps its
    // first point.
    for (std::size_t r = 1; r <= p; ++r) {
        for (std::size_t j = p; j >= r; --j) {
            double hi = t[j - r + p];
            if (hi > b) out[j] = lerp(out[j - 1], out[j], (b - a) / (hi - a));
        }
    }
}

hpoint bezierat(const hpoint* q, int degree, double t, hpoint* work) {
    std::copy(q, q + degree + 1, work);
    for (int r = 1; r <= degree; ++r) {
        for (int i = 0; i + r <= degree; ++i) work[i] = lerp(work[i], work[i + 1], t);
    }
    return work[0];
}

}  // namespace ostra
