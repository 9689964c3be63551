// Block definitions, INSERT expansion (placement, arrays, nesting) and the
// block enumeration.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "testutil.h"

using testutil::describe;
using testutil::dxf;
using testutil::memstream;
using testutil::readall;
using S = std::vector<std::string>;

namespace {

S blockdef(const std::string& name, const S& body, const char* bx = "0", const char* by = "0") {
    S p = {"0", "BLOCK", "8", "0", "2", name, "70", "0", "10", bx, "20", by, "30", "0"};
    p.insert(p.end(), body.begin(), body.end());
    p.insert(p.end(), {"0", "ENDBLK"});
    return p;
}

S insert(const std::string& name, const char* x, const char* y, S extra = {}) {
    S p = {"0", "INSERT", "8", "INS", "2", name, "10", x, "20", y, "30", "0"};
    p.insert(p.end(), extra.begin(), extra.end());
    return p;
}

const S unitline = {"0", "LINE", "8", "BL", "10", "0", "20", "0", "30", "0", "11", "1", "21", "0", "31", "0"};

std::string drawing(const std::vector<S>& blocks, const std::vector<S>& ents) {
    S p = {"0", "SECTION", "2", "BLOCKS"};
    for (const auto& b : blocks) p.insert(p.end(), b.begin(), b.end());
    p.insert(p.end(), {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    for (const auto& e : ents) p.insert(p.end(), e.begin(), e.end());
    p.insert(p.end(), {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

const S circle = {"0", "CIRCLE", "8", "C", "40", "1"};

TEST(BlocksInsert, DeliversTranslatedEntitiesBeforeReadingOn) {
    std::string text = drawing({blockdef("B", unitline)}, {insert("B", "10", "5"), circle, insert("B", "-1", "0")});
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    S got, layers, blocks;
    while (r.next(g)) {
        got.push_back(describe(g));
        layers.push_back(r.currentlayer() ? r.currentlayer() : "null");
        blocks.push_back(r.currentblock() ? r.currentblock() : "null");
    }
    EXPECT_EQ(got, (S{"line (10,5,0) (11,5,0)", "circle c(0,0,0) r1", "line (-1,0,0) (0,0,0)"}));
    EXPECT_EQ(layers, (S{"BL", "C", "BL"}));
    EXPECT_EQ(blocks, (S{"B", "null", "B"}));
    EXPECT_EQ(r.currentblock(), nullptr);
}

TEST(BlocksInsert, UnknownNamesAndEmptyBlocksDeliverNothing) {
    std::string text = drawing({blockdef("E", {})}, {insert("E", "1", "1"), insert("NONE", "1", "1"), circle});
    EXPECT_EQ(readall(text), S{"circle c(0,0,0) r1"});
    // Before any BLOCK record.
    EXPECT_EQ(readall(testutil::entities({"0", "INSERT", "2", "B", "0", "CIRCLE", "0", "X"})),
              S{"circle c(0,0,0) r0"});
}

TEST(BlocksTable, EnumerationCountsAndOwnPosition) {
    S two = unitline, three = unitline;
    two.insert(two.end(), unitline.begin(), unitline.end());
    three.insert(three.end(), two.begin(), two.end());
    std::string text = drawing({blockdef("A", two), blockdef("B", three), blockdef("A", unitline)},
                               {insert("B", "0", "0"), circle});
    memstream m(text);
    ostra::reader r(m.get());
    EXPECT_EQ(r.numblock(), 0);
    EXPECT_EQ(r.firstblock(), nullptr);
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));  // the BLOCKS section is read by now
    int n = -1;
    EXPECT_EQ(r.numblock(), 3);
    EXPECT_STREQ(r.firstblock(n), "A");
    EXPECT_EQ(n, 2);
    // Expanding an INSERT between two calls does not move the enumeration.
    while (r.next(g)) {
    }
    EXPECT_STREQ(r.nextblock(n), "B");
    EXPECT_EQ(n, 3);
    EXPECT_STREQ(r.nextblock(n), "A");
    EXPECT_EQ(n, 1);
    n = 42;
    EXPECT_EQ(r.nextblock(n), nullptr);
    EXPECT_EQ(n, 42);
    // Equal names: the first definition is the one inserted.
    EXPECT_EQ(readall(drawing({blockdef("A", two), blockdef("A", unitline)}, {insert("A", "0", "0")})).size(), 2u);
}

TEST(BlocksTable, FullLongNamesAndFilterAtDefinitionTime) {
    std::string name(70, 'x');
    name += "END";
    S mixed = unitline;
    mixed.insert(mixed.end(), {"0", "CIRCLE", "8", "HIDDEN", "40", "2"});
    memstream m(drawing({blockdef(name, mixed)}, {insert(name, "1", "0")}));
    ostra::reader r(m.get());
    r.setlayerfilter("BL");
    EXPECT_EQ(readall(r), S{"line (1,0,0) (2,0,0)"});
    int n = -1;
    EXPECT_EQ(std::string(r.firstblock(n)), name);
    EXPECT_EQ(n, 1);
}

TEST(BlocksTable, EndblkEndsTheDefinition) {
    S p = {"0", "SECTION", "2", "BLOCKS"};
    S b = blockdef("B", unitline);
    p.insert(p.end(), b.begin(), b.end());
    p.insert(p.end(), circle.begin(), circle.end());  // belongs to no block
    p.insert(p.end(), {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    S i = insert("B", "0", "0");
    p.insert(p.end(), i.begin(), i.end());
    p.insert(p.end(), {"0", "ENDSEC"});
    memstream m(dxf(p));
    ostra::reader r(m.get());
    EXPECT_EQ(readall(r), S{"line (0,0,0) (1,0,0)"});
    int n = -1;
    r.firstblock(n);
    EXPECT_EQ(n, 1);
}

S placed(const S& blockbody, S extra, const char* bx = "0", const char* by = "0") {
    return readall(drawing({blockdef("B", blockbody, bx, by)}, {insert("B", "10", "0", extra)}));
}

TEST(BlocksPlacement, RotationScaleBasePoint) {
    EXPECT_EQ(placed(unitline, {"50", "90"}), S{"line (10,0,0) (10,1,0)"});
    EXPECT_EQ(placed(unitline, {"41", "2", "42", "2", "43", "2"}), S{"line (10,0,0) (12,0,0)"});
    EXPECT_EQ(placed(unitline, {}, "1", "1"), S{"line (9,-1,0) (10,-1,0)"});
    // Base point, then scale, then rotation, then the insertion point.
    EXPECT_EQ(placed(unitline, {"41", "3", "50", "90"}, "1", "0"), S{"line (10,-3,0) (10,0,0)"});
    S circle3 = {"0", "CIRCLE", "10", "0", "20", "0", "30", "5", "40", "1"};
    EXPECT_EQ(placed(circle3, {"43", "0"}), S{"circle c(10,0,0) r1"});  // a flattened z
    EXPECT_EQ(placed(circle3, {"41", "2", "42", "2"}), S{"circle c(10,0,5) r2"});
    S e = placed(circle3, {"41", "2"});
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].substr(0, 7), "ellipse");
}

TEST(BlocksPlacement, MirroredArcKeepsItsPoints) {
    S quarter = {"0", "ARC", "10", "0", "20", "0", "40", "1", "50", "0", "51", "90"};
    memstream m(drawing({blockdef("B", quarter)}, {insert("B", "0", "0", {"41", "-1"})}));
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    ASSERT_TRUE(g.ar());
    brevo::point s = g.ar()->start(), e = g.ar()->end(), mid = g.ar()->at(g.ar()->sweep() / 2);
    EXPECT_NEAR(s.x, -1, 1e-12);
    EXPECT_NEAR(e.y, 1, 1e-12);
    EXPECT_NEAR(mid.x, -0.70710678118654752, 1e-12);
    EXPECT_NEAR(mid.y, 0.70710678118654752, 1e-12);
}

TEST(BlocksPlacement, ArrayInsertAndLeftoverGroupsDoNotCount) {
    S cells = placed(unitline, {"70", "2", "71", "3", "44", "5", "45", "7", "50", "90"});
    EXPECT_EQ(cells, (S{"line (10,0,0) (10,1,0)", "line (10,5,0) (10,6,0)", "line (3,0,0) (3,1,0)",
                        "line (3,5,0) (3,6,0)", "line (-4,0,0) (-4,1,0)", "line (-4,5,0) (-4,6,0)"}));
    // A record before the INSERT that carried 71, 44, 45: not the insert's.
    S noise = {"0", "DIMENSION", "71", "5", "44", "3", "45", "3", "50", "45"};
    S i = insert("B", "0", "0");
    EXPECT_EQ(readall(drawing({blockdef("B", unitline)}, {noise, i})), S{"line (0,0,0) (1,0,0)"});
}

// The first column and row take no spacing: a 1 x 1 insert ignores one that
// is not finite, a column of rows ignores a column spacing, and only the
// second cell of a row gets coordinates that are not finite.
TEST(BlocksExtremes, SpacingIsTakenOnlyWhereACellNeedsIt) {
    for (const char* bad : {"nan", "inf", "-1e400"}) {
        EXPECT_EQ(placed(unitline, {"44", bad, "45", bad}), S{"line (10,0,0) (11,0,0)"}) << bad;
        EXPECT_EQ(placed(unitline, {"71", "2", "44", bad}), (S{"line (10,0,0) (11,0,0)", "line (10,0,0) (11,0,0)"}))
            << bad;
        memstream m(drawing({blockdef("B", unitline)}, {insert("B", "10", "0", {"70", "2", "44", bad})}));
        ostra::reader r(m.get());
        brevo::geometry g;
        ASSERT_TRUE(r.next(g));
        EXPECT_EQ(describe(g), "line (10,0,0) (11,0,0)");
        ASSERT_TRUE(r.next(g) && g.lns());
        for (const brevo::point& p : {g.lns()->start(), g.lns()->end()})
            EXPECT_FALSE(std::isfinite(p.x) || std::isfinite(p.y) || std::isfinite(p.z)) << bad;
    }
}

// Rotations beyond 1e16 degrees, radii and scales beyond 1e154 (whose
// squares overflow).
TEST(BlocksExtremes, HugeRotationsRadiiAndScales) {
    EXPECT_EQ(placed(unitline, {"50", "1e20"}), placed(unitline, {"50", "280"}));
    EXPECT_EQ(placed(unitline, {"50", "-1e20"}), placed(unitline, {"50", "80"}));
    S huge = {"0", "CIRCLE", "40", "1e200", "0", "ARC", "40", "1e300", "50", "0", "51", "90"};
    EXPECT_EQ(placed(huge, {}), (S{"circle c(10,0,0) r1e+200", "arc c(10,0,0) n(0,0,1) s(1e+300,0,0) a90"}));
    EXPECT_EQ(placed(huge, {"50", "90", "41", "-2", "42", "2", "43", "2"}),
              (S{"circle c(10,0,0) r2e+200", "arc c(10,0,0) n(0,0,-1) s(10,-2e+300,0) a90"}));
    EXPECT_EQ(placed(circle, {"41", "1e200", "42", "1e200"}), S{"circle c(10,0,0) r1e+200"});
    EXPECT_EQ(placed(circle, {"42", "1e200"}), S{"ellipse c(10,0,0) u(0,-1e+200,0) k0 p0..360"});
    S flat = placed(circle, {"42", "1e-200"});
    ASSERT_EQ(flat.size(), 1u);
    EXPECT_EQ(flat[0].substr(0, 7), "ellipse");
}

TEST(BlocksNesting, ThreeDeepComposedAndDefinedLater) {
    // C holds a line; B inserts C at (1,0) rotated 90; A inserts B at (0,1)
    // scaled by 2. A is defined before the blocks it uses.
    std::string text = drawing({blockdef("A", insert("B", "0", "1", {"41", "2", "42", "2"})),
                                blockdef("B", insert("C", "1", "0", {"50", "90"})), blockdef("C", unitline)},
                               {insert("A", "100", "0")});
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(describe(g), "line (102,1,0) (102,3,0)");
    EXPECT_STREQ(r.currentblock(), "C");
    EXPECT_EQ(r.next(g), nullptr);
    // Nothing was delivered while the BLOCKS section was read, and the
    // counts are stored records (one insert each).
    int n = -1;
    r.firstblock(n);
    EXPECT_EQ(n, 1);
}

TEST(BlocksNesting, SelfInsertionIsCut) {
    S body = unitline;
    S self = insert("S", "5", "0");
    body.insert(body.end(), self.begin(), self.end());
    body.insert(body.end(), unitline.begin(), unitline.end());
    S ring1 = insert("R2", "0", "0"), ring2 = insert("R1", "0", "0");
    ring1.insert(ring1.end(), unitline.begin(), unitline.end());
    EXPECT_EQ(readall(drawing({blockdef("S", body), blockdef("R1", ring1), blockdef("R2", ring2)},
                              {insert("S", "0", "0"), insert("R1", "0", "0")})),
              (S{"line (0,0,0) (1,0,0)", "line (0,0,0) (1,0,0)", "line (0,0,0) (1,0,0)"}));
}

TEST(BlocksScale, ManyBlocksAndInsertsReadInLinearTime) {
    const int n = 100000;
    std::string text = "0\nSECTION\n2\nBLOCKS\n";
    for (int i = 0; i < n; ++i)
        text += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n0\nCIRCLE\n40\n1\n0\nENDBLK\n";
    text += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < n; ++i) text += "0\nINSERT\n2\nB" + std::to_string(n - 1 - i) + "\n10\n1\n";
    text += "0\nENDSEC\n";
    auto t0 = std::chrono::steady_clock::now();
    memstream m(text);
    ostra::reader r(m.get());
    EXPECT_EQ(readall(r).size(), static_cast<std::size_t>(n));
    EXPECT_EQ(r.numblock(), n);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(s, 20.0);  // a quadratic lookup would take minutes
}

}  // namespace
