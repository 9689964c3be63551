// Islands under each hatch style: depths by containment whatever the order
// and orientation of the loops, loops that share a side, and which loops
// are outer, holes and filled.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/hatchnesting.h"

using ostra::loopnest;
using ostra::point2;

namespace {

std::vector<point2> rect(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

std::vector<point2> circle(double cx, double cy, double r, int n) {
    std::vector<point2> p;
    for (int i = 0; i < n; ++i) {
        double a = 2 * 3.14159265358979323846 * i / n;
        p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return p;
}

// 0 the outer square; 1 an island in it; 2 a disc in 1; 3 an island in 0;
// 4 one in 3; 5 one in 4; 6 a second outer square; 7 an island that shares
// the outer square's left side.
std::vector<std::vector<point2>> islands() {
    return {rect(0, 0, 100, 100),  rect(10, 10, 40, 40),   circle(25, 25, 5, 32), rect(60, 10, 90, 40),
            rect(70, 20, 80, 30),  rect(74, 24, 76, 26),   rect(200, 0, 300, 100), rect(0, 50, 20, 70)};
}

const int depths[] = {0, 1, 2, 1, 2, 3, 0, 1};

}  // namespace

TEST(HatchNesting, DepthsAndStyles) {
    std::vector<loopnest> n;
    ASSERT_TRUE(ostra::nestloops(islands(), ostra::stylenormal, n));
    ASSERT_EQ(n.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(n[i].depth, depths[i]) << i;
        EXPECT_EQ(n[i].outer, depths[i] % 2 == 0) << i;
        EXPECT_TRUE(n[i].filled) << i;
    }
    ostra::nestloops(islands(), ostra::styleoutermost, n);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(n[i].filled, depths[i] <= 1) << i;
        EXPECT_EQ(n[i].outer, depths[i] % 2 == 0) << i;
    }
    ostra::nestloops(islands(), ostra::styleignore, n);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(n[i].filled, depths[i] == 0) << i;
    // A style that is not known counts as odd parity.
    ostra::nestloops(islands(), 7, n);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_TRUE(n[i].filled) << i;
}

TEST(HatchNesting, OrderAndOrientationDoNotMatter) {
    std::vector<std::vector<point2>> loops = islands();
    std::reverse(loops[0].begin(), loops[0].end());  // clockwise now
    std::reverse(loops[4].begin(), loops[4].end());
    std::vector<int> order = {5, 2, 7, 0, 6, 3, 1, 4};
    std::vector<std::vector<point2>> shuffled;
    for (int i : order) shuffled.push_back(loops[static_cast<std::size_t>(i)]);
    std::vector<loopnest> n;
    ostra::nestloops(shuffled, ostra::stylenormal, n);
    for (std::size_t k = 0; k < order.size(); ++k) EXPECT_EQ(n[k].depth, depths[order[k]]) << k;
}

TEST(HatchNesting, TestPoints) {
    // Inside, just off the middle of the longest side, on either orientation.
    std::vector<point2> r = rect(0, 0, 10, 2);
    point2 p = ostra::testpoint(r);
    EXPECT_NEAR(p.x, 5, 1e-12);
    EXPECT_GT(p.y, 0);
    EXPECT_LT(p.y, 1e-4);
    std::reverse(r.begin(), r.end());
    p = ostra::testpoint(r);
    EXPECT_GT(p.y, 0);
    EXPECT_EQ(ostra::doublearea(rect(0, 0, 10, 2)), 40);
    EXPECT_EQ(ostra::doublearea(r), -40);
    // Degenerate loops: no side gives the first point; they nest like points.
    std::vector<std::vector<point2>> loops = {rect(0, 0, 10, 10), {{5, 5}, {5, 5}}, {}, {{20, 20}}};
    std::vector<loopnest> n;
    ostra::nestloops(loops, ostra::stylenormal, n);
    EXPECT_EQ(n[1].depth, 1);
    EXPECT_EQ(n[2].depth, 0);
    EXPECT_EQ(n[3].depth, 0);
    // Points that are not finite are left out of the sides.
    loops = {rect(0, 0, 10, 10), rect(2, 2, 4, 4)};
    loops[0].insert(loops[0].begin() + 1, point2{NAN, 0});
    ostra::nestloops(loops, ostra::stylenormal, n);
    EXPECT_EQ(n[1].depth, 1);
}
