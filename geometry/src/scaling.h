// Scaling by powers of two, which is exact: values scaled so that the
// largest magnitude among them lies in [1, 2) have squares and products that
// neither overflow nor underflow, and a length or a direction found from
// them scales back without error.
#ifndef BREVO_SRC_SCALING_H
#define BREVO_SRC_SCALING_H

#include <cmath>

#include <brevo/types.h>

namespace brevo {

// The larger of two magnitudes. Either may come out for a nan; a nan
// component makes every result nan whatever the scaling.
inline double larger(double a, double b) { return a > b ? a : b; }

inline double magnitude(const vector& v) {
    return larger(std::fabs(v.x), larger(std::fabs(v.y), std::fabs(v.z)));
}

// The power of two to scale by so that a largest magnitude m lies in [1, 2);
// 0 for m zero or not finite, whose values are left as they are. A value far
// below m may fall below the normal range once scaled: its square would be
// lost next to m's anyway.
inline int scaleexponent(double m) { return m > 0 && std::isfinite(m) ? -std::ilogb(m) : 0; }

inline vector scaledby(const vector& v, int e) {
    return vector(std::scalbn(v.x, e), std::scalbn(v.y, e), std::scalbn(v.z, e));
}

}  // namespace brevo

#endif
