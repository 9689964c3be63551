// The cubic through a SPLINE's fit points, for splines without control
// points.
//
// The curve is the C2 cubic spline through the fit points with chord-length
// parameters (the parameter grows by the distance between consecutive fit
// points), so its derivative has length 1 at the fit points where no end
// condition says otherwise:
// - Fit points that are not finite give no curve. A fit point equal to the
//   one before it is dropped; fewer than two points left give no curve.
// - Open curves: a given end tangent that is finite and not zero sets the
//   derivative there to the tangent made length 1 (with the parameter scaled
//   to [0, 1], the tangent times the total chord length); without one the end
//   is natural (second derivative 0). Two fit points without tangents give
//   the straight segment; with tangents, the cubic with those end directions.
// - Closed curves (closed or periodic flag) through three or more points are
//   periodic: the curve returns to the first point with continuous first and
//   second derivatives, and tangents are ignored. A last fit point equal to
//   the first is dropped first. Two points left give the open curve.
// The result is in Bezier form: degree 3, one cubic piece per pair of
// consecutive fit points, interior knots 1, 2, ... each three times, so that
// every fit point is a piece end point.
#ifndef OSTRA_SUPPORT_SPLINEFIT_H
#define OSTRA_SUPPORT_SPLINEFIT_H

#include <vector>

#include "support/nurbs.h"

namespace ostra {

// Scratch memory of the interpolation, kept between curves.
struct fitwork {
    std::vector<brevo::point> points;
    std::vector<brevo::vector> derivs;  // right-hand sides, then derivatives
    std::vector<brevo::vector> chords;  // unit chord directions
    std::vector<double> lengths;        // chord lengths
    std::vector<double> pivots;         // elimination factors
    std::vector<double> fix;            // the periodic system's correction
};

// The interpolating cubic of d's fit points into c. False when they give no
// curve.
bool fitcurve(const splinedata& d, nurbscurve& c, fitwork& w);

}  // namespace ostra

#endif
