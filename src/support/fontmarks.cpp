// The characters the built-in font composes from the Hershey glyphs: Latin
// letters with accents (the accents drawn here, or taken from the font's
// comma and quotes), a few letters and symbols put together from parts, and
// other code points drawn by an existing glyph. All in font units.
#include <cmath>
#include <cstdio>

#include "support/fontgen.h"

namespace fontgen {

namespace {

struct box {
    double xmin = 1e9, xmax = -1e9, ymin = 1e9, ymax = -1e9;
    bool empty() const { return xmin > xmax; }
};

box inkbox(const std::vector<stroke>& strokes) {
    box b;
    for (const stroke& s : strokes)
        for (const point& p : s) {
            b.xmin = std::fmin(b.xmin, p.x), b.xmax = std::fmax(b.xmax, p.x);
            b.ymin = std::fmin(b.ymin, p.y), b.ymax = std::fmax(b.ymax, p.y);
        }
    return b;
}

void addmoved(std::vector<stroke>& to, const std::vector<stroke>& from, double dx, double dy, double scale = 1) {
    for (const stroke& s : from) {
        stroke t;
        for (const point& p : s) t.push_back({p.x * scale + dx, p.y * scale + dy});
        to.push_back(t);
    }
}

// The accents. One above a letter has its origin at the middle of its foot,
// one below at the middle of the letter's baseline; the ogonek hangs from
// the letter's right foot and the slash crosses the whole letter.
enum mark { acute, grave, circumflex, caron, tilde, diaeresis, ring, macron, breve, dotabove, doubleacute,
            commaabove, cedilla, commabelow, ogonek, slash };

bool isabove(mark m) { return m <= commaabove; }

// The glyph's strokes moved so that the middle of their ink's foot (or of
// its top, with top) lies at (x, y).
std::vector<stroke> anchored(const glyph& g, double x, double y, bool top) {
    box b = inkbox(g.strokes);
    std::vector<stroke> out;
    addmoved(out, g.strokes, x - (b.xmin + b.xmax) / 2, y - (top ? b.ymax : b.ymin));
    return out;
}

std::vector<stroke> markstrokes(mark m, const font& f) {
    switch (m) {
    case acute: return {{{-1.5, 0}, {1.5, 4}}};
    case grave: return {{{1.5, 0}, {-1.5, 4}}};
    case circumflex: return {{{-3, 0}, {0, 3}, {3, 0}}};
    case caron: return {{{-3, 3}, {0, 0}, {3, 3}}};
    case tilde: return {{{-4, 0.5}, {-3, 2}, {-1.5, 2.5}, {1.5, 0.5}, {3, 1}, {4, 2.5}}};
    case diaeresis: return {diamond(-3, 1), diamond(3, 1)};
    case ring: return {circle(0, 2, 2, 8)};
    case macron: return {{{-4, 1}, {4, 1}}};
    case breve: return {{{-3.5, 3}, {-2.5, 1}, {-1, 0}, {1, 0}, {2.5, 1}, {3.5, 3}}};
    case dotabove: return {diamond(0, 1)};
    case doubleacute: return {{{-3, 0}, {-1, 4}}, {{1, 0}, {3, 4}}};
    case commaabove: return anchored(f.at('`'), 0, 0, false);
    case cedilla: return {{{0, 0}, {0, -2}, {2, -3}, {2, -4.5}, {0.5, -5.5}, {-1.5, -5.5}}};
    case commabelow: return anchored(f.at(','), 0, -1.5, true);
    case ogonek: return {{{0, 0}, {-1.5, -1.5}, {-2, -3}, {-1.5, -4.5}, {0, -5}, {1, -4.5}}};
    case slash: break;
    }
    return {};
}

// Drops the dot of i or j, giving the x of its middle.
double dropdot(glyph& g) {
    std::vector<stroke> kept, dot;
    for (const stroke& s : g.strokes) (inkbox({s}).ymin > xheight + 0.5 ? dot : kept).push_back(s);
    g.strokes = kept;
    box b = inkbox(dot);
    return (b.xmin + b.xmax) / 2;
}

glyph accented(const glyph& base, mark m, bool dotted, const font& f) {
    glyph g = base;
    box b = inkbox(base.strokes);
    std::vector<stroke> marks = markstrokes(m, f);
    if (m == slash) {
        g.strokes.push_back({{b.xmin - 1, b.ymin - 1}, {b.xmax + 1, b.ymax + 1}});
        return g;
    }
    double x = b.empty() ? base.advance / 2 : (b.xmin + b.xmax) / 2;
    double y = 0;
    if (isabove(m)) {
        if (dotted) x = dropdot(g);
        box rest = inkbox(g.strokes);
        y = (rest.empty() ? xheight : rest.ymax) + 2;
    } else if (m == ogonek && !b.empty()) {
        x = b.xmin;
        for (const stroke& s : base.strokes)
            for (const point& p : s)
                if (p.y <= 0.5) x = std::fmax(x, p.x);
    }
    addmoved(g.strokes, marks, x, y);
    box withmarks = inkbox(g.strokes);
    if (!b.empty()) g.advance = std::fmax(g.advance, withmarks.xmax + base.advance - b.xmax);
    return g;
}

struct accent {
    unsigned code, base;
    mark m;
};

// Latin-1 Supplement, Latin Extended-A (with the Romanian comma letters),
// Greek with tonos and dialytika, Cyrillic Ё Й Ў; base 0 is an empty
// glyph (the spacing accents).
const accent accents[] = {
    {0xC0, 'A', grave}, {0xC1, 'A', acute}, {0xC2, 'A', circumflex}, {0xC3, 'A', tilde}, {0xC4, 'A', diaeresis},
    {0xC5, 'A', ring}, {0xC7, 'C', cedilla}, {0xC8, 'E', grave}, {0xC9, 'E', acute}, {0xCA, 'E', circumflex},
    {0xCB, 'E', diaeresis}, {0xCC, 'I', grave}, {0xCD, 'I', acute}, {0xCE, 'I', circumflex}, {0xCF, 'I', diaeresis},
    {0xD1, 'N', tilde}, {0xD2, 'O', grave}, {0xD3, 'O', acute}, {0xD4, 'O', circumflex}, {0xD5, 'O', tilde},
    {0xD6, 'O', diaeresis}, {0xD8, 'O', slash}, {0xD9, 'U', grave}, {0xDA, 'U', acute}, {0xDB, 'U', circumflex},
    {0xDC, 'U', diaeresis}, {0xDD, 'Y', acute}, {0xE0, 'a', grave}, {0xE1, 'a', acute}, {0xE2, 'a', circumflex},
    {0xE3, 'a', tilde}, {0xE4, 'a', diaeresis}, {0xE5, 'a', ring}, {0xE7, 'c', cedilla}, {0xE8, 'e', grave},
    {0xE9, 'e', acute}, {0xEA, 'e', circumflex}, {0xEB, 'e', diaeresis}, {0xEC, 'i', grave}, {0xED, 'i', acute},
    {0xEE, 'i', circumflex}, {0xEF, 'i', diaeresis}, {0xF1, 'n', tilde}, {0xF2, 'o', grave}, {0xF3, 'o', acute},
    {0xF4, 'o', circumflex}, {0xF5, 'o', tilde}, {0xF6, 'o', diaeresis}, {0xF8, 'o', slash}, {0xF9, 'u', grave},
    {0xFA, 'u', acute}, {0xFB, 'u', circumflex}, {0xFC, 'u', diaeresis}, {0xFD, 'y', acute}, {0xFF, 'y', diaeresis},
    {0x100, 'A', macron}, {0x101, 'a', macron}, {0x102, 'A', breve}, {0x103, 'a', breve}, {0x104, 'A', ogonek},
    {0x105, 'a', ogonek}, {0x106, 'C', acute}, {0x107, 'c', acute}, {0x108, 'C', circumflex},
    {0x109, 'c', circumflex}, {0x10A, 'C', dotabove}, {0x10B, 'c', dotabove}, {0x10C, 'C', caron},
    {0x10D, 'c', caron}, {0x10E, 'D', caron}, {0x112, 'E', macron}, {0x113, 'e', macron}, {0x114, 'E', breve},
    {0x115, 'e', breve}, {0x116, 'E', dotabove}, {0x117, 'e', dotabove}, {0x118, 'E', ogonek}, {0x119, 'e', ogonek},
    {0x11A, 'E', caron}, {0x11B, 'e', caron}, {0x11C, 'G', circumflex}, {0x11D, 'g', circumflex},
    {0x11E, 'G', breve}, {0x11F, 'g', breve}, {0x120, 'G', dotabove}, {0x121, 'g', dotabove},
    {0x122, 'G', commabelow}, {0x123, 'g', commaabove}, {0x124, 'H', circumflex}, {0x125, 'h', circumflex},
    {0x128, 'I', tilde}, {0x129, 'i', tilde}, {0x12A, 'I', macron}, {0x12B, 'i', macron}, {0x12C, 'I', breve},
    {0x12D, 'i', breve}, {0x12E, 'I', ogonek}, {0x12F, 'i', ogonek}, {0x130, 'I', dotabove},
    {0x134, 'J', circumflex}, {0x135, 'j', circumflex}, {0x136, 'K', commabelow}, {0x137, 'k', commabelow},
    {0x139, 'L', acute}, {0x13A, 'l', acute}, {0x13B, 'L', commabelow}, {0x13C, 'l', commabelow},
    {0x143, 'N', acute}, {0x144, 'n', acute}, {0x145, 'N', commabelow}, {0x146, 'n', commabelow},
    {0x147, 'N', caron}, {0x148, 'n', caron}, {0x14C, 'O', macron}, {0x14D, 'o', macron}, {0x14E, 'O', breve},
    {0x14F, 'o', breve}, {0x150, 'O', doubleacute}, {0x151, 'o', doubleacute}, {0x154, 'R', acute},
    {0x155, 'r', acute}, {0x156, 'R', commabelow}, {0x157, 'r', commabelow}, {0x158, 'R', caron},
    {0x159, 'r', caron}, {0x15A, 'S', acute}, {0x15B, 's', acute}, {0x15C, 'S', circumflex},
    {0x15D, 's', circumflex}, {0x15E, 'S', cedilla}, {0x15F, 's', cedilla}, {0x160, 'S', caron},
    {0x161, 's', caron}, {0x162, 'T', cedilla}, {0x163, 't', cedilla}, {0x164, 'T', caron}, {0x168, 'U', tilde},
    {0x169, 'u', tilde}, {0x16A, 'U', macron}, {0x16B, 'u', macron}, {0x16C, 'U', breve}, {0x16D, 'u', breve},
    {0x16E, 'U', ring}, {0x16F, 'u', ring}, {0x170, 'U', doubleacute}, {0x171, 'u', doubleacute},
    {0x172, 'U', ogonek}, {0x173, 'u', ogonek}, {0x174, 'W', circumflex}, {0x175, 'w', circumflex},
    {0x176, 'Y', circumflex}, {0x177, 'y', circumflex}, {0x178, 'Y', diaeresis}, {0x179, 'Z', acute},
    {0x17A, 'z', acute}, {0x17B, 'Z', dotabove}, {0x17C, 'z', dotabove}, {0x17D, 'Z', caron}, {0x17E, 'z', caron},
    {0x218, 'S', commabelow}, {0x219, 's', commabelow}, {0x21A, 'T', commabelow}, {0x21B, 't', commabelow},
    {0x3AC, 0x3B1, acute}, {0x3AD, 0x3B5, acute}, {0x3AE, 0x3B7, acute}, {0x3AF, 0x3B9, acute},
    {0x3CC, 0x3BF, acute}, {0x3CD, 0x3C5, acute}, {0x3CE, 0x3C9, acute}, {0x3CA, 0x3B9, diaeresis},
    {0x3CB, 0x3C5, diaeresis}, {0x401, 0x415, diaeresis}, {0x451, 0x435, diaeresis}, {0x419, 0x418, breve},
    {0x40E, 0x423, breve}, {0x45E, 0x443, breve}, {0xB4, 0, acute}, {0xA8, 0, diaeresis}, {0xAF, 0, macron},
    {0xB8, 0, cedilla}, {0x2C6, 0, circumflex}, {0x2C7, 0, caron}, {0x2D8, 0, breve}, {0x2D9, 0, dotabove},
    {0x2DA, 0, ring}, {0x2DB, 0, ogonek}, {0x2DC, 0, tilde}, {0x2DD, 0, doubleacute},
};

bool need(const font& f, unsigned code) {
    if (f.count(code)) return true;
    std::fprintf(stderr, "fontgen: the composed characters need U+%04X, which the font lacks\n", code);
    return false;
}

}  // namespace

stroke diamond(double x, double y) { return {{x, y + 1}, {x - 1, y}, {x, y - 1}, {x + 1, y}, {x, y + 1}}; }

stroke circle(double x, double y, double r, int n) {
    const double pi = 3.14159265358979323846;
    stroke s;
    for (int i = 0; i <= n; ++i) {
        double a = 2 * pi * i / n;
        s.push_back({x + r * std::cos(a), y + r * std::sin(a)});
    }
    return s;
}

bool addcomposed(font& f) {
    for (unsigned c : {unsigned('`'), unsigned(','), unsigned('\'')})
        if (!need(f, c)) return false;
    glyph empty;
    empty.advance = 10;
    for (const accent& a : accents) {
        if (a.base != 0 && !need(f, a.base)) return false;
        const glyph& base = a.base ? f.at(a.base) : empty;
        f[a.code] = accented(base, a.m, a.base == 'i' || a.base == 'j', f);
    }
    return addparts(f);
}

}  // namespace fontgen
