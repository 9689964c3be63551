// HATCH and MPOLYGON records read when the host asks: boundary pieces with
// their fill information, pattern lines, the placing by the object
// coordinate system, and nothing at all when it does not ask.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::describe;
using testutil::entities;
using S = std::vector<std::string>;

namespace {

// A hatch with the header groups head, the paths and the tail.
S hatch(const S& head, const S& paths, const S& tail) {
    S p = {"0", "HATCH", "8", "H", "100", "AcDbHatch", "10", "0", "20", "0", "30", "0"};
    testutil::add(p, head);
    testutil::add(p, paths);
    testutil::add(p, tail);
    return p;
}

// A polyline path around the square from (a, a) to (b, b), counterclockwise.
S square(const char* a, const char* b) {
    return {"92", "2", "72", "0", "73", "1", "93", "4", "10", a, "20", a, "10", b, "20", a,
            "10", b, "20", b, "10", a, "20", b, "97", "0"};
}

struct piece {
    std::string g;
    int loop;
    bool outer, solid, filled;
    std::string pattern;
    long item;
};

std::vector<piece> readhatch(const std::string& text, int modes, bool exact = false) {
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(exact);
    r.sethatch(modes);
    std::vector<piece> out;
    brevo::geometry g;
    while (r.next(g)) {
        const ostra::fillinfo* f = r.currentfill();
        if (!f) {
            out.push_back({describe(g), -2, false, false, false, "", r.currentitem()});
            continue;
        }
        out.push_back({describe(g), f->loop, f->outer, f->solid, f->filled, f->pattern, r.currentitem()});
    }
    return out;
}

S shapes(const std::vector<piece>& v) {
    S s;
    for (const piece& p : v) s.push_back(p.g);
    return s;
}

TEST(HatchRecords, NotAskedForTheyAreSkippedAsBefore) {
    std::string text = entities(hatch({"2", "SOLID", "70", "1", "91", "1"}, square("0", "4"), {"75", "0", "76", "1"}));
    for (bool exact : {false, true}) {
        testutil::memstream m(text);
        ostra::reader r(m.get());
        r.setexact(exact);
        brevo::geometry g;
        EXPECT_EQ(r.next(g), nullptr);
        int n = 0;
        ASSERT_STREQ(r.firstskipped(n), "HATCH");
        EXPECT_EQ(n, 1);
    }
}

TEST(HatchRecords, PolylinePathWithABulge) {
    // The last side, from (0, 4) to (0, 0), bulges by 1: a half circle
    // about (0, 2) through (-2, 2).
    S path = {"92", "3", "72", "1", "73", "1", "93", "4", "10", "0", "20", "0", "10", "4", "20", "0",
              "10", "4", "20", "4", "10", "0", "20", "4", "42", "1", "97", "0"};
    std::string text = entities(hatch({"2", "SOLID", "70", "1", "91", "1"}, path, {"75", "1", "76", "1"}));
    for (bool exact : {false, true}) {
        std::vector<piece> v = readhatch(text, ostra::hatchboundaries, exact);
        EXPECT_EQ(shapes(v), (S{"line (0,0,0) (4,0,0)", "line (4,0,0) (4,4,0)", "line (4,4,0) (0,4,0)",
                                "arc c(0,2,0) n(0,0,1) s(0,4,0) a180"}));
        for (const piece& p : v) {
            EXPECT_EQ(p.loop, 0);
            EXPECT_TRUE(p.outer && p.solid && p.filled);
            EXPECT_EQ(p.pattern, "SOLID");
            EXPECT_EQ(p.item, 1);
        }
    }
}

TEST(HatchRecords, EdgePathOfEveryKind) {
    // A line along the bottom, a half circle on the right from (10, 0) to
    // (10, 10), a line back along the top, and half an ellipse on the left
    // from (0, 10) through (-2.5, 5) to (0, 0).
    S path = {"92", "1", "93", "4",
              "72", "1", "10", "0", "20", "0", "11", "10", "21", "0",
              "72", "2", "10", "10", "20", "5", "40", "5", "50", "270", "51", "90", "73", "1",
              "72", "1", "10", "10", "20", "10", "11", "0", "21", "10",
              "72", "3", "10", "0", "20", "5", "11", "0", "21", "5", "40", "0.5", "50", "0", "51", "180", "73", "1",
              "97", "0"};
    std::vector<piece> v =
        readhatch(entities(hatch({"2", "SOLID", "70", "1", "91", "1"}, path, {"75", "0"})), ostra::hatchboundaries);
    EXPECT_EQ(shapes(v), (S{"line (0,0,0) (10,0,0)", "arc c(10,5,0) n(0,0,1) s(10,0,0) a180",
                            "line (10,10,0) (0,10,0)", "ellipse c(0,5,0) u(0,5,0) k0.5 p0..180"}));
}

TEST(HatchRecords, SplineEdgeWithFitDataIsFlattenedToLines) {
    // A straight spline of degree 1 from (0, 0) to (4, 0), its fit data
    // after its 97, then a line back: the path's 97 follows.
    S path = {"92", "1", "93", "2",
              "72", "4", "94", "1", "73", "0", "74", "0", "95", "4", "96", "2",
              "40", "0", "40", "0", "40", "1", "40", "1", "10", "0", "20", "0", "10", "4", "20", "0",
              "97", "2", "11", "0", "21", "0", "11", "4", "21", "0",
              "72", "1", "10", "4", "20", "0", "11", "0", "21", "0", "97", "0"};
    std::vector<piece> v =
        readhatch(entities(hatch({"2", "SOLID", "70", "1", "91", "1"}, path, {"75", "0"})), ostra::hatchboundaries);
    EXPECT_EQ(shapes(v), (S{"line (0,0,0) (4,0,0)", "line (4,0,0) (0,0,0)"}));
}

TEST(HatchRecords, IslandsNestUnderEachStyle) {
    S paths = square("0", "10");
    testutil::add(paths, square("2", "8"));
    testutil::add(paths, square("4", "6"));
    for (const char* style : {"0", "1", "2"}) {
        std::vector<piece> v = readhatch(
            entities(hatch({"2", "SOLID", "70", "1", "91", "3"}, paths, {"75", style})), ostra::hatchboundaries);
        ASSERT_EQ(v.size(), 12u);
        // Outer, hole, island: the island takes part only in odd parity;
        // under "ignore" only the outermost loop does.
        EXPECT_TRUE(v[0].outer && v[0].filled);
        EXPECT_FALSE(v[4].outer);
        EXPECT_EQ(v[4].filled, style[0] != '2');
        EXPECT_TRUE(v[8].outer);
        EXPECT_EQ(v[8].filled, style[0] == '0');
        EXPECT_EQ(v[11].loop, 2);
    }
}

// Horizontal lines 3 apart from y = 0.5 over the square 0..10 with the
// hole 2..8: y = 0.5 and 9.5 run across, 3.5 and 6.5 are cut by the hole.
TEST(HatchRecords, PatternLinesAreClippedToTheArea) {
    S paths = square("0", "10");
    testutil::add(paths, square("2", "8"));
    S tail = {"75", "0", "76", "1", "52", "0", "41", "1", "77", "0", "78", "1",
              "53", "0", "43", "0", "44", "0.5", "45", "0", "46", "3", "79", "0"};
    std::vector<piece> v =
        readhatch(entities(hatch({"2", "LINES", "70", "0", "91", "2"}, paths, tail)), ostra::hatchpatterns);
    S want = {"line (0,0.5,0) (10,0.5,0)", "line (0,3.5,0) (2,3.5,0)", "line (8,3.5,0) (10,3.5,0)",
              "line (0,6.5,0) (2,6.5,0)", "line (8,6.5,0) (10,6.5,0)", "line (0,9.5,0) (10,9.5,0)"};
    S got = shapes(v);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
    for (const piece& p : v) {
        EXPECT_EQ(p.loop, -1);
        EXPECT_EQ(p.pattern, "LINES");
        EXPECT_FALSE(p.solid);
    }
    // Both: the eight sides first, then the lines, one item.
    std::vector<piece> both = readhatch(entities(hatch({"2", "LINES", "70", "0", "91", "2"}, paths, tail)),
                                        ostra::hatchboundaries | ostra::hatchpatterns);
    ASSERT_EQ(both.size(), 14u);
    EXPECT_EQ(both[7].loop, 1);
    EXPECT_EQ(both[8].loop, -1);
    EXPECT_EQ(both.front().item, both.back().item);
}

TEST(HatchRecords, TooDenseAPatternIsLeftOutAndCounted) {
    S tail = {"75", "0", "78", "1", "53", "0", "43", "0", "44", "0", "45", "0", "46", "0.0000001", "79", "0"};
    testutil::memstream m(entities(hatch({"2", "DENSE", "70", "0", "91", "1"}, square("0", "10"), tail)));
    ostra::reader r(m.get());
    r.sethatch(ostra::hatchpatterns);
    brevo::geometry g;
    EXPECT_EQ(r.next(g), nullptr);
    int n = 0;
    const char* name = r.firstskipped(n);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "*patternlines");
    EXPECT_GT(n, 1000);
}

TEST(HatchRecords, SolidHatchUpsideDownAtItsElevation) {
    // Extrusion (0, 0, -1): the object x axis is the world's -x, and the
    // elevation 2 lies at z = -2.
    S head = {"210", "0", "220", "0", "230", "-1", "2", "SOLID", "70", "1", "91", "1"};
    S p = {"0", "HATCH", "8", "H", "10", "0", "20", "0", "30", "2"};
    testutil::add(p, head);
    testutil::add(p, square("0", "4"));
    testutil::add(p, {"75", "0"});
    std::vector<piece> v = readhatch(entities(p), ostra::hatchboundaries, true);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0].g, "line (0,0,-2) (-4,0,-2)");
}

TEST(HatchRecords, MpolygonAndHatchInABlock) {
    S block = {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "8", "0", "2", "B", "10", "0", "20", "0", "30", "0"};
    S mp = {"0", "MPOLYGON", "8", "0", "100", "AcDbMPolygon", "70", "1", "10", "0", "20", "0", "30", "0",
            "2", "SOLID", "70", "1", "71", "0", "91", "1"};
    testutil::add(mp, square("0", "1"));
    testutil::add(mp, {"75", "0"});
    testutil::add(block, mp);
    testutil::add(block, {"0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES", "0", "INSERT", "8", "I",
                          "2", "B", "10", "100", "20", "0", "30", "0", "0", "ENDSEC", "0", "EOF"});
    std::vector<piece> v = readhatch(testutil::dxf(block), ostra::hatchboundaries);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0].g, "line (100,0,0) (101,0,0)");
    EXPECT_TRUE(v[0].solid && v[0].outer);
    EXPECT_EQ(v[0].pattern, "SOLID");
}

TEST(HatchRecords, SolidAndTraceOutlinesAreFilled) {
    S solid = {"0", "SOLID", "8", "0", "10", "0", "20", "0", "11", "1", "21", "0", "12", "0", "22", "1"};
    std::vector<piece> v = readhatch(entities(solid), ostra::nohatch, true);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(v[0].solid && v[0].outer);
    EXPECT_EQ(v[0].loop, 0);
}

TEST(HatchRecords, WipeoutOutlineCoversItsFrame) {
    // A frame 4 wide and 2 high at (1, 1); the rectangle of the whole
    // frame, its top left corner (-0.5, -0.5) first.
    S w = {"0", "WIPEOUT", "8", "0", "10", "1", "20", "1", "11", "4", "21", "0", "12", "0", "22", "2",
           "13", "1", "23", "1", "71", "1", "91", "2", "14", "-0.5", "24", "-0.5", "14", "0.5", "24", "0.5"};
    std::vector<piece> v = readhatch(entities(w), ostra::hatchboundaries);
    EXPECT_EQ(shapes(v), (S{"line (1,3,0) (5,3,0)", "line (5,3,0) (5,1,0)", "line (5,1,0) (1,1,0)",
                            "line (1,1,0) (1,3,0)"}));
    EXPECT_TRUE(v[0].solid);
    // Not asked for: skipped as before.
    EXPECT_TRUE(readhatch(entities(w), ostra::nohatch).empty());
}

TEST(HatchRecords, GradientGivesItsColours) {
    S tail = {"75", "0", "98", "1", "10", "1", "20", "1", "450", "1", "451", "0", "452", "0", "453", "2",
              "460", "0", "461", "0", "463", "0", "63", "1", "421", "255", "463", "1", "63", "2", "470", "LINEAR"};
    testutil::memstream m(entities(hatch({"2", "SOLID", "70", "1", "91", "1"}, square("0", "4"), tail)));
    ostra::reader r(m.get());
    r.sethatch(ostra::hatchboundaries);
    brevo::geometry g;
    ASSERT_NE(r.next(g), nullptr);
    const ostra::fillinfo* f = r.currentfill();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->gradient && f->solid);
    EXPECT_EQ(f->gradientcolor1, 0x0000FF);  // the true colour wins over the index
    EXPECT_EQ(f->gradientcolor2, 0xFFFF00);  // index 2, yellow
}

}  // namespace
