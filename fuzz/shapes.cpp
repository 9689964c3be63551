// Shape checks of the reader fuzz target: circles and arcs as returned, and
// under placements chosen from the input (see shapes.h).
#include "shapes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <initializer_list>

namespace ostrafuzz {

namespace {

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "reader_fuzz: check failed: %s\n", what);
        std::abort();
    }
}

double largest(double x, double y, double z) { return std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z))); }
double largest(const brevo::point& p) { return largest(p.x, p.y, p.z); }
bool finite(double x, double y, double z) { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

// A circle, or an arc with its start and sweep.
struct roundcurve {
    bool arc;
    brevo::point c, s;
    brevo::vector n;
    double r, sweep;
};

// False for other kinds and for a curve with a number that is not finite.
// A circle read with a negative radius is taken with its magnitude, which is
// what any placement makes of it.
bool roundof(const brevo::geometry& g, roundcurve& k) {
    if (const brevo::circle* c = g.cr()) {
        k = {false, c->center(), c->center(), c->normal(), std::fabs(c->radius()), 0};
    } else if (const brevo::arc* a = g.ar()) {
        k = {true, a->center(), a->start(), a->normal(), a->radius(), a->sweep()};
    } else {
        return false;
    }
    return finite(k.c.x, k.c.y, k.c.z) && finite(k.s.x, k.s.y, k.s.z) && finite(k.n.x, k.n.y, k.n.z) &&
           std::isfinite(k.r) && std::isfinite(k.sweep);
}

// Equal within a relative 1e-12 of size (a curve's radius plus the distance
// of its center from the origin, which bounds the rounding of its points);
// the absolute floor covers radii in the subnormal range.
bool closeto(double a, double b, double size) { return std::fabs(a - b) <= 1e-12 * size + 1e-300; }

double extent(const roundcurve& k) { return k.r + largest(k.c); }

void checkpoints(const brevo::arc& a, const roundcurve& k) {
    for (double t : {k.sweep, k.sweep / 2, k.c.x, k.c.y, k.r})
        require(closeto((a.at(t) - k.c).length(), k.r, extent(k)), "every point of an arc lies on its circle");
}

// g placed by t, whose linear part scales lengths by f, stays a curve of
// its kind with the radius scaled by f.
void checkconformal(const brevo::geometry& g, const roundcurve& k, const brevo::trafo& t, double f, const char* what) {
    roundcurve p;
    require(roundof(g * t, p) && p.arc == k.arc, what);
    require(closeto(p.r, k.r * f, extent(p)), what);
}

// The axis least along the normal: a stretch along it changes the shapes in
// the curve's plane.
int crossaxis(const brevo::vector& n) {
    double x = std::fabs(n.x), y = std::fabs(n.y), z = std::fabs(n.z);
    return x <= y && x <= z ? 0 : y <= z ? 1 : 2;
}

void checkstretched(const brevo::geometry& g, const roundcurve& k, int e, int j) {
    double f = std::ldexp(1, e), s[3] = {f, f, f};
    s[crossaxis(k.n)] = std::ldexp(1, e + j);
    brevo::trafo t;
    t.scale(s[0], s[1], s[2]);
    brevo::geometry h = g * t;
    const brevo::ellipse* el = h.el();
    require(el != nullptr, "a placement that stretches the plane of a circle or arc makes an ellipse");
    brevo::vector u = el->majoraxis();
    require(finite(u.x, u.y, u.z) && el->ratio() >= 0 && el->ratio() <= 1,
            "a stretched circle or arc is an ellipse of finite axes");
}

}  // namespace

void checkshape(const brevo::geometry& g, const shapeseed& seed) {
    roundcurve k;
    if (!roundof(g, k)) return;
    double big = std::fmax(k.r, std::fmax(largest(k.c), largest(k.s)));
    if (!(big <= 0x1p1020)) return;  // points beyond it may leave the range of doubles
    if (k.arc) checkpoints(*g.ar(), k);
    checkconformal(g, k, brevo::trafo(), 1, "an identity placement keeps a circle or arc with its radius");
    // The placed curve and the scale factors stay below 2^1020 (top is at
    // least 0 for the factors), the placed radius above 2^-900, and the
    // radius as given well within the normal range: a rotation of a
    // subnormal one rounds its shape away.
    if (!(k.r >= 0x1p-960)) return;
    int top = std::max(std::ilogb(big), 0), low = std::ilogb(k.r);
    int e = seed.scale % 129 - 64;
    if (e > 1020 - top) e = 1020 - top;
    if (low + e >= -900) {
        // A turn of a multiple of 5.625 degrees, or the radius as a
        // possibly huge angle; perhaps a mirror.
        brevo::trafo t;
        t.rotatez(seed.turn & 0x40 ? k.r : (seed.turn & 0x3f) * 5.625);
        double f = std::ldexp(1, e);
        t.scale(seed.turn & 0x80 ? -f : f, f, f);
        checkconformal(g, k, t, f, "a uniform placement keeps a circle or arc with its radius scaled");
    }
    int j = 1 + 4 * seed.stretch;  // up to 2^1021 more along one axis
    if (e > 1020 - top - j) e = 1020 - top - j;
    if (low + e >= -900) checkstretched(g, k, e, j);
}

}  // namespace ostrafuzz
