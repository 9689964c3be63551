#include "reader/records/ocs.h"

#include <cmath>

#include "support/vectors.h"

namespace ostra {

using brevo::trafo;
using brevo::vector;

vector extrusion(const grouptable& t) {
    return vector(t.carried(210) ? t.number(210) : 0, t.carried(220) ? t.number(220) : 0,
                  t.carried(230) ? t.number(230) : 1);
}

trafo ocstrafo(const grouptable& t) {
    trafo r;
    // Without an extrusion direction the algorithm below gives exactly the
    // identity (every entry 1 or +0); most records carry none.
    if (!hasextrusion(t)) return r;
    vector n = extrusion(t);
    double l = n.length();
    if (!(l > 0) || !std::isfinite(l)) return r;  // no usable direction: world coordinates
    n = n.unit();
    vector ax, ay;
    arbitraryaxes(n, ax, ay);
    const vector cols[3] = {ax, ay, n};
    for (int j = 0; j < 3; ++j) {
        r.m[0][j] = cols[j].x;
        r.m[1][j] = cols[j].y;
        r.m[2][j] = cols[j].z;
    }
    return r;
}

}  // namespace ostra
