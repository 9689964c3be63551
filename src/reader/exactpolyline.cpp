// Exact reading: what a CAD program draws. Bulges become arcs, closed
// polylines get their closing piece from the last vertex back to the first,
// ARC, CIRCLE, LWPOLYLINE, 2D POLYLINE and INSERT are placed by their object
// coordinate systems, and ELLIPSE records are read.
#include "reader/exact.h"

#include <cmath>
#include <utility>

#include "reader/readerstate.h"
#include "support/number.h"

namespace ostra {

using brevo::arc;
using brevo::circle;
using brevo::geometry;
using brevo::lineseg;
using brevo::point;
using brevo::trafo;
using brevo::vector;

namespace {
const double pi = 3.14159265358979323846;

int intof(const char* text) {
    double v = parsedouble(text);
    return v >= -2147483648.0 && v <= 2147483647.0 ? static_cast<int>(v) : 0;
}
}  // namespace

trafo ocstrafo(const grouptable& t) {
    trafo r;
    vector n(t.carried(210) ? t.number(210) : 0, t.carried(220) ? t.number(220) : 0,
             t.carried(230) ? t.number(230) : 1);
    double l = n.length();
    if (!(l > 0) || !std::isfinite(l)) return r;  // no usable direction: world coordinates
    n = n.unit();
    const double limit = 1.0 / 64;
    vector ax = std::fabs(n.x) < limit && std::fabs(n.y) < limit ? vector(0, 1, 0).cross(n)
                                                                 : vector(0, 0, 1).cross(n);
    ax = ax.unit();
    vector ay = n.cross(ax).unit();
    const vector cols[3] = {ax, ay, n};
    for (int j = 0; j < 3; ++j) {
        r.m[0][j] = cols[j].x;
        r.m[1][j] = cols[j].y;
        r.m[2][j] = cols[j].z;
    }
    return r;
}

geometry polylinepiece(const point& a, const point& b, double bulge, const trafo& ocs) {
    double dx = b.x - a.x, dy = b.y - a.y, c = std::sqrt(dx * dx + dy * dy);
    if (bulge == 0 || !std::isfinite(bulge) || !(c > 0))
        return geometry(lineseg(ocs.apply(a), ocs.apply(b)));
    // The centre lies off the chord's midpoint, to the left of a -> b for a
    // positive bulge below 1, by c (1 - b^2) / (4 b).
    double off = (1 - bulge * bulge) / (4 * bulge);
    point m((a.x + b.x) / 2 - dy * off, (a.y + b.y) / 2 + dx * off, a.z);
    double sweep = 4 * std::atan(bulge) * 180 / pi;
    return geometry(arc(m, vector(0, 0, 1), a, sweep)) * ocs;
}

void exactpolyline::start(bool lightform) {
    ocs.id();
    elevation = 0;
    world = skip = closed = hasprev = false;
    vertices = 0;
    prevbulge = 0;
    light = lightform;
    lw.clear();
}

geometry exactpolyline::lwpiece(std::size_t i) const {
    const lwvertex& a = lwout[i];
    const lwvertex& b = lwout[(i + 1) % lwout.size()];
    return polylinepiece(point(a.x, a.y, lwelevation), point(b.x, b.y, lwelevation), a.bulge, lwocs);
}

// A group of an LWPOLYLINE: 10 begins a vertex, 20 and 42 belong to the
// vertex begun last.
void readerstate::exactvertexgroup(int code, const char* value) {
    std::vector<exactpolyline::lwvertex>& v = xpoly.lw;
    if (code == 10) {
        v.push_back({parsedouble(value), 0, 0});
    } else if (!v.empty()) {
        if (code == 20) v.back().y = parsedouble(value);
        if (code == 42) v.back().bulge = parsedouble(value);
    }
}

// The end of an LWPOLYLINE or POLYLINE header record.
void readerstate::exactpolylineend() {
    int flags = intof(table.get(70));
    if (!xpoly.light) {
        // A POLYLINE header: one layer check, as in the default reading.
        if (blocks.defining() || inentities) uselayer();
        xpoly.closed = flags & 1;
        xpoly.world = flags & 8;
        xpoly.skip = flags & (16 | 64);
        if (!xpoly.world) xpoly.ocs = ocstrafo(table);
        xpoly.elevation = g(30);
        return;
    }
    std::size_t n = xpoly.lw.size();
    bool closed = (flags & 1) && n >= 2;
    std::size_t pieces = n >= 2 ? n - 1 + (closed ? 1 : 0) : 0;
    if (!blocks.defining() && !inentities) return;
    // One layer check per piece (at least one), as the default reading
    // makes one per segment.
    bool pass = uselayer();
    for (std::size_t i = 1; i < pieces; ++i) uselayer();
    if (!pass || pieces == 0) return;
    xpoly.lwocs = ocstrafo(table);
    xpoly.lwelevation = g(38);
    xpoly.lwclosed = closed;
    xpoly.layer = recordlayer_;
    if (closed) {
        // A closing piece of length 0 (last vertex repeating the first) adds nothing.
        const auto& a = xpoly.lw.back();
        const auto& b = xpoly.lw.front();
        if (a.x == b.x && a.y == b.y) --pieces;
    }
    // The vertices move to the delivery side (keeping both buffers' room), so
    // a polyline that follows at once may collect its own.
    std::swap(xpoly.lw, xpoly.lwout);
    if (inentities) {
        xpoly.nextpiece = 0;
        xpoly.pieces = pieces;
        return;
    }
    for (std::size_t i = 0; i < pieces; ++i) emit(xpoly.lwpiece(i));
}

// The end of a VERTEX record: the piece from the previous vertex, with the
// previous vertex's bulge.
void readerstate::exactvertexend() {
    bool pass = emittest();
    if (xpoly.skip || (intof(table.get(70)) & 16)) return;  // mesh or spline frame point
    point v = xpoly.world ? point(g(10), g(20), g(30)) : point(g(10), g(20), xpoly.elevation);
    const trafo& t = xpoly.world ? trafo() : xpoly.ocs;
    if (pass && xpoly.hasprev)
        emit(polylinepiece(xpoly.prev, v, xpoly.world ? 0 : xpoly.prevbulge, t));
    if (!xpoly.hasprev && xpoly.vertices == 0) xpoly.first = v;
    xpoly.prev = v;
    xpoly.prevbulge = g(42);
    xpoly.hasprev = true;
    ++xpoly.vertices;
}

// The end of SEQEND: the closing piece from the last vertex to the first.
void readerstate::exactclosing() {
    if (!xpoly.closed || xpoly.skip || xpoly.vertices < 2) return;
    if (xpoly.prev.x == xpoly.first.x && xpoly.prev.y == xpoly.first.y && xpoly.prev.z == xpoly.first.z) return;
    if (!emittest()) return;
    emit(polylinepiece(xpoly.prev, xpoly.first, xpoly.world ? 0 : xpoly.prevbulge,
                       xpoly.world ? trafo() : xpoly.ocs));
}

void readerstate::exactarc() {
    if (!emittest()) return;
    point c(g(10), g(20), g(30));
    double r = g(40), a0 = g(50), a1 = g(51);
    if (a1 < a0) a1 += 360;
    point s(c.x + r * brevo::cosdeg(a0), c.y + r * brevo::sindeg(a0), c.z);
    emit(geometry(arc(c, vector(0, 0, 1), s, a1 - a0)) * ocstrafo(table));
}

void readerstate::exactcircle() {
    if (!emittest()) return;
    emit(geometry(circle(point(g(10), g(20), g(30)), vector(0, 0, 1), g(40))) * ocstrafo(table));
}

void readerstate::exactellipse() {
    if (!emittest()) return;
    vector n(table.carried(210) ? g(210) : 0, table.carried(220) ? g(220) : 0, table.carried(230) ? g(230) : 1);
    if (!(n.length() > 0)) n = vector(0, 0, 1);
    vector u(g(11), g(21), g(31));
    double ratio = table.carried(40) ? g(40) : 1;
    double p0 = g(41) * 180 / pi;
    double p1 = table.carried(42) ? g(42) * 180 / pi : 360;
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
    emit(geometry(brevo::ellipse(point(g(10), g(20), g(30)), n, u, ratio, p0, p1)));
}

}  // namespace ostra
