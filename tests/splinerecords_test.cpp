// SPLINE and HELIX records in the exact reading: chains within the
// flattening tolerance, streamed one segment per call.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using testutil::entities;
using testutil::memstream;
using S = std::vector<std::string>;

namespace {

// The chain's vertices: the start of the first segment, then every end.
std::vector<brevo::point> chain(const std::string& text, double tolerance = 0, const char** record = nullptr) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    r.setflattening(tolerance);
    std::vector<brevo::point> v;
    brevo::geometry g;
    while (r.next(g)) {
        EXPECT_TRUE(g.lns());
        if (!g.lns()) break;
        if (v.empty()) v.push_back(g.lns()->start());
        EXPECT_EQ(g.lns()->start().x, v.back().x);  // one chain
        v.push_back(g.lns()->end());
        if (record) *record = r.currentrecord();
    }
    return v;
}

// A rational quadratic quarter of the unit circle, from (1, 0) to (0, 1):
// weights 1, sqrt(2)/2, 1.
S quartercircle(const char* name) {
    S p = {"0", name, "8", "S", "70", "12", "71", "2", "72", "6", "73", "3"};
    for (const char* k : {"0", "0", "0", "1", "1", "1"}) add(p, {"40", k});
    add(p, {"10", "1", "20", "0", "30", "0", "41", "1"});
    add(p, {"10", "1", "20", "1", "30", "0", "41", "0.70710678118654752"});
    add(p, {"10", "0", "20", "1", "30", "0", "41", "1"});
    return p;
}

TEST(SplineRecords, RationalQuarterCircleWithinTheTolerance) {
    const char* record = nullptr;
    for (double tol : {0.0, 1e-3, 1e-6}) {
        std::vector<brevo::point> v = chain(entities(quartercircle("SPLINE")), tol, &record);
        ASSERT_GE(v.size(), 3u) << tol;
        EXPECT_EQ(v.front().x, 1);
        EXPECT_EQ(v.back().y, 1);
        // The default: min(0.01, diagonal / 1000) = 0.001414 for the box of
        // the control points.
        double t = tol > 0 ? tol : std::sqrt(2.0) / 1000;
        for (std::size_t i = 0; i < v.size(); ++i) {
            EXPECT_NEAR(std::hypot(v[i].x, v[i].y), 1, 1e-12);  // vertices on the circle
            if (i == 0) continue;
            // A chord's middle lies within t of the arc it cuts off.
            double mx = (v[i].x + v[i - 1].x) / 2, my = (v[i].y + v[i - 1].y) / 2;
            EXPECT_LE(1 - std::hypot(mx, my), t);
        }
    }
    EXPECT_STREQ(record, "SPLINE");
    EXPECT_GT(chain(entities(quartercircle("SPLINE")), 1e-6).size(), chain(entities(quartercircle("SPLINE"))).size());
}

// A fit-point spline passes through its fit points; the default reading
// passes SPLINE records over.
TEST(SplineRecords, FitPointsAndTheDefaultReading) {
    S p = {"0", "SPLINE", "70", "8", "71", "3", "74", "4"};
    add(p, {"11", "0", "21", "0", "11", "1", "21", "1", "11", "2", "21", "0", "11", "3", "21", "1"});
    std::vector<brevo::point> v = chain(entities(p));
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v.front().x, 0);
    EXPECT_NEAR(v.back().x, 3, 1e-12);
    for (double fx : {1.0, 2.0}) {
        double best = 1;
        for (std::size_t i = 1; i < v.size(); ++i) {
            // Distance of the fit point from the segment.
            double ax = v[i - 1].x, ay = v[i - 1].y, bx = v[i].x, by = v[i].y;
            double fy = fx == 1.0 ? 1 : 0;
            double l2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
            double u = l2 > 0 ? std::fmax(0, std::fmin(1, ((fx - ax) * (bx - ax) + (fy - ay) * (by - ay)) / l2)) : 0;
            best = std::fmin(best, std::hypot(ax + u * (bx - ax) - fx, ay + u * (by - ay) - fy));
        }
        EXPECT_LT(best, 1e-9) << fx;
    }
    memstream m(entities(p));
    ostra::reader r(m.get());
    EXPECT_EQ(testutil::readall(r), S{});
    int n = 0;
    EXPECT_STREQ(r.firstskipped(n), "SPLINE");
}

// A HELIX is the spline its record holds before its helix groups, which
// reuse codes 10 and 40.
TEST(SplineRecords, HelixStopsAtItsOwnGroups) {
    S p = quartercircle("HELIX");
    add(p, {"100", "AcDbHelix", "10", "5", "20", "5", "30", "5", "40", "7", "41", "3"});
    const char* record = nullptr;
    std::vector<brevo::point> v = chain(entities(p), 0, &record);
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v.front().x, 1);
    EXPECT_EQ(v.back().y, 1);
    EXPECT_STREQ(record, "HELIX");
}

// Splines in blocks follow their inserts; bad data gives no chain and
// reading goes on.
TEST(SplineRecords, InBlocksAndBadData) {
    S p = {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B"};
    add(p, quartercircle("SPLINE"));
    add(p, {"0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, {"0", "INSERT", "2", "B", "10", "10", "41", "2", "42", "2"});
    add(p, {"0", "SPLINE", "71", "3", "73", "1", "10", "nan", "20", "0"});          // no curve
    add(p, {"0", "SPLINE", "71", "99", "10", "0", "20", "0", "10", "1", "20", "0"});  // a degree beyond use
    add(p, {"0", "LINE", "11", "1", "0", "ENDSEC", "0", "EOF"});
    memstream m(testutil::dxf(p));
    ostra::reader r(m.get());
    r.setexact(true);
    S got = testutil::readall(r);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.front().substr(0, 15), "line (12,0,0) (");
    EXPECT_EQ(got.back(), "line (0,0,0) (1,0,0)");
    EXPECT_EQ(r.status(), ostra::endofdrawing);
}

TEST(LeaderRecords, StraightAndSplinePaths) {
    S straight = {"0", "LEADER", "5", "L1", "72", "0", "76", "3", "10", "0", "20", "0", "30", "0",
                  "10", "2", "20", "2", "30", "0", "10", "5", "20", "2", "30", "0"};
    S got = testutil::readexact(entities(straight), [](ostra::reader& r, const brevo::geometry&) {
        EXPECT_STREQ(r.currentrecord(), "LEADER");
        EXPECT_STREQ(r.currenthandle(), "L1");
    });
    EXPECT_EQ(got, (S{"line (0,0,0) (2,2,0)", "line (2,2,0) (5,2,0)"}));
    S curved = straight;
    curved[5] = "1";
    std::vector<brevo::point> v = chain(entities(curved));
    EXPECT_GT(v.size(), 3u);
    EXPECT_EQ(v.front().x, 0);
    EXPECT_NEAR(v.back().x, 5, 1e-12);
}

}  // namespace
