// The boundary paths of the hatch preset: loops of each kind a HATCH
// record holds, inscribed in a box so that a smaller box inside gives a
// loop inside.
#ifndef OSTRA_BENCH_HATCHPATHS_H
#define OSTRA_BENCH_HATCHPATHS_H

#include <vector>

#include "dxfpresets.h"

namespace dxfgen {

enum class loopshape {
    rectangle,     // polyline path, no bulges
    bulged,        // polyline path, two sides bowed inwards by bulges
    rounded,       // edge path: lines and quarter arcs
    ellipse,       // edge path: one full elliptic arc, upright in an upright box
    halfellipse,   // edge path: an elliptic arc over half a turn and the line that closes it
    spline,        // edge path: one closed clamped cubic spline, a third rational
    periodic,      // edge path: one closed periodic cubic spline
    fitted,        // edge path: a spline with fit points and end tangents, then three lines
    circle,        // edge path: one arc over a full turn
};
constexpr int loopshapes = 9;

// Writes one boundary path (92 ... 97) of the shape inscribed in the box
// of centre c and half sizes a, b; flags are or-ed into 92 (polyline paths
// add 2 themselves). Returns the vertices or edges written.
int writeloop(sink& s, rng& r, loopshape shape, xy c, double a, double b, int flags);

// The control points of the clamped cubic through the points q with the
// end tangents t0 and t1, with chord-length parameters; knots gets the
// knot vector. Used for the spline edges given by fit points.
std::vector<xy> interpolate(const std::vector<xy>& q, xy t0, xy t1, std::vector<double>& knots);

}  // namespace dxfgen

#endif
