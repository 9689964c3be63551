// LEADER records in the exact reading: the hook line and the arrowhead a CAD
// program draws beside the vertex path, with the dimension variables of the
// style, the header, the defaults and the record's own overrides, and the
// end tangents of a spline path.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using S = std::vector<std::string>;

namespace {

// A drawing with the given header variables, table entries (whole tables),
// blocks and entities.
std::string drawing(const S& header, const S& tables, const S& blocks, const S& ents) {
    S p = {"0", "SECTION", "2", "HEADER"};
    add(p, header);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "TABLES"});
    add(p, tables);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "BLOCKS"});
    add(p, blocks);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, ents);
    add(p, {"0", "ENDSEC", "0", "EOF"});
    return testutil::dxf(p);
}

// A DIMSTYLE table of one entry "Standard" with the given groups, and a
// BLOCK_RECORD table naming "_Oblique" (1F), "_None" (2A) and "*D1" (3B).
S tables(const S& standard) {
    S p = {"0", "TABLE", "2", "DIMSTYLE", "0", "DIMSTYLE", "105", "27", "2", "Standard"};
    add(p, standard);
    add(p, {"0", "ENDTAB", "0", "TABLE", "2", "BLOCK_RECORD"});
    add(p, {"0", "BLOCK_RECORD", "5", "1F", "2", "_Oblique", "0", "BLOCK_RECORD", "5", "2a", "2", "_None"});
    add(p, {"0", "BLOCK_RECORD", "5", "3B", "2", "*D1", "0", "ENDTAB"});
    return p;
}

// The arrow block: one stroke from its tip at the base point back along -x
// and up.
const S oblique = {"0", "BLOCK", "2", "_Oblique", "10", "0", "20", "0", "0", "LINE", "8", "0", "5", "AB",
                   "10", "0", "20", "0", "11", "-1", "21", "0.5", "0", "ENDBLK"};

// A leader on layer DIM from (0, 0) to (4, 0) to (4, 3) with a text
// annotation 2 wide, and more groups.
S leader(const S& more) {
    S p = {"0", "LEADER", "5", "L7", "8", "DIM", "100", "AcDbLeader", "3", "Standard", "73", "0", "41", "2"};
    add(p, more);
    add(p, {"76", "3", "10", "0", "20", "0", "30", "0", "10", "4", "20", "0", "30", "0", "10", "4", "20", "3", "30", "0"});
    return p;
}

// An override of the style's variables in the record's extended data.
S overrides(const S& pairs) {
    S p = {"1001", "ACAD", "1000", "DSTYLE", "1002", "{"};
    add(p, pairs);
    add(p, {"1002", "}"});
    return p;
}

const S path = {"line (0,0,0) (4,0,0)", "line (4,0,0) (4,3,0)"};

S with(S a, const S& b) {
    add(a, b);
    return a;
}

// DIMTAD 1, DIMGAP 0.5, DIMSCALE 2: a hook line 0.5 x 2 + 2 = 3 long from
// the last vertex, along +x with 74 = 0 and along -x with 74 = 1.
TEST(LeaderHookLine, DirectionLengthAndWhenThereIsNone) {
    S style = tables({"77", "1", "147", "0.5", "40", "2"});
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, leader({"74", "0"}))), with(path, {"line (4,3,0) (7,3,0)"}));
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, leader({"74", "1"}))), with(path, {"line (4,3,0) (1,3,0)"}));
    // The horizontal direction is in world coordinates, made length 1.
    S along = leader({"74", "0", "211", "0", "221", "-5", "231", "0"});
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, along)), with(path, {"line (4,3,0) (4,0,0)"}));
    // No text annotation (73 = 3), no text width: no hook line.
    S notext = leader({"74", "0"});
    notext[11] = "3";
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, notext)), path);
    S nowidth = leader({"74", "0"});
    nowidth[13] = "0";
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, nowidth)), path);
    // DIMTAD 0 in the style: none, until the record's overrides set it to 1.
    S flat = tables({"77", "0", "147", "0.5", "40", "2"});
    EXPECT_EQ(testutil::readexact(drawing({}, flat, {}, leader({"74", "0"}))), path);
    S raised = with(leader({"74", "0"}), overrides({"1070", "77", "1070", "1"}));
    EXPECT_EQ(testutil::readexact(drawing({}, flat, {}, raised)), with(path, {"line (4,3,0) (7,3,0)"}));
    // And the other way round; other applications' data and unknown
    // variables change nothing.
    S lowered = with(leader({"74", "0"}), {"1001", "OTHER", "1070", "77", "1070", "0"});
    add(lowered, overrides({"1070", "271", "1070", "4", "1070", "77", "1070", "0"}));
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, lowered)), path);
}

// DIMASZ 0.75 x DIMSCALE 2: an arrow 1.5 long, 0.5 wide at its base, with
// its tip at the first vertex and pointing from (4, 0) to it.
TEST(LeaderArrow, ClosedFilledTriangle) {
    S style = tables({"41", "0.75", "40", "2"});
    S triangle = {"line (0,0,0) (1.5,-0.25,0)", "line (1.5,-0.25,0) (1.5,0.25,0)", "line (1.5,0.25,0) (0,0,0)"};
    S got = testutil::readexact(drawing({}, style, {}, leader({"71", "1"})), [](ostra::reader& r, const brevo::geometry&) {
        EXPECT_STREQ(r.currentrecord(), "LEADER");
        EXPECT_STREQ(r.currenthandle(), "L7");
        EXPECT_STREQ(r.currentlayer(), "DIM");
    });
    EXPECT_EQ(got, with(path, triangle));
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, leader({"71", "0"}))), path);
    // Tilted: the plane's normal is +y, the arrow still points along -x,
    // its base now across z.
    S tilted = {"0", "LEADER", "71", "1", "210", "0", "220", "1", "230", "0", "10", "0", "20", "0", "30", "0",
                "10", "4", "20", "0", "30", "0"};
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, tilted)),
              (S{"line (0,0,0) (4,0,0)", "line (0,0,0) (1.5,0,0.25)", "line (1.5,0,0.25) (1.5,0,-0.25)",
                 "line (1.5,0,-0.25) (0,0,0)"}));
    // A first segment shorter than twice the arrow: no arrow; exactly twice:
    // an arrow.
    S shortfirst = {"0", "LEADER", "71", "1", "10", "0", "20", "0", "10", "2.99", "20", "0", "10", "2.99", "20", "1"};
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, shortfirst)).size(), 2u);
    shortfirst[9] = shortfirst[13] = "3";
    EXPECT_EQ(testutil::readexact(drawing({}, style, {}, shortfirst)).size(), 5u);
}

// DIMLDRBLK names a block record by handle: its block is inserted at the
// first vertex, rotated from +x onto the arrow's direction and scaled by
// the arrow size; "_None" draws nothing, nor does a block the drawing does
// not define.
TEST(LeaderArrow, BlocksAndNone) {
    S style = tables({"41", "0.75", "40", "2", "341", "1F"});
    std::string text = drawing({}, style, oblique, leader({"71", "1"}));
    S blocknames;
    S got = testutil::readexact(text, [&](ostra::reader& r, const brevo::geometry&) {
        EXPECT_STREQ(r.currentrecord(), "LEADER");
        EXPECT_STREQ(r.currenthandle(), "L7");
        EXPECT_STREQ(r.currentlayer(), "DIM");  // the block's layer 0 is the leader's
        blocknames.push_back(r.currentblock() ? r.currentblock() : "");
    });
    EXPECT_EQ(blocknames, (S{"", "", "_Oblique"}));
    EXPECT_EQ(got, with(path, {"line (0,0,0) (1.5,-0.75,0)"}));
    // The record's own override names "_None" by its handle.
    S none = with(leader({"71", "1"}), overrides({"1070", "341", "1005", "2A"}));
    EXPECT_EQ(testutil::readexact(drawing({}, style, oblique, none)), path);
    // A handle no block record has: the closed filled arrow.
    S unknown = with(leader({"71", "1"}), overrides({"1070", "341", "1005", "99"}));
    EXPECT_EQ(testutil::readexact(drawing({}, style, oblique, unknown)).size(), 5u);
    // The header names blocks by name: one without its block draws nothing.
    S dot = {"9", "$DIMLDRBLK", "1", "_Dot", "9", "$DIMASZ", "40", "1"};
    EXPECT_EQ(testutil::readexact(drawing(dot, {}, oblique, leader({"71", "1"}))), path);
    dot[3] = "_Oblique";
    EXPECT_EQ(testutil::readexact(drawing(dot, {}, oblique, leader({"71", "1"}))),
              with(path, {"line (0,0,0) (1,-0.5,0)"}));
}

// Inside a block the arrow block is kept as an insert of its own (even of
// a block defined later) and follows the outer insert, as the path does.
TEST(LeaderArrow, InsideABlock) {
    S style = tables({"41", "0.75", "40", "2", "341", "1F"});
    S blocks = {"0", "BLOCK", "2", "OUTER", "10", "0", "20", "0"};
    add(blocks, leader({"71", "1"}));
    add(blocks, {"0", "ENDBLK"});
    add(blocks, oblique);
    S records;
    S got = testutil::readexact(drawing({}, style, blocks, {"0", "INSERT", "2", "OUTER", "8", "X", "10", "10", "20", "0"}),
                                [&](ostra::reader& r, const brevo::geometry&) { records.push_back(r.currentrecord()); });
    EXPECT_EQ(got, (S{"line (10,0,0) (14,0,0)", "line (14,0,0) (14,3,0)", "line (10,0,0) (11.5,-0.75,0)"}));
    EXPECT_EQ(records, (S{"LEADER", "LEADER", "LINE"}));
}

// Where nothing overrides them, the variables come from the style's entry
// (a group it leaves out has the format's default), and without an entry
// from the header, else the defaults of the drawing's measurement.
TEST(LeaderVariables, StyleHeaderAndDefaults) {
    // The metric defaults: DIMASZ 2.5, DIMGAP 0.625, DIMTAD 1.
    S metric = {"9", "$MEASUREMENT", "70", "1"};
    S longer = leader({"71", "1", "74", "0"});
    longer[longer.size() - 11] = longer[longer.size() - 5] = "8";  // (8, 0) and (8, 3)
    S got = testutil::readexact(drawing(metric, {}, {}, longer));
    ASSERT_EQ(got.size(), 6u) << ::testing::PrintToString(got);
    EXPECT_EQ(got[2], "line (8,3,0) (10.625,3,0)");
    EXPECT_EQ(got[3], "line (0,0,0) (2.5,-0.416667,0)");
    // A style entry without those groups: the format's defaults, metric or
    // not (DIMTAD 0: no hook line; DIMASZ 0.18).
    got = testutil::readexact(drawing(metric, tables({}), {}, leader({"71", "1", "74", "0"})));
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[2], "line (0,0,0) (0.18,-0.03,0)");
    // The style the record names is taken over "Standard"; one without an
    // entry falls back to "Standard" (names without regard to case).
    S two = tables({});
    two.insert(two.begin() + 10, {"0", "DIMSTYLE", "2", "TALL", "77", "1", "147", "1"});
    S named = leader({"74", "0"});
    named[9] = "tall";
    EXPECT_EQ(testutil::readexact(drawing({}, two, {}, named)), with(path, {"line (4,3,0) (7,3,0)"}));
    named[9] = "Missing";
    EXPECT_EQ(testutil::readexact(drawing({}, two, {}, named)), path);
    // The header's variables; a DIMSCALE of 0 counts as 1.
    S header = {"9", "$DIMTAD", "70", "1", "9", "$DIMGAP", "40", "0.5", "9", "$DIMSCALE", "40", "0",
                "9", "$DIMASZ", "40", "1.5"};
    got = testutil::readexact(drawing(header, {}, {}, leader({"71", "1", "74", "0"})));
    EXPECT_EQ(got, with(path, {"line (4,3,0) (6.5,3,0)", "line (0,0,0) (1.5,-0.25,0)",
                               "line (1.5,-0.25,0) (1.5,0.25,0)", "line (1.5,0.25,0) (0,0,0)"}));
    // The default reading reads no LEADER and no tables of it.
    testutil::memstream m(drawing(header, tables({}), oblique, leader({"71", "1"})));
    ostra::reader r(m.get());
    EXPECT_EQ(testutil::readall(r), S{});
    int n = 0;
    EXPECT_STREQ(r.firstskipped(n), "LEADER");
    EXPECT_EQ(r.nextskipped(n), nullptr);
}

// The chain's vertices with a fine tolerance.
std::vector<brevo::point> chain(const std::string& text) {
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    r.setflattening(1e-7);
    std::vector<brevo::point> v;
    brevo::geometry g;
    while (r.next(g)) {
        if (!g.lns()) break;
        if (v.empty()) v.push_back(g.lns()->start());
        v.push_back(g.lns()->end());
    }
    return v;
}

brevo::vector along(const brevo::point& a, const brevo::point& b) { return (b - a).unit(); }

double distance(const std::vector<brevo::point>& v, const brevo::point& p) {
    double best = 1e300;
    for (const brevo::point& q : v) best = std::fmin(best, (q - p).length());
    return best;
}

// Through (0, 0), (10, 10), (20, 0): the end tangents are the chords'
// directions, (1, 1) and (1, -1). With chord length parameters (both
// chords L = sqrt(200)) the inner derivative is (u0 + u1) / 2 = (1/sqrt2, 0),
// so the first piece's Bezier points are (0, 0), (10/3, 10/3), (20/3, 10),
// (10, 10), and its middle is (5, 6.25); free ends would give 6.875 there.
// With a hook line along +x the end tangent is (1, 0): the second piece's
// points are (10, 10), (10 + (10/3)(2.5 - sqrt2/2)/2, 55/6),
// (20 - 10 sqrt2/3, 0), (20, 0), and its middle has y 37.5 / 8 = 4.6875.
TEST(LeaderSpline, EndTangents) {
    S p = {"0", "LEADER", "72", "1", "10", "0", "20", "0", "10", "10", "20", "10", "10", "20", "20", "0"};
    std::vector<brevo::point> v = chain(drawing({}, {}, {}, p));
    ASSERT_GT(v.size(), 10u);
    const double r = std::sqrt(0.5);
    brevo::vector s = along(v[0], v[1]), e = along(v[v.size() - 2], v.back());
    EXPECT_NEAR(s.x, r, 2e-3);
    EXPECT_NEAR(s.y, r, 2e-3);
    EXPECT_NEAR(e.x, r, 2e-3);
    EXPECT_NEAR(e.y, -r, 2e-3);
    EXPECT_LT(distance(v, brevo::point(5, 6.25, 0)), 1e-3);
    EXPECT_EQ(v.back().x, 20);

    S hooked = p;
    add(hooked, {"73", "0", "41", "2", "74", "0"});
    v = chain(drawing({"9", "$DIMTAD", "70", "1"}, {}, {}, hooked));
    ASSERT_GT(v.size(), 10u);
    // The path ends at (20, 0) heading along +x, and the hook line goes on
    // 0.09 + 2 from there.
    EXPECT_NEAR(v.back().x, 22.09, 1e-12);
    EXPECT_EQ(v.back().y, 0);
    brevo::point end = v[v.size() - 2];
    EXPECT_EQ(end.x, 20);
    e = along(v[v.size() - 3], end);
    EXPECT_NEAR(e.x, 1, 2e-3);
    EXPECT_NEAR(e.y, 0, 2e-3);
    double bx = 10 + (10.0 / 3) * (2.5 - std::sqrt(2.0) / 2) / 2, cx = 20 - 10 * std::sqrt(2.0) / 3;
    EXPECT_LT(distance(v, brevo::point((10 + 3 * bx + 3 * cx + 20) / 8, 4.6875, 0)), 1e-3);
    // Two vertices and a hook line: the curve bends into the hook's
    // direction; without one the straight segment.
    S two = {"0", "LEADER", "72", "1", "73", "0", "41", "2", "10", "0", "20", "0", "10", "10", "20", "10"};
    v = chain(drawing({"9", "$DIMTAD", "70", "1"}, {}, {}, two));
    EXPECT_GT(v.size(), 4u);
    two[5] = "3";
    EXPECT_EQ(testutil::readexact(drawing({}, {}, {}, two)), S{"line (0,0,0) (10,10,0)"});
}

}  // namespace
