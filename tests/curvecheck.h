// How closely geometry read back from a file matches what was written:
// arcs and circles as the points they cover, and a chain of arcs and
// segments against the elliptic arc it stands for.
#ifndef OSTRA_TESTS_CURVECHECK_H
#define OSTRA_TESTS_CURVECHECK_H

#include <vector>

#include <brevo/geometry.h>

namespace testutil {

// The largest difference, relative to the reach of a from the origin (at
// least 1), between centres, radii, normals (as the sine of their angle)
// and, for arcs, the ends and middles; an arc may run the other way round
// (from its end about the reversed normal) and a circle's normal may be
// reversed.
double arcdifference(const brevo::arc& a, const brevo::arc& b);
double circledifference(const brevo::circle& a, const brevo::circle& b);

struct chainfit {
    double fromellipse = 0;  // largest distance of a sampled point of the ellipse from the chain
    double fromchain = 0;    // largest distance of a sampled point of the chain from the ellipse
    double gap = 0;          // largest gap between pieces and at the ellipse's ends
    bool pieces = true;      // every piece is an arc or a segment
};

// The pieces may run either way (an arc written about a turned normal runs
// from its end); they are taken in order along the ellipse.
chainfit measurechain(const brevo::ellipse& e, const std::vector<brevo::geometry>& chain);

// The distance from p to the elliptic arc, found by a scan of the parameter
// refined around every nearly nearest sample.
double distancetoellipse(const brevo::point& p, const brevo::ellipse& e);

}  // namespace testutil

#endif
