// The built-in single-stroke font: the Hershey Roman simplex font (with its
// Greek simplex and a Cyrillic set), converted at build time from Debian's
// hershey-fonts-data into a table in the library (support/fonttable.h).
//
// It draws ASCII, the degree sign, the Greek and the Russian alphabets,
// Latin-1 Supplement and Latin Extended-A (the accented letters composed
// from the base letter and an accent; ĸ, Ŋ, ŋ and ſ only are missing), a few
// letters of other blocks (Romanian Ș Ț, Ё Й Ў, Greek with tonos) and the
// symbols text codes give (U+2205 diameter, ± °, superscript and subscript
// digits, fractions, × ÷ € © ® and typographic quotes and dashes).
//
// Font units: the height of a capital letter is 21 units (the text height),
// x runs from the glyph's origin on the baseline, y up.
#ifndef OSTRA_SUPPORT_STROKEFONT_H
#define OSTRA_SUPPORT_STROKEFONT_H

#include <cstddef>

#include "support/fonttable.h"

namespace ostra {

constexpr double fontcapheight = 21;  // a capital letter's height
constexpr double fontxheight = 14;    // a small letter's height
constexpr double fontdescent = 7;     // how far descenders reach below the baseline

// A character without a glyph is drawn as this box: a rectangle from
// (missingleft, 0) to (missingright, fontcapheight), advancing by
// missingadvance.
constexpr double missingleft = 2;
constexpr double missingright = 14;
constexpr double missingadvance = 16;

struct glyphview {
    char32_t code = 0;
    double advance = 0;                 // font units
    const signed char* data = nullptr;  // its strokes (fonttable.h)
    std::size_t size = 0;               // coordinate pairs at data
};

// The glyph of c; false when the font has none.
bool findglyph(char32_t c, glyphview& out);

// The font's glyphs in the order of their code points, i below fontsize().
std::size_t fontsize();
glyphview fontglyph(std::size_t i);

// The strokes of a glyph one after another.
class glyphstrokes {
public:
    explicit glyphstrokes(const glyphview& g = glyphview()) : g_(g) {}

    // Puts the next stroke's points (font units, x then y, at most
    // fonttable::maxstrokepoints) into xy and returns how many there are:
    // at least 2, and 0 after the last stroke.
    std::size_t next(double* xy);

private:
    glyphview g_;
    std::size_t at_ = 0;
};

}  // namespace ostra

#endif
