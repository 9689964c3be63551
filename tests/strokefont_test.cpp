// The built-in font's table against the Hershey files it was converted from
// (read here on their own), its coverage and the composed characters.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/strokefont.h"

using namespace ostra;

namespace {

// Strokes in half font units.
using strokes = std::vector<std::vector<std::pair<int, int>>>;

struct shape {
    int advance = -1;  // half units
    strokes lines;
};

// The glyph in the font's table.
shape tableglyph(char32_t c) {
    shape s;
    glyphview g;
    if (!findglyph(c, g)) return s;
    s.advance = int(g.advance * 2);
    s.lines.emplace_back();
    for (std::size_t i = 0; i < g.size; ++i) {
        int x = g.data[2 * i], y = g.data[2 * i + 1];
        if (x == fonttable::strokeend) s.lines.emplace_back();
        else s.lines.back().emplace_back(x, y);
    }
    s.lines.pop_back();
    return s;
}

// Glyph slot (0 for the space) of a .jhf file of hershey-fonts-data: its
// left and right side the first pair, then the points, " R" lifting the pen;
// y runs down with the baseline at 9. Made half units, y up.
shape jhfglyph(const char* file, int slot) {
    std::ifstream in(std::string(OSTRA_HERSHEY_DIR) + "/" + file);
    std::string line;
    for (int i = 0; i <= slot; ++i) std::getline(in, line);
    shape s;
    int left = line[8] - 'R', right = line[9] - 'R';
    s.advance = 2 * (right - left);
    s.lines.emplace_back();
    for (std::size_t i = 10; i + 1 < line.size(); i += 2) {
        if (line[i] == ' ' && line[i + 1] == 'R') {
            s.lines.emplace_back();
            continue;
        }
        s.lines.back().emplace_back(2 * (line[i] - 'R' - left), 2 * (9 - (line[i + 1] - 'R')));
    }
    if (s.lines.back().empty()) s.lines.pop_back();
    return s;
}

void expectsame(char32_t c, const char* file, int slot) {
    shape a = tableglyph(c), b = jhfglyph(file, slot);
    EXPECT_EQ(a.advance, b.advance) << "U+" << std::hex << unsigned(c);
    EXPECT_EQ(a.lines, b.lines) << "U+" << std::hex << unsigned(c);
}

bool has(char32_t c) {
    glyphview g;
    return findglyph(c, g);
}

}  // namespace

TEST(StrokeFont, RomanSimplexGlyphsAsInTheirFile) {
    for (int slot = 0; slot < 95; ++slot) expectsame(char32_t(32 + slot), "rowmans.jhf", slot);
    expectsame(0xB0, "rowmans.jhf", 95);  // the degree sign
    // By hand: A is 18 units wide, its strokes /\ and the bar.
    EXPECT_EQ(tableglyph('A').advance, 36);
    EXPECT_EQ(tableglyph('A').lines, (strokes{{{18, 42}, {2, 0}}, {{18, 42}, {34, 0}}, {{8, 14}, {28, 14}}}));
    EXPECT_EQ(tableglyph(' ').advance, 32);
    EXPECT_TRUE(tableglyph(' ').lines.empty());
    EXPECT_EQ(tableglyph('i').advance, 16);
}

TEST(StrokeFont, GreekAndCyrillicLetters) {
    expectsame(0x391, "greeks.jhf", 33);  // Α on 'A'
    expectsame(0x3A3, "greeks.jhf", 50);  // Σ on 'R'
    expectsame(0x3A9, "greeks.jhf", 56);  // Ω on 'X'
    expectsame(0x3B1, "greeks.jhf", 65);  // α on 'a'
    expectsame(0x3C9, "greeks.jhf", 88);  // ω on 'x'
    expectsame(0x3BC, "greeks.jhf", 76);  // μ on 'l'
    EXPECT_EQ(tableglyph(0xB5).lines, tableglyph(0x3BC).lines);  // the micro sign
    // The Cyrillic file puts each letter on the key of its sound.
    const std::pair<char32_t, char> letters[] = {
        {0x410, 'A'}, {0x411, 'B'}, {0x412, 'V'}, {0x414, 'D'}, {0x415, '['}, {0x416, 'H'}, {0x418, 'I'},
        {0x426, '`'}, {0x427, 'J'}, {0x428, 'Q'}, {0x429, 'W'}, {0x42B, '$'}, {0x42D, 'C'}, {0x42E, 'U'},
        {0x42F, '^'}, {0x430, 'a'}, {0x435, '{'}, {0x439, 'e'}, {0x446, '%'}, {0x44A, '|'}, {0x44B, '&'},
        {0x44C, '~'}, {0x44F, '}'}};
    for (const auto& [code, key] : letters) expectsame(code, "cyrillic.jhf", key - 32);
}

TEST(StrokeFont, Coverage) {
    ASSERT_EQ(fontsize(), 500u);
    for (std::size_t i = 1; i < fontsize(); ++i) EXPECT_LT(fontglyph(i - 1).code, fontglyph(i).code);
    for (char32_t c = 32; c < 127; ++c) EXPECT_TRUE(has(c));
    for (char32_t c = 0xA0; c < 0x180; ++c)
        EXPECT_EQ(has(c), c != 0x138 && c != 0x14A && c != 0x14B && c != 0x17F) << std::hex << unsigned(c);
    for (char32_t c = 0x391; c <= 0x3C9; ++c) EXPECT_EQ(has(c), c != 0x3A2 && c != 0x3AA && c != 0x3AB && c != 0x3B0);
    for (char32_t c = 0x410; c < 0x450; ++c) EXPECT_TRUE(has(c));
    for (char32_t c : {0x401, 0x451, 0x2205, 0x2300, 0x20AC, 0x2013, 0x2014, 0x201C, 0x201D, 0x2026, 0x00B2})
        EXPECT_TRUE(has(c));
    EXPECT_FALSE(has(0x2603));
    EXPECT_FALSE(has(0));
    EXPECT_FALSE(has(0x10FFFF));
}

TEST(StrokeFont, AccentsComposed) {
    // é: e, then the acute centred on e's ink (3 to 15) two units above
    // its top (14).
    strokes e = tableglyph('e').lines;
    strokes expected = e;
    expected.push_back({{15, 32}, {21, 40}});
    EXPECT_EQ(tableglyph(0xE9).lines, expected);
    EXPECT_EQ(tableglyph(0xE9).advance, tableglyph('e').advance);
    // í: i loses its dot; the acute sits where the dot was (x 4).
    EXPECT_EQ(tableglyph(0xED).lines, (strokes{{{8, 28}, {8, 0}}, {{5, 32}, {11, 40}}}));
    // Ï: the diaeresis' dots above the capital height, 3 units to each side.
    strokes dots = tableglyph(0xCF).lines;
    ASSERT_EQ(dots.size(), 3u);
    EXPECT_EQ(dots[1], (std::vector<std::pair<int, int>>{{2, 50}, {0, 48}, {2, 46}, {4, 48}, {2, 50}}));
    // Å: a ring of radius 2 centred 4 units above the apex.
    EXPECT_EQ(tableglyph(0xC5).lines.back().front(), std::make_pair(22, 50));
    // ç: the cedilla hangs from the middle of c's ink (9) at the baseline.
    EXPECT_EQ(tableglyph(0xE7).lines.back()[0], std::make_pair(18, 0));
    EXPECT_EQ(tableglyph(0xE7).lines.back()[1], std::make_pair(18, -4));
    // ą: the ogonek hangs from a's right foot (15, 0).
    EXPECT_EQ(tableglyph(0x105).lines.back().front(), std::make_pair(30, 0));
    // Ø: a slash across O's ink (3 to 19, 0 to 21) and a unit beyond.
    EXPECT_EQ(tableglyph(0xD8).lines.back(), (std::vector<std::pair<int, int>>{{4, -2}, {40, 44}}));
    EXPECT_EQ(tableglyph(0x2205).lines, tableglyph(0xD8).lines);
    // Й: И with a breve; ľ: l and the font's apostrophe beside it, wider.
    strokes shorti = tableglyph(0x419).lines;
    shorti.pop_back();
    EXPECT_EQ(shorti, tableglyph(0x418).lines);
    EXPECT_EQ(tableglyph(0x13E).advance, 24);
    EXPECT_EQ(tableglyph(0x13E).lines.size(), 2u);
}

TEST(StrokeFont, GlyphStrokesInFontUnits) {
    glyphview g;
    ASSERT_TRUE(findglyph('T', g));
    glyphstrokes s(g);
    double xy[2 * fonttable::maxstrokepoints];
    ASSERT_EQ(s.next(xy), 2u);  // T: the stem, then the bar
    EXPECT_EQ(std::vector<double>(xy, xy + 4), (std::vector<double>{8, 21, 8, 0}));
    ASSERT_EQ(s.next(xy), 2u);
    EXPECT_EQ(std::vector<double>(xy, xy + 4), (std::vector<double>{1, 21, 15, 21}));
    EXPECT_EQ(s.next(xy), 0u);
    EXPECT_EQ(s.next(xy), 0u);
    EXPECT_EQ(g.advance, 16);
}
