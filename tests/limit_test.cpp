// The work limit: reading stops with limitreached once the limit's worth of
// geometries was made, delivered or not, from a stream and from memory alike.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using testutil::describe;
using testutil::dxf;
using testutil::memstream;
using S = std::vector<std::string>;

namespace {

// A drawing with a LAYER table (OFF is off), blocks and entities.
std::string drawing(const std::vector<S>& blocks, const S& ents) {
    S p = {"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "0", "LAYER", "2", "OFF", "70", "0", "62", "-1"};
    add(p, {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "BLOCKS"});
    for (const S& b : blocks) add(p, b);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, ents);
    add(p, {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

S block(const std::string& name, const S& body) {
    S p = {"0", "BLOCK", "2", name, "10", "0", "20", "0"};
    add(p, body);
    add(p, {"0", "ENDBLK"});
    return p;
}

// A unit line along x on layer.
S unitline(const std::string& layer) { return {"0", "LINE", "8", layer, "11", "1"}; }

// An insert of name in cols x rows cells spaced 1 apart.
S array(const std::string& name, const char* cols, const char* rows) {
    return {"0", "INSERT", "8", "V", "2", name, "70", cols, "71", rows, "44", "1", "45", "1"};
}

struct outcome {
    S got;  // every geometry delivered, described
    ostra::readstatus status = ostra::reading;
    bool again = false;  // a further next() returned null with the same status
};

outcome readlimited(ostra::reader& r, long limit, bool exact, const char* filter) {
    r.setmessages(nullptr);
    r.setexact(exact);
    r.setlimit(limit);
    r.setlayerfilter(filter);
    outcome o;
    brevo::geometry g;
    while (r.next(g)) o.got.push_back(describe(g));
    o.status = r.status();
    o.again = !r.next(g) && r.status() == o.status;
    return o;
}

// Reads text from a stream and from memory, which must agree.
outcome limited(const std::string& text, long limit, bool exact = false, const char* filter = nullptr) {
    memstream m(text);
    ostra::reader fromstream(m.get());
    outcome s = readlimited(fromstream, limit, exact, filter);
    ostra::reader frommemory(text.data(), text.size());
    outcome o = readlimited(frommemory, limit, exact, filter);
    EXPECT_EQ(o.got, s.got);
    EXPECT_EQ(o.status, s.status);
    EXPECT_EQ(fromstream.line(), frommemory.line());
    return s;
}

double seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

TEST(WorkLimit, HugeArrayStopsAtTheLimitExactly) {
    // 30000 x 30000 cells of a line: 9e8 geometries out of 300 bytes.
    const std::string text = dxf({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "10", "0", "20", "0", "0",
                                  "LINE", "8", "L", "11", "1", "0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2",
                                  "ENTITIES", "0", "INSERT", "2", "B", "70", "30000", "71", "30000", "44", "1", "45",
                                  "1", "0", "ENDSEC", "0", "EOF"});
    ASSERT_LT(text.size(), 600u);
    // The block's line is made once when the block keeps it, then once per
    // cell.
    auto t0 = std::chrono::steady_clock::now();
    for (bool exact : {false, true}) {
        outcome o = limited(text, 1001, exact);
        ASSERT_EQ(o.got.size(), 1000u);
        EXPECT_EQ(o.got.back(), "line (999,0,0) (1000,0,0)");  // the 1000th cell of the first row
        EXPECT_EQ(o.status, ostra::limitreached);
        EXPECT_TRUE(o.again);
    }
    EXPECT_LT(seconds(t0), 5.0);
    EXPECT_EQ(ostra::reader::limitreached, 5);
}

TEST(WorkLimit, NestedArraysStopAtTheLimitExactly) {
    // A: 30000 x 30000 cells of B, itself 30000 x 30000 cells of a line.
    std::string text = drawing({block("B", unitline("L")), block("A", array("B", "30000", "30000"))},
                               array("A", "30000", "30000"));
    outcome o = limited(text, 70001, true);
    ASSERT_EQ(o.got.size(), 70000u);
    // Geometry 70000 is B's cell 69999: column 9999 of row 2.
    EXPECT_EQ(o.got.back(), "line (9999,2,0) (10000,2,0)");
    EXPECT_EQ(o.status, ostra::limitreached);
}

// The exact reading makes the hidden line of each cell and leaves it out:
// it counts, so half the limit is delivered (beside the two lines the block
// keeps). The same for a line the filter drops, and for a nested insert
// that draws nothing, passed over.
TEST(WorkLimit, HiddenFilteredAndPassedOverContentCounts) {
    auto t0 = std::chrono::steady_clock::now();
    S hidden = unitline("OFF");
    add(hidden, unitline("V"));
    outcome o = limited(drawing({block("B", hidden)}, array("B", "30000", "30000")), 1002, true);
    EXPECT_EQ(o.got.size(), 500u);
    EXPECT_EQ(o.status, ostra::limitreached);

    S filtered = unitline("A");
    add(filtered, unitline("F"));
    std::string text = drawing({block("B", filtered)}, array("B", "30000", "30000"));
    EXPECT_EQ(limited(text, 1002, true, "A").got.size(), 500u);
    // The default reading keeps no filtered entity in a block: the block
    // holds one line, and the rest of the limit is delivered.
    EXPECT_EQ(limited(text, 1002, false, "A").got.size(), 1001u);

    S passed = unitline("V");
    add(passed, {"0", "INSERT", "8", "V", "2", "H"});
    // The first cell makes H's hidden line, the later ones pass H over.
    o = limited(drawing({block("H", unitline("OFF")), block("B", passed)}, array("B", "30000", "30000")), 1002, true);
    EXPECT_EQ(o.got.size(), 500u);
    EXPECT_EQ(o.status, ostra::limitreached);
    EXPECT_LT(seconds(t0), 5.0);
}

// An array whose cells draw nothing ends after its first cell, as it
// always did; that cell's hidden line is the work it costs, beside the line
// the block keeps and the line after the insert.
TEST(WorkLimit, ArrayOfHiddenContentCostsOneCell) {
    S ents = array("H", "30000", "30000");
    add(ents, unitline("V"));
    std::string text = drawing({block("H", unitline("OFF"))}, ents);
    outcome o = limited(text, 3, true);
    EXPECT_EQ(o.got, S{"line (0,0,0) (1,0,0)"});
    EXPECT_EQ(o.status, ostra::endofdrawing);
    o = limited(text, 2, true);
    EXPECT_EQ(o.got, S{});
    EXPECT_EQ(o.status, ostra::limitreached);
}

// A rational quadratic quarter of the unit circle, flattened finely.
S quartercircle() {
    S p = {"0", "SPLINE", "8", "S", "70", "12", "71", "2", "72", "6", "73", "3"};
    for (const char* k : {"0", "0", "0", "1", "1", "1"}) add(p, {"40", k});
    add(p, {"10", "1", "20", "0", "41", "1", "10", "1", "20", "1", "41", "0.70710678118654752"});
    add(p, {"10", "0", "20", "1", "41", "1"});
    return p;
}

// Each segment of a flattened curve counts; in a block its pieces count
// once when the block keeps them and again when an insert delivers them.
TEST(WorkLimit, FlattenedSplineSegmentsCount) {
    std::string top = drawing({}, quartercircle());
    outcome all = limited(top, 0, true);
    const std::size_t n = all.got.size();
    ASSERT_GT(n, 20u);
    EXPECT_EQ(all.status, ostra::endofdrawing);
    EXPECT_EQ(limited(top, static_cast<long>(n), true).status, ostra::endofdrawing);
    outcome cut = limited(top, 10, true);
    EXPECT_EQ(cut.got, S(all.got.begin(), all.got.begin() + 10));
    EXPECT_EQ(cut.status, ostra::limitreached);

    std::string inblock = drawing({block("C", quartercircle())}, {"0", "INSERT", "8", "V", "2", "C"});
    outcome twice = limited(inblock, static_cast<long>(2 * n), true);
    EXPECT_EQ(twice.got.size(), n);
    EXPECT_EQ(twice.status, ostra::endofdrawing);
    outcome short1 = limited(inblock, static_cast<long>(2 * n - 1), true);
    EXPECT_EQ(short1.got.size(), n - 1);
    EXPECT_EQ(short1.status, ostra::limitreached);
    // The block's pieces alone exceed it: nothing is delivered.
    EXPECT_EQ(limited(inblock, static_cast<long>(n - 1), true).got, S{});
}

// 3 x 2 cells of a line and a circle: 7 geometries and the line the block
// keeps. No limit (0 or less) reads them all; a limit of 8 too, and one of
// 7 stops before the circle.
// Once reached, the limit holds: raising it later does not read on.
TEST(WorkLimit, ExactFitsAndNoLimit) {
    S ents = array("B", "3", "2");
    add(ents, {"0", "CIRCLE", "8", "C", "40", "1"});
    std::string text = drawing({block("B", unitline("L"))}, ents);
    for (bool exact : {false, true}) {
        SCOPED_TRACE(exact);
        const S want = exact ? testutil::readexact(text) : testutil::readall(text);
        ASSERT_EQ(want.size(), 7u);
        for (long none : {0L, -5L}) {
            outcome o = limited(text, none, exact);
            EXPECT_EQ(o.got, want);
            EXPECT_EQ(o.status, ostra::endofdrawing);
        }
        EXPECT_EQ(limited(text, 8, exact).got, want);
        outcome o = limited(text, 7, exact);
        EXPECT_EQ(o.got, S(want.begin(), want.begin() + 6));
        EXPECT_EQ(o.status, ostra::limitreached);
    }
    memstream m(text);
    ostra::reader r(m.get());
    r.setlimit(3);
    brevo::geometry g;
    EXPECT_TRUE(r.next(g) && r.next(g));
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(r.status(), ostra::reader::limitreached);
    r.setlimit(0);
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(r.status(), ostra::limitreached);
    EXPECT_EQ(r.currentlayer(), nullptr);
}

}  // namespace
