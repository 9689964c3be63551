#include "curve.h"

#include <algorithm>
#include <cmath>

namespace tool {

namespace {

bool finite(const brevo::point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool finite(const brevo::vector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

constexpr double degperrad = 57.29577951308232;

double clampturn(double sweep) {
    return std::max(-360.0, std::min(360.0, sweep));
}

double get(const brevo::point& p, int k) {
    return k == 0 ? p.x : k == 1 ? p.y : p.z;
}

double get(const brevo::vector& v, int k) {
    return k == 0 ? v.x : k == 1 ? v.y : v.z;
}

void set(brevo::point& p, int k, double v) {
    (k == 0 ? p.x : k == 1 ? p.y : p.z) = v;
}

}  // namespace

brevo::point trigcurve::at(double t) const {
    return c + a * brevo::cosdeg(t) + b * brevo::sindeg(t);
}

bool totrigcurve(const brevo::geometry& g, trigcurve& out) {
    if (const brevo::arc* r = g.ar()) {
        out.c = r->center();
        out.a = r->start() - out.c;
        out.b = r->normal().unit().cross(out.a);
        out.t0 = 0;
        out.t1 = clampturn(r->sweep());
        return true;
    }
    if (const brevo::circle* r = g.cr()) {
        // Any pair of perpendicular radii in the circle's plane will do;
        // for a circle in the xy plane a starts along x.
        const brevo::vector n = r->normal().unit();
        const brevo::vector h = std::fabs(n.z) > 0.5 ? brevo::vector(1, 0, 0) : brevo::vector(0, 0, 1);
        out.c = r->center();
        out.a = (h - n * n.dot(h)).unit() * r->radius();
        out.b = n.cross(out.a);
        out.t0 = 0;
        out.t1 = 360;
        return true;
    }
    if (const brevo::ellipse* e = g.el()) {
        out.c = e->center();
        out.a = e->majoraxis();
        out.b = e->minoraxis();
        out.t0 = e->startparam();
        double end = e->endparam();
        // The parameter runs counterclockwise from start to end, over the
        // zero direction when end is the smaller.
        if (end < out.t0) end += 360;
        out.t1 = out.t0 + clampturn(end - out.t0);
        return true;
    }
    return false;
}

const char* kindname(const brevo::geometry& g) {
    if (g.pt()) return "point";
    if (g.lns()) return "line";
    if (g.ar()) return "arc";
    if (g.cr()) return "circle";
    if (g.el()) return "ellipse";
    return "other";
}

bool finite(const brevo::geometry& g) {
    if (const brevo::point* p = g.pt()) return finite(*p);
    if (const brevo::lineseg* s = g.lns()) return finite(s->start()) && finite(s->end());
    if (const brevo::arc* r = g.ar()) {
        return finite(r->center()) && finite(r->start()) && finite(r->normal()) && std::isfinite(r->sweep());
    }
    if (const brevo::circle* r = g.cr()) {
        return finite(r->center()) && finite(r->normal()) && std::isfinite(r->radius());
    }
    if (const brevo::ellipse* e = g.el()) {
        return finite(e->center()) && finite(e->majoraxis()) && finite(e->minoraxis()) &&
               std::isfinite(e->startparam()) && std::isfinite(e->endparam());
    }
    return false;
}

void box::add(const brevo::point& p) {
    if (empty_) {
        min_ = max_ = p;
        empty_ = false;
        return;
    }
    min_.x = std::min(min_.x, p.x);
    min_.y = std::min(min_.y, p.y);
    min_.z = std::min(min_.z, p.z);
    max_.x = std::max(max_.x, p.x);
    max_.y = std::max(max_.y, p.y);
    max_.z = std::max(max_.z, p.z);
}

void box::add(const trigcurve& k) {
    add(k.at(k.t0));
    add(k.at(k.t1));
    const double lo = std::min(k.t0, k.t1), hi = std::max(k.t0, k.t1);
    for (int axis = 0; axis < 3; ++axis) {
        // a cos t + b sin t along one axis is amplitude * cos(t - phase): its
        // extremes lie at phase + n * 180 degrees.
        const double ca = get(k.a, axis), cb = get(k.b, axis);
        const double amplitude = std::hypot(ca, cb);
        if (amplitude == 0) continue;
        const double phase = std::atan2(cb, ca) * degperrad;
        const double first = std::ceil((lo - phase) / 180.0);
        for (double n = first; phase + n * 180.0 <= hi; ++n) {
            const double t = phase + n * 180.0;
            brevo::point p = k.at(t);
            // The extreme value itself, free of the rounding in at().
            const bool maximum = static_cast<long long>(n) % 2 == 0;
            set(p, axis, get(k.c, axis) + (maximum ? amplitude : -amplitude));
            add(p);
        }
    }
}

bool box::add(const brevo::geometry& g) {
    if (!finite(g)) return false;
    if (const brevo::point* p = g.pt()) {
        add(*p);
        return true;
    }
    if (const brevo::lineseg* s = g.lns()) {
        add(s->start());
        add(s->end());
        return true;
    }
    trigcurve k;
    if (totrigcurve(g, k)) add(k);
    return true;
}

}  // namespace tool

