// Pieces that know their entity: item numbers, piece numbers and the closed
// flag, in both readings, through blocks, nested inserts and arrays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <ostra/reader.h>

#include "testutil.h"

namespace {

using testutil::add;
using testutil::dxf;
using V = std::vector<std::string>;

// What the reader says of each geometry: "item.piece" with a c for a closed
// item, and the record's name.
struct piece {
    long item;
    int number;
    bool closed;
    std::string record;
};

std::vector<piece> pieces(const std::string& text, bool exact) {
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(exact);
    EXPECT_EQ(r.currentitem(), 0);
    std::vector<piece> out;
    brevo::geometry g;
    while (r.next(g)) out.push_back({r.currentitem(), r.currentpiece(), r.currentclosed(), r.currentrecord()});
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    EXPECT_EQ(r.currentitem(), 0);  // nothing delivered by the last call
    return out;
}

// The pieces grouped: for each item in order, its record, its piece count
// and whether it is closed, as "RECORD:n" or "RECORD:n:c". Checks that
// items increase by one and pieces count from 0.
V items(const std::vector<piece>& ps) {
    V out;
    long last = 0;
    int expected = 0;
    for (const piece& p : ps) {
        if (p.item != last) {
            EXPECT_EQ(p.item, last + 1);
            EXPECT_EQ(p.number, 0);
            last = p.item;
            expected = 0;
            out.push_back("");
        }
        EXPECT_EQ(p.number, expected++);
        out.back() = p.record + ":" + std::to_string(expected) + (p.closed ? ":c" : "");
    }
    return out;
}

V line(double x) { return {"0", "LINE", "8", "0", "10", std::to_string(x), "20", "0", "11", std::to_string(x + 1), "21", "0"}; }

// A closed LWPOLYLINE of four vertices, two of them bulged.
V bulgedsquare() {
    return {"0", "LWPOLYLINE", "8", "0", "90", "4", "70", "1",
            "10", "0", "20", "0", "42", "0.5", "10", "10", "20", "0",
            "10", "10", "20", "10", "42", "-0.3", "10", "0", "20", "10"};
}

// A closed quadratic spline: a parabola-like arch and back (the first
// control point repeated last).
V closedspline() {
    return {"0", "SPLINE", "8", "0", "70", "1", "71", "2", "72", "6", "73", "3",
            "40", "0", "40", "0", "40", "0", "40", "1", "40", "1", "40", "1",
            "10", "0", "20", "0", "30", "0", "10", "5", "20", "10", "30", "0", "10", "0", "20", "0", "30", "0"};
}

// A polyface mesh of four vertices and two triangles sharing an edge.
V polyface() {
    V v = {"0", "POLYLINE", "8", "0", "66", "1", "70", "64", "71", "4", "72", "2"};
    const char* xy[4][2] = {{"0", "0"}, {"1", "0"}, {"1", "1"}, {"0", "1"}};
    for (auto& p : xy) add(v, {"0", "VERTEX", "8", "0", "10", p[0], "20", p[1], "70", "192"});
    add(v, {"0", "VERTEX", "8", "0", "70", "128", "71", "1", "72", "2", "73", "3"});
    add(v, {"0", "VERTEX", "8", "0", "70", "128", "71", "1", "72", "3", "73", "4"});
    add(v, {"0", "SEQEND"});
    return v;
}

// A block A of two lines and a circle; a block B holding a line and an
// insert of A.
V blocks() {
    V v = {"0", "SECTION", "2", "BLOCKS",
           "0", "BLOCK", "2", "A", "10", "0", "20", "0"};
    add(v, line(0));
    add(v, line(5));
    add(v, {"0", "CIRCLE", "8", "0", "10", "0", "20", "0", "40", "1"});
    add(v, {"0", "ENDBLK", "0", "BLOCK", "2", "B", "10", "0", "20", "0"});
    add(v, line(9));
    add(v, {"0", "INSERT", "2", "A", "10", "100", "20", "0"});
    add(v, {"0", "ENDBLK", "0", "ENDSEC"});
    return v;
}

std::string drawing(const V& entities) {
    V all = blocks();
    add(all, {"0", "SECTION", "2", "ENTITIES"});
    add(all, entities);
    add(all, {"0", "ENDSEC", "0", "EOF"});
    return dxf(all);
}

TEST(Items, EachEntityIsOneItemInTheExactReading) {
    V e = bulgedsquare();
    add(e, closedspline());
    add(e, polyface());
    add(e, line(0));
    add(e, {"0", "CIRCLE", "8", "0", "10", "0", "20", "0", "40", "2"});
    const std::vector<piece> ps = pieces(drawing(e), true);
    const V got = items(ps);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], "LWPOLYLINE:4:c");  // three pieces and the closing one
    EXPECT_EQ(got[2], "POLYLINE:6");      // two triangles' edges, the shared one twice
    EXPECT_EQ(got[3], "LINE:1");
    EXPECT_EQ(got[4], "CIRCLE:1:c");
    // The spline's chain: one item of many segments, closed.
    EXPECT_EQ(got[1].substr(0, 7), "SPLINE:");
    EXPECT_EQ(got[1].substr(got[1].size() - 2), ":c");
    EXPECT_GT(std::stoi(got[1].substr(7)), 1);
}

// Nested inserts and arrays: every copy of every entity is its own item,
// each array cell and each nesting level; a dimension is one item.
TEST(Items, EveryInsertCopyAndEveryCellIsItsOwn) {
    V e = {"0", "INSERT", "8", "0", "2", "B", "10", "0", "20", "0"};
    // A 2 x 3 array of A.
    add(e, {"0", "INSERT", "8", "0", "2", "A", "10", "0", "20", "50", "70", "2", "71", "3", "44", "20", "45", "20"});
    for (bool exact : {false, true}) {
        SCOPED_TRACE(exact ? "exact" : "default");
        const V got = items(pieces(drawing(e), exact));
        // B: its line, then A's two lines and circle; then six cells of A's three.
        V want = {"LINE:1", "LINE:1", "LINE:1", "CIRCLE:1:c"};
        for (int cell = 0; cell < 6; ++cell) add(want, {"LINE:1", "LINE:1", "CIRCLE:1:c"});
        EXPECT_EQ(got, want);
    }
}

TEST(Items, ADimensionIsOneItemAtTheTopAndInABlock) {
    V v = {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "*D1", "10", "0", "20", "0"};
    add(v, line(0));
    add(v, line(3));
    add(v, {"0", "ENDBLK", "0", "BLOCK", "2", "K", "10", "0", "20", "0",
            "0", "DIMENSION", "8", "0", "2", "*D1", "0", "ENDBLK", "0", "ENDSEC",
            "0", "SECTION", "2", "ENTITIES",
            "0", "DIMENSION", "8", "0", "2", "*D1",
            "0", "INSERT", "8", "0", "2", "K", "10", "0", "20", "0", "70", "2", "44", "10"});
    add(v, {"0", "ENDSEC", "0", "EOF"});
    EXPECT_EQ(items(pieces(dxf(v), true)), (V{"DIMENSION:2", "LINE:2", "LINE:2"}));
}

// The default reading: a light polyline's segments come while its record is
// read, an old-form polyline's at its vertices; each polyline is one item,
// closed only where it gets its closing segment.
TEST(Items, PolylinesInTheDefaultReading) {
    V e = bulgedsquare();
    add(e, {"0", "POLYLINE", "8", "0", "66", "1", "70", "1",
            "0", "VERTEX", "8", "0", "10", "0", "20", "0",
            "0", "VERTEX", "8", "0", "10", "4", "20", "0",
            "0", "VERTEX", "8", "0", "10", "4", "20", "4", "0", "SEQEND"});
    add(e, {"0", "POLYLINE", "8", "0", "66", "1", "70", "0",
            "0", "VERTEX", "8", "0", "10", "0", "20", "0",
            "0", "VERTEX", "8", "0", "10", "4", "20", "0", "0", "SEQEND"});
    add(e, line(1));
    EXPECT_EQ(items(pieces(drawing(e), false)), (V{"LWPOLYLINE:3", "POLYLINE:3:c", "POLYLINE:1", "LINE:1"}));
    EXPECT_EQ(items(pieces(drawing(e), true)), (V{"LWPOLYLINE:4:c", "POLYLINE:3:c", "POLYLINE:1", "LINE:1"}));
}

// Pieces a filter drops are not numbered: the pieces delivered are.
TEST(Items, FilteredPiecesAreNotCounted) {
    V e = line(0);
    add(e, {"0", "LINE", "8", "HIDDEN", "10", "0", "20", "0", "11", "1", "21", "1"});
    add(e, line(2));
    testutil::memstream m(drawing(e));
    ostra::reader r(m.get());
    r.setexact(true);
    r.setlayerfilter("0");
    std::vector<long> seen;
    brevo::geometry g;
    while (r.next(g)) {
        if (!r.currentblock()) seen.push_back(r.currentitem());
        EXPECT_EQ(r.currentpiece(), 0);
    }
    EXPECT_EQ(seen, (std::vector<long>{1, 2}));
}

}  // namespace
