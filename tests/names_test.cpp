// Names in the exact reading: kept whole up to 255 chars (layers, LAYER
// entries, blocks, the filter), compared without regard to case through
// their UTF-8 form, and the default reading's 79-char rule beside them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dxfbinary.h"
#include "reader/records/grouptable.h"
#include "support/namekey.h"
#include "testutil.h"

using testutil::add;
using testutil::dxf;
using testutil::memstream;
using S = std::vector<std::string>;

namespace {

struct options {
    bool exact = true;
    bool utf8 = false;
    const char* filter = nullptr;
};

// What a reading shows of names: each geometry as "layer #RRGGBB" (and
// " in BLOCK" from a block), then "table:" and the layers met with counts.
S names(const std::string& text, const options& o) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(o.exact);
    r.setutf8(o.utf8);
    r.setlayerfilter(o.filter);
    S got;
    brevo::geometry g;
    while (r.next(g)) {
        char c[16];
        std::snprintf(c, sizeof c, " #%06X", static_cast<unsigned>(r.currentcolor()));
        got.push_back(std::string(r.currentlayer()) + c + (r.currentblock() ? std::string(" in ") + r.currentblock() : ""));
    }
    got.push_back("table:");
    int n;
    for (const char* l = r.firstlayer(n); l; l = r.nextlayer(n)) got.push_back(std::string(l) + ":" + std::to_string(n));
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    return got;
}

std::string drawing(const S& header, const S& layertable, const S& blocks, const S& ents) {
    S p;
    if (!header.empty()) add(p, {"0", "SECTION", "2", "HEADER"}), add(p, header), add(p, {"0", "ENDSEC"});
    add(p, {"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER"});
    add(p, layertable);
    add(p, {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "BLOCKS"});
    add(p, blocks);
    add(p, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, ents);
    add(p, {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

S layer(const std::string& name, const char* aci) { return {"0", "LAYER", "2", name, "70", "0", "62", aci, "6", "DASHED"}; }
S line(const std::string& on) { return {"0", "LINE", "8", on, "10", "0", "11", "1"}; }

// Two names alike in their first 79 chars: one red, one blue.
const std::string stem(79, 's');
const std::string red = stem + "-red", blue = stem + "-blue";

std::string twolongnames() {
    S table = layer(red, "1");
    add(table, layer(blue, "5"));
    S ents = line(red);
    add(ents, line(blue));
    add(ents, line(red));
    return drawing({}, table, {}, ents);
}

// ---------------------------------------------------------------------------
// The group table keeps whole values for the codes asked for.

TEST(NamesGroupTable, WholeValuesBesideTheSlot) {
    ostra::grouptable t;
    const std::string longer(300, 'w');
    ASSERT_TRUE(t.keepwhole(8, 255));
    t.store(8, longer.data(), 300);
    t.store(2, longer.data(), 300);  // not kept whole
    EXPECT_EQ(std::string(t.get(8)), longer.substr(0, 79));
    EXPECT_EQ(std::string(t.wholetext(8)), longer.substr(0, 255));
    EXPECT_EQ(std::string(t.wholetext(2)), longer.substr(0, 79));
    EXPECT_STREQ(t.wholetext(1100), "");
    // A later short value of the same code is the whole value again.
    t.store(8, "short", 5);
    EXPECT_STREQ(t.wholetext(8), "short");
    // A long number still reads from its 79 chars.
    const std::string digits = "1" + std::string(99, '0');
    ASSERT_TRUE(t.keepwhole(40, 511));
    t.store(40, digits.data(), 100);
    EXPECT_EQ(t.number(40), 1e78);
    EXPECT_EQ(std::string(t.wholetext(40)), digits);
    t.clearrecord();  // 40 is cleared at every record end
    EXPECT_STREQ(t.wholetext(40), "");
    // Up to eight codes at once; 0 ends one.
    for (int code : {1, 3, 6, 7, 9, 10}) EXPECT_TRUE(t.keepwhole(code, 250)) << code;
    EXPECT_FALSE(t.keepwhole(11, 250));
    EXPECT_TRUE(t.keepwhole(8, 0));
    EXPECT_TRUE(t.keepwhole(11, 250));
    t.store(8, longer.data(), 300);
    EXPECT_EQ(std::string(t.wholetext(8)), longer.substr(0, 79));
}

// ---------------------------------------------------------------------------
// Whole names.

TEST(NamesWhole, LayersThatDifferAfterChar79) {
    EXPECT_EQ(names(twolongnames(), {}),
              (S{red + " #FF0000", blue + " #0000FF", red + " #FF0000", "table:", red + ":1", blue + ":0"}));
    options o;
    o.filter = blue.c_str();
    EXPECT_EQ(names(twolongnames(), o), (S{blue + " #0000FF", "table:", red + ":1", blue + ":0"}));
    memstream m(twolongnames());
    ostra::reader r(m.get());
    r.setexact(true);
    testutil::readall(r);
    int aci, flags;
    const char* linetype;
    ASSERT_TRUE(r.layerinfo(blue.c_str(), aci, flags, linetype));
    EXPECT_EQ(aci, 5);
    EXPECT_FALSE(r.layerinfo(stem.c_str(), aci, flags));
}

// The default reading keeps its 79-char rule: one layer in the first
// entry's colour, and a filter with a whole name selects nothing.
TEST(NamesWhole, TheDefaultReadingKeeps79Chars) {
    options o;
    o.exact = false;
    EXPECT_EQ(names(twolongnames(), o), (S{stem + " #FF0000", stem + " #FF0000", stem + " #FF0000", "table:", stem + ":2"}));
    o.filter = blue.c_str();
    EXPECT_EQ(names(twolongnames(), o), (S{"table:", stem + ":2"}));
}

TEST(NamesWhole, BlockOf255CharsInsertedAndLongerNamesCut) {
    std::string name(254, 'b');
    name = "B" + name;  // 255 chars
    const std::string longer = name + "-beyond 255";
    S blocks = {"0", "BLOCK", "2", name, "3", name, "10", "0", "20", "0"};
    add(blocks, line("0"));
    add(blocks, {"0", "ENDBLK"});
    S ents = {"0", "INSERT", "8", red, "2", name, "10", "5"};
    add(ents, {"0", "INSERT", "8", blue, "2", longer, "10", "7"});  // its first 255 chars name the block
    add(ents, {"0", "INSERT", "8", blue, "2", name.substr(0, 79), "10", "9"});  // not the same name
    S table = layer(red, "1");
    add(table, layer(blue, "5"));
    const std::string text = drawing({}, table, blocks, ents);
    EXPECT_EQ(names(text, {}),
              (S{red + " #FF0000 in " + name, blue + " #0000FF in " + name, "table:", "0:0", red + ":0", blue + ":1"}));
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    testutil::readall(r);
    EXPECT_EQ(std::string(r.firstblock()), name);
    EXPECT_EQ(r.nextblock(), nullptr);
    // The default reading finds the block by its first 79 chars, all three
    // times.
    options o;
    o.exact = false;
    EXPECT_EQ(names(text, o).size(), 3u + 1 + 1);
}

// An insert kept in a block keeps its whole layer name: the entity on layer
// 0 inside it is drawn on that layer, in its colour.
TEST(NamesWhole, NestedInsertOnALongLayer) {
    S blocks = {"0", "BLOCK", "2", "INNER"};
    add(blocks, line("0"));
    add(blocks, {"0", "ENDBLK", "0", "BLOCK", "2", "OUTER", "0", "INSERT", "8", blue, "2", "INNER", "0", "ENDBLK"});
    S table = layer(red, "1");
    add(table, layer(blue, "5"));
    const std::string text = drawing({}, table, blocks, {"0", "INSERT", "8", red, "2", "OUTER"});
    EXPECT_EQ(names(text, {}), (S{blue + " #0000FF in INNER", "table:", "0:0", red + ":0", blue + ":0"}));
}

// A layer name of the binary form is as whole as one of the text form.
TEST(NamesWhole, BinaryDrawings) {
    std::string binary, error;
    ASSERT_TRUE(dxfbinary::convert(twolongnames(), dxfbinary::codewidth::two, binary, error)) << error;
    memstream m(binary);
    ostra::reader r(m.get());
    r.setexact(true);
    r.setlayerfilter(blue.c_str());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(std::string(r.currentlayer()), blue);
    EXPECT_EQ(r.currentcolor(), 0x0000FF);
    EXPECT_EQ(r.next(g), nullptr);
}

// ---------------------------------------------------------------------------
// Names without regard to case.

std::string cutdrawing() {
    S table = layer("CUT", "1");
    add(table, layer("cut", "5"));  // the same entry again: the first counts
    S blocks = {"0", "BLOCK", "2", "Door"};
    add(blocks, line("0"));
    add(blocks, {"0", "ENDBLK"});
    S ents = line("Cut");
    add(ents, line("CUT"));
    add(ents, line("Other"));
    add(ents, {"0", "INSERT", "8", "cUT", "2", "DOOR"});
    return drawing({}, table, blocks, ents);
}

TEST(NamesCase, OneLayerTheFirstSpellingAndTheFilter) {
    EXPECT_EQ(names(cutdrawing(), {}), (S{"Cut #FF0000", "Cut #FF0000", "Other #FFFFFF", "Cut #FF0000 in Door", "table:",
                                          "0:0", "Cut:2", "Other:0"}));
    options o;
    o.filter = "cut";
    EXPECT_EQ(names(cutdrawing(), o), (S{"Cut #FF0000", "Cut #FF0000", "Cut #FF0000 in Door", "table:", "0:0", "Cut:2",
                                         "Other:0"}));
    memstream m(cutdrawing());
    ostra::reader r(m.get());
    r.setexact(true);
    testutil::readall(r);
    int aci, flags;
    const char* linetype;
    for (const char* any : {"cut", "CUT", "cUt"}) {
        ASSERT_TRUE(r.layerinfo(any, aci, flags, linetype)) << any;
        EXPECT_EQ(aci, 1);
        EXPECT_STREQ(linetype, "DASHED");
    }
    EXPECT_FALSE(r.layerinfo("cu", aci, flags));
}

// What the LAYER table hides, it hides under every spelling.
TEST(NamesCase, FrozenAndOffLayersByAnyCase) {
    S table = {"0", "LAYER", "2", "Ice", "70", "1", "62", "4"};
    add(table, {"0", "LAYER", "2", blue, "70", "0", "62", "-5"});
    S ents = line("ICE");
    add(ents, line(stem + "-BLUE"));
    add(ents, line(stem + "-RED"));
    memstream m(drawing({}, table, {}, ents));
    ostra::reader r(m.get());
    r.setexact(true);
    EXPECT_EQ(testutil::readall(r).size(), 1u);
    int n = 0;
    ASSERT_STREQ(r.firstskipped(n), "*hiddenlayer");
    EXPECT_EQ(n, 2);
}

TEST(NamesCase, TheDefaultReadingComparesBytes) {
    options o;
    o.exact = false;
    EXPECT_EQ(names(cutdrawing(), o), (S{"Cut #FFFFFF", "CUT #FF0000", "Other #FFFFFF", "table:", "0:0", "Cut:0", "CUT:0",
                                         "Other:0"}));
    o.filter = "cut";
    EXPECT_EQ(names(cutdrawing(), o), (S{"table:", "0:0", "Cut:0", "CUT:0", "Other:0"}));
}

TEST(NamesCase, LettersBeyondAscii) {
    EXPECT_EQ(ostra::foldedname("abz AZ 09_"), "ABZ AZ 09_");
    EXPECT_EQ(ostra::foldedname("\xC3\xA4\xC3\xBF\xC3\xB7"), "\xC3\x84\xC5\xB8\xC3\xB7");      // ä ÿ ÷: Ä Ÿ ÷
    EXPECT_EQ(ostra::foldedname("\xC3\x9F\xC2\xB5"), "\xC3\x9F\xC2\xB5");                      // ß µ stay
    EXPECT_EQ(ostra::foldedname("\xC4\x81\xC4\xBA\xC5\xBE\xC4\xB1"), "\xC4\x80\xC4\xB9\xC5\xBD\xC4\xB1");  // ā ĺ ž: Ā Ĺ Ž; ı stays
    EXPECT_EQ(ostra::foldedname("\xCF\x82\xCF\x83\xCE\xAC\xCF\x8E"), "\xCE\xA3\xCE\xA3\xCE\x86\xCE\x8F");  // ς σ ά ώ
    EXPECT_EQ(ostra::foldedname("\xD1\x8F\xD1\x91"), "\xD0\xAF\xD0\x81");                      // я ё: Я Ё
    EXPECT_EQ(ostra::foldedname("\xE2\x82\xAC\xFF\xC3"), "\xE2\x82\xAC\xFF\xC3");              // € and bad bytes stay
}

// ---------------------------------------------------------------------------
// Names in several encodings.

const std::string groesse8 = "Gr\xC3\xB6\xC3\x9F" "e", groesse1252 = "Gr\xF6\xDF" "e";

// A drawing without a header: the same name in UTF-8 and in cp1252, and in
// capitals, on one layer.
TEST(NamesEncoding, HeaderlessUtf8AndCp1252AreOneLayer) {
    S ents = line(groesse8);
    add(ents, line(groesse1252));
    add(ents, line("GR\xC3\x96\xC3\x9F" "E"));
    const std::string text = drawing({}, layer(groesse1252, "3"), {}, ents);
    options o;
    o.utf8 = true;
    EXPECT_EQ(names(text, o), (S{groesse8 + " #00FF00", groesse8 + " #00FF00", groesse8 + " #00FF00", "table:",
                                 groesse8 + ":2"}));
    o.utf8 = false;  // the first spelling, as read
    EXPECT_EQ(names(text, o), (S{groesse8 + " #00FF00", groesse8 + " #00FF00", groesse8 + " #00FF00", "table:",
                                 groesse8 + ":2"}));
    o.filter = groesse1252.c_str();  // a name the host gives as the drawing does
    EXPECT_EQ(names(text, o).size(), 3u + 1 + 1);
    // The default reading keeps two layers; in UTF-8 they look alike.
    o = options();
    o.exact = false;
    o.utf8 = true;
    EXPECT_EQ(names(text, o), (S{groesse8 + " #FFFFFF", groesse8 + " #00FF00", "GR\xC3\x96\xC3\x9F" "E #FFFFFF", "table:",
                                 groesse8 + ":0", groesse8 + ":0", "GR\xC3\x96\xC3\x9F" "E:0"}));
}

// In a double-byte code page a second byte may look like an ASCII letter:
// "\x83\x41" and "\x83\x61" are two katakana (A and DI), and two layers.
TEST(NamesEncoding, DoubleBytesAreNotFoldedAsAscii) {
    const S header = {"9", "$ACADVER", "1", "AC1015", "9", "$DWGCODEPAGE", "3", "ANSI_932"};
    S ents = line("\x83\x41");
    add(ents, line("\x83\x61"));
    add(ents, line("a\\U+00C4"));  // an escape is the char it stands for
    add(ents, line("A\\U+00E4"));
    const std::string text = drawing(header, {}, {}, ents);
    options o;
    o.utf8 = true;
    EXPECT_EQ(names(text, o), (S{"\xE3\x82\xA2 #FFFFFF", "\xE3\x83\x82 #FFFFFF", "a\xC3\x84 #FFFFFF", "a\xC3\x84 #FFFFFF",
                                 "table:", "\xE3\x82\xA2:0", "\xE3\x83\x82:0", "a\xC3\x84:1"}));
}

}  // namespace
