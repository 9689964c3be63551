// Polyline assembly: both forms, the closed flag, the call on which each
// segment arrives, and the state being per reader.
#include <gtest/gtest.h>

#include <string>

#include "testutil.h"

using testutil::describe;
using testutil::dxf;
using testutil::entities;
using testutil::memstream;
using testutil::readall;
using S = std::vector<std::string>;

namespace {

S vertex(const char* x, const char* y, const char* z = "0", const char* layer = "0") {
    return {"0", "VERTEX", "8", layer, "10", x, "20", y, "30", z};
}

// POLYLINE header with the given group 70 (none if null), vertices, SEQEND.
std::string oldform(const char* flags, const std::vector<S>& vertices, bool seqend = true) {
    S p = {"0", "POLYLINE", "8", "0", "10", "99", "20", "99", "30", "99"};
    if (flags) p.insert(p.end(), {"70", flags});
    for (const auto& v : vertices) p.insert(p.end(), v.begin(), v.end());
    if (seqend) p.insert(p.end(), {"0", "SEQEND"});
    p.insert(p.end(), {"0", "CIRCLE", "40", "1"});
    return entities(p);
}

const std::vector<S> triangle = {vertex("0", "0"), vertex("10", "0"), vertex("10", "5")};
const char* const circle1 = "circle c(0,0,0) r1";

TEST(PolylineOld, WorkedExampleClosed) {
    EXPECT_EQ(readall(oldform("1", triangle)),
              (S{"line (0,0,0) (10,0,0)", "line (10,0,0) (10,5,0)", "line (0,0,0) (10,5,0)", circle1}));
}

TEST(PolylineOld, ClosedOnlyForExactlyOne) {
    S open = {"line (0,0,0) (10,0,0)", "line (10,0,0) (10,5,0)", circle1};
    for (const char* f : {"129", "9", "01", "1.0", "0"}) EXPECT_EQ(readall(oldform(f, triangle)), open) << f;
    EXPECT_EQ(readall(oldform(nullptr, triangle)), open);
    // A right-justified 1 is trimmed to "1".
    EXPECT_EQ(readall(oldform("     1", triangle)).size(), 4u);
}

TEST(PolylineOld, FewVerticesAndMissingParts) {
    EXPECT_EQ(readall(oldform("1", {vertex("3", "4", "5")})), (S{"line (3,4,5) (3,4,5)", circle1}));
    EXPECT_EQ(readall(oldform("1", {vertex("0", "0"), vertex("1", "0")})),
              (S{"line (0,0,0) (1,0,0)", "line (0,0,0) (1,0,0)", circle1}));
    EXPECT_EQ(readall(oldform("1", {})), S{circle1});
    // Without SEQEND the chain just ends: no closing segment.
    EXPECT_EQ(readall(oldform("1", triangle, false)),
              (S{"line (0,0,0) (10,0,0)", "line (10,0,0) (10,5,0)", circle1}));
    // A SEQEND that the stream ends in yields no closing segment.
    S p = {"0", "POLYLINE", "70", "1"};
    for (const auto& v : triangle) p.insert(p.end(), v.begin(), v.end());
    p.insert(p.end(), {"0", "SEQEND"});
    EXPECT_EQ(readall(dxf({"0", "SECTION", "2", "ENTITIES"}) + dxf(p)),
              (S{"line (0,0,0) (10,0,0)", "line (10,0,0) (10,5,0)"}));
}

TEST(PolylineOld, VertexOutsidePolylineAndVertexWithoutCoordinates) {
    // A VERTEX after SEQEND is kind 0; an empty VERTEX ends a segment at the origin.
    std::vector<S> v = {vertex("1", "1"), {"0", "VERTEX"}, vertex("2", "2"), vertex("3", "3")};
    EXPECT_EQ(readall(oldform(nullptr, v)),
              (S{"line (1,1,0) (0,0,0)", "line (2,2,0) (3,3,0)", circle1}));
    S p = {"0", "SEQEND", "0", "VERTEX", "10", "5", "0", "SEQEND", "0", "X"};
    EXPECT_EQ(readall(entities(p)), S{});
}

TEST(PolylineOld, RejectedVertexStillBecomesThePreviousVertex) {
    std::vector<S> v = {vertex("0", "0", "0", "A"), vertex("1", "0", "0", "B"), vertex("2", "0", "0", "A")};
    memstream m(oldform("1", v));
    ostra::reader r(m.get());
    r.setlayerfilter("A");
    // V1-V2 ends on layer B: dropped; V2-V3 passes from the rejected V2; the
    // closing segment is tested with the SEQEND's layer (none: "").
    EXPECT_EQ(readall(r), S{"line (1,0,0) (2,0,0)"});
    int n = -1;
    EXPECT_STREQ(r.firstlayer(n), "0");  // header's end
    EXPECT_EQ(n, 0);
    EXPECT_STREQ(r.nextlayer(n), "A");  // first vertex, third vertex
    EXPECT_EQ(n, 1);
    EXPECT_STREQ(r.nextlayer(n), "B");
    EXPECT_STREQ(r.nextlayer(n), "");  // the SEQEND's closing test
    EXPECT_EQ(r.nextlayer(), nullptr);
}

S lw(const std::vector<std::pair<const char*, const char*>>& v, S extra = {}) {
    S p = {"0", "LWPOLYLINE", "8", "P", "90", std::to_string(v.size()), "70", "1"};
    p.insert(p.end(), extra.begin(), extra.end());
    for (auto& xy : v) p.insert(p.end(), {"10", xy.first, "20", xy.second, "42", "1"});
    return p;
}

TEST(PolylineLight, SegmentsStraightFlatAndNeverClosed) {
    S p = lw({{"0", "0"}, {"10", "0"}, {"10", "5"}}, {"38", "7"});
    p.insert(p.end(), {"0", "X"});
    EXPECT_EQ(readall(entities(p)), (S{"line (0,0,0) (10,0,0)", "line (10,0,0) (10,5,0)"}));
    for (std::size_t n : {0u, 1u}) {
        std::vector<std::pair<const char*, const char*>> v(n, {"1", "2"});
        S q = lw(v);
        q.insert(q.end(), {"0", "X"});
        memstream m(entities(q));
        ostra::reader r(m.get());
        EXPECT_EQ(readall(r), S{}) << n;
        int count = -1;
        EXPECT_STREQ(r.firstlayer(count), "P");  // one layer check at the record's end
        EXPECT_EQ(count, 0);
    }
}

TEST(PolylineLight, EachSegmentArrivesWithTheGroup10ThatFollowsIt) {
    // Five vertices: segments 1 to 3 arrive with the group 10 of vertices 3 to
    // 5, the fourth with the next record's group 0.
    S head = {"0", "SECTION", "2", "ENTITIES", "0", "LWPOLYLINE", "8", "P"};
    std::vector<std::string> xs = {"0", "1", "2", "3", "4"};
    std::string text = dxf(head);
    std::vector<long> stops;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        text += dxf({"10", xs[i]});
        if (i >= 2) stops.push_back(static_cast<long>(text.size()));
        text += dxf({"20", "0"});
    }
    text += dxf({"0", "ENDSEC"});
    stops.push_back(static_cast<long>(text.size()));
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    for (std::size_t k = 0; k < 4; ++k) {
        ASSERT_TRUE(r.next(g)) << k;
        EXPECT_EQ(describe(g), "line (" + xs[k] + ",0,0) (" + xs[k + 1] + ",0,0)");
        EXPECT_EQ(std::ftell(m.get()), stops[k]) << k;
    }
    EXPECT_EQ(r.next(g), nullptr);
    int n = -1;
    r.firstlayer(n);
    EXPECT_EQ(n, 3);  // four layer checks for five vertices
}

TEST(PolylineLight, PolylineDirectlyAfterLightForm) {
    S p = lw({{"0", "0"}, {"1", "0"}, {"1", "1"}});
    S q = {"0", "POLYLINE", "70", "1"};
    for (const auto& v : triangle) q.insert(q.end(), v.begin(), v.end());
    p.insert(p.end(), q.begin(), q.end());
    p.insert(p.end(), {"0", "SEQEND", "0", "X"});
    EXPECT_EQ(readall(entities(p)), (S{"line (0,0,0) (1,0,0)", "line (1,0,0) (1,1,0)", "line (0,0,0) (10,0,0)",
                                      "line (10,0,0) (10,5,0)", "line (0,0,0) (10,5,0)"}));
}

TEST(PolylineState, TwoReadersUsedAlternatelyKeepTheirOwnChains) {
    std::string a = oldform("1", triangle);
    std::string b = oldform("1", {vertex("100", "0"), vertex("200", "0"), vertex("300", "0")});
    memstream ma(a), mb(b);
    ostra::reader ra(ma.get()), rb(mb.get());
    S ga, gb;
    brevo::geometry g;
    for (bool more = true; more;) {
        more = false;
        if (ra.next(g)) ga.push_back(describe(g)), more = true;
        if (rb.next(g)) gb.push_back(describe(g)), more = true;
    }
    EXPECT_EQ(ga, readall(a));
    EXPECT_EQ(gb, readall(b));
    EXPECT_EQ(gb.size(), 4u);
}

}  // namespace
