// Elliptic arcs as chains of circular arcs and straight segments, for a file
// format that has no ellipse record. Between two points of the curve a
// biarc (two circular arcs that meet with a common tangent and leave and
// reach the curve along its tangents) follows it closely; where a single
// chord is close enough it is used instead. A piece that is not within the
// target is halved.
#ifndef OSTRA_WRITER_ELLIPSEFIT_H
#define OSTRA_WRITER_ELLIPSEFIT_H

#include <brevo/curves.h>

namespace ostra {

// Takes the pieces of an approximation in order along the curve; returning
// false stops it.
class piecesink {
public:
    virtual bool piece(const brevo::arc& a) = 0;
    virtual bool segment(const brevo::lineseg& s) = 0;
    // The angle (radians) by which the plane of an arc with this normal may
    // turn on its way to the file. The sink is expected to keep each arc's
    // ends where they are, so that a piece moves by at most its chord times
    // this, and to keep the rounding of written numbers to the order of a
    // unit in their sixth decimal whatever an arc's radius.
    virtual double tilt(const brevo::vector& normal) const = 0;

protected:
    ~piecesink() = default;
};

// Whether every number that defines e is finite: only then can it be
// approximated.
bool approximable(const brevo::ellipse& e);

// How far the chain may stray from e: the smaller of 0.01 drawing units and
// 1/1000 of the diagonal of e's bounding box, but no finer than 1e-9 of that
// diagonal (which matters only for ellipses larger than 10^7 units, where a
// double cannot carry 0.01 through the arithmetic).
double ellipsetolerance(const brevo::ellipse& e);

// Hands out pieces that stay within half of ellipsetolerance(e) of e, from
// e.start() to e.end() (a parameter range beyond a full turn is cut to one).
// A biarc is used only where its chord times the sink's tilt stays within
// an eighth of the tolerance; an arc whose radius exceeds 10^12 times the
// tolerance (where a double no longer places its points within it) is given
// as a straight segment. The number of pieces is bounded whatever e is; e must
// be approximable. Returns false when out does.
bool approximateellipse(const brevo::ellipse& e, piecesink& out);

}  // namespace ostra

#endif
