// 3DFACE, SOLID and TRACE in the exact reading: edges and outlines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil.h"

using testutil::entities;
using testutil::memstream;
using testutil::readall;
using testutil::readexact;
using S = std::vector<std::string>;

namespace {

S face(const S& corners, const char* hidden) {
    S p = {"0", "3DFACE", "8", "F", "70", hidden};
    p.insert(p.end(), corners.begin(), corners.end());
    return p;
}

const S quad = {"10", "0", "20", "0", "30", "0", "11", "4", "21", "0", "31", "0",
                "12", "4", "22", "3", "32", "1", "13", "0", "23", "3", "33", "1"};

TEST(Faces, ThreeDFaceGivesItsVisibleEdges) {
    EXPECT_EQ(readexact(entities(face(quad, "0"))),
              (S{"line (0,0,0) (4,0,0)", "line (4,0,0) (4,3,1)", "line (4,3,1) (0,3,1)", "line (0,3,1) (0,0,0)"}));
    // Bits 2 and 8 hide the second and the fourth edge.
    EXPECT_EQ(readexact(entities(face(quad, "10"))), (S{"line (0,0,0) (4,0,0)", "line (4,3,1) (0,3,1)"}));
    EXPECT_EQ(readexact(entities(face(quad, "15"))), S{});
    // The default reading passes it over, and says so.
    memstream m(entities(face(quad, "0")));
    ostra::reader r(m.get());
    EXPECT_EQ(readall(r), S{});
    int n = 0;
    ASSERT_STREQ(r.firstskipped(n), "3DFACE");
    EXPECT_EQ(n, 1);
}

TEST(Faces, TriangleWhenTheFourthCornerIsTheThird) {
    const S tri = {"10", "0", "20", "0", "11", "4", "21", "0", "12", "0", "22", "3", "13", "0", "23", "3"};
    const S want = {"line (0,0,0) (4,0,0)", "line (4,0,0) (0,3,0)", "line (0,3,0) (0,0,0)"};
    EXPECT_EQ(readexact(entities(face(tri, "0"))), want);
    // A fourth corner left out is the third, and a degenerate edge is no edge.
    S three(tri.begin(), tri.end() - 4);
    EXPECT_EQ(readexact(entities(face(three, "0"))), want);
    S point = {"10", "1", "20", "1", "11", "1", "21", "1", "12", "1", "22", "1"};
    EXPECT_EQ(readexact(entities(face(point, "0"))), S{});
}

// A SOLID's corners are in its object coordinate system: with extrusion
// (0, 0, -1) the arbitrary axis algorithm turns x round and puts the
// elevation below: (x, y, z) lies at (-x, y, -z). Its outline runs v1, v2,
// v4, v3; a triangle repeats v3 as v4.
TEST(Faces, SolidTriangleInItsObjectCoordinates) {
    S solid = {"0", "SOLID", "8", "S", "10", "0", "20", "0", "30", "2", "11", "10", "21", "0", "31", "2",
               "12", "0", "22", "5", "32", "2", "210", "0", "220", "0", "230", "-1"};
    EXPECT_EQ(readexact(entities(solid)),
              (S{"line (0,0,-2) (-10,0,-2)", "line (-10,0,-2) (0,5,-2)", "line (0,5,-2) (0,0,-2)"}));
    S trace = {"0", "TRACE", "10", "0", "20", "0", "11", "2", "21", "0", "12", "0", "22", "1", "13", "2", "23", "1"};
    memstream m(entities(trace));
    ostra::reader r(m.get());
    r.setexact(true);
    EXPECT_EQ(readall(r), (S{"line (0,0,0) (2,0,0)", "line (2,0,0) (2,1,0)", "line (2,1,0) (0,1,0)",
                             "line (0,1,0) (0,0,0)"}));
}

// Edges of faces in a block follow the insert, one per call.
TEST(Faces, FacesInABlockAreInserted) {
    S p = {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B"};
    S f = face({"10", "0", "20", "0", "11", "1", "21", "0", "12", "0", "22", "1"}, "0");
    p.insert(p.end(), f.begin(), f.end());
    p.insert(p.end(), {"0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES", "0", "INSERT", "2", "B",
                       "10", "10", "41", "2", "0", "ENDSEC", "0", "EOF"});
    S got = testutil::readexact(testutil::dxf(p), [](ostra::reader& r, const brevo::geometry&) {
        EXPECT_STREQ(r.currentrecord(), "3DFACE");
        EXPECT_STREQ(r.currentblock(), "B");
    });
    EXPECT_EQ(got, (S{"line (10,0,0) (12,0,0)", "line (12,0,0) (10,1,0)", "line (10,1,0) (10,0,0)"}));
}

}  // namespace
