// Spline flattening: chains of known curves worked out by hand (Bezier
// cubic, rational quarter circle, uniform and periodic cubics, fit-point
// cubics), knot fallbacks, and hostile data ending in false or a bounded
// chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "support/splinefit.h"
#include "support/splineflatten.h"

using brevo::point;
using ostra::splinedata;
using ostra::splineflattener;

namespace {

struct chain {
    bool ok = false;
    std::vector<point> v;
};

chain flatten(splinedata d, double tol) {
    // Far above the documented bound, so that a loop shows as a failure.
    std::size_t cap = ostra::splinebudget + 2 * (d.control.size() + d.fit.size() + 64);
    chain c;
    splineflattener f;
    c.ok = f.start(d, tol);
    point p;
    while (c.ok && c.v.size() < cap && f.nextvertex(p)) c.v.push_back(p);
    EXPECT_LT(c.v.size(), cap);
    EXPECT_FALSE(f.nextvertex(p));
    return c;
}

splinedata spline(int degree, std::vector<point> control, std::vector<double> knots = {},
                  std::vector<double> weights = {}) {
    splinedata d;
    d.degree = degree;
    d.control = std::move(control);
    d.knots = std::move(knots);
    d.weights = std::move(weights);
    return d;
}

double dist(const point& a, const point& b) { return (a - b).length(); }

double chaindist(const point& p, const std::vector<point>& v) {
    double best = v.empty() ? HUGE_VAL : dist(p, v[0]);
    for (std::size_t i = 1; i < v.size(); ++i) {
        brevo::vector d = v[i] - v[i - 1], w = p - v[i - 1];
        double len2 = d.dot(d), t = len2 > 0 ? std::min(1.0, std::max(0.0, w.dot(d) / len2)) : 0;
        best = std::min(best, (w - d * t).length());
    }
    return best;
}

bool hasvertex(const std::vector<point>& v, const point& p, double eps) {
    for (const point& q : v) {
        if (dist(p, q) <= eps) return true;
    }
    return false;
}

// The Bezier cubic through (0,0) and (4,0) with inner points (1,2), (3,2).
point bezier(double t) {
    double s = 1 - t, b1 = 3 * s * s * t, b2 = 3 * s * t * t, b3 = t * t * t;
    return point(b1 * 1 + b2 * 3 + b3 * 4, (b1 + b2) * 2, 0);
}

splinedata beziercubic() {
    return spline(3, {point(0, 0, 0), point(1, 2, 0), point(3, 2, 0), point(4, 0, 0)},
                  {0, 0, 0, 0, 1, 1, 1, 1});
}

void expectsame(const chain& a, const chain& b, double eps) {
    ASSERT_TRUE(a.ok && b.ok);
    ASSERT_EQ(a.v.size(), b.v.size());
    for (std::size_t i = 0; i < a.v.size(); ++i) EXPECT_LE(dist(a.v[i], b.v[i]), eps) << i;
}

void expectpoints(const chain& c, const std::vector<point>& want) {
    ASSERT_TRUE(c.ok);
    ASSERT_EQ(c.v.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(dist(c.v[i], want[i]), 0) << i;
}

// Halving pieces quarters their deviation, so halving the tolerance may
// keep the count; halving it twice doubles it.
TEST(Spline, CubicBezierWithinEachTolerance) {
    std::vector<std::size_t> counts;
    for (double tol : {0.02, 0.01, 0.005, 0.0025}) {
        chain c = flatten(beziercubic(), tol);
        ASSERT_TRUE(c.ok);
        counts.push_back(c.v.size());
        std::size_t k = counts.size();
        if (k > 1) {
            EXPECT_GE(counts[k - 1], counts[k - 2]);
        }
        if (k > 2) {
            EXPECT_GT(counts[k - 1], counts[k - 3]);
        }
        EXPECT_EQ(dist(c.v.front(), point(0, 0, 0)), 0);
        EXPECT_EQ(dist(c.v.back(), point(4, 0, 0)), 0);
        EXPECT_TRUE(hasvertex(c.v, point(2, 1.5, 0), 1e-12));  // t = 1/2
        double worst = 0;
        for (int i = 0; i <= 2000; ++i) worst = std::max(worst, chaindist(bezier(i / 2000.0), c.v));
        EXPECT_LE(worst, tol);
        EXPECT_GT(worst, tol / 16);  // not wildly finer than asked
    }
}

TEST(Spline, UnusableKnotsGiveClampedUniformKnots) {
    chain good = flatten(beziercubic(), 0.01);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<std::vector<double>> bad = {
        {}, {0, 0, 0, 1, 1, 1}, {0, 0, 0, 0, 1, 1, 1, 1, 2}, {1, 1, 1, 1, 0, 0, 0, 0},
        {2, 2, 2, 2, 2, 2, 2, 2}, {0, 0, 0, 0, nan, 1, 1, 1}, {-1e308, 0, 0, 0, 1, 1, 1, 1e308}};
    for (const std::vector<double>& k : bad) {
        splinedata d = beziercubic();
        d.knots = k;
        expectsame(flatten(d, 0.01), good, 0);
    }
}

// The curve at u by de Boor's algorithm on the homogeneous control points.
point deboor(const splinedata& d, double u) {
    std::size_t p = static_cast<std::size_t>(d.degree), n = d.control.size(), k = p;
    while (k + 1 < n && !(d.knots[k + 1] > u)) ++k;
    std::vector<double> h(4 * n);
    for (std::size_t j = k - p; j <= k; ++j) {
        double w = d.weights.empty() ? 1 : d.weights[j];
        double* q = &h[4 * j];
        q[0] = w * d.control[j].x, q[1] = w * d.control[j].y, q[2] = w * d.control[j].z, q[3] = w;
    }
    for (std::size_t r = 1; r <= p; ++r) {
        for (std::size_t j = k; j >= k - p + r; --j) {
            double a = (u - d.knots[j]) / (d.knots[j + p + 1 - r] - d.knots[j]);
            for (int c = 0; c < 4; ++c) h[4 * j + c] = (1 - a) * h[4 * (j - 1) + c] + a * h[4 * j + c];
        }
    }
    const double* q = &h[4 * k];
    return point(q[0] / q[3], q[1] / q[3], q[2] / q[3]);
}

// Random degrees, knot multiplicities (clamped or not, jumps included) and
// weights, against de Boor's algorithm.
TEST(Spline, RandomCurvesWithinToleranceOfTheirChains) {
    std::mt19937 gen(12);
    std::uniform_real_distribution<double> coord(-10, 10), weight(0.3, 3);
    for (int round = 0; round < 300; ++round) {
        splinedata d;
        d.degree = 1 + static_cast<int>(gen() % 5);
        std::size_t n = static_cast<std::size_t>(d.degree) + 1 + gen() % 8;
        for (std::size_t i = 0; i < n; ++i) d.control.emplace_back(coord(gen), coord(gen), coord(gen));
        for (std::size_t i = 0; i < n + static_cast<std::size_t>(d.degree) + 1; ++i) {
            d.knots.push_back(static_cast<double>(gen() % 6));
        }
        std::sort(d.knots.begin(), d.knots.end());
        if (round % 2) {
            for (std::size_t i = 0; i < n; ++i) d.weights.push_back(weight(gen));
        }
        double lo = d.knots[static_cast<std::size_t>(d.degree)], hi = d.knots[n];
        if (!(lo < hi)) continue;
        chain c = flatten(d, 0.01);
        ASSERT_TRUE(c.ok);
        for (int i = 0; i <= 400; ++i) {
            double u = i < 400 ? lo + (hi - lo) * i / 400 : std::nextafter(hi, lo);
            ASSERT_LE(chaindist(deboor(d, u), c.v), 0.01 * (1 + 1e-9)) << round << " " << u;
        }
        EXPECT_LE(dist(c.v.front(), deboor(d, lo)), 1e-9);
        EXPECT_LE(dist(c.v.back(), deboor(d, std::nextafter(hi, lo))), 1e-6);
    }
}

TEST(Spline, RationalQuarterCircle) {
    const double h = std::sqrt(0.5);
    std::vector<point> cp = {point(1, 0, 0), point(1, 1, 0), point(0, 1, 0)};
    chain c = flatten(spline(2, cp, {0, 0, 0, 1, 1, 1}, {1, h, 1}), 1e-4);
    ASSERT_TRUE(c.ok);
    EXPECT_LE(dist(c.v.front(), cp[0]), 1e-14);
    EXPECT_LE(dist(c.v.back(), cp[2]), 1e-14);
    for (std::size_t i = 0; i < c.v.size(); ++i) {
        EXPECT_NEAR(brevo::vector(c.v[i].x, c.v[i].y, c.v[i].z).length(), 1, 1e-12);
        if (i == 0) continue;
        double half = dist(c.v[i], c.v[i - 1]) / 2;  // the sagitta is the deviation
        EXPECT_LE(1 - std::sqrt(1 - half * half), 1e-4);
    }
    // The same curve: weights scaled, or all negated.
    expectsame(flatten(spline(2, cp, {0, 0, 0, 1, 1, 1}, {5, 5 * h, 5}), 1e-4), c, 1e-14);
    expectsame(flatten(spline(2, cp, {0, 0, 0, 1, 1, 1}, {-1, -h, -1}), 1e-4), c, 1e-14);
}

TEST(Spline, WeightsNotPositiveAreSampled) {
    std::vector<point> cp = {point(1, 0, 0), point(1, 1, 0), point(0, 1, 0)};
    // Middle weight 0: the segment from (1,0) to (0,1), sampled.
    chain c = flatten(spline(2, cp, {}, {1, 0, 1}), 0.01);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.v.size(), static_cast<std::size_t>(ostra::splinesamples) + 1);
    for (const point& p : c.v) EXPECT_NEAR(p.x + p.y, 1, 1e-12);
    // Weights of both signs: a branch through infinity; the chain stays finite.
    c = flatten(spline(2, cp, {}, {1, -0.5, 1}), 0.01);
    ASSERT_TRUE(c.ok);
    for (const point& p : c.v) EXPECT_TRUE(std::isfinite(p.x + p.y + p.z));
}

TEST(Spline, UniformCubicAndKnotJump) {
    std::vector<point> cp = {point(0, 0, 0), point(1, 2, 0), point(3, 2, 0), point(4, 0, 0),
                             point(5, 1, 0)};
    chain c = flatten(spline(3, cp, {0, 1, 2, 3, 4, 5, 6, 7, 8}), 0.001);
    ASSERT_TRUE(c.ok);
    // At knot j the curve is (P[j-3] + 4 P[j-2] + P[j-1]) / 6.
    EXPECT_LE(dist(c.v.front(), point(7.0 / 6, 10.0 / 6, 0)), 1e-12);
    EXPECT_TRUE(hasvertex(c.v, point(17.0 / 6, 10.0 / 6, 0), 1e-12));
    EXPECT_LE(dist(c.v.back(), point(4, 0.5, 0)), 1e-12);
    // Degree 1 with a knot of multiplicity 2: two pieces, the chain jumps.
    cp.pop_back();
    c = flatten(spline(1, cp, {0, 0, 1, 1, 2, 2}), 0.01);
    ASSERT_TRUE(c.ok);
    expectpoints(c, cp);
}

TEST(Spline, DegreeOneIsTheControlPolygon) {
    std::vector<point> cp = {point(0, 0, 0), point(1, 0, 0), point(1, 1, 0), point(0, 1, 0)};
    expectpoints(flatten(spline(1, cp, {0, 0, 1, 2, 3, 3}), 0.01), cp);
    expectpoints(flatten(spline(1, cp, {0, 1, 2, 3, 4, 5}), 0.01), cp);
    expectpoints(flatten(spline(1, cp), 0.01), cp);
    // A cubic of two control points is lowered to their segment.
    cp.resize(2);
    expectpoints(flatten(spline(3, cp, {0, 0, 0, 0, 1, 1, 1, 1}), 0.01), cp);
}

TEST(Spline, ClosedPeriodicCubicInEveryStoredForm) {
    std::vector<point> cp = {point(1, 0, 0), point(0, 1, 0), point(-1, 0, 0), point(0, -1, 0)};
    splinedata d = spline(3, cp, {0, 1, 2, 3, 4});  // n + 1 knots: one period
    d.closed = d.periodic = true;
    chain c = flatten(d, 0.001);
    ASSERT_TRUE(c.ok);
    // At the knots: (P[i] + 4 P[i+1] + P[i+2]) / 6, starting and ending at (0, 2/3).
    const double t = 2.0 / 3;
    EXPECT_LE(dist(c.v.front(), point(0, t, 0)), 1e-14);
    EXPECT_LE(dist(c.v.back(), point(0, t, 0)), 1e-14);
    for (const point& p : {point(-t, 0, 0), point(0, -t, 0), point(t, 0, 0)}) {
        EXPECT_TRUE(hasvertex(c.v, p, 1e-14));
    }
    std::vector<point> wrapped = cp;
    wrapped.insert(wrapped.end(), cp.begin(), cp.begin() + 3);
    std::vector<double> uniform = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (splinedata e : {spline(3, cp), spline(3, wrapped), spline(3, wrapped, uniform)}) {
        e.closed = true;
        expectsame(flatten(e, 0.001), c, 1e-14);
    }
}

TEST(Spline, FitPointsOpen) {
    splinedata d;
    d.fit = {point(0, 0, 0), point(1, 1, 0), point(1, 1, 0), point(2, 0, 0)};  // the repeat is dropped
    chain c = flatten(d, 0.001);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(dist(c.v.front(), d.fit[0]), 0);
    EXPECT_TRUE(hasvertex(c.v, d.fit[1], 0));
    EXPECT_EQ(dist(c.v.back(), d.fit[3]), 0);
    // Natural ends: the first piece is (0,0) (1/3,1/2) (2/3,1) (1,1).
    EXPECT_TRUE(hasvertex(c.v, point(0.5, 0.6875, 0), 1e-12));
    // Tangents up at the start and down at the end: (0,0) (0,1/3) (1,1/3) (1,0).
    d.fit = {point(0, 0, 0), point(1, 0, 0)};
    d.hasstarttangent = d.hasendtangent = true;
    d.starttangent = brevo::vector(0, 5, 0);
    d.endtangent = brevo::vector(0, -1, 0);
    EXPECT_TRUE(hasvertex(flatten(d, 0.001).v, point(0.5, 0.25, 0), 1e-12));
    d.hasstarttangent = d.hasendtangent = false;
    expectpoints(flatten(d, 0.001), d.fit);
    d.fit.resize(1);
    EXPECT_FALSE(flatten(d, 0.001).ok);
}

TEST(Spline, FitPointsClosed) {
    splinedata d;
    d.closed = true;
    d.fit = {point(1, 0, 0), point(0, 1, 0), point(-1, 0, 0), point(0, -1, 0)};
    chain c = flatten(d, 0.001);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(dist(c.v.front(), d.fit[0]), 0);
    EXPECT_EQ(dist(c.v.back(), d.fit[0]), 0);
    for (const point& p : d.fit) EXPECT_TRUE(hasvertex(c.v, p, 0));
    // By symmetry the first piece is (1,0) (1,1/2) (1/2,1) (0,1).
    EXPECT_TRUE(hasvertex(c.v, point(0.6875, 0.6875, 0), 1e-12));
    d.fit.push_back(d.fit[0]);
    expectsame(flatten(d, 0.001), c, 0);
}

// Random fit points, open with natural ends and closed: at every joint of
// the pieces the derivatives with respect to chord length agree up to the
// second, and the natural ends have no second derivative.
TEST(Spline, FitCurvesAreTwiceDifferentiable) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> coord(-5, 5);
    for (int round = 0; round < 20; ++round) {
        splinedata d;
        d.closed = round % 2;
        for (int i = 0; i < 3 + round; ++i) d.fit.emplace_back(coord(gen), coord(gen), coord(gen));
        ostra::nurbscurve c;
        ostra::fitwork w;
        ASSERT_TRUE(ostra::fitcurve(d, c, w));
        const std::vector<point>& q = c.control;
        std::size_t pieces = (q.size() - 1) / 3, m = d.fit.size();
        ASSERT_EQ(pieces, d.closed ? m : m - 1);
        // The second derivative at an end: q[i] - 2 q[i+1] + q[i+2] over h squared.
        auto second = [&](std::size_t i, double h) {
            return (q[i] - q[i + 1] + (q[i + 2] - q[i + 1])) * (1 / (h * h));
        };
        for (std::size_t k = 0; k < pieces; ++k) {
            std::size_t a = 3 * k, b = 3 * ((k + 1) % pieces);
            double h0 = dist(q[a], q[a + 3]), h1 = dist(q[b], q[b + 3]);
            if (!d.closed && k + 1 == pieces) {
                EXPECT_LE(second(a + 1, h0).length(), 1e-9);
                break;
            }
            EXPECT_LE(((q[a + 3] - q[a + 2]) * (1 / h0) - (q[b + 1] - q[b]) * (1 / h1)).length(), 1e-9);
            EXPECT_LE((second(a + 1, h0) - second(b, h1)).length(), 1e-9) << k;
        }
        if (!d.closed) {
            EXPECT_LE(second(0, dist(q[0], q[3])).length(), 1e-9);
        }
    }
}

TEST(Spline, HostileDataGivesFalseOrBoundedChain) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = HUGE_VAL;
    const std::vector<point> cp = {point(0, 0, 0), point(1, 2, 0), point(3, 2, 0), point(4, 0, 0)};
    auto withpoint = [&](point p) {
        splinedata d = spline(3, cp);
        d.control[1] = p;
        return d;
    };
    auto withfit = [&](std::vector<point> fit) {
        splinedata d;
        d.fit = std::move(fit);
        return d;
    };
    std::vector<splinedata> nocurve = {
        splinedata(), spline(3, {point(1, 2, 3)}), spline(3, std::vector<point>(5, point(1, 2, 3))),
        withpoint(point(nan, 0, 0)), withpoint(point(0, inf, 0)), spline(3, cp, {}, {1, nan, 1, 1}),
        spline(3, cp, {}, {0, 0, 0, 0}), spline(0, cp), spline(-4, cp), spline(26, cp),
        spline(INT_MAX, cp), spline(INT_MIN, cp), withfit({point(0, 0, 0), point(nan, 1, 0)}),
        withfit({point(2, 2, 2), point(2, 2, 2)}), withfit({point(-1e308, 0, 0), point(1e308, 0, 0)})};
    for (std::size_t i = 0; i < nocurve.size(); ++i) EXPECT_FALSE(flatten(nocurve[i], 0.01).ok) << i;

    splinedata tangents = withfit({point(0, 0, 0), point(1, 0, 0), point(1, 1, 0)});
    tangents.hasstarttangent = tangents.hasendtangent = true;
    tangents.starttangent = brevo::vector(nan, 0, 0);
    tangents.endtangent = brevo::vector(0, 0, 0);
    std::vector<point> extreme = {point(1e300, -1e300, 0), point(1e-300, 0, 1e300),
                                  point(-1.7e308, 1.7e308, 1.7e308), point(0, 0, 0)};
    std::vector<std::pair<splinedata, double>> curves = {
        {spline(3, cp, {0, 0, 0, 0, 1e-320, 1e-320, 1e-320, 1e-320}), 0.01},
        {spline(3, cp, {0, 0, 0, 0, 1, 1, 1, 1}, {1e-300, 1e300, 1, 1}), 0.01},
        {spline(3, cp, {0, 0, 0, 0, 1, 1, 1, 1}, {1, -1, 1, -1}), 0.01},
        {spline(25, cp), 0.01},
        {spline(3, extreme), 1e-300},
        {spline(3, cp), 1e-300},  // far below rounding: raised, then the depth limit
        {spline(3, cp), -1},
        {spline(3, cp), nan},
        {tangents, 0.01}};
    for (std::size_t i = 0; i < curves.size(); ++i) {
        chain c = flatten(curves[i].first, curves[i].second);
        EXPECT_TRUE(c.ok) << i;
        EXPECT_LE(c.v.size(), (std::size_t(1) << ostra::splinemaxdepth) + 2) << i;
        for (const point& p : c.v) EXPECT_TRUE(std::isfinite(p.x + p.y + p.z)) << i;
    }
}

TEST(Spline, ManyControlPointsStayWithinTheBudget) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(0, 1);
    splinedata d;
    for (int i = 0; i < 100000; ++i) d.control.emplace_back(u(gen), u(gen), 0);
    chain c = flatten(d, ostra::defaulttolerance(d));
    ASSERT_TRUE(c.ok);
    EXPECT_LE(c.v.size(), ostra::splinebudget + 2 * 100000);
}

TEST(Spline, DefaultTolerance) {
    splinedata d;
    EXPECT_EQ(ostra::defaulttolerance(d), 0.01);
    d.fit = {point(0, 0, 0), point(3, 4, 0), point(HUGE_VAL, 0, 0)};
    EXPECT_DOUBLE_EQ(ostra::defaulttolerance(d), 0.005);
    d.control = {point(1, 1, 1), point(1, 1, 1)};
    EXPECT_EQ(ostra::defaulttolerance(d), 0.01);
    d.control = {point(-1e308, 0, 0), point(1e308, 0, 0)};
    EXPECT_EQ(ostra::defaulttolerance(d), 0.01);
}

}  // namespace
