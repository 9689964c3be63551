// The pattern lines of a hatch, clipped to its area.
//
// A pattern is a list of line families (53, 43/44, 45/46, 79, 49). In a
// HATCH these are stored as the hatch draws them: the pattern's angle (52)
// and scale (41) are applied already, so the family's angle is the line
// direction in the hatch's object coordinates, base point and offset are
// rotated and scaled, and the dash lengths are scaled (a double hatch, 77,
// is stored as its second family). Nothing here applies 52 or 41 again.
//
// A family's lines pass through base + k offset for every integer k, in
// the direction of the angle. Each line is cut by the area: the even-odd
// rule over the loops that take part (hatchnesting.h), so a span runs from
// one crossing with a loop to the next. The dashes then run along the line
// from the point base + k offset, where the first dash length begins: a
// dash (> 0) is drawn, a gap (< 0) is not, and a dot (0) is a segment whose
// two ends are the same point. Dashes are cut at the ends of each span. A
// family without dash lengths draws solid lines; one with only gaps draws
// nothing.
//
// Bounds, with D the diagonal of the box of the area (the loops that take
// part):
// - a family whose lines lie closer than minpatternspacing D apart, or
//   whose dash period (the sum of the dash lengths' magnitudes) is shorter
//   than minpatternspacing D, is not drawn; nor is one with a value that is
//   not finite. So a family has at most 1 / minpatternspacing + 1 lines
//   and each span at most that many periods.
// - at most maxpatternsegments segments in all; when the next one would be
//   one too many, drawing stops.
// - at most maxpatternwork units of work in all (each side sorted, added,
//   dropped or met by a line, each crossing sorted and each dash length
//   looked at counts one); when that runs out, drawing stops.
// What is left out is counted: the families not drawn and their lines, and
// after a stop the lines not drawn to their end (the rest of the family in
// progress, counted from its sides, and every later family, counted from
// the area's box).
#ifndef OSTRA_SUPPORT_HATCHPATTERN_H
#define OSTRA_SUPPORT_HATCHPATTERN_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/hatchnesting.h"
#include "support/point2.h"

namespace ostra {

constexpr double minpatternspacing = 1e-4;
constexpr std::size_t maxpatternsegments = 1000000;
constexpr std::uint64_t maxpatternwork = std::uint64_t(1) << 28;

struct patternfamily {
    double angle = 0;             // 53, degrees
    point2 base;                  // 43/44
    point2 offset;                // 45/46
    std::vector<double> dashes;   // 49
};

struct patternsegment {
    point2 a, b;  // a == b: a dot
};

struct patternresult {
    std::vector<patternsegment> segments;
    int omittedfamilies = 0;           // families not drawn: too dense, too fine, or not finite
    std::uint64_t omittedlines = 0;    // lines of those families, and lines not drawn after a stop
    bool stopped = false;              // the segment cap or the work bound stopped the drawing
};

// The pattern lines of the families over the area of the polygons (the
// loops' polygons) whose nest entry says filled (all of them when nest is
// empty), into out (cleared first).
void patternlines(const std::vector<std::vector<point2>>& polygons, const std::vector<loopnest>& nest,
                  const std::vector<patternfamily>& families, patternresult& out);

}  // namespace ostra

#endif
