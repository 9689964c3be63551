#include "writer/objectframe.h"

#include <cmath>

#include "writer/record.h"
#include "support/vectors.h"

namespace ostra {

using brevo::point;
using brevo::vector;

namespace {

// Below the xy plane; in it, the half turned away from +y, then from +x.
bool pointsdown(const vector& n) {
    if (n.z != 0) return n.z < 0;
    if (n.y != 0) return n.y < 0;
    return n.x < 0;
}

}  // namespace

objectframe::objectframe(const vector& normal) {
    turned_ = pointsdown(normal);
    const vector n = turned_ ? normal * -1 : normal;
    n_ = vector(printed(n.x), printed(n.y), printed(n.z));
    const double l = n_.length();
    // A reader takes a direction it cannot use (zero or not finite) as +z.
    world_ = !(l > 0) || !std::isfinite(l) || (n_.x == 0 && n_.y == 0 && n_.z > 0);
    az_ = world_ ? vector(0, 0, 1) : n_.unit();
    tilt_ = n.unit().cross(az_).length();
    if (world_) return;
    arbitraryaxes(az_, ax_, ay_);
}

// The frame's axes are orthonormal: the inverse map is the transpose.
vector objectframe::toobject(const vector& v) const {
    if (world_) return v;
    return vector(ax_.dot(v), ay_.dot(v), az_.dot(v));
}

point objectframe::toobject(const point& p) const {
    const vector v = toobject(p - point(0, 0, 0));
    return point(v.x, v.y, v.z);
}

}  // namespace ostra
