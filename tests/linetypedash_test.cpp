// Linetype dashes along an L-shaped polyline (10 along x, then 10 up): the
// pattern running on across the corner, dots, scale and phase, and the
// cases that fall back to one solid dash.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/linetypedash.h"

using brevo::point;
using ostra::dashchains;

namespace {

const std::vector<point> ell = {point(0, 0, 0), point(10, 0, 0), point(10, 10, 0)};

std::vector<std::vector<point>> dashes(const std::vector<double>& elements, double scale = 1, double phase = 0,
                                       const std::vector<point>& p = ell) {
    dashchains d;
    ostra::dashpolyline(p.data(), p.size(), elements, scale, d, phase);
    std::vector<std::vector<point>> out;
    for (std::size_t i = 0; i < d.count(); ++i)
        out.emplace_back(d.points.begin() + static_cast<std::ptrdiff_t>(d.starts[i]),
                         d.points.begin() + static_cast<std::ptrdiff_t>(d.starts[i] + d.size(i)));
    return out;
}

void expectchain(const std::vector<point>& got, const std::vector<point>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, 1e-12) << i;
        EXPECT_NEAR(got[i].y, want[i].y, 1e-12) << i;
    }
}

}  // namespace

TEST(LinetypeDash, PatternRunsOnAcrossTheCorner) {
    // Dash 5, gap 2: [0, 5], [7, 12] bends round the corner at 10,
    // [14, 19], and [21, ...] is beyond the end (20).
    auto d = dashes({5, -2});
    ASSERT_EQ(d.size(), 3u);
    expectchain(d[0], {point(0, 0, 0), point(5, 0, 0)});
    expectchain(d[1], {point(7, 0, 0), point(10, 0, 0), point(10, 2, 0)});
    expectchain(d[2], {point(10, 4, 0), point(10, 9, 0)});
    // The same pattern half as long, scaled by 2.
    auto e = dashes({2.5, -1}, 2);
    ASSERT_EQ(e.size(), 3u);
    expectchain(e[1], d[1]);
    // Started 2 into the pattern: [0, 3], [5, 10] ending on the corner,
    // [12, 17], [19, 20] cut at the end.
    d = dashes({5, -2}, 1, 2);
    ASSERT_EQ(d.size(), 4u);
    expectchain(d[0], {point(0, 0, 0), point(3, 0, 0)});
    expectchain(d[1], {point(5, 0, 0), point(10, 0, 0)});
    expectchain(d[3], {point(10, 9, 0), point(10, 10, 0)});
    // A negative phase counts back from the pattern's start: -5 is 2 in.
    expectchain(dashes({5, -2}, 1, -5)[1], d[1]);
}

TEST(LinetypeDash, Dots) {
    // Dash 3, gap 1, dot, gap 1: dashes at 0, 5, 10 (starting on the
    // corner), 15; dots at 4, 9, 14, 19; the dash at 20 has no length left.
    auto d = dashes({3, -1, 0, -1});
    ASSERT_EQ(d.size(), 8u);
    expectchain(d[1], {point(4, 0, 0)});
    expectchain(d[4], {point(10, 0, 0), point(10, 3, 0)});
    expectchain(d[7], {point(10, 9, 0)});
    // A repeated vertex changes nothing.
    std::vector<point> twice = {ell[0], ell[1], ell[1], ell[2]};
    EXPECT_EQ(dashes({3, -1, 0, -1}, 1, 0, twice).size(), 8u);
}

TEST(LinetypeDash, SolidWhenThePatternCannotBeLaid) {
    dashchains d;
    for (const std::vector<double>& elements :
         std::vector<std::vector<double>>{{}, {-1, -2}, {0, 0}, {1, NAN}, {1e-5, -1e-5}}) {
        ostra::dashpolyline(ell.data(), ell.size(), elements, 1, d);
        EXPECT_TRUE(d.solid);
        ASSERT_EQ(d.count(), 1u);
        EXPECT_EQ(d.size(0), 3u);
    }
    for (double scale : {0.0, -1.0, HUGE_VAL, std::nan("")}) {
        ostra::dashpolyline(ell.data(), ell.size(), {5, -2}, scale, d);
        EXPECT_TRUE(d.solid) << scale;
    }
    // 20 units at a period of 2.5e-4: 80000 periods still get dashes.
    ostra::dashpolyline(ell.data(), ell.size(), {1.25e-4, -1.25e-4}, 1, d);
    EXPECT_FALSE(d.solid);
    EXPECT_NEAR(static_cast<double>(d.count()), 80000, 1);
    // Points that are not finite are left out; none at all gives nothing.
    std::vector<point> bad = {point(0, 0, 0), point(NAN, 0, 0), point(10, 0, 0)};
    ostra::dashpolyline(bad.data(), bad.size(), {5, -2}, 1, d);
    EXPECT_EQ(d.count(), 2u);
    ostra::dashpolyline(bad.data() + 1, 1, {5, -2}, 1, d);
    EXPECT_EQ(d.count(), 0u);
}
