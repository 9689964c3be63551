// Arcs of boundary edges and bulges in one parametric form, and their pieces.
#include "support/hatchloop.h"

#include <cmath>

#include <brevo/types.h>

namespace ostra {

namespace {

const double degrees = 180 / 3.14159265358979323846;

// An angle in [0, 360).
double normalangle(double a) {
    a = std::fmod(a, 360);
    if (a < 0) a += 360;
    return a < 360 ? a : 0;
}

// The counterclockwise sweep from the stored start to the stored end
// angle, in (0, 360]: equal angles, or a difference of a full turn or more,
// give a full turn.
double storedsweep(double start, double end) {
    double d = end - start;
    if (!(std::fabs(d) < 360)) return 360;
    d = std::fmod(d, 360);
    return d > 0 ? d : d + 360;
}

point2 quarterturn(const point2& v) { return {-v.y, v.x}; }

}  // namespace

point2 arcpoint(const arcform& f, double t) {
    return f.centre + f.a * brevo::cosdeg(t) + f.b * brevo::sindeg(t);
}

bool edgearcform(const hatchedge& e, arcform& f) {
    double s = e.startangle, d = storedsweep(e.startangle, e.endangle);
    if (!finite(e.centre) || !std::isfinite(s) || !std::isfinite(e.endangle)) return false;
    f = arcform();
    f.centre = e.centre;
    f.t0 = e.ccw ? s : -s;
    f.sweep = e.ccw ? d : -d;
    if (e.kind == edgearc) {
        double r = std::fabs(e.radius);
        if (!std::isfinite(r)) return false;
        f.a = {r, 0};
        f.b = {0, r};
        return true;
    }
    double k = e.ratio;
    if (!finite(e.majoraxis) || !std::isfinite(k)) return false;
    f.circle = false;
    f.a = e.majoraxis;
    if (k < 0) {
        k = -k;
        f.t0 = -f.t0;
        f.sweep = -f.sweep;
    }
    f.b = quarterturn(f.a) * k;
    if (k > 1) {
        // a cos t + b sin t = b cos(t - 90) - a sin(t - 90)
        point2 a = f.a;
        f.a = f.b;
        f.b = a * -1;
        f.t0 -= 90;
    }
    return true;
}

bool bulgearcform(const point2& v0, const point2& v1, double b, arcform& f) {
    if (!(b != 0) || !std::isfinite(b) || v0 == v1) return false;
    point2 c = v1 - v0;
    double len = length(c);
    if (!(len > 0) || !std::isfinite(len)) return false;
    // The centre lies on the chord's perpendicular bisector, at the signed
    // distance len (1 - b^2) / (4 b) to the left of the chord; the radius is
    // len (1 + b^2) / (4 |b|).
    double h = (1 - b * b) / (4 * b), r = len * (1 + b * b) / (4 * std::fabs(b));
    f = arcform();
    f.centre = (v0 + v1) * 0.5 + quarterturn(c) * h;
    f.a = {r, 0};
    f.b = {0, r};
    point2 s = v0 - f.centre;
    f.t0 = std::atan2(s.y, s.x) * degrees;
    f.sweep = 4 * std::atan(b) * degrees;
    return finite(f.centre) && std::isfinite(r);
}

hatchpiece arcpiece(const arcform& f) {
    hatchpiece p;
    p.kind = f.circle ? piecearc : pieceellipse;
    p.start = arcpoint(f, f.t0);
    p.end = arcpoint(f, f.t0 + f.sweep);
    p.centre = f.centre;
    p.reversed = f.sweep < 0;
    p.sweep = std::fabs(f.sweep);
    p.startangle = normalangle(p.reversed ? f.t0 + f.sweep : f.t0);
    if (f.circle) {
        p.radius = length(f.a);
    } else {
        double aa = dot(f.a, f.a);
        p.majoraxis = f.a;
        p.ratio = aa > 0 ? length(f.b) / std::sqrt(aa) : 1;
    }
    return p;
}

}  // namespace ostra
