// The plain text of TEXT and MTEXT content: every code, malformed input and
// the bound on the bytes decoded.
#include <gtest/gtest.h>

#include <string>

#include "support/textcontent.h"

using namespace ostra;

namespace {

// The plain text of stored in a drawing of the given version and code page.
std::string plain(const std::string& stored, textsyntax syntax, const char* acadver = "AC1021",
                  const char* codepage = nullptr) {
    textdecoder codec;
    codec.setsource(acadver, codepage);
    textcontent out;
    decodecontent(codec, stored.data(), stored.size(), syntax, out);
    return out.plain;
}

std::string text(const std::string& stored) { return plain(stored, textsyntax::singleline); }
std::string mtext(const std::string& stored) { return plain(stored, textsyntax::mtext); }

}  // namespace

TEST(TextContent, CaretEscapes) {
    EXPECT_EQ(text("a^Jb"), "a\nb");
    EXPECT_EQ(text("a^Ib"), "a\tb");
    EXPECT_EQ(text("a^Mb"), "a\nb");
    EXPECT_EQ(text("a^M^Jb"), "a\nb");  // one break
    EXPECT_EQ(text("a^J^Jb"), "a\n\nb");
    EXPECT_EQ(text("2^ 3"), "2^3");
    EXPECT_EQ(text("x^2"), "x^2");      // not an escape
    EXPECT_EQ(text("end^"), "end^");
    EXPECT_EQ(text("^@a^Gb^[c^_"), "abc");  // other control characters dropped
    EXPECT_EQ(mtext("a^Jb"), "a\nb");
    // Control bytes as they stand.
    EXPECT_EQ(text("a\tb\x01" "c\rd"), "a\tbc\nd");
    EXPECT_EQ(text(std::string("a\0b", 3)), "ab");
}

TEST(TextContent, PercentCodesOfSingleLineText) {
    EXPECT_EQ(text("%%c20"), "\u2205" "20");
    EXPECT_EQ(text("%%C20"), "\u2205" "20");
    EXPECT_EQ(text("90%%d"), "90\u00B0");
    EXPECT_EQ(text("%%p0.1"), "\u00B1" "0.1");
    EXPECT_EQ(text("100%%%"), "100%");
    EXPECT_EQ(text("%%uunder%%U %%oover%%O %%kstruck%%K"), "under over struck");
    EXPECT_EQ(text("%%065%%066"), "AB");
    EXPECT_EQ(text("%%010x"), "x");  // a control code gives nothing
    // Not codes: kept.
    EXPECT_EQ(text("%%"), "%%");
    EXPECT_EQ(text("%%1"), "%%1");
    EXPECT_EQ(text("%%12x"), "%%12x");
    EXPECT_EQ(text("%%x"), "%%x");
    EXPECT_EQ(text("5%"), "5%");
    EXPECT_EQ(text("%%%%"), "%%");  // a percent sign, then a lone %
}

TEST(TextContent, CodeNumbersFollowTheDrawingsEncoding) {
    // CP1252: 0xB0 is the degree sign, 0x80 the euro sign.
    EXPECT_EQ(plain("%%176 %%128", textsyntax::singleline, "AC1015", "ANSI_1252"), "\u00B0 \u20AC");
    // CP1251: 0xC0 is А.
    EXPECT_EQ(plain("%%192", textsyntax::singleline, "AC1015", "ANSI_1251"), "\u0410");
    // UTF-8 drawings: the Unicode code point.
    EXPECT_EQ(plain("%%176 %%192 %%937", textsyntax::singleline, "AC1021"), "\u00B0 \u00C0 \u03A9");
}

TEST(TextContent, UnicodeEscapes) {
    EXPECT_EQ(text("caf\\U+00E9"), "caf\u00E9");
    EXPECT_EQ(mtext("\\U+00B0C"), "\u00B0" "C");
    EXPECT_EQ(text("\\U+00E"), "\\U+00E");  // incomplete: kept
    EXPECT_EQ(text("\\U+D800x"), "\uFFFD" "x");
    // Shift-JIS 0x82A0 is あ.
    EXPECT_EQ(text("\\M+182A0"), "\u3042");
    EXPECT_EQ(text("\\M+682A0"), "\\M+682A0");
    // The character an escape gives is never read as a code.
    EXPECT_EQ(text("\\U+0025%d"), "%%d");
    EXPECT_EQ(mtext("\\U+005CP"), "\\P");
    // An escaped backslash of MTEXT comes before any escape.
    EXPECT_EQ(mtext("\\\\U+00B0"), "\\U+00B0");
}

TEST(TextContent, CodePagesAndInvalidBytes) {
    textdecoder codec;
    codec.setsource("AC1015", "ANSI_1251");
    textcontent out;
    const std::string stored = "\xCF\xF0\xE8 %%d";
    decodecontent(codec, stored.data(), stored.size(), textsyntax::singleline, out);
    EXPECT_EQ(out.raw, "\u041F\u0440\u0438 %%d");  // converted, codes kept
    EXPECT_EQ(out.plain, "\u041F\u0440\u0438 \u00B0");
    EXPECT_EQ(out.cut, 0u);
    EXPECT_EQ(text("a\xFF" "b"), "a\uFFFD" "b");
    // Shift-JIS: the second byte of 表 is 0x5C, a backslash in ASCII; it is
    // converted before any code is looked for.
    EXPECT_EQ(plain("\x95\x5CP", textsyntax::mtext, "AC1015", "ANSI_932"), "\u8868P");
}

TEST(TextContent, SingleLineTextHasNoMtextCodes) {
    EXPECT_EQ(text("a\\Pb{c}\\~"), "a\\Pb{c}\\~");
}

TEST(TextContent, MtextBreaksAndCharacters) {
    EXPECT_EQ(mtext("one\\Ptwo\\Xthree"), "one\ntwo\nthree");
    EXPECT_EQ(mtext("a\\~b"), "a\u00A0b");
    EXPECT_EQ(mtext("\\\\ \\{x\\}"), "\\ {x}");
    EXPECT_EQ(mtext("end\\P"), "end\n");
}

TEST(TextContent, MtextFormattingRemoved) {
    EXPECT_EQ(mtext("\\Lunder\\l \\Oover\\o \\Kstruck\\k"), "under over struck");
    EXPECT_EQ(mtext("{\\fArial|b1|i0|c0|p34;bold} {\\FROMANS.SHX;x}"), "bold x");
    EXPECT_EQ(mtext("\\H2.5x;big\\H1;"), "big");
    EXPECT_EQ(mtext("\\W0.8;\\Q15;\\T1.2;\\A1;\\C1;\\c16711680;\\pxi-3,l3,t4;x"), "x");
    EXPECT_EQ(mtext("{{a}b}c"), "abc");
    EXPECT_EQ(mtext("}a{b"), "ab");  // stray braces
}

TEST(TextContent, MtextStacks) {
    EXPECT_EQ(mtext("1\\S1/2;\""), "11/2\"");
    EXPECT_EQ(mtext("20\\S+0.1^-0.2;"), "20+0.1/-0.2");
    EXPECT_EQ(mtext("\\S1^ 2;"), "1/2");  // "^ " is how a caret is written
    EXPECT_EQ(mtext("\\Sa#b;c"), "a/bc");
    EXPECT_EQ(mtext("\\Sx;"), "x");
    EXPECT_EQ(mtext("\\S1\\#2#3;"), "1#2/3");
    EXPECT_EQ(mtext("\\S%%p1/2;"), "\u00B1" "1/2");
    EXPECT_EQ(mtext("\\S1/2"), "1/2");        // unterminated: to the end
    EXPECT_EQ(mtext("{\\S1/2}x"), "1/2x");    // or to a brace
    EXPECT_EQ(mtext("\\S"), "");
    EXPECT_EQ(mtext("\\S1/\\"), "1/");
}

TEST(TextContent, PercentCodesOfMtext) {
    EXPECT_EQ(mtext("%%c%%d%%p%%065"), "\u2205\u00B0\u00B1" "A");
    EXPECT_EQ(mtext("100%%% %%uu"), "100%%% %%uu");
}

TEST(TextContent, MalformedMtextCodes) {
    EXPECT_EQ(mtext("ab\\"), "ab\\");
    EXPECT_EQ(mtext("ab\\H"), "ab");
    EXPECT_EQ(mtext("ab\\H2"), "ab");           // argument to the end
    EXPECT_EQ(mtext("\\H2\\Px"), "\nx");        // or to the next code
    EXPECT_EQ(mtext("{\\C1}x"), "x");           // or to a brace
    EXPECT_EQ(mtext("\\z\\N\\U+12"), "\\z\\N\\U+12");  // unknown codes kept
    EXPECT_EQ(mtext("\\\xC3\xA9"), "\\\u00E9");
}

TEST(TextContent, RawKeepsEveryCode) {
    textdecoder codec;
    codec.setsource("AC1021", nullptr);
    textcontent out;
    const std::string stored = "{\\H2;a}\\P^J%%d\\U+00B0";
    decodecontent(codec, stored.data(), stored.size(), textsyntax::mtext, out);
    EXPECT_EQ(out.raw, stored);
    EXPECT_EQ(out.plain, "a\n\n\u00B0\u00B0");
}

TEST(TextContent, LongTextsAreCutAndTheStringsReused) {
    textdecoder codec;
    codec.setsource("AC1021", nullptr);
    textcontent out;
    std::string stored;
    for (int i = 0; i < 40000; ++i) stored += "\\H";
    stored += "tail";
    decodecontent(codec, stored.data(), stored.size(), textsyntax::mtext, out);
    EXPECT_EQ(out.cut, stored.size() - maxtextbytes);
    EXPECT_EQ(out.raw.size(), maxtextbytes);
    EXPECT_EQ(out.plain, "");
    // A character the bound cuts in two is U+FFFD.
    stored = "a" + std::string(maxtextbytes / 2, 'x');
    for (std::size_t i = 0; i < maxtextbytes / 4; ++i) stored += "\u00E9";
    decodecontent(codec, stored.data(), stored.size(), textsyntax::singleline, out);
    EXPECT_EQ(out.cut, 1u);
    EXPECT_EQ(out.plain.substr(out.plain.size() - 7), "\u00E9\u00E9\uFFFD");
    // The next text replaces the last.
    decodecontent(codec, "ok", 2, textsyntax::singleline, out);
    EXPECT_EQ(out.plain, "ok");
    EXPECT_EQ(out.raw, "ok");
    EXPECT_EQ(out.cut, 0u);
}
