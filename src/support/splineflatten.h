// A SPLINE as a chain of line segments, one vertex at a time.
//
// The curve comes from the control points (nurbs.h says how degree, knots
// and weights are made usable) or, without control points, from the fit
// points (splinefit.h). Each knot span of positive length is turned into its
// Bezier piece and cut in halves in homogeneous coordinates (de Casteljau at
// parameter 1/2) until the control points of every piece lie within the
// tolerance of the segment between its end points; the piece's end point is
// then the next vertex. With positive weights a piece lies in the convex hull
// of its control points, so the whole curve lies within the tolerance of the
// chain, and every vertex is a point of the curve (up to rounding). The
// chain starts at the curve's start and ends at its end; a vertex equal to
// the one before it is left out, and one that is not finite (a point at
// infinity of a curve with weights of both signs) too.
//
// Spans whose Bezier weights are not all positive have no such hull: they
// are sampled at splinesamples equal parameter steps instead, with no bound
// on the deviation.
//
// The tolerance is raised to 2^-44 times the largest control point
// coordinate where it is smaller; below that, rounding rules the chain.
//
// Bounds on the work: a span is cut into at most 2^splinemaxdepth pieces,
// and all spans together into at most splinebudget + S pieces for S spans of
// positive length. Each span may take the budget left less a reserve for
// every later span (8 pieces each, or the budget left per span where that is
// less; at least 1 piece), rounded down to a power of two. So no span is
// limited by the budget unless the whole curve needs more, and the later
// spans then keep a few pieces each. A chain has at most splinebudget + 2 S
// vertices (S is at most the number of control points, after wrapping for
// closed curves; one start vertex per span may be added where the curve
// jumps at a knot of full multiplicity). Where a limit decides, the
// tolerance is no longer guaranteed. Memory: the spline's own data, the fit
// scratch and a stack of splinemaxdepth + 2 pieces of degree + 1 points; no
// list of vertices.
#ifndef OSTRA_SUPPORT_SPLINEFLATTEN_H
#define OSTRA_SUPPORT_SPLINEFLATTEN_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/nurbs.h"
#include "support/splinefit.h"

namespace ostra {

constexpr int splinemaxdepth = 20;
constexpr std::uint64_t splinebudget = std::uint64_t(1) << 24;
constexpr int splinesamples = 128;

class splineflattener {
public:
    // Prepares the chain of d within tolerance (drawing units; one that is
    // not positive and finite is replaced by defaulttolerance(d)). Takes the
    // control points, weights and knots out of d (d's vectors are left
    // empty); the fit points stay. False when d gives no curve.
    bool start(splinedata& d, double tolerance);
    // The next vertex of the chain: the first call gives the curve's start
    // point, the last its end point; false after that.
    bool nextvertex(brevo::point& p);
    // The vertices looked at so far, given out or left out (repeated, or not
    // finite): a measure of the work done.
    std::uint64_t looked() const { return looked_; }

private:
    bool loadspan();
    bool nextpiece(brevo::point& p);
    bool nextsample(brevo::point& p);
    bool emit(const hpoint& h, brevo::point& out);
    bool flat(const hpoint* q) const;
    void split(hpoint* q, hpoint* left) const;
    brevo::point project(const hpoint& h) const;
    hpoint* slot(int i) { return stack_.data() + static_cast<std::size_t>(i) * (degree_ + 1); }

    nurbscurve curve_;
    fitwork fitwork_;
    std::vector<hpoint> stack_;
    int depth_[splinemaxdepth + 2] = {};
    int top_ = 0;            // pieces on the stack
    int degree_ = 0;
    int cap_ = 0;            // depth limit of the current span
    int samples_ = 0;        // sampled span: its sample count, else 0
    int sample_ = 0;         // the next sample
    std::size_t span_ = 0;   // the next span to look at
    std::size_t spansleft_ = 0;
    std::uint64_t budget_ = 0;  // pieces the spans not yet loaded may take
    std::uint64_t used_ = 0;    // pieces of the current span
    double tol_ = 0, tol2_ = 0;  // tol2_: squared, in scaled coordinates
    double scale_ = 1, unscale_ = 1;
    bool rational_ = false;
    bool pendingstart_ = false;  // the current span's start is the next vertex
    bool haslast_ = false;
    bool done_ = true;
    std::uint64_t looked_ = 0;
    brevo::point last_;
};

// The smaller of 0.01 and 1/1000 of the diagonal of the bounding box of the
// control points (of the fit points without control points); points that
// are not finite are left out, and a box of zero or infinite size gives 0.01.
double defaulttolerance(const splinedata& d);

}  // namespace ostra

#endif
