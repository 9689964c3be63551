// The build-time converter of the Hershey fonts into the built-in font's
// table (a program of its own, run by the build; not part of the library).
#ifndef OSTRA_SUPPORT_FONTGEN_H
#define OSTRA_SUPPORT_FONTGEN_H

#include <map>
#include <vector>

namespace fontgen {

// Font units, x from the glyph's origin, y up from the baseline.
struct point {
    double x, y;
};
using stroke = std::vector<point>;

struct glyph {
    double advance = 0;
    std::vector<stroke> strokes;
};

// The glyphs by code point.
using font = std::map<unsigned, glyph>;

// The font's heights, in font units.
constexpr double capheight = 21;
constexpr double xheight = 14;

// Adds the characters made from the font's own glyphs: Latin letters with
// accents (fontmarks.cpp), then letters and symbols drawn from parts and
// other names of the font's glyphs (addparts, fontparts.cpp). Returns false,
// with a message on standard error, when a glyph it needs is missing.
bool addcomposed(font& f);
bool addparts(font& f);

// A dot as the font draws its dots (a diamond of radius 1), and a circle of
// n pieces.
stroke diamond(double x, double y);
stroke circle(double x, double y, double r, int n);

}  // namespace fontgen

#endif
