// Ellipses in the writer's extended mode: chains of arcs and segments that
// read back within the tolerance, full and partial, mirrored and tilted,
// and a bounded result for any ellipse.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <ostra/writer.h>

#include "curvecheck.h"
#include "testutil.h"

namespace {

using brevo::ellipse;
using brevo::geometry;
using brevo::point;
using brevo::vector;

struct result {
    bool saved = false;
    std::string text;
    std::vector<geometry> chain;
};

// Writes g alone in the extended mode and reads the file back exactly.
result roundtrip(const geometry& g) {
    result r;
    char* buf = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    {
        ostra::writer w(f);
        w.setextended(true);
        r.saved = w.save(g);
    }
    std::fclose(f);
    r.text.assign(buf, size);
    std::free(buf);
    testutil::memstream m(r.text);
    ostra::reader rd(m.get());
    rd.setexact(true);
    geometry back;
    while (rd.next(back)) r.chain.push_back(back);
    return r;
}

double tolerance(const ellipse& e) {
    return std::min(0.01, 2 * std::hypot(e.majoraxis().length(), e.minoraxis().length()) / 1000);
}

// The chain follows e within its tolerance, plus what the six decimals of
// the written numbers may move a point.
void expectwithin(const ellipse& e, const result& r, std::size_t maxpieces) {
    ASSERT_TRUE(r.saved);
    ASSERT_FALSE(r.chain.empty());
    EXPECT_LE(r.chain.size(), maxpieces);
    const testutil::chainfit fit = testutil::measurechain(e, r.chain);
    const double tol = tolerance(e) + 2e-6;
    EXPECT_TRUE(fit.pieces);
    EXPECT_LE(fit.fromellipse, tol);
    EXPECT_LE(fit.fromchain, tol);
    EXPECT_LE(fit.gap, tol);
}

const vector tilted = vector(0.3, -0.4, 0.8660254037844386).unit();

// A major axis of length a perpendicular to n.
vector major(const vector& n, double a) {
    return (std::fabs(n.x) < 0.9 ? vector(1, 0, 0) : vector(0, 1, 0)).cross(n).unit() * a;
}

TEST(EllipseChain, FullAndPartialWithinTolerance) {
    struct shape {
        double a, ratio, p0, p1;
        vector n;
    };
    const shape shapes[] = {
        {10, 0.4, 0, 360, vector(0, 0, 1)},     {10, 0.4, 30, 200, vector(0, 0, 1)},
        {10, 0.4, 300, 20, vector(0, 0, 1)},    {10, 0.4, -90, 90, tilted},
        {0.5, 0.7, 0, 360, vector(0, 0, -1)},   {1000, 0.02, 0, 360, vector(0, 0, 1)},
        {250, 0.001, 10, 350, tilted},          {3, 1, 0, 360, vector(1, 0, 0)},
        {40, 0.25, 100, 100.5, vector(0, 1, 1)}};
    for (const shape& s : shapes) {
        SCOPED_TRACE(testutil::describe(geometry(ellipse(point(), s.n, major(s.n, s.a), s.ratio, s.p0, s.p1))));
        const ellipse e(point(5, -7, 2), s.n, major(s.n, s.a), s.ratio, s.p0, s.p1);
        expectwithin(e, roundtrip(geometry(e)), 400);
    }
}

TEST(EllipseChain, MirroredAndStretchedCurvesFromTransformations) {
    // A circle and an arc stretched into ellipses, then mirrored: the
    // geometry stand-in reverses their orientation.
    brevo::trafo stretch;
    stretch.scale(3, 1, 1);
    brevo::trafo mirror = stretch;
    mirror.scale(-1, 1, 1);
    mirror.rotatez(30);
    mirror.offset(100, 50, 0);
    const geometry circle(brevo::circle(point(1, 2, 0), vector(0, 0, 1), 4));
    const geometry arc(brevo::arc(point(0, 0, 0), vector(0, 0, 1), point(2, 0, 0), 250));
    for (const brevo::trafo& t : {stretch, mirror}) {
        for (const geometry& g : {circle * t, arc * t}) {
            ASSERT_TRUE(g.el());
            expectwithin(*g.el(), roundtrip(g), 400);
        }
    }
    EXPECT_LT((circle * mirror).el()->normal().z, 0);  // the mirror really turned it over
}

TEST(EllipseChain, DegenerateAndHostileEllipses) {
    // A point-sized ellipse, one flattened to a line and a zero-length arc.
    const ellipse dot(point(1, 1, 1), vector(0, 0, 1), vector(0, 0, 0), 0.5, 0, 360);
    const ellipse flat(point(0, 0, 0), vector(0, 0, 1), vector(5, 0, 0), 0, 0, 360);
    const ellipse empty(point(0, 0, 0), vector(0, 0, 1), vector(5, 0, 0), 0.5, 45, 45);
    for (const ellipse& e : {dot, flat, empty}) {
        const result r = roundtrip(geometry(e));
        ASSERT_TRUE(r.saved);
        EXPECT_LE(r.chain.size(), 16u);
        const testutil::chainfit fit = testutil::measurechain(e, r.chain);
        EXPECT_LE(std::max({fit.fromellipse, fit.fromchain, fit.gap}), tolerance(e) + 2e-6);
    }
    // Numbers that are not finite: refused, nothing written for them.
    const double nan = std::nan(""), inf = INFINITY;
    for (const ellipse& e : {ellipse(point(nan, 0, 0), vector(0, 0, 1), vector(1, 0, 0), 0.5, 0, 360),
                             ellipse(point(0, 0, 0), vector(0, 0, 1), vector(inf, 0, 0), 0.5, 0, 360),
                             ellipse(point(0, 0, 0), vector(0, 0, 1), vector(1, 0, 0), 0.5, 0, nan)}) {
        const result r = roundtrip(geometry(e));
        EXPECT_FALSE(r.saved);
        EXPECT_TRUE(r.chain.empty());
    }
    // Far beyond any drawing's size, tilted and thin: bounded output, fast.
    for (double a : {1e9, 1e300}) {
        const result r = roundtrip(geometry(ellipse(point(), tilted, major(tilted, a), 0.5, 0, 360)));
        EXPECT_TRUE(r.saved);
        EXPECT_LT(r.text.size(), 8u << 20);
    }
}

}  // namespace
