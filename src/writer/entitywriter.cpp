#include "writer/entitywriter.h"

#include <cmath>

#include "writer/objectframe.h"
#include "writer/record.h"

namespace ostra {

using brevo::vector;

namespace {

const double pi = 3.14159265358979323846;

// The common head: the record's name, its layer and, unless it is the
// layer's own (256), its colour.
record head(const char* name, const char* layer, int aci) {
    record r("  0\n");
    r.text(name);
    r.group("\n  8\n", layer);
    if (aci != 256) r.integer("  62\n", aci);
    return r;
}

void extrusion(record& r, const objectframe& f) {
    if (f.world()) return;
    r.number("  210\n", f.extrusion().x);
    r.number("  220\n", f.extrusion().y);
    r.number("  230\n", f.extrusion().z);
}

// The direction of v in the frame's xy plane, in degrees within [0, 360).
double direction(const vector& v) {
    double a = std::atan2(v.y, v.x) * 180 / pi;
    if (a < 0) a += 360;
    if (a >= 360) a -= 360;
    return a + 0.0;  // no -0
}

// An arc as its record gives it: centre in object coordinates, radius, and
// the angles (degrees) it runs between counterclockwise.
struct arcvalues {
    brevo::point center;
    double radius = 0, start = 0, end = 0;
};

// A piece of an ellipse's chain, from f to t (object coordinates), is fitted
// to its angles as they will be printed: centre and radius are chosen anew
// so that the arc between the printed angles runs through both ends, which
// then move only by the chord times the rounding of an angle, however large
// the radius. Its plane is the one through the ends rather than through the
// centre, so that a printed normal turned slightly from the true one moves
// the piece by no more than its chord times that turn.
void snap(const brevo::point& f, const brevo::point& t, arcvalues& v) {
    const double a0 = printed(v.start);
    double a1 = printed(v.end);
    if (a1 < a0) a1 += 360;  // as a reader takes it
    const double s = brevo::sindeg((a1 - a0) / 2), chord = std::hypot(t.x - f.x, t.y - f.y);
    const double r = chord / (2 * s);
    if (!(s > 0) || !(chord > 0) || !std::isfinite(r)) return;
    v.radius = r;
    v.center = brevo::point(f.x - r * brevo::cosdeg(a0), f.y - r * brevo::sindeg(a0), (f.z + t.z) / 2);
}

}  // namespace

bool entitywriter::save(const brevo::geometry& g) {
    if (const brevo::point* p = g.pt()) return point(*p);
    if (const brevo::lineseg* s = g.lns()) return line(*s);
    if (const brevo::arc* a = g.ar()) return writearc(*a, false);
    if (const brevo::circle* c = g.cr()) return circle(*c);
    if (const brevo::ellipse* e = g.el()) return ellipse(*e);
    return false;
}

bool entitywriter::point(const brevo::point& p) {
    record r = head("POINT", layer_, aci_);
    r.point("  10\n", "  20\n", "  30\n", p);
    return r.writeto(stream_);
}

bool entitywriter::line(const brevo::lineseg& s) {
    record r = head("LINE", layer_, aci_);
    r.point("  10\n", "  20\n", "  30\n", s.start());
    r.point("  11\n", "  21\n", "  31\n", s.end());
    return r.writeto(stream_);
}

bool entitywriter::circle(const brevo::circle& c) {
    const objectframe f(c.normal());
    record r = head("CIRCLE", layer_, aci_);
    r.point("  10\n", "  20\n", "  30\n", f.toobject(c.center()));
    r.number("  40\n", c.radius());
    extrusion(r, f);
    return r.writeto(stream_);
}

// An ARC runs counterclockwise about its extrusion from angle 50 to angle
// 51. A normal that the frame turns over reverses the sweep; a sweep that
// is then negative is written from the arc's end instead.
bool entitywriter::writearc(const brevo::arc& a, bool piece) {
    const objectframe f(a.normal());
    const double sweep = f.turned() ? -a.sweep() : a.sweep();
    const brevo::point from = sweep < 0 ? a.end() : a.start(), to = sweep < 0 ? a.start() : a.end();
    const double turn = std::fabs(sweep);
    arcvalues v;
    v.center = f.toobject(a.center());
    v.radius = a.radius();
    v.start = direction(f.toobject(from - a.center()));
    // The end angle within [0, 360) as well, unless the arc turns so nearly
    // a full turn that its printed end could fall on or past its start.
    v.end = v.start + turn;
    if (v.end >= 360 && turn < 360 - 1e-5) v.end -= 360;
    if (piece) snap(f.toobject(from), f.toobject(to), v);
    record r = head("ARC", layer_, aci_);
    r.point("  10\n", "  20\n", "  30\n", v.center);
    r.number("  40\n", v.radius);
    r.number("  50\n", v.start);
    r.number("  51\n", v.end);
    extrusion(r, f);
    return r.writeto(stream_);
}

double entitywriter::tilt(const brevo::vector& normal) const { return objectframe(normal).tilt(); }

bool entitywriter::ellipse(const brevo::ellipse& e) {
    if (!approximable(e)) return false;
    return approximateellipse(e, *this);
}

}  // namespace ostra
