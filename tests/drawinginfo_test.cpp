// Beside the geometry: colours, source records and handles, header
// variables, the LAYER table and names in UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using testutil::dxf;
using testutil::memstream;
using S = std::vector<std::string>;

namespace {

// A drawing: a HEADER with the given variables, a LAYER table, blocks and
// entities.
std::string drawing(const S& header, const S& layers, const S& blocks, const S& ents) {
    S p = {"0", "SECTION", "2", "HEADER"};
    add(p, header);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER"});
    add(p, layers);
    add(p, {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "BLOCKS"});
    add(p, blocks);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, ents);
    add(p, {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

S layer(const std::string& name, const std::string& aci, const std::string& flags, const S& more = {}) {
    S p = {"0", "LAYER", "2", name, "70", flags, "62", aci, "6", "CONTINUOUS"};
    add(p, more);
    return p;
}

S line(const std::string& layername, const S& more = {}) {
    S p = {"0", "LINE", "8", layername, "10", "0", "11", "1"};
    add(p, more);
    return p;
}

// Each geometry's colour and index, record and handle, as "RRGGBB/aci
// RECORD handle"; the colour and index asked for at once are the same.
S properties(ostra::reader& r, bool exact = false) {
    r.setexact(exact);
    S got;
    brevo::geometry g;
    while (r.next(g)) {
        int aci = -2;
        EXPECT_EQ(r.currentcolor(aci), r.currentcolor());
        EXPECT_EQ(aci, r.currentaci());
        char c[16];
        std::snprintf(c, sizeof c, "%06X/%d", static_cast<unsigned>(r.currentcolor()), r.currentaci());
        got.push_back(std::string(c) + " " + r.currentrecord() + " " + r.currenthandle());
    }
    return got;
}

S properties(const std::string& text, bool exact = false) {
    memstream m(text);
    ostra::reader r(m.get());
    return properties(r, exact);
}

const S layers = [] {
    S p = layer("RED", "1", "0");
    add(p, layer("OFFBLUE", "-5", "0"));
    add(p, layer("FROZEN", "3", "1"));
    add(p, layer("TRUE", "2", "4", {"420", "1193046"}));  // 0x123456
    add(p, layer("BLUE", "5", "0"));
    return p;
}();

TEST(DrawingColour, IndexTrueColourByLayerAndOutOfRange) {
    S ents;
    add(ents, line("RED", {"5", "1A"}));                       // BYLAYER: red
    add(ents, line("RED", {"5", "1B", "62", "3"}));            // its own index: green
    add(ents, line("RED", {"420", "16744448"}));               // true colour only: 0xFF8000
    add(ents, line("OFFBLUE", {}));                            // an off layer keeps its colour
    add(ents, line("TRUE", {}));                               // the layer's true colour
    add(ents, line("NOENTRY", {"62", "256"}));                 // no LAYER entry: 7
    add(ents, line("RED", {"62", "300"}));                     // out of range: BYLAYER
    add(ents, line("RED", {"62", "-2"}));                      // out of range: BYLAYER
    add(ents, line("RED", {"62", "0"}));                       // BYBLOCK outside blocks: 7
    add(ents, line("RED", {"62", "250", "420", "255"}));       // both: the true colour wins
    memstream m(drawing({}, layers, {}, ents));
    ostra::reader r(m.get());
    EXPECT_EQ(r.currentcolor(), -1);
    EXPECT_EQ(r.currentaci(), -1);
    int aci = 0;
    EXPECT_EQ(r.currentcolor(aci), -1);
    EXPECT_EQ(aci, -1);
    EXPECT_EQ(r.currentrecord(), nullptr);
    EXPECT_EQ(properties(r), (S{"FF0000/1 LINE 1A", "00FF00/3 LINE 1B", "FF8000/0 LINE ", "0000FF/5 LINE ",
                                "123456/2 LINE ", "FFFFFF/7 LINE ", "FF0000/1 LINE ", "FF0000/1 LINE ",
                                "FFFFFF/7 LINE ", "0000FF/250 LINE "}));
    EXPECT_EQ(r.currentcolor(), -1);  // after the end: no geometry
}

// BYBLOCK takes the colour of the insert that places the entity; an insert
// that is BYBLOCK itself passes on the colour of the insert placing it, and
// one that is BYLAYER the colour of its own layer.
TEST(DrawingColour, ByBlockThroughNestedInserts) {
    S blocks = {"0", "BLOCK", "2", "INNER"};
    add(blocks, {"0", "ARC", "8", "0", "62", "0", "5", "A1", "40", "1", "50", "0", "51", "90"});
    add(blocks, {"0", "LINE", "8", "RED", "62", "256", "11", "1"});
    add(blocks, {"0", "ENDBLK", "0", "BLOCK", "2", "MIDDLE"});
    add(blocks, {"0", "INSERT", "2", "INNER", "62", "0"});      // BYBLOCK: what MIDDLE's insert says
    add(blocks, {"0", "INSERT", "2", "INNER", "8", "BLUE"});  // BYLAYER: blue
    add(blocks, {"0", "ENDBLK"});
    S ents = {"0", "INSERT", "2", "MIDDLE", "62", "6", "5", "FF"};  // magenta
    add(ents, {"0", "INSERT", "2", "MIDDLE", "420", "65280"});     // a true green
    for (bool exact : {false, true}) {
        EXPECT_EQ(properties(drawing({}, layers, blocks, ents), exact),
                  (S{"FF00FF/6 ARC A1", "FF0000/1 LINE ", "0000FF/5 ARC A1", "FF0000/1 LINE ",
                     "00FF00/0 ARC A1", "FF0000/1 LINE ", "0000FF/5 ARC A1", "FF0000/1 LINE "}));
    }
}

// The record and handle of polyline pieces are the polyline's, in both
// readings and both forms.
TEST(DrawingRecord, PolylinePiecesNameTheirPolyline) {
    S ents = {"0", "LWPOLYLINE", "5", "2C", "8", "RED", "62", "4", "70", "1",
              "10", "0", "20", "0", "10", "1", "20", "0", "10", "1", "20", "1"};
    add(ents, {"0", "POLYLINE", "5", "3D", "8", "RED", "62", "2", "70", "1", "0", "VERTEX", "5", "3E", "62", "5",
               "10", "0", "0", "VERTEX", "5", "3F", "10", "4", "0", "VERTEX", "10", "4", "20", "4", "0",
               "SEQEND", "5", "40"});
    const std::string lw = "00FFFF/4 LWPOLYLINE 2C", pl = "FFFF00/2 POLYLINE 3D";
    EXPECT_EQ(properties(drawing({}, layers, {}, ents)), (S{lw, lw, pl, pl, pl}));
    EXPECT_EQ(properties(drawing({}, layers, {}, ents), true), (S{lw, lw, lw, pl, pl, pl}));
}

TEST(DrawingHeader, VariablesAreKnownAfterTheFirstCall) {
    S header = {"9", "$ACADVER", "1", "AC1015", "9", "$INSUNITS", "70", "4", "9", "$EXTMIN", "10", "-1.5", "20",
                "2.25", "30", "0", "9", "$INSUNITS", "70", "1"};
    memstream m(drawing(header, {}, {}, line("0")));
    ostra::reader r(m.get());
    EXPECT_EQ(r.header("$INSUNITS"), nullptr);  // nothing read yet
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_STREQ(r.header("$ACADVER"), "AC1015");
    EXPECT_STREQ(r.header("$INSUNITS"), "4");  // the first one counts
    EXPECT_STREQ(r.header("$EXTMIN"), "-1.5");
    EXPECT_STREQ(r.header("$EXTMIN", 20), "2.25");
    EXPECT_STREQ(r.header("$EXTMIN", 30), "0");
    EXPECT_EQ(r.header("$EXTMIN", 11), nullptr);
    EXPECT_EQ(r.header("$EXTMAX"), nullptr);
    EXPECT_EQ(r.header(nullptr), nullptr);
}

TEST(DrawingLayers, EntriesWithColourFlagsAndLinetype) {
    memstream m(drawing({}, layers, {}, line("RED")));
    ostra::reader r(m.get());
    testutil::readall(r);
    int aci = 0, flags = 0;
    const char* linetype = nullptr;
    ASSERT_TRUE(r.layerinfo("OFFBLUE", aci, flags, linetype));
    EXPECT_EQ(aci, -5);  // off
    EXPECT_EQ(flags, 0);
    EXPECT_STREQ(linetype, "CONTINUOUS");
    ASSERT_TRUE(r.layerinfo("FROZEN", aci, flags));
    EXPECT_EQ(aci, 3);
    EXPECT_EQ(flags, 1);
    ASSERT_TRUE(r.layerinfo("TRUE", aci, flags));
    EXPECT_EQ(flags, 4);  // locked
    aci = flags = 99;
    EXPECT_FALSE(r.layerinfo("NOENTRY", aci, flags));
    EXPECT_FALSE(r.layerinfo("red", aci, flags));  // names are exact
    EXPECT_EQ(aci, 99);
    // The layers met keep their own enumeration: only RED was used.
    EXPECT_EQ(r.numlayer(), 1);
}

// ---------------------------------------------------------------------------
// Names in UTF-8.

// A cp1251 drawing: "Слой" (layer) and "Блок" (block) in cp1251 bytes.
const std::string sloy = "\xD1\xEB\xEE\xE9", blok = "\xC1\xEB\xEE\xEA";
const std::string sloyutf8 = "\xD0\xA1\xD0\xBB\xD0\xBE\xD0\xB9", blokutf8 = "\xD0\x91\xD0\xBB\xD0\xBE\xD0\xBA";

std::string cp1251drawing() {
    S header = {"9", "$ACADVER", "1", "AC1015", "9", "$DWGCODEPAGE", "3", "ANSI_1251", "9", "$PROJECTNAME", "1",
                sloy};
    S blocks = {"0", "BLOCK", "2", blok, "0", "CIRCLE", "8", sloy, "40", "1", "0", "ENDBLK"};
    S ents = line(sloy);
    add(ents, line("OTHER"));
    add(ents, {"0", "INSERT", "2", blok});
    return drawing(header, layer(sloy, "1", "0"), blocks, ents);
}

TEST(DrawingUtf8, CodePageNamesAndTheFilter) {
    memstream m(cp1251drawing());
    ostra::reader r(m.get());
    r.setutf8(true);
    r.setlayerfilter((sloyutf8 + ",NONE").c_str());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(std::string(r.currentlayer()), sloyutf8);
    EXPECT_EQ(std::string(r.header("$PROJECTNAME")), sloyutf8);
    ASSERT_TRUE(r.next(g));  // OTHER does not pass; the inserted circle does
    EXPECT_EQ(std::string(r.currentblock()), blokutf8);
    EXPECT_EQ(std::string(r.currentlayer()), sloyutf8);
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(std::string(r.firstblock()), blokutf8);
    EXPECT_EQ(std::string(r.firstlayer()), sloyutf8);
    int aci, flags;
    EXPECT_TRUE(r.layerinfo(sloyutf8.c_str(), aci, flags));
    EXPECT_FALSE(r.layerinfo(sloy.c_str(), aci, flags));
    // Without UTF-8 the names are the bytes read, and so is the filter.
    memstream raw(cp1251drawing());
    ostra::reader q(raw.get());
    q.setlayerfilter(sloy.c_str());
    ASSERT_TRUE(q.next(g));
    EXPECT_EQ(std::string(q.currentlayer()), sloy);
    EXPECT_TRUE(q.layerinfo(sloy.c_str(), aci, flags));
}

TEST(DrawingUtf8, EscapesLaterVersionsAndInvalidBytes) {
    struct named {
        const char* acadver;
        const char* codepage;
        std::string raw, utf8;
    };
    const named cases[] = {
        {"AC1015", "ANSI_1252", "A\\U+00C4\\U+20ACz", "A\xC3\x84\xE2\x82\xAC" "z"},  // escapes
        {"AC1015", "ANSI_1252", "\xC4pfel", "\xC3\x84pfel"},                          // cp1252
        {"AC1015", "ANSI_932", "\\M+182A0", "\xE3\x81\x82"},                         // Shift-JIS hiragana a
        {"AC1015", "ANSI_1252", "\\U+12G4\\U+", "\\U+12G4\\U+"},                     // no escape
        {"AC1021", "ANSI_1252", "\xC3\x84" "b\xFF" "c", "\xC3\x84" "b\xEF\xBF\xBD" "c"},  // UTF-8 and a bad byte
        {"AC1015", "ANSI_932", "\x82", "\xEF\xBF\xBD"},                               // cut double byte
        {"AC1015", "NOSUCHPAGE", "\xE9", "\xC3\xA9"},                                 // unknown: cp1252
    };
    for (const named& c : cases) {
        S header = {"9", "$ACADVER", "1", c.acadver, "9", "$DWGCODEPAGE", "3", c.codepage};
        memstream m(drawing(header, {}, {}, line(c.raw)));
        ostra::reader r(m.get());
        r.setutf8(true);
        brevo::geometry g;
        ASSERT_TRUE(r.next(g));
        EXPECT_EQ(std::string(r.currentlayer()), c.utf8) << c.raw;
    }
}

}  // namespace
