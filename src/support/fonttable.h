// The table of the built-in single-stroke font. Its content is generated at
// build time (fontgen, from the Hershey fonts of Debian's hershey-fonts-data)
// into the build folder's fonttable.cpp and compiled into the library.
//
// Coordinates are in half font units: a font unit is 1/21 of the height of
// a capital letter, x runs from the glyph's origin (the pen position on the
// baseline) and y up from the baseline.
#ifndef OSTRA_SUPPORT_FONTTABLE_H
#define OSTRA_SUPPORT_FONTTABLE_H

#include <cstddef>
#include <cstdint>

namespace ostra {
namespace fonttable {

struct glyphrecord {
    std::uint32_t code;     // the Unicode code point
    std::uint32_t offset;   // its first coordinate pair in points
    std::uint16_t size;     // its coordinate pairs, the stroke ends included
    std::uint16_t advance;  // the pen's move to the next glyph, half units
};

// The x of the pair that ends a stroke (its y is 0).
constexpr int strokeend = -128;
// No stroke has more points.
constexpr std::size_t maxstrokepoints = 64;

extern const glyphrecord glyphs[];  // ordered by code point
extern const std::size_t glyphcount;
extern const signed char points[];  // x, y pairs

}  // namespace fonttable
}  // namespace ostra

#endif
