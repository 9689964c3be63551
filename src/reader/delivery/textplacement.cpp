#include "reader/delivery/textplacement.h"

#include <cmath>

namespace ostra {

double rotationof(const brevo::vector& v) {
    if (v.x == 0 && v.y == 0) return 0;
    return std::atan2(v.y, v.x) * 180 / M_PI;
}

const textinfo* placetext(const textinfo& t, const brevo::trafo& m, textinfo& out) {
    out = t;
    out.anchor = m.apply(t.anchor);
    out.second = m.apply(t.second);
    out.xaxis = m.apply(t.xaxis);
    out.yaxis = m.apply(t.yaxis);
    const double before = t.xaxis.length();
    const double after = out.xaxis.length();
    const brevo::vector e1 = out.xaxis.unit();
    const brevo::vector up = out.yaxis - e1 * out.yaxis.dot(e1);
    out.height = up.length();
    if (before > 0) out.width = t.width * after / before;
    out.rotation = rotationof(out.xaxis);
    return &out;
}

}  // namespace ostra
