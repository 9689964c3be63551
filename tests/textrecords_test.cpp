// Text records read: TEXT, MTEXT, ATTRIB, ATTDEF, the text of blocks,
// dimensions and tables, as points with their text and as strokes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <ostra/reader.h>

#include "testutil.h"

namespace {

using testutil::dxf;
using V = std::vector<std::string>;

// What a text geometry shows, the text copied while it is current.
struct seen {
    std::string record, content, raw, tag, style, shape;
    int type;
    brevo::point at;
    ostra::textinfo info;
    long item;
};

std::vector<seen> readtexts(const std::string& text, ostra::textmode mode, bool exact = false,
                            V* skipped = nullptr) {
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(exact);
    r.settext(mode);
    std::vector<seen> out;
    brevo::geometry g;
    while (r.next(g)) {
        seen s;
        s.record = r.currentrecord();
        s.type = g.type();
        s.shape = testutil::describe(g);
        if (g.pt()) s.at = *g.pt();
        s.item = r.currentitem();
        if (const ostra::textinfo* t = r.currenttext()) {
            s.info = *t;
            s.content = t->content;
            s.raw = t->raw;
            s.tag = t->tag;
            s.style = t->style;
        }
        out.push_back(s);
    }
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    if (skipped) {
        int n = 0;
        for (const char* name = r.firstskipped(n); name; name = r.nextskipped(n))
            skipped->push_back(std::string(name) + ":" + std::to_string(n));
    }
    return out;
}

// The one text a drawing of entities holds, as a point.
seen onetext(const V& entities, bool exact = false) {
    auto all = readtexts(testutil::entities(entities), ostra::textitems, exact);
    EXPECT_EQ(all.size(), 1u);
    return all.empty() ? seen() : all[0];
}

void near(const brevo::point& p, double x, double y, double z = 0) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
    EXPECT_NEAR(p.z, z, 1e-9);
}
void near(const brevo::vector& v, double x, double y, double z = 0) { near(brevo::point(v.x, v.y, v.z), x, y, z); }

V text(const V& more) {
    V t = {"0", "TEXT", "8", "0", "1", "Hi"};
    t.insert(t.end(), more.begin(), more.end());
    return t;
}

// notext, the default and settext(notext) alike, reads as before: the texts
// counted as skipped, the line delivered.
TEST(TextRecords, NotextReadsAsBefore) {
    V e = text({"10", "1", "20", "2", "40", "1"});
    testutil::add(e, {"0", "MTEXT", "8", "0", "1", "m", "0", "LINE", "8", "0", "10", "0", "20", "0", "11", "1", "21", "0"});
    const std::string d = testutil::entities(e);
    V skipped;
    auto got = readtexts(d, ostra::notext, false, &skipped);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].record, "LINE");
    EXPECT_EQ(skipped, (V{"TEXT:1", "MTEXT:1"}));
    EXPECT_EQ(testutil::readall(d), V{"line (0,0,0) (1,0,0)"});
}

// A left text at its first point, rotated by 50; the axes are one height
// long (width factor along the baseline).
TEST(TextRecords, PlacementOfLeftText) {
    seen s = onetext(text({"10", "1", "20", "2", "40", "2", "41", "0.5", "50", "90", "7", "Std"}));
    EXPECT_EQ(s.record, "TEXT");
    EXPECT_EQ(s.type, brevo::geometry::singlepoint);
    EXPECT_EQ(s.content, "Hi");
    EXPECT_EQ(s.style, "Std");
    near(s.at, 1, 2);
    near(s.info.anchor, 1, 2);
    near(s.info.xaxis, 0, 1);
    near(s.info.yaxis, -2, 0);
    EXPECT_DOUBLE_EQ(s.info.height, 2);
    EXPECT_NEAR(s.info.rotation, 90, 1e-9);
}

// Every alignment but left/baseline anchors at the second point; aligned and
// fit run from the first to the second.
TEST(TextRecords, AlignmentPoints) {
    for (const char* h : {"0", "1", "2", "4"})
        for (const char* v : {"0", "1", "2", "3"}) {
            seen s = onetext(text({"10", "1", "20", "1", "11", "5", "21", "6", "72", h, "73", v}));
            const bool left = std::string(h) == "0" && std::string(v) == "0";
            near(s.info.anchor, left ? 1 : 5, left ? 1 : 6);
            EXPECT_EQ(s.info.halign, std::stoi(h));
            EXPECT_EQ(s.info.valign, std::stoi(v));
        }
    for (const char* h : {"3", "5"}) {
        seen s = onetext(text({"10", "1", "20", "1", "11", "1", "21", "4", "72", h, "40", "1"}));
        near(s.info.anchor, 1, 1);
        near(s.info.second, 1, 4);
        EXPECT_NEAR(s.info.rotation, 90, 1e-9);
    }
}

// Backward mirrors the baseline axis, upside down the up axis; an oblique
// angle of 45 degrees leans the up axis by one height.
TEST(TextRecords, FlagsAndOblique) {
    near(onetext(text({"40", "1", "71", "2"})).info.xaxis, -1, 0);
    near(onetext(text({"40", "1", "71", "4"})).info.yaxis, 0, -1);
    near(onetext(text({"40", "1", "51", "45"})).info.yaxis, 1, 1);
}

// Extrusion 0, 0, -1: the object x axis is the world's -x.
TEST(TextRecords, ObjectCoordinates) {
    seen s = onetext(text({"10", "3", "20", "1", "40", "1", "210", "0", "220", "0", "230", "-1"}));
    near(s.info.anchor, -3, 1);
    near(s.info.xaxis, -1, 0);
    EXPECT_NEAR(std::fabs(s.info.rotation), 180, 1e-9);
}

// The height: the record's, the style's fixed height, the header's
// $TEXTSIZE, 2.5; the style's width factor.
TEST(TextRecords, HeightAndStyle) {
    V d = {"0", "SECTION", "2", "HEADER", "9", "$TEXTSIZE", "40", "4.5", "0", "ENDSEC",
           "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "STYLE",
           "0", "STYLE", "2", "Wide", "40", "3", "41", "2", "50", "0", "0", "ENDTAB", "0", "ENDSEC",
           "0", "SECTION", "2", "ENTITIES"};
    testutil::add(d, text({"7", "WIDE"}));
    testutil::add(d, text({}));
    testutil::add(d, text({"7", "wide", "40", "1"}));
    testutil::add(d, {"0", "ENDSEC", "0", "EOF"});
    auto got = readtexts(dxf(d), ostra::textitems);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_DOUBLE_EQ(got[0].info.height, 3);
    near(got[0].info.xaxis, 6, 0);
    EXPECT_DOUBLE_EQ(got[1].info.height, 4.5);
    EXPECT_DOUBLE_EQ(got[2].info.height, 1);
    near(got[2].info.xaxis, 2, 0);
}

// MTEXT: chunks 3 then 1 joined whole beyond a slot's length, its codes
// interpreted, its attachment as column and row, its x direction.
TEST(TextRecords, Mtext) {
    const std::string chunk(250, 'a');
    seen s = onetext({"0", "MTEXT", "8", "0", "10", "1", "20", "1", "40", "2", "41", "30", "71", "5", "11", "0",
                      "21", "1", "31", "0", "3", chunk, "3", chunk, "1", "{\\fArial;B}\\PL\\U+00E9\\S1/2;"});
    EXPECT_EQ(s.record, "MTEXT");
    EXPECT_EQ(s.content, chunk + chunk + "B\nLé1/2");
    EXPECT_EQ(s.raw, chunk + chunk + "{\\fArial;B}\\PL\\U+00E9\\S1/2;");
    EXPECT_EQ(s.info.halign, 1);
    EXPECT_EQ(s.info.valign, 2);
    EXPECT_DOUBLE_EQ(s.info.width, 30);
    near(s.info.xaxis, 0, 2);
    near(s.info.yaxis, -2, 0);
}

// A drawing in a code page: its bytes decoded.
TEST(TextRecords, CodePage) {
    V d = {"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "9", "$DWGCODEPAGE", "3", "ANSI_1251",
           "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"};
    testutil::add(d, {"0", "TEXT", "8", "0", "1", "\xC0\xE1 %%d", "0", "ENDSEC", "0", "EOF"});
    auto got = readtexts(dxf(d), ostra::textitems);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].content, "\xD0\x90\xD0\xB1 \xC2\xB0");
}

V blocks(const V& defs) {
    V d = {"0", "SECTION", "2", "BLOCKS"};
    testutil::add(d, defs);
    testutil::add(d, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    return d;
}
std::string finish(V d, const V& entities) {
    testutil::add(d, entities);
    testutil::add(d, {"0", "ENDSEC", "0", "EOF"});
    return dxf(d);
}

// ATTRIB after an INSERT stand where they are; an invisible one is hidden.
// In the block, a constant ATTDEF draws through the insert, another not.
TEST(TextRecords, Attributes) {
    V d = blocks({"0", "BLOCK", "8", "0", "2", "B", "10", "0", "20", "0",
                  "0", "ATTDEF", "8", "0", "10", "1", "20", "0", "1", "C", "2", "K", "70", "2",
                  "0", "ATTDEF", "8", "0", "10", "2", "20", "0", "1", "v", "2", "ASK", "70", "0", "0", "ENDBLK"});
    std::string all = finish(d, {"0", "INSERT", "8", "0", "2", "B", "66", "1", "10", "10", "20", "0",
                                 "0", "ATTRIB", "8", "0", "10", "1", "20", "1", "1", "V1", "2", "T1", "70", "0",
                                 "0", "ATTRIB", "8", "0", "10", "1", "20", "1", "1", "V2", "2", "T2", "70", "1",
                                 "0", "SEQEND", "8", "0",
                                 "0", "ATTDEF", "8", "0", "10", "7", "20", "7", "1", "d", "2", "TAG", "70", "0"});
    V skipped;
    auto got = readtexts(all, ostra::textitems, false, &skipped);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].record, "ATTDEF");
    EXPECT_EQ(got[0].content, "C");
    near(got[0].at, 11, 0);
    EXPECT_EQ(got[1].record, "ATTRIB");
    EXPECT_EQ(got[1].content, "V1");
    EXPECT_EQ(got[1].tag, "T1");
    near(got[1].at, 1, 1);
    EXPECT_EQ(got[2].content, "TAG");  // an ATTDEF of the drawing shows its tag
    EXPECT_EQ(skipped, V{"*invisible:1"});
}

// A text in a block placed by a mirrored, non-uniformly scaled, rotated
// insert: x scaled by -2, then turned by 90 degrees.
TEST(TextRecords, TextThroughAnInsert) {
    V d = blocks({"0", "BLOCK", "8", "0", "2", "B", "10", "0", "20", "0", "0", "TEXT", "8", "0", "10", "1", "20",
                  "0", "40", "1", "1", "t", "0", "ENDBLK"});
    auto got = readtexts(finish(d, {"0", "INSERT", "8", "0", "2", "B", "10", "0", "20", "0", "41", "-2", "42", "1",
                                    "50", "90"}),
                         ostra::textitems);
    ASSERT_EQ(got.size(), 1u);
    near(got[0].at, 0, -2);
    near(got[0].info.anchor, 0, -2);
    near(got[0].info.xaxis, 0, -2);
    near(got[0].info.yaxis, -1, 0);
    EXPECT_NEAR(got[0].info.height, 1, 1e-9);
    EXPECT_NEAR(got[0].info.rotation, -90, 1e-9);
    EXPECT_EQ(got[0].content, "t");
}

// A dimension's measurement: the MTEXT of its block, under the dimension.
// A table: its block placed at its point along its direction.
TEST(TextRecords, DimensionAndTable) {
    V d = blocks({"0", "BLOCK", "8", "0", "2", "*D1", "10", "0", "20", "0", "0", "MTEXT", "8", "0", "10", "4",
                  "20", "1", "40", "1", "1", "12.5", "0", "ENDBLK", "0", "BLOCK", "8", "0", "2", "*T1", "10", "0",
                  "20", "0", "0", "MTEXT", "8", "0", "10", "1", "20", "1", "40", "1", "1", "cell", "0", "ENDBLK"});
    const std::string all = finish(d, {"0", "DIMENSION", "8", "0", "2", "*D1", "0", "ACAD_TABLE", "8", "0", "2",
                                       "*T1", "10", "5", "20", "5", "11", "0", "21", "1"});
    auto got = readtexts(all, ostra::textitems, true);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].record, "DIMENSION");
    EXPECT_EQ(got[0].content, "12.5");
    near(got[0].at, 4, 1);
    EXPECT_EQ(got[1].record, "MTEXT");
    EXPECT_EQ(got[1].content, "cell");
    near(got[1].at, 4, 6);
    // Without texts neither gives anything.
    EXPECT_TRUE(readtexts(all, ostra::notext, true).empty());
}

// Strokes: segments, all one item with the text; a character without a
// glyph drawn as a box of four segments and counted.
TEST(TextRecords, Strokes) {
    auto got = readtexts(testutil::entities(text({"40", "21", "10", "100", "20", "0"})), ostra::textstrokes);
    ASSERT_FALSE(got.empty());
    for (const seen& s : got) {
        EXPECT_EQ(s.type, brevo::geometry::linesegment);
        EXPECT_EQ(s.item, got[0].item);
        EXPECT_EQ(s.content, "Hi");
        EXPECT_EQ(s.record, "TEXT");
    }
    V skipped;
    V box = {"0", "TEXT", "8", "0", "40", "21", "1", "\xE4\xB8\x80"};
    got = readtexts(testutil::entities(box), ostra::textstrokes, false, &skipped);
    EXPECT_EQ(got.size(), 4u);
    EXPECT_EQ(skipped, V{"*missingglyph:1"});
}

// A filter changed between the strokes of one text holds for the strokes
// still to come, in both readings: the rest of a text on layer A is passed
// over once only B passes, and the text on B that follows is delivered whole.
TEST(TextRecords, FilterChangedBetweenStrokes) {
    V e = {"0", "TEXT", "8", "A", "40", "1", "1", "H", "0", "TEXT", "8", "B", "40", "1", "1", "H"};
    const std::string d = testutil::entities(e);
    const std::size_t whole = readtexts(d, ostra::textstrokes).size() / 2;
    ASSERT_GT(whole, 1u);
    for (bool exact : {false, true}) {
        testutil::memstream m(d);
        ostra::reader r(m.get());
        r.setexact(exact);
        r.settext(ostra::textstrokes);
        brevo::geometry g;
        V layers;
        while (r.next(g)) {
            layers.push_back(r.currentlayer());
            r.setlayerfilter("B");
        }
        EXPECT_EQ(layers.size(), 1 + whole) << exact;
        EXPECT_EQ(layers.front(), "A");
        EXPECT_EQ(layers.back(), "B");
    }
}

}  // namespace

namespace {

// A MULTILEADER: its leader line to the connection point, the arrowhead at
// the line's first vertex (0.6 long, 0.2 wide, pointing away from the next
// vertex), the landing along the dogleg, then its text at its location; all
// one item.
TEST(TextRecords, Multileader) {
    V ml = {"0", "MULTILEADER", "8", "0", "300", "CONTEXT_DATA{", "40", "1", "10", "0", "20", "0", "30", "0",
            "41", "2.5", "140", "0.6", "290", "1", "304", "Note\\PTwo", "12", "10", "22", "5", "32", "0", "13", "1", "23", "0",
            "33", "0", "302", "LEADER{", "290", "1", "10", "8", "20", "5", "30", "0", "11", "1", "21", "0", "31",
            "0", "40", "2", "304", "LEADER_LINE{", "10", "0", "20", "0", "30", "0", "10", "4", "20", "1", "30", "0",
            "305", "}", "303", "}", "301", "}", "41", "99", "10", "50", "20", "50", "30", "0"};
    auto got = readtexts(testutil::entities(ml), ostra::textitems);
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got[0].shape, "line (0,0,0) (4,1,0)");
    EXPECT_EQ(got[1].shape, "line (4,1,0) (8,5,0)");
    EXPECT_EQ(got[5].shape, "line (8,5,0) (10,5,0)");
    // The arrow: tip to one corner, across, back to the tip; its corners
    // 0.6 along the line and 0.1 to either side.
    const double r = std::sqrt(17.0), ux = 4 / r, uy = 1 / r;
    char corner[2][64];
    std::snprintf(corner[0], sizeof corner[0], "(%.6g,%.6g,0)", 0.6 * ux - 0.1 * uy, 0.6 * uy + 0.1 * ux);
    std::snprintf(corner[1], sizeof corner[1], "(%.6g,%.6g,0)", 0.6 * ux + 0.1 * uy, 0.6 * uy - 0.1 * ux);
    EXPECT_EQ(got[2].shape, std::string("line (0,0,0) ") + corner[0]);
    EXPECT_EQ(got[3].shape, std::string("line ") + corner[0] + " " + corner[1]);
    EXPECT_EQ(got[4].shape, std::string("line ") + corner[1] + " (0,0,0)");
    for (const seen& s : got) {
        EXPECT_EQ(s.record, "MULTILEADER");
        EXPECT_EQ(s.item, got[0].item);
        EXPECT_EQ(s.content, "Note\nTwo");
    }
    EXPECT_EQ(got[6].type, brevo::geometry::singlepoint);
    near(got[6].at, 10, 5);
    EXPECT_DOUBLE_EQ(got[6].info.height, 2.5);
    // Without texts: skipped as before.
    V skipped;
    EXPECT_TRUE(readtexts(testutil::entities(ml), ostra::notext, false, &skipped).empty());
    EXPECT_EQ(skipped, V{"MULTILEADER:1"});
}

}  // namespace

namespace {

// Values a record gets wrong: a height that is not a number takes the
// default, an attachment out of range is top left, an aligned text whose
// points are not finite is left text; nothing is left undefined.
TEST(TextRecords, BadValues) {
    seen s = onetext(text({"40", "nan", "41", "-1", "51", "inf", "72", "3", "11", "inf", "21", "0"}));
    EXPECT_DOUBLE_EQ(s.info.height, 2.5);
    near(s.info.xaxis, 2.5, 0);
    near(s.info.anchor, 0, 0);
    seen m = onetext({"0", "MTEXT", "8", "0", "40", "-3", "71", "99", "44", "nan", "41", "inf", "1", "x"});
    EXPECT_EQ(m.info.halign, 0);
    EXPECT_EQ(m.info.valign, 3);
    EXPECT_DOUBLE_EQ(m.info.width, 0);
    EXPECT_DOUBLE_EQ(m.info.linespacing, 1);
    // As strokes too, an aligned text whose second point is out of reach.
    auto strokes = readtexts(testutil::entities(text({"40", "nan", "72", "5", "11", "1e308", "21", "-1e308"})),
                             ostra::textstrokes);
    EXPECT_FALSE(strokes.empty());
    // A MULTILEADER of markers only, and one of a leader without lines.
    V ml = {"0", "MULTILEADER", "8", "0", "302", "LEADER{", "305", "}", "300", "CONTEXT_DATA{", "302", "LEADER{",
            "10", "nan", "20", "1", "30", "0", "304", "LEADER_LINE{", "305", "}", "303", "}", "171", "1e300",
            "301", "}"};
    auto got = readtexts(testutil::entities(ml), ostra::textstrokes);
    EXPECT_TRUE(got.empty());  // no text, no line
}

}  // namespace
