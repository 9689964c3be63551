// Polyface and polygon meshes in the exact reading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using testutil::entities;
using testutil::readall;
using testutil::readexact;
using S = std::vector<std::string>;

namespace {

S vertex(const std::string& x, const std::string& y, const std::string& z, const char* flags) {
    return {"0", "VERTEX", "8", "M", "70", flags, "10", x, "20", y, "30", z};
}

S facerecord(const S& indices) {
    S p = {"0", "VERTEX", "8", "M", "70", "128", "10", "0", "20", "0", "30", "0"};
    for (std::size_t i = 0; i < indices.size(); ++i) p.insert(p.end(), {std::to_string(71 + i), indices[i]});
    return p;
}

// A unit square of two triangles; the second face hides the diagonal, its
// edge from vertex 1 back to vertex 3 (written -1).
TEST(Meshes, PolyfaceGivesItsFacesEdgesButTheHiddenOnes) {
    S p = {"0", "POLYLINE", "5", "AB", "8", "M", "66", "1", "70", "64", "71", "4", "72", "2"};
    add(p, vertex("0", "0", "0", "192"));
    add(p, vertex("1", "0", "0", "192"));
    add(p, vertex("1", "1", "0", "192"));
    add(p, vertex("0", "1", "0", "192"));
    add(p, facerecord({"1", "2", "3"}));
    add(p, facerecord({"3", "4", "-1"}));
    add(p, {"0", "SEQEND"});
    S got = readexact(entities(p), [](ostra::reader& r, const brevo::geometry&) {
        EXPECT_STREQ(r.currentrecord(), "POLYLINE");
        EXPECT_STREQ(r.currenthandle(), "AB");
    });
    EXPECT_EQ(got, (S{"line (0,0,0) (1,0,0)", "line (1,0,0) (1,1,0)", "line (1,1,0) (0,0,0)",
                      "line (1,1,0) (0,1,0)", "line (0,1,0) (0,0,0)"}));
}

// A polygon mesh of 3 x 4 vertices closed in N: each row is a closed loop
// of 4 edges, and the rows are joined by 2 x 4 edges along M.
TEST(Meshes, PolygonMeshGridClosedInN) {
    S p = {"0", "POLYLINE", "8", "M", "66", "1", "70", "48", "71", "3", "72", "4"};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) add(p, vertex(std::to_string(j), std::to_string(i), std::to_string(i * j), "64"));
    add(p, {"0", "SEQEND"});
    S got = readexact(entities(p));
    ASSERT_EQ(got.size(), 3u * 4u + 2u * 4u);
    EXPECT_EQ(got[0], "line (0,0,0) (1,0,0)");
    EXPECT_EQ(got[3], "line (3,0,0) (0,0,0)");  // closing the first row
    EXPECT_EQ(got[7], "line (3,1,3) (0,1,0)");
    EXPECT_EQ(got[12], "line (0,0,0) (0,1,0)");  // along M
    EXPECT_EQ(got[19], "line (3,1,3) (3,2,6)");
    // Closed in M as well (bit 1): 3 x 4 edges each way.
    p[7] = "49";
    EXPECT_EQ(readexact(entities(p)).size(), 24u);
    // The default reading keeps its zigzag through the vertices.
    EXPECT_EQ(readall(entities(p)).size(), 11u);
}

TEST(Meshes, BadIndicesAndShortGridsGiveWhatTheyCan) {
    S p = {"0", "POLYLINE", "8", "M", "66", "1", "70", "64"};
    add(p, vertex("0", "0", "0", "192"));
    add(p, vertex("2", "0", "0", "192"));
    add(p, facerecord({"1", "2", "99"}));   // no vertex 99: only 1-2
    add(p, facerecord({"1", "1"}));         // a degenerate edge
    add(p, facerecord({"2"}));              // no edge at all
    add(p, {"0", "SEQEND"});
    EXPECT_EQ(readexact(entities(p)), S{"line (0,0,0) (2,0,0)"});
    // A grid whose vertices fill one row and a half of N = 2.
    S q = {"0", "POLYLINE", "8", "M", "66", "1", "70", "16", "71", "5", "72", "2"};
    add(q, vertex("0", "0", "0", "64"));
    add(q, vertex("1", "0", "0", "64"));
    add(q, vertex("0", "1", "0", "64"));
    add(q, {"0", "SEQEND"});
    EXPECT_EQ(readexact(entities(q)), S{"line (0,0,0) (1,0,0)"});
}

// A face of two vertices is one edge, given once; it is hidden only when
// both of its ways are (-a and -b).
TEST(Meshes, PolyfaceFaceOfTwoVerticesIsOneEdge) {
    S p = {"0", "POLYLINE", "8", "M", "66", "1", "70", "64", "71", "3", "72", "3"};
    add(p, vertex("0", "0", "0", "192"));
    add(p, vertex("2", "0", "0", "192"));
    add(p, vertex("2", "3", "0", "192"));
    add(p, facerecord({"1", "2"}));
    add(p, facerecord({"-2", "3"}));    // 2 to 3 hidden: drawn from 3 to 2
    add(p, facerecord({"-3", "-1"}));   // both ways hidden
    add(p, facerecord({"3", "1", "0"}));  // a third index of 0 is no corner
    add(p, {"0", "SEQEND"});
    EXPECT_EQ(readexact(entities(p)),
              (S{"line (0,0,0) (2,0,0)", "line (2,3,0) (2,0,0)", "line (2,3,0) (0,0,0)"}));
}

// A smoothed polygon mesh (70 = 16 + 4, surface type 75, smooth densities
// 73 x 74) draws its surface vertices (flag 8) as a 73 x 74 grid and not
// its frame (flag 16): here a 2 x 2 frame far off, and a 3 x 3 surface
// whose vertex (j, i) is row i, column j.
S smoothed(const char* flags, const char* ndensity) {
    S p = {"0", "POLYLINE", "8", "M", "66", "1", "70", flags, "71", "2", "72", "2", "73", "3", "74", ndensity, "75", "6"};
    for (const char* xy : {"00", "90", "09", "99"})
        add(p, vertex(std::string(1, xy[0]), std::string(1, xy[1]), "9", "80"));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) add(p, vertex(std::to_string(j), std::to_string(i), "0", "72"));
    add(p, {"0", "SEQEND"});
    return p;
}

TEST(Meshes, SmoothedPolygonMeshDrawsItsSurface) {
    S got = readexact(entities(smoothed("20", "3")));
    EXPECT_EQ(got, (S{"line (0,0,0) (1,0,0)", "line (1,0,0) (2,0,0)", "line (0,1,0) (1,1,0)",
                      "line (1,1,0) (2,1,0)", "line (0,2,0) (1,2,0)", "line (1,2,0) (2,2,0)",
                      "line (0,0,0) (0,1,0)", "line (1,0,0) (1,1,0)", "line (2,0,0) (2,1,0)",
                      "line (0,1,0) (0,2,0)", "line (1,1,0) (1,2,0)", "line (2,1,0) (2,2,0)"}));
    // Closed in N (32): each row closes, (2, i) back to (0, i).
    got = readexact(entities(smoothed("52", "3")));
    ASSERT_EQ(got.size(), 15u);
    EXPECT_EQ(got[2], "line (2,0,0) (0,0,0)");
    // Closed in M (1) as well: each column closes, (j, 2) back to (j, 0).
    got = readexact(entities(smoothed("53", "3")));
    ASSERT_EQ(got.size(), 18u);
    EXPECT_EQ(got[17], "line (2,2,0) (2,0,0)");
    // Without an N density the frame is drawn as a plain 2 x 2 mesh.
    EXPECT_EQ(readexact(entities(smoothed("20", "0"))),
              (S{"line (0,0,9) (9,0,9)", "line (0,9,9) (9,9,9)", "line (0,0,9) (0,9,9)", "line (9,0,9) (9,9,9)"}));
    // The default reading zigzags through all 13 vertices.
    EXPECT_EQ(readall(entities(smoothed("20", "3"))).size(), 12u);
}

}  // namespace
