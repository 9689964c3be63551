// Exact tests on points and vectors shared by the reader, the writer and
// the curve code, and the arbitrary axis algorithm that gives an object
// coordinate system its axes.
#ifndef OSTRA_SUPPORT_VECTORS_H
#define OSTRA_SUPPORT_VECTORS_H

#include <cmath>

#include <brevo/types.h>

namespace ostra {

// Whether the points have equal coordinates (no tolerance).
inline bool samepoint(const brevo::point& a, const brevo::point& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

inline bool finite(const brevo::point& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
inline bool finite(const brevo::vector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// The x and y axes of the object coordinate system whose z axis is the unit
// vector n: x is (0, 1, 0) x n for an n within 1/64 of the z axis, otherwise
// (0, 0, 1) x n; y completes the right-handed frame.
inline void arbitraryaxes(const brevo::vector& n, brevo::vector& ax, brevo::vector& ay) {
    const double limit = 1.0 / 64;
    ax = (std::fabs(n.x) < limit && std::fabs(n.y) < limit ? brevo::vector(0, 1, 0) : brevo::vector(0, 0, 1)).cross(n);
    ax = ax.unit();
    ay = n.cross(ax).unit();
}

}  // namespace ostra

#endif
