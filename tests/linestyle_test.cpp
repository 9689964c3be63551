// The line style beside each geometry: linetype, lineweight and linetype
// scale, BYLAYER and BYBLOCK resolved through layers and nested inserts.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "testutil.h"

using S = std::vector<std::string>;

namespace {

struct style {
    std::string linetype;
    int lineweight;
    double scale;
};

std::vector<style> readstyles(const std::string& text, bool exact) {
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(exact);
    std::vector<style> out;
    brevo::geometry g;
    while (r.next(g)) out.push_back({r.currentlinetype(), r.currentlineweight(), r.currentltscale()});
    return out;
}

S line(const char* layer, const S& more) {
    S p = {"0", "LINE", "8", layer};
    testutil::add(p, more);
    testutil::add(p, {"10", "0", "20", "0", "11", "1", "21", "0"});
    return p;
}

// Layers L (DASHED, 0.50 mm) and M (DOT, no lineweight); blocks B (a line
// BYBLOCK in both), C (an insert of B BYBLOCK), D (a line BYLAYER on L).
std::string drawing(const S& entities) {
    S p = {"0", "SECTION", "2", "HEADER", "9", "$LTSCALE", "40", "2", "0", "ENDSEC",
           "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LTYPE",
           "0", "LTYPE", "2", "Dashed", "70", "0", "3", "__ __", "72", "65", "73", "2", "40", "0.75",
           "49", "0.5", "74", "0", "49", "-0.25", "74", "0",
           "0", "LTYPE", "2", "CONTINUOUS", "70", "0", "72", "65", "73", "0", "40", "0",
           "0", "ENDTAB", "0", "TABLE", "2", "LAYER",
           "0", "LAYER", "2", "L", "70", "0", "62", "1", "6", "DASHED", "370", "50",
           "0", "LAYER", "2", "M", "70", "0", "62", "1", "6", "DOT",
           "0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "BLOCKS",
           "0", "BLOCK", "8", "0", "2", "B", "10", "0", "20", "0"};
    testutil::add(p, line("0", {"6", "BYBLOCK", "370", "-2", "48", "0.5"}));
    testutil::add(p, {"0", "ENDBLK", "0", "BLOCK", "8", "0", "2", "C", "10", "0", "20", "0",
                      "0", "INSERT", "8", "0", "2", "B", "6", "ByBlock", "370", "-2", "10", "0", "20", "0",
                      "0", "ENDBLK", "0", "BLOCK", "8", "0", "2", "D", "10", "0", "20", "0"});
    testutil::add(p, line("L", {}));
    testutil::add(p, {"0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    testutil::add(p, entities);
    testutil::add(p, {"0", "ENDSEC", "0", "EOF"});
    return testutil::dxf(p);
}

S insert(const char* block, const char* layer, const S& more) {
    S p = {"0", "INSERT", "8", layer, "2", block};
    testutil::add(p, more);
    testutil::add(p, {"10", "5", "20", "5"});
    return p;
}

TEST(LineStyle, ByLayerThroughTheLayerEntry) {
    S e = line("L", {});
    testutil::add(e, line("L", {"6", "CENTER", "370", "13"}));
    testutil::add(e, line("X", {"370", "-3"}));
    for (bool exact : {false, true}) {
        std::vector<style> v = readstyles(drawing(e), exact);
        ASSERT_EQ(v.size(), 3u);
        EXPECT_EQ(v[0].linetype, "DASHED");
        EXPECT_EQ(v[0].lineweight, 50);
        EXPECT_EQ(v[0].scale, 2);  // $LTSCALE alone
        EXPECT_EQ(v[1].linetype, "CENTER");
        EXPECT_EQ(v[1].lineweight, 13);
        // A layer without an entry: continuous, the default weight.
        EXPECT_EQ(v[2].linetype, "Continuous");
        EXPECT_EQ(v[2].lineweight, -3);
    }
}

TEST(LineStyle, ByBlockThroughNestedInserts) {
    S e = insert("B", "0", {"6", "HIDDEN", "370", "30"});
    // C's insert of B is BYBLOCK: the outer insert's style reaches B's line.
    testutil::add(e, insert("C", "0", {"6", "PHANTOM", "370", "40"}));
    // An insert BYLAYER on M: DOT from M, and M's default weight.
    testutil::add(e, insert("C", "M", {}));
    // Outside any block, BYBLOCK is continuous.
    testutil::add(e, line("0", {"6", "BYBLOCK", "370", "-2"}));
    // D's line is BYLAYER on its own layer L, whatever the insert says.
    testutil::add(e, insert("D", "M", {"6", "HIDDEN"}));
    std::vector<style> v = readstyles(drawing(e), true);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(v[0].linetype, "HIDDEN");
    EXPECT_EQ(v[0].lineweight, 30);
    EXPECT_EQ(v[0].scale, 1);  // its own 0.5 times $LTSCALE 2
    EXPECT_EQ(v[1].linetype, "PHANTOM");
    EXPECT_EQ(v[1].lineweight, 40);
    EXPECT_EQ(v[2].linetype, "DOT");
    EXPECT_EQ(v[2].lineweight, -3);
    EXPECT_EQ(v[3].linetype, "Continuous");
    EXPECT_EQ(v[3].lineweight, -3);
    EXPECT_EQ(v[4].linetype, "DASHED");
    EXPECT_EQ(v[4].lineweight, 50);
}

TEST(LineStyle, PatternFromTheLtypeTableScaled) {
    S e = line("L", {});
    testutil::add(e, line("L", {"48", "0.5"}));
    testutil::add(e, line("L", {"6", "Continuous"}));
    testutil::add(e, line("L", {"6", "UNDEFINED"}));
    for (bool exact : {false, true}) {
        testutil::memstream m(drawing(e));
        ostra::reader r(m.get());
        r.setexact(exact);
        brevo::geometry g;
        std::vector<std::vector<double>> got;
        while (r.next(g)) {
            const double* d = nullptr;
            int n = r.currentlinepattern(d);
            got.emplace_back(d, d + n);
        }
        // DASHED names the entry "Dashed"; $LTSCALE 2, then times 0.5.
        ASSERT_EQ(got.size(), 4u);
        EXPECT_EQ(got[0], (std::vector<double>{1, -0.5}));
        EXPECT_EQ(got[1], (std::vector<double>{0.5, -0.25}));
        EXPECT_TRUE(got[2].empty());
        EXPECT_TRUE(got[3].empty());
    }
}

std::vector<std::pair<double, double>> widths(const S& entities) {
    testutil::memstream m(testutil::entities(entities));
    ostra::reader r(m.get());
    r.setexact(true);
    std::vector<std::pair<double, double>> out;
    brevo::geometry g;
    while (r.next(g)) {
        double a = -1, b = -1;
        bool wide = r.currentwidth(a, b);
        EXPECT_EQ(wide, a != 0 || b != 0);
        out.emplace_back(a, b);
    }
    return out;
}

using W = std::vector<std::pair<double, double>>;

TEST(LineStyle, WidePolylinePieces) {
    // A constant width, and a vertex that gives its own (a taper).
    EXPECT_EQ(widths({"0", "LWPOLYLINE", "8", "0", "90", "3", "70", "0", "43", "0.5", "10", "0", "20", "0",
                      "10", "1", "20", "0", "40", "2", "41", "0", "10", "2", "20", "0"}),
              (W{{0.5, 0.5}, {2, 0}}));
    // The old form: the header's 40/41 unless the vertex gives its own; a
    // closed one's closing piece has the last vertex's.
    EXPECT_EQ(widths({"0", "POLYLINE", "8", "0", "66", "1", "70", "1", "40", "0.25", "41", "0.25",
                      "0", "VERTEX", "8", "0", "10", "0", "20", "0",
                      "0", "VERTEX", "8", "0", "10", "1", "20", "0", "40", "1", "41", "3",
                      "0", "VERTEX", "8", "0", "10", "1", "20", "1", "0", "SEQEND"}),
              (W{{0.25, 0.25}, {1, 3}, {0.25, 0.25}}));
    // No widths: none.
    EXPECT_EQ(widths({"0", "LINE", "8", "0", "10", "0", "20", "0", "11", "1", "21", "0"}), (W{{0, 0}}));
}

TEST(LineStyle, NothingBeforeTheFirstGeometry) {
    testutil::memstream m(drawing({}));
    ostra::reader r(m.get());
    EXPECT_EQ(r.currentlinetype(), nullptr);
    EXPECT_EQ(r.currentlineweight(), -1);
    EXPECT_EQ(r.currentltscale(), 0);
}

}  // namespace
