// Exact reading: bulges, closing pieces, object coordinate systems,
// ellipses; and the default reading unchanged on the same drawings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "testutil.h"

using testutil::dxf;
using testutil::entities;
using testutil::memstream;
using testutil::readall;
using S = std::vector<std::string>;

namespace {

S readexact(const std::string& text, std::vector<brevo::geometry>* out = nullptr) {
    return testutil::readexact(text, [&](ostra::reader&, const brevo::geometry& g) {
        if (out) out->push_back(g);
    });
}

std::string lw(const char* flags, const S& vertexgroups, S extra = {}) {
    S p = {"0", "LWPOLYLINE", "8", "P", "70", flags};
    p.insert(p.end(), vertexgroups.begin(), vertexgroups.end());
    p.insert(p.end(), extra.begin(), extra.end());
    p.insert(p.end(), {"0", "CIRCLE", "40", "1"});
    return entities(p);
}

const char* const circle1 = "circle c(0,0,0) r1";

TEST(ExactBulge, SemicircleAndNegativeBulge) {
    std::vector<brevo::geometry> g;
    EXPECT_EQ(readexact(lw("0", {"10", "0", "20", "0", "42", "1", "10", "10", "20", "0"}), &g),
              (S{"arc c(5,0,0) n(0,0,1) s(0,0,0) a180", circle1}));
    brevo::point mid = g[0].ar()->at(90);
    EXPECT_NEAR(mid.x, 5, 1e-12);
    EXPECT_NEAR(mid.y, -5, 1e-12);
    // Bulge -0.5: clockwise, included angle 4 atan(0.5); by hand:
    // r = c (1 + b^2) / (4 |b|) = 10 * 1.25 / 2 = 6.25, the centre below the
    // chord at (5, -3.75), the arc above it, its top at y = 2.5.
    g.clear();
    readexact(lw("0", {"10", "0", "20", "0", "42", "-0.5", "10", "10", "20", "0"}), &g);
    ASSERT_TRUE(g[0].ar());
    EXPECT_NEAR(g[0].ar()->center().x, 5, 1e-12);
    EXPECT_NEAR(g[0].ar()->center().y, -3.75, 1e-12);
    EXPECT_NEAR(g[0].ar()->radius(), 6.25, 1e-12);
    EXPECT_NEAR(g[0].ar()->sweep(), -4 * std::atan(0.5) * 180 / M_PI, 1e-12);
    brevo::point e = g[0].ar()->end(), m = g[0].ar()->at(g[0].ar()->sweep() / 2);
    EXPECT_NEAR(e.x, 10, 1e-9);
    EXPECT_NEAR(e.y, 0, 1e-9);
    EXPECT_NEAR(m.x, 5, 1e-9);
    EXPECT_NEAR(m.y, 2.5, 1e-9);
}

TEST(ExactClosing, ClosedRectangleHasFourSidesAndBit1Counts) {
    S rect = {"10", "0", "20", "0", "10", "4", "20", "0", "10", "4", "20", "3", "10", "0", "20", "3"};
    S four = {"line (0,0,0) (4,0,0)", "line (4,0,0) (4,3,0)", "line (4,3,0) (0,3,0)", "line (0,3,0) (0,0,0)",
              circle1};
    EXPECT_EQ(readexact(lw("1", rect)), four);
    EXPECT_EQ(readexact(lw("129", rect)), four);
    EXPECT_EQ(readexact(lw("0", rect)).size(), 4u);
    // The default reading: three sides, no closing.
    EXPECT_EQ(readall(lw("1", rect)).size(), 4u);
    // Old form with 70 = 129: closed from the last vertex back to the first,
    // with the last vertex's bulge.
    S p = {"0", "POLYLINE", "70", "129"};
    for (auto v : {S{"10", "0", "20", "0"}, S{"10", "4", "20", "0"}, S{"10", "4", "20", "4", "42", "1"}}) {
        p.insert(p.end(), {"0", "VERTEX"});
        p.insert(p.end(), v.begin(), v.end());
    }
    p.insert(p.end(), {"0", "SEQEND", "0", "X"});
    S got = readexact(entities(p));
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[2], "arc c(2,2,0) n(0,0,1) s(4,4,0) a180");
    EXPECT_EQ(readall(entities(p)).size(), 2u);
    // 70 = 9 is a closed 3D polyline: world coordinates, straight pieces.
    p[3] = "9";
    EXPECT_EQ(readexact(entities(p)).back(), "line (4,4,0) (0,0,0)");
}

TEST(ExactOcs, MirroredArcLiesOnTheOtherSide) {
    std::vector<brevo::geometry> g;
    readexact(entities({"0", "ARC", "10", "5", "20", "0", "30", "0", "40", "1", "50", "0", "51", "90", "210",
                        "0", "220", "0", "230", "-1", "0", "X"}),
              &g);
    ASSERT_EQ(g.size(), 1u);
    const brevo::arc* a = g[0].ar();
    EXPECT_NEAR(a->center().x, -5, 1e-12);
    EXPECT_NEAR(a->normal().z, -1, 1e-12);
    // From world (-6, 0) clockwise as seen from +z, to (-5, 1).
    EXPECT_NEAR(a->start().x, -6, 1e-12);
    EXPECT_NEAR(a->end().x, -5, 1e-12);
    EXPECT_NEAR(a->end().y, 1, 1e-12);
    // The default reading ignores the extrusion.
    EXPECT_EQ(readall(entities({"0", "ARC", "10", "5", "40", "1", "51", "90", "230", "-1", "0", "X"})),
              S{"arc c(5,0,0) n(0,0,1) s(6,0,0) a90"});
}

TEST(ExactOcs, CircleWithArbitraryExtrusionAndElevation) {
    std::vector<brevo::geometry> g;
    // Extrusion along +x: OCS x is world y, OCS y is world z (arbitrary axis).
    readexact(entities({"0", "CIRCLE", "10", "1", "20", "2", "30", "3", "40", "2", "210", "1", "220", "0",
                        "230", "0", "0", "X"}),
              &g);
    ASSERT_TRUE(g[0].cr());
    EXPECT_NEAR(g[0].cr()->center().x, 3, 1e-12);
    EXPECT_NEAR(g[0].cr()->center().y, 1, 1e-12);
    EXPECT_NEAR(g[0].cr()->center().z, 2, 1e-12);
    EXPECT_NEAR(g[0].cr()->normal().x, 1, 1e-12);
    // LWPOLYLINE elevation gives the z of its vertices.
    EXPECT_EQ(readexact(lw("0", {"10", "0", "20", "0", "10", "1", "20", "0"}, {"38", "7"}))[0],
              "line (0,0,7) (1,0,7)");
}

TEST(ExactBlocks, MirroredInsertOfABlockWithAnArc) {
    std::string text = dxf({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "0", "ARC", "10", "0", "20",
                            "0", "40", "1", "50", "0", "51", "90", "0", "ENDBLK", "0", "ENDSEC", "0", "SECTION",
                            "2", "ENTITIES", "0", "INSERT", "2", "B", "10", "5", "20", "0", "30", "0", "210",
                            "0", "220", "0", "230", "-1", "0", "ENDSEC"});
    std::vector<brevo::geometry> g;
    readexact(text, &g);
    ASSERT_EQ(g.size(), 1u);
    // The insertion point (5, 0) in the mirrored system is world (-5, 0).
    EXPECT_NEAR(g[0].ar()->center().x, -5, 1e-12);
    EXPECT_NEAR(g[0].ar()->start().x, -6, 1e-12);
    EXPECT_NEAR(g[0].ar()->end().y, 1, 1e-12);
}

TEST(ExactEllipse, EllipseRecordsOnlyInExactMode) {
    std::string text = entities({"0", "ELLIPSE", "10", "1", "20", "1", "30", "0", "11", "4", "21", "0", "31",
                                 "0", "40", "0.5", "41", "0", "42", "3.14159265358979323846", "0", "X"});
    std::vector<brevo::geometry> g;
    EXPECT_EQ(readexact(text, &g), S{"ellipse c(1,1,0) u(4,0,0) k0.5 p0..180"});
    brevo::point m = g[0].el()->at(90);
    EXPECT_NEAR(m.x, 1, 1e-12);
    EXPECT_NEAR(m.y, 3, 1e-12);
    EXPECT_EQ(readall(text), S{});
}

TEST(ExactDefault, DefaultReadingOfTheSameDrawingsIsUnchanged) {
    std::string text = lw("1", {"10", "0", "20", "0", "42", "1", "10", "10", "20", "0", "10", "10", "20", "5"});
    EXPECT_EQ(readall(text), (S{"line (0,0,0) (10,0,0)", "line (10,0,0) (10,5,0)", circle1}));
    EXPECT_EQ(readexact(text).size(), 4u);
}

// A value keeps its first 79 chars, in the exact LWPOLYLINE as everywhere:
// 100 digits read as the 79-digit number, in both readings alike.
TEST(ExactDefault, LongCoordinatesReadAlikeInBothReadings) {
    const std::string digits(100, '1');
    std::string text = lw("0", {"10", digits, "20", "0", "10", "0", "20", "-" + digits});
    const double x = std::strtod(digits.substr(0, 79).c_str(), nullptr);
    const double y = -std::strtod(digits.substr(0, 78).c_str(), nullptr);  // the sign is one of the 79
    std::vector<brevo::geometry> g;
    readexact(text, &g);
    ASSERT_TRUE(g.size() == 2 && g[0].lns());
    EXPECT_EQ(g[0].lns()->start().x, x);
    EXPECT_EQ(g[0].lns()->end().y, y);
    EXPECT_EQ(readall(text), readexact(text));
}

// An LWPOLYLINE's elevation is its own: one without group 38 lies at 0,
// whatever the one before had.
TEST(ExactFaults, ElevationDoesNotCarryOver) {
    S p = {"0", "LWPOLYLINE", "38", "0.25", "10", "0", "20", "0", "10", "1", "20", "0"};
    p.insert(p.end(), {"0", "LWPOLYLINE", "10", "0", "20", "0", "10", "1", "20", "0"});
    EXPECT_EQ(readexact(entities(p)), (S{"line (0,0,0.25) (1,0,0.25)", "line (0,0,0) (1,0,0)"}));
}

// Arc angles count modulo 360: an arc runs counterclockwise from its start
// to its end, a sweep in (0, 360]; equal angles keep a sweep of 0.
TEST(ExactFaults, ArcAnglesModulo360) {
    auto sweep = [](const char* a0, const char* a1) {
        std::vector<brevo::geometry> g;
        readexact(entities({"0", "ARC", "40", "1", "50", a0, "51", a1}), &g);
        return g.size() == 1 && g[0].ar() ? g[0].ar()->sweep() : -1;
    };
    EXPECT_EQ(sweep("400", "10"), 330);
    EXPECT_EQ(sweep("10", "380"), 10);
    EXPECT_EQ(sweep("350", "10"), 20);
    EXPECT_EQ(sweep("-90", "90"), 180);
    EXPECT_EQ(sweep("0", "360"), 360);
    EXPECT_EQ(sweep("720", "0"), 360);
    EXPECT_EQ(sweep("350", "-350"), 20);
    EXPECT_EQ(sweep("45", "45"), 0);
    // The default reading keeps its sweeps.
    EXPECT_EQ(readall(entities({"0", "ARC", "40", "1", "50", "400", "51", "10"})),
              S{"arc c(0,0,0) n(0,0,1) s(0.766044,0.642788,0) a-30"});
}

// A filter set between the pieces of one polyline holds for the pieces that
// follow, in the exact reading as in the default one.
TEST(ExactTiming, FilterChangedBetweenPiecesHoldsForTheRest) {
    const std::string text = lw("0", {"10", "0", "20", "0", "10", "1", "20", "0", "10", "2", "20", "0", "10", "3", "20", "0"});
    for (bool exact : {false, true}) {
        memstream m(text);
        ostra::reader r(m.get());
        r.setexact(exact);
        brevo::geometry g;
        ASSERT_TRUE(r.next(g));
        r.setlayerfilter("OTHER");
        EXPECT_EQ(r.next(g), nullptr) << exact;
        r.setlayerfilter(nullptr);
    }
}

TEST(ExactTiming, PiecesOfAPolylineFollowingAnotherStayApart) {
    S a = {"0", "LWPOLYLINE", "70", "1", "10", "0", "20", "0", "10", "1", "20", "0", "10", "1", "20", "1"};
    S b = {"0", "LWPOLYLINE", "10", "5", "20", "5", "10", "6", "20", "5", "0", "X"};
    a.insert(a.end(), b.begin(), b.end());
    EXPECT_EQ(readexact(entities(a)), (S{"line (0,0,0) (1,0,0)", "line (1,0,0) (1,1,0)", "line (1,1,0) (0,0,0)",
                                        "line (5,5,0) (6,5,0)"}));
}

}  // namespace
