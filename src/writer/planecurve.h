// An elliptic arc in its own plane: P(t) = (a cos t + bx sin t, by sin t)
// for the parameter t in degrees, in a frame whose origin is the centre and
// whose x axis runs along the major axis. by is never negative, so the curve
// runs counterclockwise about the frame's normal as t grows.
#ifndef OSTRA_WRITER_PLANECURVE_H
#define OSTRA_WRITER_PLANECURVE_H

#include <cmath>

#include <brevo/curves.h>

namespace ostra {

struct vec2 {
    double x = 0, y = 0;
};

inline vec2 operator+(vec2 a, vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline vec2 operator-(vec2 a, vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline vec2 operator*(vec2 a, double f) { return {a.x * f, a.y * f}; }
inline double dot(vec2 a, vec2 b) { return a.x * b.x + a.y * b.y; }
inline double cross(vec2 a, vec2 b) { return a.x * b.y - a.y * b.x; }
inline double length(vec2 a) { return std::hypot(a.x, a.y); }
// Turned a quarter counterclockwise.
inline vec2 perp(vec2 a) { return {-a.y, a.x}; }
// Of length 1; the zero vector stays zero.
inline vec2 unit(vec2 a) {
    const double l = length(a);
    return l > 0 ? a * (1 / l) : a;
}

class planecurve {
public:
    // The frame from the ellipse's major axis u and minor axis v: x along u,
    // y along the part of v perpendicular to u (or, when that is zero, along
    // normal x u).
    explicit planecurve(const brevo::ellipse& e);

    vec2 at(double t) const;
    // The unit tangent in the direction of growing t; zero where the curve
    // stands still (a flattened ellipse at its turning points).
    vec2 tangent(double t) const;
    brevo::point world(vec2 p) const;
    // The frame's normal, about which the curve runs counterclockwise.
    brevo::vector normal() const { return n_; }

    // An upper bound, exact up to rounding, of the distance of the curve
    // between ta and tb (at most 180 degrees apart) from the chord between
    // its ends.
    double chorderror(double ta, double tb) const;

private:
    brevo::point c_;
    brevo::vector e1_, e2_, n_;
    double a_ = 0, bx_ = 0, by_ = 0;
};

}  // namespace ostra

#endif
