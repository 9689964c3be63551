// A boundary path of a HATCH (or MPOLYGON) in the hatch's 2D object
// coordinates, as read, and the pieces a host gets for it.
//
// A path has one of two forms (92 bit 2 says which): a polyline (vertices
// 10/20 with bulges 42) or a list of edges (72: line, circular arc,
// elliptic arc, spline). A hatch boundary is an area, so a loop is always
// taken as closed: the polyline's closed flag (73) is not looked at, the
// last vertex joins the first, and an edge path's last edge joins its first.
//
// Arcs and elliptic arcs: 50/51 are degrees (for an elliptic arc, its
// parameter angle, as ELLIPSE's 41/42 are in radians) and 73 says whether
// the edge runs counterclockwise. A clockwise edge (73 = 0) is stored with
// its angles mirrored: 50 is 360 minus the angle where it starts and 51 360
// minus the angle where it ends, so that 50 to 51 counterclockwise is the
// mirror image of the edge. The edge runs from the angle -50 clockwise by
// the same sweep (51 - 50 reduced to (0, 360]; equal angles, or 51 - 50 of
// 360 or more, give a full turn). For example 50 = 270, 51 = 360 with
// 73 = 0 runs from 90 degrees clockwise to 0.
//
// Bulges: the bulge b from one vertex to the next is the tangent of a
// quarter of the arc's included angle, counterclockwise when positive; a
// bulge that is zero or not finite gives a straight piece.
#ifndef OSTRA_SUPPORT_HATCHLOOP_H
#define OSTRA_SUPPORT_HATCHLOOP_H

#include <vector>

#include "support/nurbs.h"
#include "support/point2.h"

namespace ostra {

enum hatchedgekind { edgeline = 1, edgearc = 2, edgeellipse = 3, edgespline = 4 };

struct hatchedge {
    int kind = edgeline;     // 72
    point2 start, end;       // line: 10/20 and 11/21
    point2 centre;           // arc, elliptic arc: 10/20
    double radius = 0;       // arc: 40
    point2 majoraxis;        // elliptic arc: 11/21, the major axis's end relative to the centre
    double ratio = 1;        // elliptic arc: 40, the minor axis's length over the major's
    double startangle = 0;   // arc, elliptic arc: 50, degrees as stored
    double endangle = 360;   // 51
    bool ccw = true;         // 73
    int spline = -1;         // spline: its index in hatchloop::splines
};

// A boundary path. A spline edge's data (94 degree, 73 rational, 74
// periodic, 40 knots, 10/20 control points, 42 weights, 11/21 fit points,
// 12/22 and 13/23 tangents) goes into splinedata as SPLINE's does, with z 0;
// the rational flag is implied by the weights (nurbs.h).
struct hatchloop {
    int flags = 0;                  // 92, handed through
    bool polyline = false;          // the polyline form (92 bit 2)
    std::vector<point2> vertices;   // polyline: 10/20
    std::vector<double> bulges;     // polyline: 42, one per vertex, or empty
    std::vector<hatchedge> edges;   // edge form
    std::vector<splinedata> splines;
};

// A circular or elliptic arc as a loop runs through it: the points
// centre + a cos t + b sin t for t from t0 to t0 + sweep (degrees; sweep
// negative where the loop runs clockwise). For a circle a = (r, 0) and
// b = (0, r); for an ellipse a is the major axis and b the minor one, a
// turned a quarter counterclockwise and scaled by the ratio.
struct arcform {
    point2 centre, a, b;
    double t0 = 0, sweep = 0;
    bool circle = true;
};

// Exact at multiples of 90 degrees (brevo::cosdeg, brevo::sindeg).
point2 arcpoint(const arcform& f, double t);

// The arc of an arc or elliptic arc edge; false when a value is not finite.
// A negative radius counts as its magnitude. An elliptic arc's ratio is made
// positive (the parameters change sign) and at most 1 (the axes swap: the
// minor axis becomes the major one and the parameters shift by 90 degrees),
// so that its piece is an ELLIPSE's.
bool edgearcform(const hatchedge& e, arcform& f);

// The arc from v0 to v1 of bulge b; false when the piece is straight (b zero
// or not finite, or v0 equal to v1).
bool bulgearcform(const point2& v0, const point2& v1, double b, arcform& f);

// A piece of a loop for a host: lines stay lines, arcs and bulges arcs,
// elliptic arcs elliptic arcs; a spline becomes line pieces (loopflatten.h).
enum hatchpiecekind { pieceline = 1, piecearc = 2, pieceellipse = 3 };

struct hatchpiece {
    int kind = pieceline;
    point2 start, end;       // where the loop enters and leaves the piece
    point2 centre;           // arc, ellipse
    double radius = 0;       // arc
    point2 majoraxis;        // ellipse, relative to the centre
    double ratio = 1;        // ellipse
    double startangle = 0;   // degrees in [0, 360), counterclockwise from the x axis (ellipse: parameter)
    double sweep = 0;        // degrees in (0, 360], counterclockwise from startangle
    bool reversed = false;   // the loop runs the other way: from startangle + sweep back to startangle
};

// The piece of an arc form: an arc for a circle's, else an elliptic arc. A
// piece of zero radius or zero major axis is still given.
hatchpiece arcpiece(const arcform& f);

}  // namespace ostra

#endif
