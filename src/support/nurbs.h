// The curve of a SPLINE's control data: degree, knots and weights made
// usable, and the Bezier form of each knot span.
//
// Control data that does not fit the standard B-spline definition is read so:
// - A degree below 1 or above maxsplinedegree gives no curve. A degree of n or
//   more for n control points is lowered to n - 1, and the knots are rebuilt.
// - Fewer than two control points, a coordinate or weight that is not finite,
//   or control points that all coincide give no curve.
// - The weights count when there is one per control point, whatever the
//   rational flag says; otherwise all weights are 1. All weights alike, or all
//   negative, give the same curve as weights 1 and positive weights. Weights
//   are scaled by a power of two to put the largest magnitude near 1; one
//   smaller than the largest by a factor beyond the double range (about
//   1e-308) becomes 0.
// - The knots are taken as given when there are n + degree + 1 of them, all
//   finite, non-decreasing, with knots[degree] < knots[n] and a finite
//   difference between the last and the first. Otherwise they are rebuilt:
//   * closed or periodic, with n + 1 knots that would pass the same checks:
//     those knots are one period; the first degree control points are
//     appended again and the knots continued periodically;
//   * closed or periodic otherwise: when the last degree control points
//     repeat the first ones, the points are taken as wrapped already and get
//     the knots 0, 1, 2, ...; when the first control point equals the last,
//     clamped uniform knots; else the first degree points are appended again
//     with the knots 0, 1, 2, ... (a uniform periodic curve);
//   * open: clamped uniform knots 0 (degree + 1 times), 1, 2, ..., n - degree
//     (degree + 1 times).
// The curve runs over [knots[degree], knots[n]] (n after any wrapping).
#ifndef OSTRA_SUPPORT_NURBS_H
#define OSTRA_SUPPORT_NURBS_H

#include <cstddef>
#include <vector>

#include <brevo/types.h>

namespace ostra {

// A SPLINE's data as read.
struct splinedata {
    int degree = 3;
    std::vector<double> knots;           // group 40
    std::vector<brevo::point> control;   // groups 10/20/30
    std::vector<double> weights;         // group 41
    bool closed = false;                 // flag bit 1
    bool periodic = false;               // flag bit 2
    std::vector<brevo::point> fit;       // groups 11/21/31, used without control points
    bool hasstarttangent = false, hasendtangent = false;
    brevo::vector starttangent, endtangent;  // groups 12/22/32 and 13/23/33
};

constexpr int maxsplinedegree = 25;

// A usable curve: control.size() + degree + 1 finite, non-decreasing knots,
// at least one span of positive length, finite control points and weights.
struct nurbscurve {
    int degree = 0;
    std::vector<brevo::point> control;
    std::vector<double> weights;  // one per control point, or empty for all 1
    std::vector<double> knots;
    double extent = 0;  // the largest magnitude of a control point coordinate
};

// A point in homogeneous form: (w x, w y, w z, w).
struct hpoint {
    double x, y, z, w;
};

inline hpoint lerp(const hpoint& a, const hpoint& b, double t) {
    double s = 1 - t;
    return {s * a.x + t * b.x, s * a.y + t * b.y, s * a.z + t * b.z, s * a.w + t * b.w};
}

// Takes the control points, weights and knots of d into c (d's vectors are
// left empty) and makes them usable as described above. False when they
// give no curve.
bool makecurve(splinedata& d, nurbscurve& c);

// Checks the control points of c (all finite, not all alike) and sets its
// extent. Weights are not looked at.
bool checkcontrol(nurbscurve& c);

// The degree + 1 Bezier points of span k of c (knots[k] < knots[k+1],
// degree <= k < control.size()) in homogeneous form, coordinates multiplied
// by scale, into out.
void bezierspan(const nurbscurve& c, std::size_t k, double scale, hpoint* out);

// The point at t in [0, 1] of the Bezier piece q of the given degree;
// work holds degree + 1 points.
hpoint bezierat(const hpoint* q, int degree, double t, hpoint* work);

}  // namespace ostra

#endif
