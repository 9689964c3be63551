// The geometry value and its transformation.
#include <brevo/geometry.h>

#include <cmath>

#include "scaling.h"

namespace brevo {

geometry::geometry() : type_(none), ls_() {}
geometry::geometry(const point& p) : type_(singlepoint), pt_(p) {}
geometry::geometry(const lineseg& s) : type_(linesegment), ls_(s) {}
geometry::geometry(const arc& a) : type_(circulararc), ar_(a) {}
geometry::geometry(const circle& c) : type_(fullcircle), cr_(c) {}
geometry::geometry(const ellipse& e) : type_(ellipticarc), el_(e) {}

void geometry::setinvalid() { type_ = none; }
bool geometry::invalid() const { return type_ == none; }
bool geometry::isof(const geotype& t) const { return type_ == t; }
geometry::geotype geometry::type() const { return type_; }

const point* geometry::pt() const { return type_ == singlepoint ? &pt_ : nullptr; }
const lineseg* geometry::lns() const { return type_ == linesegment ? &ls_ : nullptr; }
const arc* geometry::ar() const { return type_ == circulararc ? &ar_ : nullptr; }
const circle* geometry::cr() const { return type_ == fullcircle ? &cr_ : nullptr; }
const ellipse* geometry::el() const { return type_ == ellipticarc ? &el_ : nullptr; }

namespace {

const double pi = 3.14159265358979323846;

// Any unit vector perpendicular to n.
vector perpendicular(const vector& n) {
    vector a = std::fabs(n.x) < 0.9 ? vector(1, 0, 0) : vector(0, 1, 0);
    return a.cross(n).unit();
}

// The normal of a plane after t, oriented so that a mirror reverses it: the
// cofactor matrix of t's linear part applied to n. Needs no division, so a
// flattening (zero) scale is harmless; falls back to n when t collapses the
// plane entirely. The linear part is scaled by a power of two first, which
// leaves the direction as it is and keeps the products finite.
vector mapnormal(const trafo& t, const vector& n) {
    double big = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) big = larger(big, std::fabs(t.m[i][j]));
    int e = scaleexponent(big);
    double m[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = std::scalbn(t.m[i][j], e);
    double c[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            c[i][j] = m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1];
        }
    vector r(c[0][0] * n.x + c[0][1] * n.y + c[0][2] * n.z,
             c[1][0] * n.x + c[1][1] * n.y + c[1][2] * n.z,
             c[2][0] * n.x + c[2][1] * n.y + c[2][2] * n.z);
    double l = r.length();
    return l > 0 && std::isfinite(l) ? r.unit() : n;
}

// A curve given as c + u cos(p) + v sin(p), p in degrees, after the
// transformation: either still circular (u and v orthogonal and of equal
// length) or an ellipse with its principal axes found.
struct mappedconic {
    point c;
    vector u, v, n;
    bool circular;
    double shift;  // degrees to subtract from every parameter (ellipse only)
};

// The decision, the principal axes and the normal depend on the shape only:
// they are found from u and v scaled by a common power of two, so that the
// squared lengths and cross products neither overflow nor underflow however
// large or small the curve is. For curves of ordinary size the scaled
// results are the unscaled ones times a power of two, bit for bit.
mappedconic mapconic(const trafo& t, const point& c, const vector& u, const vector& v,
                     const vector& n) {
    mappedconic r;
    r.c = t.apply(c);
    r.u = t.apply(u);
    r.v = t.apply(v);
    r.shift = 0;
    int e = scaleexponent(larger(magnitude(r.u), magnitude(r.v)));
    vector su = scaledby(r.u, e), sv = scaledby(r.v, e);
    double uu = su.dot(su), vv = sv.dot(sv), uv = su.dot(sv);
    const double eps = 1e-9;
    double big = uu > vv ? uu : vv;
    r.circular = std::fabs(uu - vv) <= eps * big && std::fabs(uv) <= eps * big;
    if (!r.circular) {
        // Principal axes: the parameter t0 where |u cos t + v sin t| is largest.
        double t0 = 0.5 * std::atan2(2 * uv, uu - vv);
        double ct = std::cos(t0), st = std::sin(t0);
        vector a = r.u * ct + r.v * st;
        vector b = r.v * ct - r.u * st;
        r.u = a;
        r.v = b;
        r.shift = t0 * 180.0 / pi;
        vector sa = su * ct + sv * st;
        sv = sv * ct - su * st;
        su = sa;
    }
    vector cr = su.cross(sv);
    double l = cr.length();
    r.n = l > 0 && std::isfinite(l) ? cr.unit() : mapnormal(t, n);
    return r;
}

geometry toellipse(const mappedconic& k, double p0, double p1) {
    double lu = k.u.length(), lv = k.v.length();
    double ratio = lu > 0 ? lv / lu : 0;
    if (ratio > 1) ratio = 1;
    return geometry(ellipse(k.c, k.n, k.u, ratio, p0 - k.shift, p1 - k.shift));
}

}  // namespace

geometry geometry::operator*(const trafo& t) const {
    switch (type_) {
    case singlepoint:
        return geometry(t.apply(pt_));
    case linesegment:
        return geometry(lineseg(t.apply(ls_.start()), t.apply(ls_.end())));
    case fullcircle: {
        vector u = perpendicular(cr_.normal()) * cr_.radius();
        vector v = cr_.normal().cross(u);
        mappedconic k = mapconic(t, cr_.center(), u, v, cr_.normal());
        if (k.circular) return geometry(circle(k.c, k.n, k.u.length()));
        return toellipse(k, 0, 360);
    }
    case circulararc: {
        vector u = ar_.start() - ar_.center();
        vector v = ar_.normal().cross(u);
        mappedconic k = mapconic(t, ar_.center(), u, v, ar_.normal());
        if (k.circular) return geometry(arc(k.c, k.n, k.c + k.u, ar_.sweep()));
        double a = ar_.sweep();
        return a >= 0 ? toellipse(k, 0, a) : toellipse(k, a, 0);
    }
    case ellipticarc: {
        // The axes of an image that stays circular are kept as they are
        // (no shift); otherwise the principal axes are found anew.
        return toellipse(mapconic(t, el_.center(), el_.majoraxis(), el_.minoraxis(), el_.normal()),
                         el_.startparam(), el_.endparam());
    }
    case none:
        break;
    }
    return geometry();
}

}  // namespace brevo
