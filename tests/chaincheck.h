// How closely a chain of arcs and segments, as read back from a file,
// follows an elliptic arc.
#ifndef OSTRA_TESTS_CHAINCHECK_H
#define OSTRA_TESTS_CHAINCHECK_H

#include <vector>

#include <brevo/geometry.h>

namespace testutil {

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
