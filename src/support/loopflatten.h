// A boundary loop (hatchloop.h) as a closed polygon within a tolerance, and
// as the list of its pieces.
//
// The polygon: the polyline's vertices, or each edge's start, inner points
// and end in the order the edges are given, with the points of every arc,
// bulge and elliptic arc between them. Arcs are cut into equal angle steps
// such that no chord is farther than the tolerance from the curve: for the
// radius r (an ellipse's larger semi-axis) the step is 4 asin(sqrt(t / 2r)),
// and at most 90 degrees. Splines are the chains of splineflatten.h within
// the tolerance. A point equal to the one before it is left out, and so is
// a last point equal to the first; points that are not finite are left out.
// A gap between one edge's end and the next one's start becomes a straight
// side, so the polygon is closed whatever the data.
//
// The tolerance: one that is not positive and finite is replaced by
// defaultlooptolerance(); one below 2^-44 of the loop's largest coordinate
// is raised to that (below it, rounding rules the points).
//
// Bounds: a polygon has at most maxlooppoints points. A loop that needs
// more at the tolerance is flattened again with the tolerance 16 times
// larger, up to four times; if it still needs more, it is cut after
// maxlooppoints points (and closed by a straight side). The result says
// which happened. The work is at most five runs of maxlooppoints points,
// each point of a spline costing at most splinemaxdepth halvings.
#ifndef OSTRA_SUPPORT_LOOPFLATTEN_H
#define OSTRA_SUPPORT_LOOPFLATTEN_H

#include <cstddef>
#include <vector>

#include "support/hatchloop.h"

namespace ostra {

constexpr std::size_t maxlooppoints = std::size_t(1) << 20;

struct flattenresult {
    double tolerance = 0;   // the tolerance used in the end
    bool coarsened = false; // the tolerance was raised to keep within maxlooppoints
    bool truncated = false; // the polygon was cut at maxlooppoints
    int badedges = 0;       // edges or bulges left out for values that are not finite
};

// The smaller of 0.01 and 1/1000 of the diagonal of the box of the loop's
// points (vertices, edge ends, arc centres widened by their radius, elliptic
// arc centres widened by their major axis, spline control or fit points),
// as splines have it (defaulttolerance in splineflatten.h).
double defaultlooptolerance(const hatchloop& l);

// The polygon of l into out (cleared first).
flattenresult flattenloop(const hatchloop& l, double tolerance, std::vector<point2>& out);

// The pieces of l into out (cleared first), in the loop's order: a line for
// each straight polyline side and line edge, an arc for each bulge and arc
// edge, an elliptic arc for each elliptic edge, and line pieces along each
// spline's chain within the tolerance. The polyline's closing side is a
// piece too; gaps between edges are not filled in. Zero-length line pieces
// are left out. At most maxlooppoints pieces (the rest is left out and the
// result says truncated); splines are not coarsened.
flattenresult looppieces(const hatchloop& l, double tolerance, std::vector<hatchpiece>& out);

}  // namespace ostra

#endif
