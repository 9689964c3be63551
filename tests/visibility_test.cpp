// The exact reading leaves out what a CAD program hides, puts block
// entities on layer 0 on their insert's layer, delivers dimensions, and
// counts what it passed over.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using testutil::dxf;
using testutil::memstream;
using S = std::vector<std::string>;

namespace {

std::string drawing(const S& tables, const S& blocks, const S& ents) {
    S p = {"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER"};
    add(p, tables);
    add(p, {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "BLOCKS"});
    add(p, blocks);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, ents);
    add(p, {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

S line(const std::string& layer, const std::string& x, const S& more = {}) {
    S p = {"0", "LINE", "8", layer, "10", x, "11", x, "21", "1"};
    add(p, more);
    return p;
}

// What the exact reading returns: "x@layer" for each line (its start x),
// and the skipped counts.
struct result {
    S got;
    std::map<std::string, int> skipped;
};

result readexact(const std::string& text, const char* filter = nullptr, bool paperspace = false) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    r.setpaperspace(paperspace);
    r.setlayerfilter(filter);
    result o;
    brevo::geometry g;
    while (r.next(g)) {
        char x[32];
        std::snprintf(x, sizeof x, "%g", g.lns() ? g.lns()->start().x : -1.0);
        o.got.push_back(std::string(x) + "@" + r.currentlayer());
    }
    int n;
    for (const char* s = r.firstskipped(n); s; s = r.nextskipped(n)) o.skipped[s] = n;
    return o;
}

const S layertable = [] {
    S p = {"0", "LAYER", "2", "FROZEN", "70", "1", "62", "1", "0", "LAYER", "2", "OFF", "70", "0", "62", "-2"};
    add(p, {"0", "LAYER", "2", "WALLS", "70", "0", "62", "3"});
    return p;
}();

TEST(Hidden, PaperSpaceInvisibleAndHiddenLayers) {
    S ents = line("A", "1");
    add(ents, line("A", "2", {"67", "1"}));
    add(ents, line("A", "3", {"60", "1"}));
    add(ents, line("FROZEN", "4"));
    add(ents, line("OFF", "5"));
    add(ents, line("A", "6", {"67", "0", "60", "0"}));
    const std::string text = drawing(layertable, {}, ents);
    result model = readexact(text);
    EXPECT_EQ(model.got, (S{"1@A", "6@A"}));
    EXPECT_EQ(model.skipped, (std::map<std::string, int>{{"*paperspace", 1}, {"*invisible", 1}, {"*hiddenlayer", 2}}));
    EXPECT_EQ(readexact(text, nullptr, true).got, S{"2@A"});
    // The default reading draws everything.
    EXPECT_EQ(testutil::readall(text).size(), 6u);
}

// Inside a block an entity on layer 0 is drawn on its insert's layer, for
// currentlayer(), the filter and the hidden layers alike; other layers stay.
TEST(Hidden, LayerZeroTakesTheInsertsLayer) {
    S blocks = {"0", "BLOCK", "2", "B"};
    add(blocks, line("0", "1"));
    add(blocks, line("DOOR", "2"));
    add(blocks, line("0", "3", {"60", "1"}));  // invisible in the block: never drawn
    add(blocks, {"0", "ENDBLK", "0", "BLOCK", "2", "OUTER"});
    add(blocks, {"0", "INSERT", "2", "B", "8", "0"});  // on 0 itself: takes OUTER's insert's layer
    add(blocks, {"0", "ENDBLK"});
    S ents = {"0", "INSERT", "2", "B", "8", "WALLS"};
    add(ents, {"0", "INSERT", "2", "OUTER", "8", "WALLS", "10", "100"});
    add(ents, {"0", "INSERT", "2", "B", "8", "OFF", "10", "200"});     // its layer-0 entity is off
    add(ents, {"0", "INSERT", "2", "B", "8", "FROZEN", "10", "300"});  // nothing at all
    const std::string text = drawing(layertable, blocks, ents);
    result all = readexact(text);
    EXPECT_EQ(all.got, (S{"1@WALLS", "2@DOOR", "101@WALLS", "102@DOOR", "202@DOOR"}));
    EXPECT_EQ(all.skipped["*invisible"], 1);    // counted once, where it was defined
    EXPECT_EQ(all.skipped["*hiddenlayer"], 2);  // the entity on OFF, the insert on FROZEN
    // The filter sees the layer an entity is drawn on.
    EXPECT_EQ(readexact(text, "WALLS").got, (S{"1@WALLS", "101@WALLS"}));
    EXPECT_EQ(readexact(text, "DOOR").got, (S{"2@DOOR", "102@DOOR", "202@DOOR"}));
    EXPECT_EQ(readexact(text, "0").got, S{});
    // The default reading keeps the stored layer and filters at definition.
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_STREQ(r.currentlayer(), "0");
}

// A DIMENSION draws its block as it stands, every entity under the
// dimension's name and handle; its text is passed over (once, where the
// block was defined).
TEST(Hidden, DimensionDeliversItsBlock) {
    S blocks = {"0", "BLOCK", "2", "*D1"};
    add(blocks, line("0", "0"));
    add(blocks, {"0", "SOLID", "8", "0", "10", "0", "20", "0", "11", "1", "21", "0", "12", "0", "22", "1"});
    add(blocks, {"0", "MTEXT", "8", "0", "1", "42", "10", "5", "20", "5"});
    add(blocks, {"0", "ENDBLK"});
    S ents = {"0", "DIMENSION", "5", "D0", "8", "DIMS", "2", "*D1", "10", "50", "20", "50", "70", "32"};
    memstream m(drawing({}, blocks, ents));
    ostra::reader r(m.get());
    r.setexact(true);
    brevo::geometry g;
    int n = 0;
    while (r.next(g)) {
        ++n;
        EXPECT_STREQ(r.currentrecord(), "DIMENSION");
        EXPECT_STREQ(r.currenthandle(), "D0");
        EXPECT_STREQ(r.currentlayer(), "DIMS");
        EXPECT_STREQ(r.currentblock(), "*D1");
    }
    EXPECT_EQ(n, 1 + 3);  // the line and the solid's triangle
    int count = 0;
    ASSERT_STREQ(r.firstskipped(count), "MTEXT");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(r.nextskipped(count), nullptr);
}

// ARC_DIMENSION and LARGE_RADIAL_DIMENSION are dimensions: each draws its
// block under its own record name and handle, in ENTITIES and inside a
// block; hidden ones draw nothing. The default reading passes them over.
TEST(Hidden, ArcAndLargeRadialDimensionsDeliverTheirBlocks) {
    S blocks = {"0", "BLOCK", "2", "*D1"};
    add(blocks, line("0", "1"));
    add(blocks, {"0", "ENDBLK", "0", "BLOCK", "2", "*D2"});
    add(blocks, line("0", "2"));
    add(blocks, {"0", "ENDBLK", "0", "BLOCK", "2", "OUTER"});
    add(blocks, {"0", "ARC_DIMENSION", "8", "0", "2", "*D2"});
    add(blocks, {"0", "ENDBLK"});
    S ents = {"0", "ARC_DIMENSION", "5", "A1", "8", "DIMS", "100", "AcDbArcDimension", "2", "*D1"};
    add(ents, {"0", "LARGE_RADIAL_DIMENSION", "5", "A2", "8", "DIMS", "2", "*D2"});
    add(ents, {"0", "ARC_DIMENSION", "5", "A3", "8", "DIMS", "60", "1", "2", "*D1"});
    add(ents, {"0", "LARGE_RADIAL_DIMENSION", "5", "A4", "8", "OFF", "2", "*D2"});
    add(ents, {"0", "INSERT", "2", "OUTER", "8", "WALLS", "10", "100"});
    const std::string text = drawing(layertable, blocks, ents);
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    S got;
    brevo::geometry g;
    while (r.next(g))
        got.push_back(std::to_string(static_cast<int>(g.lns()->start().x)) + " " + r.currentrecord() + " " +
                      r.currenthandle() + " " + r.currentlayer() + " " + r.currentblock());
    EXPECT_EQ(got, (S{"1 ARC_DIMENSION A1 DIMS *D1", "2 LARGE_RADIAL_DIMENSION A2 DIMS *D2", "102 LINE  WALLS *D2"}));
    int n;
    std::map<std::string, int> skipped;
    for (const char* s = r.firstskipped(n); s; s = r.nextskipped(n)) skipped[s] = n;
    EXPECT_EQ(skipped, (std::map<std::string, int>{{"*invisible", 1}, {"*hiddenlayer", 1}}));
    // The default reading: nothing, each counted by name.
    memstream d(text);
    ostra::reader plain(d.get());
    EXPECT_EQ(testutil::readall(plain).size(), 0u);
    skipped.clear();
    for (const char* s = plain.firstskipped(n); s; s = plain.nextskipped(n)) skipped[s] = n;
    EXPECT_EQ(skipped, (std::map<std::string, int>{{"ARC_DIMENSION", 3}, {"LARGE_RADIAL_DIMENSION", 2}}));
}

TEST(Hidden, RecordsPassedOverAreCountedByName) {
    S ents = {"0", "TEXT", "1", "a", "0", "TEXT", "1", "b", "0", "HATCH", "0", "MTEXT"};
    add(ents, {"0", "INSERT", "2", "NONE", "66", "1", "0", "ATTRIB", "1", "v", "0", "SEQEND"});
    add(ents, line("A", "1"));
    memstream m(drawing({}, {}, ents));
    ostra::reader r(m.get());
    r.setexact(true);
    testutil::readall(r);
    S names;
    int n;
    for (const char* s = r.firstskipped(n); s; s = r.nextskipped(n)) names.push_back(s + (":" + std::to_string(n)));
    EXPECT_EQ(names, (S{"TEXT:2", "HATCH:1", "MTEXT:1", "ATTRIB:1"}));
}

// Nested arrays whose every entity the filter leaves out end at once: a
// cell that delivers nothing ends its insert, and a block that delivered
// nothing is not walked again.
TEST(Hidden, FilteredNestedArraysEndAtOnce) {
    S blocks = {"0", "BLOCK", "2", "L0"};
    add(blocks, line("0", "1"));
    add(blocks, {"0", "ENDBLK"});
    for (int i = 1; i <= 12; ++i) {
        std::string name = "L" + std::to_string(i), inner = "L" + std::to_string(i - 1);
        add(blocks, {"0", "BLOCK", "2", name});
        for (int k = 0; k < 20; ++k)
            add(blocks, {"0", "INSERT", "2", inner, "8", "0", "70", "32767", "71", "32767", "44", "1", "45", "1"});
        add(blocks, {"0", "ENDBLK"});
    }
    S ents = {"0", "INSERT", "2", "L12", "8", "HIDDEN"};
    auto t0 = std::chrono::steady_clock::now();
    result r = readexact(drawing({}, blocks, ents), "SHOWN");
    EXPECT_EQ(r.got, S{});
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 5.0);
}

}  // namespace
