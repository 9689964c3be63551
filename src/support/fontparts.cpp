// The characters of the built-in font drawn from parts: glyphs of the font
// moved, scaled or turned, with strokes drawn here (bars, circles, a few
// letters of their own), and code points that another glyph draws. In font
// units; run after the accented letters, which some parts use.
#include <cmath>
#include <cstdio>

#include "support/fontgen.h"

namespace fontgen {

namespace {

enum partflags { plain = 0, turned = 1, dotless = 2, nostem = 4 };

struct part {
    unsigned code;
    double dx = 0, dy = 0, scale = 1;
    int flags = plain;
};

struct construction {
    unsigned code;
    double advance;  // below 0: as far as the parts reach
    std::vector<part> parts;
    std::vector<stroke> strokes;
};

// A superscript (up) or subscript digit.
construction smalldigit(unsigned code, char digit, bool up) {
    return {code, -1, {{unsigned(digit), 0, up ? 9.45 : -3, 0.55}}, {}};
}

construction fraction(unsigned code, char top, char bottom) {
    return {code, 22, {{unsigned(top), 1, 10.5, 0.5}, {unsigned(bottom), 11, 0, 0.5}}, {{{4, 1}, {18, 20}}}};
}

std::vector<construction> constructions() {
    std::vector<construction> c = {
        // Letters
        {0xDF, 19, {}, {{{4, 0}, {4, 15}, {5, 18}, {7, 20.5}, {10, 21}, {12, 20.5}, {13.5, 19}, {14, 17},
                         {13.5, 15}, {12, 13.5}, {9, 12.5}, {12, 12}, {14, 10.5}, {15, 8}, {15, 5}, {14, 2},
                         {12, 0.5}, {10, 0}, {8, 0.5}}}},
        {0xC6, 24, {}, {{{9, 21}, {1, 0}}, {{4, 7}, {9, 7}}, {{9, 21}, {9, 0}}, {{9, 21}, {22, 21}},
                        {{9, 11}, {17, 11}}, {{9, 0}, {22, 0}}}},
        {0xE6, 30, {{'a'}, {'e', 12}}, {}},
        {0x152, 34, {{'O'}, {'E', 15}}, {}},
        {0x153, 31, {{'o'}, {'e', 13}}, {}},
        {0x132, 24, {{'I'}, {'J', 8}}, {}},
        {0x133, 18, {{'i'}, {'j', 8}}, {}},
        {0x149, 24, {{'\''}, {'n', 5}}, {}},
        {0xDE, 21, {{'P', 0, -5, 1, nostem}}, {{{4, 21}, {4, 0}}}},
        {0xFE, 19, {{'p'}}, {{{4, 14}, {4, 21}}}},
        {0xF0, 18, {{0x3B4}}, {{{6, 15.5}, {13, 19.5}}}},
        {0xD0, 21, {{'D'}}, {{{1, 10.5}, {9, 10.5}}}},
        {0x110, 21, {{'D'}}, {{{1, 10.5}, {9, 10.5}}}},
        {0x111, 19, {{'d'}}, {{{11, 18}, {18, 18}}}},
        {0x126, 22, {{'H'}}, {{{1, 16}, {21, 16}}}},
        {0x127, 19, {{'h'}}, {{{1, 18}, {8, 18}}}},
        {0x166, 16, {{'T'}}, {{{5, 10}, {11, 10}}}},
        {0x167, 12, {{'t'}}, {{{2, 8}, {8, 8}}}},
        {0x141, 17, {{'L'}}, {{{1, 8}, {8, 13}}}},
        {0x142, 8, {{'l'}}, {{{1, 8}, {7, 14}}}},
        {0x131, 8, {{'i', 0, 0, 1, dotless}}, {}},
        {0x237, 10, {{'j', 0, 0, 1, dotless}}, {}},
        {0x13F, 17, {{'L'}}, {diamond(10, 10.5)}},
        {0x140, 12, {{'l'}}, {diamond(8, 10.5)}},
        {0x10F, 23, {{'d'}, {'\'', 13}}, {}},
        {0x13D, 17, {{'L'}, {'\'', 3}}, {}},
        {0x13E, 12, {{'l'}, {'\'', 2}}, {}},
        {0x165, 16, {{'t'}, {'\'', 8}}, {}},
        // Punctuation and symbols
        {0xA1, 10, {{'!', 0, 0, 1, turned}}, {}},
        {0xBF, 18, {{'?', 0, 0, 1, turned}}, {}},
        {0xA2, 18, {{'c'}}, {{{9, 17}, {9, -3}}}},
        {0xA3, 18, {}, {{{15, 18}, {14, 20}, {12, 21}, {10, 21}, {8, 20}, {7, 18}, {7, 3}, {6, 1}, {4, 0}, {16, 0}},
                        {{3, 11}, {12, 11}}}},
        {0xA5, 18, {{'Y'}}, {{{4, 8}, {14, 8}}, {{4, 4}, {14, 4}}}},
        {0xA6, 8, {}, {{{4, 25}, {4, 13}}, {{4, 5}, {4, -7}}}},
        {0xA9, 27, {{'C', 8.25, 5.25, 0.5}}, {circle(13.5, 10.5, 10.5, 24)}},
        {0xAE, 27, {{'R', 8, 5.25, 0.5}}, {circle(13.5, 10.5, 10.5, 24)}},
        {0xAB, 18, {{'<', 1, 2.5, 0.5}, {'<', 7, 2.5, 0.5}}, {}},
        {0xBB, 18, {{'>', -1, 2.5, 0.5}, {'>', 5, 2.5, 0.5}}, {}},
        {0xAC, 22, {}, {{{4, 12}, {18, 12}, {18, 6}}}},
        {0xA4, 20, {}, {circle(10, 10, 5, 12), {{13.5, 13.5}, {16, 16}}, {{6.5, 13.5}, {4, 16}},
                        {{6.5, 6.5}, {4, 4}}, {{13.5, 6.5}, {16, 4}}}},
        {0xA7, 17, {{'s', 0, 9, 0.75}, {'s', 3, -1, 0.75}}, {}},
        {0xAA, 12, {{'a', 0, 9.45, 0.55}}, {{{1.5, 7.5}, {9, 7.5}}}},
        {0xBA, 12, {{'o', 0, 9.45, 0.55}}, {{{1.5, 7.5}, {9, 7.5}}}},
        {0xB6, 18, {}, {{{10, 21}, {10, -4}}, {{14, 21}, {14, -4}},
                        {{16, 21}, {7, 21}, {4, 19.5}, {3, 17}, {4, 14.5}, {7, 13}, {10, 13}}}},
        {0xB1, 26, {}, {{{13, 19}, {13, 5}}, {{4, 12}, {22, 12}}, {{4, 2}, {22, 2}}}},
        {0xB7, 10, {}, {diamond(5, 7)}},
        {0xD7, 26, {}, {{{7, 3}, {19, 15}}, {{19, 3}, {7, 15}}}},
        {0xF7, 26, {}, {{{4, 9}, {22, 9}}, diamond(13, 15), diamond(13, 3)}},
        {0x2014, 26, {}, {{{0, 9}, {26, 9}}}},
        {0x201C, 15, {{'`'}, {'`', 5}}, {}},
        {0x201D, 15, {{'\''}, {'\'', 5}}, {}},
        {0x201E, 15, {{','}, {',', 5}}, {}},
        {0x2033, 15, {{'\''}, {'\'', 5}}, {}},
        {0x2022, 12, {}, {circle(6, 9, 2, 8), circle(6, 9, 1, 4)}},
        {0x2026, 26, {{'.'}, {'.', 8}, {'.', 16}}, {}},
        {0x20AC, 21, {{'C'}}, {{{1, 12.5}, {13, 12.5}}, {{1, 8.5}, {12, 8.5}}}},
        {0x2260, 26, {{'='}}, {{{8, 1}, {18, 17}}}},
        {0x2264, 24, {{'<', 2.4, 4, 0.8}}, {{{5.6, 0}, {18.4, 0}}}},
        {0x2265, 24, {{'>', 2.4, 4, 0.8}}, {{{5.6, 0}, {18.4, 0}}}},
        {0x2261, 26, {}, {{{4, 15}, {22, 15}}, {{4, 9}, {22, 9}}, {{4, 3}, {22, 3}}}},
        {0x2220, 26, {}, {{{20, 17}, {4, 0}, {22, 0}}}},
        fraction(0xBC, '1', '4'), fraction(0xBD, '1', '2'), fraction(0xBE, '3', '4'),
        smalldigit(0xB9, '1', true), smalldigit(0xB2, '2', true), smalldigit(0xB3, '3', true),
    };
    c.push_back(smalldigit(0x2070, '0', true));
    for (char d = '4'; d <= '9'; ++d) c.push_back(smalldigit(0x2070 + unsigned(d - '0'), d, true));
    for (char d = '0'; d <= '9'; ++d) c.push_back(smalldigit(0x2080 + unsigned(d - '0'), d, false));
    return c;
}

// Code points drawn by the glyph of another.
const unsigned aliases[][2] = {
    {0xA0, ' '},     {0xAD, '-'},     {0x2007, ' '},   {0x202F, ' '},   {0xB5, 0x3BC},  {0x3C2, 0x3C3},  {0x3D1, 0x3B8},
    {0x2126, 0x3A9}, {0x2206, 0x394}, {0x2010, '-'},   {0x2011, '-'},  {0x2012, '-'},   {0x2013, '-'},
    {0x2212, '-'},   {0x2018, '`'},   {0x2019, '\''},  {0x201A, ','},  {0x2032, '\''},  {0x2205, 0xD8},
    {0x2300, 0xD8},
};

std::vector<stroke> partstrokes(const glyph& g, int flags) {
    std::vector<stroke> out;
    for (std::size_t i = (flags & nostem) ? 1 : 0; i < g.strokes.size(); ++i) {
        stroke s = g.strokes[i];
        if (flags & dotless) {
            bool dot = true;
            for (const point& p : s) dot = dot && p.y > xheight + 0.5;
            if (dot) continue;
        }
        // Turned half round about the middle of the glyph's cell at the
        // x-height: a turned ! hangs from the x-height below the baseline.
        if (flags & turned)
            for (point& p : s) p = {g.advance - p.x, xheight - p.y};
        out.push_back(s);
    }
    return out;
}

}  // namespace

bool addparts(font& f) {
    for (const construction& c : constructions()) {
        glyph g;
        g.strokes = c.strokes;
        for (const part& p : c.parts) {
            auto found = f.find(p.code);
            if (found == f.end()) {
                std::fprintf(stderr, "fontgen: U+%04X is drawn from U+%04X, which the font lacks\n", c.code, p.code);
                return false;
            }
            for (stroke s : partstrokes(found->second, p.flags)) {
                for (point& q : s) q = {q.x * p.scale + p.dx, q.y * p.scale + p.dy};
                g.strokes.push_back(s);
            }
            g.advance = std::fmax(g.advance, p.dx + found->second.advance * p.scale);
        }
        if (c.advance >= 0) g.advance = c.advance;
        f[c.code] = g;
    }
    for (const auto& a : aliases) {
        auto found = f.find(a[1]);
        if (found == f.end()) {
            std::fprintf(stderr, "fontgen: U+%04X is drawn by U+%04X, which the font lacks\n", a[0], a[1]);
            return false;
        }
        f[a[0]] = found->second;
    }
    return true;
}

}  // namespace fontgen
