// Which boundary loops of a hatch are outer loops and which are holes, and
// which take part in the fill under the hatch style (75).
//
// The nesting comes from the geometry alone: a loop's depth is the number
// of other loops that contain it, tested at one point of the loop: the
// middle of its longest side moved inwards by a millionth of the side's
// length (so that a loop that shares a side with another one is tested
// just inside itself). Containment is the even-odd rule of each other
// loop's polygon at that point. The boundary path flags (92) are not used:
// "external" (1) and "outermost" (16) are set by the program that made the
// hatch by rules of its own (a loop picked from an object is external,
// whether it is an island or not) and are missing from files small
// programs write; a host gets them with the loop as read.
//
// The styles, for a loop of depth k:
//   0, odd parity ("normal"): every loop takes part; loops of even depth are
//      outer, odd depth holes. The area is the even-odd rule of all loops.
//   1, outermost: loops of depth 0 (outer) and 1 (holes) take part; deeper
//      islands are left out.
//   2, ignore: only loops of depth 0 take part, all outer; everything
//      inside them is filled.
// Any other style counts as 0. A loop that does not take part still gets
// outer for an even depth.
//
// Work: one sweep over the loops' sides (scanlines.h) with a line through
// each loop's test point, at most maxnestwork sides looked at in all. When
// that runs out the loops not yet tested get depth 0 and the result says
// so. Memory: the sides, and two entries per loop.
#ifndef OSTRA_SUPPORT_HATCHNESTING_H
#define OSTRA_SUPPORT_HATCHNESTING_H

#include <cstdint>
#include <vector>

#include "support/point2.h"

namespace ostra {

enum hatchstyle { stylenormal = 0, styleoutermost = 1, styleignore = 2 };

constexpr std::uint64_t maxnestwork = std::uint64_t(1) << 27;

struct loopnest {
    int depth = 0;       // how many other loops contain the loop
    bool outer = true;   // an outer loop, else a hole (even depth)
    bool filled = true;  // the loop takes part in the fill under the style
};

// One entry per polygon into out (cleared first). False when the work
// bound cut the test short.
bool nestloops(const std::vector<std::vector<point2>>& polygons, int style, std::vector<loopnest>& out);

// A point inside the polygon, near the middle of its longest side (the
// first point for a polygon without a side of positive length).
point2 testpoint(const std::vector<point2>& polygon);

// Twice the polygon's signed area, positive counterclockwise.
double doublearea(const std::vector<point2>& polygon);

}  // namespace ostra

#endif
