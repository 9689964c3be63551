#include "reader/producers/curves.h"

#include <cmath>

#include <brevo/geometry.h>

#include "reader/records/ocs.h"

namespace ostra {

using brevo::arc;
using brevo::circle;
using brevo::geometry;
using brevo::line;
using brevo::lineseg;
using brevo::point;
using brevo::trafo;
using brevo::vector;

namespace {
const double pi = 3.14159265358979323846;

// The sweep of an arc from angle a0 to a1, counterclockwise, both taken
// modulo 360: in (0, 360], and 0 for equal angles.
double exactsweep(double a0, double a1) {
    if (a0 == a1) return 0;
    // The remainders are exact and lie in (-360, 360): d in (-720, 720).
    double d = std::fmod(a1, 360.0) - std::fmod(a0, 360.0);
    if (d > 360) d -= 360;
    if (d <= 0) d += 360;
    if (d <= 0) d += 360;
    return d;
}
}  // namespace

void produceline(const grouptable& t, emitter& e) {
    if (!e.test()) return;
    e.emit(geometry(lineseg(slotpoint(t, 10), slotpoint(t, 11))));
}

void producearc(const grouptable& t, emitter& e, bool exact) {
    if (!e.test()) return;
    point c = slotpoint(t, 10);
    double r = t.number(40), a0 = t.number(50), a1 = t.number(51);
    if (exact) {
        point s(c.x + r * brevo::cosdeg(a0), c.y + r * brevo::sindeg(a0), c.z);
        geometry g(arc(c, vector(0, 0, 1), s, exactsweep(a0, a1)));
        if (hasextrusion(t))
            e.emit(g * ocstrafo(t));
        else
            e.emit(g);
        return;
    }
    if (a1 < a0) a1 += 360;
    // The start point: the point at angle 0 turned by a0 about the centre.
    point s(c.x + r, c.y, c.z);
    s *= trafo(a0, line(c, vector(0, 0, 1)));
    e.emit(geometry(arc(c, vector(0, 0, 1), s, a1 - a0)));
}

void producecircle(const grouptable& t, emitter& e, bool exact) {
    if (!e.test()) return;
    e.setclosed(true);
    geometry g(circle(slotpoint(t, 10), vector(0, 0, 1), t.number(40)));
    if (exact && hasextrusion(t))
        e.emit(g * ocstrafo(t));
    else
        e.emit(g);
}

void produceellipse(const grouptable& t, emitter& e) {
    if (!e.test()) return;
    vector n = extrusion(t);
    if (!(n.length() > 0)) n = vector(0, 0, 1);
    vector u(t.number(11), t.number(21), t.number(31));
    double ratio = t.carried(40) ? t.number(40) : 1;
    double p0 = t.number(41) * 180 / pi;
    double p1 = t.carried(42) ? t.number(42) * 180 / pi : 360;
    if (p1 < p0) p1 += 360;
    if (ratio > 1) {
        // The minor axis is the longer one: swap the axes, turning the
        // parameter by a quarter.
        u = n.unit().cross(u) * ratio;
        ratio = 1 / ratio;
        p0 -= 90;
        p1 -= 90;
    }
    if (ratio < 0) ratio = -ratio;
    // A whole turn of the parameter (0 to 2 pi, up to rounding) closes it.
    e.setclosed(p1 - p0 >= 360 - 1e-9);
    e.emit(geometry(brevo::ellipse(slotpoint(t, 10), n, u, ratio, p0, p1)));
}

}  // namespace ostra
