// Pattern lines clipped to a square with a round hole: an ANSI31-like
// pattern and a crossed one (counts and end points worked out from the
// lines' distances to the hole's centre), the dash phase from the base
// point, dots, the hatch style's islands, the spacing bound, the segment
// cap and what they leave out.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "support/hatchpattern.h"
#include "support/loopflatten.h"

using ostra::patternfamily;
using ostra::patternresult;
using ostra::patternsegment;
using ostra::point2;

namespace {

const double rt = std::sqrt(0.5);

std::vector<point2> square(double x0, double y0, double size) {
    return {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}};
}

std::vector<point2> disc(point2 c, double r, double tolerance) {
    ostra::hatchloop l;
    ostra::hatchedge e;
    e.kind = ostra::edgearc;
    e.centre = c;
    e.radius = r;
    e.startangle = 0;
    e.endangle = 360;
    l.edges.push_back(e);
    std::vector<point2> p;
    ostra::flattenloop(l, tolerance, p);
    return p;
}

// The square [0, 100]^2 with a hole of radius 20 at its centre.
std::vector<std::vector<point2>> holed() { return {square(0, 0, 100), disc({50, 50}, 20, 1e-7)}; }

patternfamily family(double angle, point2 base, point2 offset, std::vector<double> dashes = {}) {
    patternfamily f;
    f.angle = angle;
    f.base = base;
    f.offset = offset;
    f.dashes = std::move(dashes);
    return f;
}

// ANSI31: 45 degrees, 3.175 apart; the offset (0, 3.175) of the pattern
// file turned by 45 degrees, as a HATCH stores it.
patternfamily ansi31() { return family(45, {0, 0}, {-3.175 * rt, 3.175 * rt}); }

bool near(point2 a, point2 b, double e) { return std::fabs(a.x - b.x) <= e && std::fabs(a.y - b.y) <= e; }

bool has(const std::vector<patternsegment>& s, point2 a, point2 b, double e) {
    for (const patternsegment& x : s) {
        if (near(x.a, a, e) && near(x.b, b, e)) return true;
    }
    return false;
}

// The segments on the horizontal line y, by x.
std::vector<patternsegment> online(const std::vector<patternsegment>& s, double y) {
    std::vector<patternsegment> out;
    for (const patternsegment& x : s) {
        if (std::fabs(x.a.y - y) < 1e-9 && std::fabs(x.b.y - y) < 1e-9) out.push_back(x);
    }
    std::sort(out.begin(), out.end(), [](const patternsegment& a, const patternsegment& b) { return a.a.x < b.a.x; });
    return out;
}

}  // namespace

TEST(HatchPattern, Ansi31OverAHole) {
    patternresult r;
    ostra::patternlines(holed(), {}, {ansi31()}, r);
    // The lines (y - x) / sqrt 2 = 3.175 k cross the square for |k| <= 22
    // (22 x 3.175 = 69.85 < 70.71) and the hole for |k| <= 6 (19.05 < 20).
    EXPECT_EQ(r.segments.size(), 45u + 13u);
    EXPECT_EQ(r.omittedfamilies, 0);
    EXPECT_EQ(r.omittedlines, 0u);
    EXPECT_FALSE(r.stopped);
    // k = 0, the diagonal, through the corners: cut by the hole at
    // 50 -+ 20 / sqrt 2.
    double c = 50 - 20 * rt;
    EXPECT_TRUE(has(r.segments, {0, 0}, {c, c}, 1e-6));
    EXPECT_TRUE(has(r.segments, {100 - c, 100 - c}, {100, 100}, 1e-6));
    // k = 22: from (0, 69.85 sqrt 2) to (100 - 69.85 sqrt 2, 100).
    double y = 22 * 3.175 / rt;
    EXPECT_TRUE(has(r.segments, {0, y}, {100 - y, 100}, 1e-9));
    EXPECT_TRUE(has(r.segments, {y, 0}, {100, 100 - y}, 1e-9));  // k = -22, mirrored
    // k = 6: the hole cuts the line 6.0908 either side of its foot.
    double w = 6 * 3.175, h = std::sqrt(400 - w * w);
    point2 foot{50 - w * rt, 50 + w * rt}, dir{rt, rt};
    EXPECT_TRUE(has(r.segments, {0, 2 * w * rt}, foot - dir * h, 1e-5));
    EXPECT_TRUE(has(r.segments, foot + dir * h, {100 - 2 * w * rt, 100}, 1e-5));
    for (const patternsegment& s : r.segments) {
        EXPECT_NEAR(s.b.y - s.a.y, s.b.x - s.a.x, 1e-9);  // along 45 degrees, forwards
        EXPECT_GT(s.b.x, s.a.x);
    }
}

TEST(HatchPattern, CrossedPattern) {
    // Lines y = 5, 15, ..., 95 and x = 5, ..., 95 (the second family's
    // offset (-10, 0) is (0, 10) turned by 90 degrees).
    patternresult r;
    ostra::patternlines(holed(), {}, {family(0, {0, 5}, {0, 10}), family(90, {5, 0}, {-10, 0})}, r);
    // Each family: 10 lines, 4 of them (35, 45, 55, 65) cut by the hole.
    EXPECT_EQ(r.segments.size(), 2u * (10 + 4));
    double h35 = std::sqrt(400 - 15 * 15), h45 = std::sqrt(400 - 5 * 5);
    EXPECT_TRUE(has(r.segments, {0, 35}, {50 - h35, 35}, 1e-6));
    EXPECT_TRUE(has(r.segments, {50 + h35, 35}, {100, 35}, 1e-6));
    EXPECT_TRUE(has(r.segments, {0, 45}, {50 - h45, 45}, 1e-6));
    EXPECT_TRUE(has(r.segments, {0, 25}, {100, 25}, 1e-12));
    EXPECT_TRUE(has(r.segments, {35, 0}, {35, 50 - h35}, 1e-6));  // upwards, along 90 degrees
    EXPECT_TRUE(has(r.segments, {95, 0}, {95, 100}, 1e-12));
}

TEST(HatchPattern, DashPhaseFromTheBasePoint) {
    // Dash 5, gap 3, dot, gap 2 (period 10) from base (3, 5); each next line
    // 10 up and 2 along, so line k's pattern begins at x = 3 + 2k.
    patternresult r;
    ostra::patternlines({square(0, 0, 100)}, {}, {family(0, {3, 5}, {2, 10}, {5, -3, 0, -2})}, r);
    // k = 0: a dot at 1 (from the period before), dashes [3, 8] ... [93, 98],
    // dots at 11 ... 91.
    std::vector<patternsegment> s = online(r.segments, 5);
    ASSERT_EQ(s.size(), 20u);
    EXPECT_EQ(s[0].a.x, 1);
    EXPECT_EQ(s[0].b.x, 1);
    EXPECT_NEAR(s[1].a.x, 3, 1e-12);
    EXPECT_NEAR(s[1].b.x, 8, 1e-12);
    EXPECT_NEAR(s[2].a.x, 11, 1e-12);
    EXPECT_NEAR(s[18].a.x, 91, 1e-12);
    EXPECT_NEAR(s[19].a.x, 93, 1e-12);
    EXPECT_NEAR(s[19].b.x, 98, 1e-12);
    // k = 2: begins at 7; the dash of the period before is cut to [0, 2]
    // and the last to [97, 100].
    s = online(r.segments, 25);
    ASSERT_EQ(s.size(), 21u);
    EXPECT_EQ(s[0].a.x, 0);
    EXPECT_NEAR(s[0].b.x, 2, 1e-12);
    EXPECT_NEAR(s[1].a.x, 5, 1e-12);  // a dot
    EXPECT_NEAR(s[1].b.x, 5, 1e-12);
    EXPECT_NEAR(s.back().a.x, 97, 1e-12);
    EXPECT_EQ(s.back().b.x, 100);
    // Dashes are cut by a hole as by the outer side; the phase runs on.
    ostra::patternlines({square(0, 0, 100), square(40, 0, 20)}, {}, {family(0, {3, 5}, {2, 10}, {5, -3, 0, -2})}, r);
    s = online(r.segments, 5);
    // The dots at 41 and 51 and the dashes [43, 48] and [53, 58] are in the
    // hole; the dot at 61 comes next.
    ASSERT_EQ(s.size(), 16u);
    EXPECT_NEAR(s[7].b.x, 38, 1e-12);
    EXPECT_NEAR(s[8].a.x, 61, 1e-12);
    EXPECT_NEAR(s[9].a.x, 63, 1e-12);
    // Only gaps draw nothing, without counting anything as left out.
    ostra::patternlines({square(0, 0, 100)}, {}, {family(0, {0, 5}, {0, 10}, {-1, -2})}, r);
    EXPECT_TRUE(r.segments.empty());
    EXPECT_EQ(r.omittedfamilies, 0);
}

TEST(HatchPattern, IslandsFollowTheStyle) {
    // An island inside the hole: filled under odd parity, left out under
    // outermost.
    std::vector<std::vector<point2>> loops = holed();
    loops.push_back(square(45, 45, 10));
    std::vector<ostra::loopnest> n;
    ostra::nestloops(loops, ostra::stylenormal, n);
    patternresult r;
    ostra::patternlines(loops, n, {family(0, {0, 50}, {0, 100})}, r);  // the line y = 50 only
    EXPECT_EQ(r.segments.size(), 3u);
    EXPECT_TRUE(has(r.segments, {45, 50}, {55, 50}, 1e-12));
    ostra::nestloops(loops, ostra::styleoutermost, n);
    ostra::patternlines(loops, n, {family(0, {0, 50}, {0, 100})}, r);
    EXPECT_EQ(r.segments.size(), 2u);
    ostra::nestloops(loops, ostra::styleignore, n);
    ostra::patternlines(loops, n, {family(0, {0, 50}, {0, 100})}, r);
    ASSERT_EQ(r.segments.size(), 1u);
    EXPECT_TRUE(has(r.segments, {0, 50}, {100, 50}, 1e-12));
}

TEST(HatchPattern, SpacingBoundAndBadFamilies) {
    // The square's diagonal is 141.42, so lines closer than 0.014142 are
    // not drawn: 2^-7 apart they would be 12801 lines.
    patternresult r;
    ostra::patternlines({square(0, 0, 100)}, {},
                        {family(0, {0, 0}, {0, 0.0078125}), family(0, {0, 0.0075}, {0, 0.015}),
                         family(0, {0, 0}, {5, 0}), family(NAN, {0, 0}, {0, 1}), family(0, {0, 0}, {0, 1}, {0.001, -0.001})},
                        r);
    EXPECT_EQ(r.omittedfamilies, 4);  // too dense, zero spacing, not finite, dash period too short
    EXPECT_EQ(r.omittedlines, 12801u + 101u);  // the dense family's and the short period's lines
    EXPECT_EQ(r.segments.size(), 6667u);      // 0.0075 + 0.015 k for k = 0 ... 6666
    EXPECT_FALSE(r.stopped);
    // No area, no lines.
    ostra::patternlines({}, {}, {ansi31()}, r);
    EXPECT_TRUE(r.segments.empty());
}

TEST(HatchPattern, SegmentCap) {
    // 5000 lines of 1000 dashes each: the first 1000 lines fill the cap; the
    // other 4000 and all 100 lines of the family after are left out.
    patternresult r;
    ostra::patternlines({square(0, 0, 100)}, {},
                        {family(0, {0, 0.01}, {0, 0.02}, {0.05, -0.05}), family(90, {0.5, 0}, {-1, 0})}, r);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.segments.size(), ostra::maxpatternsegments);
    EXPECT_EQ(r.omittedlines, 4000u + 100u);
    EXPECT_EQ(r.omittedfamilies, 0);
    EXPECT_NEAR(r.segments.back().a.y, 0.01 + 0.02 * 999, 1e-9);
    EXPECT_NEAR(r.segments.back().b.x, 99.95, 1e-9);
}

// Not run by default (--gtest_also_run_disabled_tests): the time of a dense
// pattern, 1/5000 of a 1000-unit square apart, over the square with 100
// round holes.
TEST(HatchPattern, DISABLED_DenseSpeed) {
    std::vector<std::vector<point2>> loops = {square(0, 0, 1000)};
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) loops.push_back(disc({50 + 100.0 * i, 50 + 100.0 * j}, 30, 0.01));
    }
    std::vector<ostra::loopnest> n;
    double s = 0.2;
    auto t0 = std::chrono::steady_clock::now();
    ostra::nestloops(loops, ostra::stylenormal, n);
    patternresult r;
    ostra::patternlines(loops, n, {family(45, {0, 0}, {-s * rt, s * rt}), family(135, {0, 0}, {-s * rt, -s * rt})}, r);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::size_t sides = 0;
    for (const auto& l : loops) sides += l.size();
    std::printf("%zu sides, %zu segments, %.1f ms\n", sides, r.segments.size(), ms);
    EXPECT_FALSE(r.stopped);
}
