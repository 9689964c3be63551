// Old-form polylines (POLYLINE, VERTEX, SEQEND) in the exact reading: one
// entity, whose header alone decides its visibility and layer; and fitted
// polylines, drawn through their fitted vertices and not their frame.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using testutil::dxf;
using testutil::entities;
using testutil::memstream;
using S = std::vector<std::string>;

namespace {

std::string drawing(const S& blocks, const S& ents) {
    S p = {"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER"};
    add(p, {"0", "LAYER", "2", "OFF", "70", "0", "62", "-2", "0", "LAYER", "2", "FROZEN", "70", "1", "62", "1"});
    add(p, {"0", "LAYER", "2", "WALLS", "70", "0", "62", "3"});
    add(p, {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "BLOCKS"});
    add(p, blocks);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, ents);
    add(p, {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

S vertex(const std::string& x, const std::string& y, const S& more = {}) {
    S p = {"0", "VERTEX"};
    add(p, more);
    add(p, {"10", x, "20", y});
    return p;
}

// A closed triangle (0,0) (4,0) (4,3) whose header has the groups head.
S triangle(const S& head, const S& v1, const S& v2, const S& v3, const S& seqend) {
    S p = {"0", "POLYLINE", "70", "1"};
    add(p, head);
    add(p, vertex("0", "0", v1));
    add(p, vertex("4", "0", v2));
    add(p, vertex("4", "3", v3));
    add(p, {"0", "SEQEND"});
    add(p, seqend);
    return p;
}

struct result {
    S got;  // each piece described, "@" its layer
    std::map<std::string, int> skipped;
};

result read(const std::string& text, const char* filter = nullptr, bool paperspace = false) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    r.setpaperspace(paperspace);
    r.setlayerfilter(filter);
    result o;
    brevo::geometry g;
    while (r.next(g)) o.got.push_back(testutil::describe(g) + "@" + r.currentlayer());
    int n;
    for (const char* s = r.firstskipped(n); s; s = r.nextskipped(n)) o.skipped[s] = n;
    return o;
}

const S walls = {"line (0,0,0) (4,0,0)@WALLS", "line (4,0,0) (4,3,0)@WALLS", "line (4,3,0) (0,0,0)@WALLS"};

// VERTEX and SEQEND records on an off or frozen layer, invisible or in
// paper space take nothing from a polyline whose header is on WALLS.
TEST(PolylineEntity, VerticesAndSeqendTakeNothingAway) {
    S ents = triangle({"8", "WALLS"}, {"8", "OFF"}, {"8", "FROZEN", "60", "1"}, {"8", "OFF", "67", "1"},
                      {"8", "OFF"});
    result r = read(drawing({}, ents));
    EXPECT_EQ(r.got, walls);
    EXPECT_EQ(r.skipped, (std::map<std::string, int>{}));
    // Vertices without a layer of their own: the pieces are on WALLS too.
    EXPECT_EQ(read(drawing({}, triangle({"8", "WALLS"}, {}, {}, {}, {}))).got, walls);
    // The filter asks for the header's layer only.
    EXPECT_EQ(read(drawing({}, ents), "WALLS").got, walls);
    EXPECT_EQ(read(drawing({}, ents), "OFF").got, S{});
    // The default reading draws the two segments and the closing one (70 is
    // exactly 1), whatever the layers say.
    EXPECT_EQ(testutil::readall(drawing({}, ents)).size(), 3u);
}

// The header alone hides a polyline: its layer off or frozen, its
// invisibility, its space. Each counts once.
TEST(PolylineEntity, TheHeaderHidesThePolyline) {
    S shown = {"8", "WALLS"};
    S ents = triangle({"8", "OFF"}, shown, shown, shown, shown);
    add(ents, triangle({"8", "FROZEN"}, shown, shown, shown, shown));
    add(ents, triangle({"8", "WALLS", "60", "1"}, shown, shown, shown, shown));
    add(ents, triangle({"8", "WALLS", "67", "1"}, shown, shown, shown, shown));
    const std::string text = drawing({}, ents);
    result model = read(text);
    EXPECT_EQ(model.got, S{});
    EXPECT_EQ(model.skipped, (std::map<std::string, int>{{"*hiddenlayer", 2}, {"*invisible", 1}, {"*paperspace", 1}}));
    // Paper space: the last polyline, although its vertices carry no 67.
    EXPECT_EQ(read(text, nullptr, true).got, walls);
}

// In a block the header's layer is the one the layer-0 rule sees: a
// polyline on 0 with vertices on DOOR is drawn on the insert's layer, one
// on DOOR with vertices on 0 stays on DOOR.
TEST(PolylineEntity, LayerZeroInBlocksIsTheHeaders) {
    S blocks = {"0", "BLOCK", "2", "B"};
    add(blocks, triangle({"8", "0"}, {"8", "DOOR"}, {"8", "DOOR"}, {"8", "DOOR", "60", "1"}, {"8", "DOOR"}));
    S open = {"0", "POLYLINE", "8", "DOOR", "70", "0"};
    add(open, vertex("0", "5", {"8", "0"}));
    add(open, vertex("1", "5", {"8", "0"}));
    add(open, {"0", "SEQEND", "8", "0"});
    add(blocks, open);
    add(blocks, {"0", "ENDBLK"});
    const std::string text = drawing(blocks, {"0", "INSERT", "2", "B", "8", "WALLS"});
    S both = walls;
    both.push_back("line (0,5,0) (1,5,0)@DOOR");
    EXPECT_EQ(read(text).got, both);
    EXPECT_EQ(read(text, "DOOR").got, S{"line (0,5,0) (1,5,0)@DOOR"});
    EXPECT_EQ(read(text, "WALLS").got, walls);
}

// A mesh is one entity as well: its vertices' layers do not count.
TEST(PolylineEntity, MeshVerticesTakeNothingAway) {
    S p = {"0", "POLYLINE", "8", "WALLS", "70", "16", "71", "2", "72", "2"};
    for (const char* xy : {"00", "10", "01", "11"})
        add(p, {"0", "VERTEX", "8", "OFF", "60", "1", "70", "64", "10", std::string(1, xy[0]), "20",
                std::string(1, xy[1])});
    add(p, {"0", "SEQEND", "8", "OFF"});
    EXPECT_EQ(read(drawing({}, p)).got.size(), 4u);
}

std::string fitted(const char* flags, const std::vector<S>& vertices) {
    S p = {"0", "POLYLINE", "8", "P", "70", flags};
    for (const S& v : vertices) add(p, vertex(v[0], v[1], {"70", v[2]}));
    add(p, {"0", "SEQEND"});
    return entities(p);
}

// A spline-fit polyline (70 bit 4) is drawn through its fitted vertices
// (flag 8, and flag 1 where curve fitting added some), not through its frame
// (flag 16), open or closed, 2D or 3D. A curve-fit one (bit 2) through all
// of its vertices, the added ones (flag 1) included.
TEST(FittedPolyline, SplineFitDrawsItsFittedVerticesOnly) {
    const std::vector<S> spline = {{"0", "0", "16"}, {"10", "10", "16"}, {"20", "0", "16"}, {"0", "0", "8"},
                                   {"5", "4", "8"},  {"10", "5", "1"},   {"15", "4", "8"},  {"20", "0", "8"}};
    const S open = {"line (0,0,0) (5,4,0)", "line (5,4,0) (10,5,0)", "line (10,5,0) (15,4,0)",
                    "line (15,4,0) (20,0,0)"};
    EXPECT_EQ(testutil::readexact(fitted("4", spline)), open);
    S closed = open;
    closed.push_back("line (20,0,0) (0,0,0)");
    EXPECT_EQ(testutil::readexact(fitted("5", spline)), closed);
    // 3D: frame flags 16 + 32, fitted 8 + 32.
    std::vector<S> in3d = spline;
    for (S& v : in3d) v[2] = std::to_string(std::stoi(v[2]) + 32);
    EXPECT_EQ(testutil::readexact(fitted("12", in3d)), open);
    // The default reading zigzags through all eight vertices.
    EXPECT_EQ(testutil::readall(fitted("4", spline)).size(), 7u);
    // Curve fit: every vertex is on the curve.
    const std::vector<S> curve = {{"0", "0", "0"}, {"5", "2", "1"}, {"10", "0", "0"}};
    EXPECT_EQ(testutil::readexact(fitted("2", curve)), (S{"line (0,0,0) (5,2,0)", "line (5,2,0) (10,0,0)"}));
}

}  // namespace
