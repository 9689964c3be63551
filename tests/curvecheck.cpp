#include "curvecheck.h"

#include <algorithm>
#include <cmath>

namespace testutil {

using brevo::point;
using brevo::vector;

namespace {

struct range {
    double t0, t1;
};

range paramrange(const brevo::ellipse& e) {
    double t0 = e.startparam(), t1 = e.endparam();
    if (t1 < t0) t1 += 360;
    return {t0, std::min(t1, t0 + 360)};
}

double tosegment(const point& x, const point& a, const point& b) {
    const vector d = b - a;
    const double dd = d.dot(d);
    double s = dd > 0 ? (x - a).dot(d) / dd : 0;
    s = std::max(0.0, std::min(1.0, s));
    return (x - (a + d * s)).length();
}

double toarc(const point& x, const brevo::arc& a) {
    const vector n = a.normal(), u = a.start() - a.center();
    const double r = u.length();
    const vector v = x - a.center();
    const double h = v.dot(n);
    const vector w = v - n * h;
    const vector uu = u * (1 / r), vv = n.cross(uu);
    double phi = std::atan2(w.dot(vv), w.dot(uu)) * 180 / M_PI;
    if (a.sweep() < 0) phi = -phi;
    if (phi < 0) phi += 360;
    if (phi <= std::fabs(a.sweep())) return std::hypot(w.length() - r, h);
    return std::min((x - a.start()).length(), (x - a.end()).length());
}

double tochain(const point& x, const std::vector<brevo::geometry>& chain) {
    double best = INFINITY;
    for (const auto& g : chain) {
        if (const auto* s = g.lns()) best = std::min(best, tosegment(x, s->start(), s->end()));
        if (const auto* a = g.ar()) best = std::min(best, toarc(x, *a));
    }
    return best;
}

void ends(const brevo::geometry& g, point& a, point& b) {
    if (const auto* s = g.lns()) {
        a = s->start();
        b = s->end();
    } else if (const auto* r = g.ar()) {
        a = r->start();
        b = r->end();
    }
}

point along(const brevo::geometry& g, double f) {
    if (const auto* s = g.lns()) return s->start() + (s->end() - s->start()) * f;
    return g.ar()->at(g.ar()->sweep() * f);
}

double reach(const point& c, double r) {
    return std::max({1.0, std::fabs(c.x) + r, std::fabs(c.y) + r, std::fabs(c.z) + r});
}

}  // namespace

double arcdifference(const brevo::arc& a, const brevo::arc& b) {
    const bool same = a.normal().dot(b.normal()) * a.sweep() * b.sweep() >= 0;
    const double r = reach(a.center(), a.radius());
    double d = std::max(std::fabs(a.radius() - b.radius()) / r, a.normal().cross(b.normal()).length());
    const point pairs[4][2] = {{a.center(), b.center()},
                               {a.start(), same ? b.start() : b.end()},
                               {a.end(), same ? b.end() : b.start()},
                               {a.at(a.sweep() / 2), b.at(b.sweep() / 2)}};
    for (const auto& p : pairs) d = std::max(d, (p[0] - p[1]).length() / r);
    return d;
}

double circledifference(const brevo::circle& a, const brevo::circle& b) {
    const double r = reach(a.center(), a.radius());
    return std::max({(a.center() - b.center()).length() / r, std::fabs(a.radius() - b.radius()) / r,
                     a.normal().cross(b.normal()).length()});
}

double distancetoellipse(const point& p, const brevo::ellipse& e) {
    const range r = paramrange(e);
    const int n = 1024;
    std::vector<double> d(n + 1);
    auto at = [&](double t) { return (e.at(t) - p).length(); };
    for (int i = 0; i <= n; ++i) d[i] = at(r.t0 + (r.t1 - r.t0) * i / n);
    const double least = *std::min_element(d.begin(), d.end());
    double best = least;
    for (int i = 0; i <= n; ++i) {
        if (d[i] > 1.5 * least + 1e-12) continue;
        double lo = r.t0 + (r.t1 - r.t0) * std::max(0, i - 1) / n, hi = r.t0 + (r.t1 - r.t0) * std::min(n, i + 1) / n;
        for (int k = 0; k < 80; ++k) {
            const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
            if (at(m1) < at(m2))
                hi = m2;
            else
                lo = m1;
        }
        best = std::min(best, at(0.5 * (lo + hi)));
    }
    return best;
}

chainfit measurechain(const brevo::ellipse& e, const std::vector<brevo::geometry>& chain) {
    chainfit f;
    for (const auto& g : chain) f.pieces = f.pieces && (g.lns() || g.ar());
    if (!f.pieces || chain.empty()) return f;
    const range r = paramrange(e);
    const int n = 64 + 8 * static_cast<int>(chain.size());
    for (int i = 0; i <= n; ++i)
        f.fromellipse = std::max(f.fromellipse, tochain(e.at(r.t0 + (r.t1 - r.t0) * i / n), chain));
    for (const auto& g : chain)
        for (double s : {0.0, 0.25, 0.5, 0.75, 1.0}) f.fromchain = std::max(f.fromchain, distancetoellipse(along(g, s), e));
    point last = e.start();
    for (const auto& g : chain) {
        point a, b;
        ends(g, a, b);
        const bool forward = (a - last).length() <= (b - last).length();
        f.gap = std::max(f.gap, ((forward ? a : b) - last).length());
        last = forward ? b : a;
    }
    f.gap = std::max(f.gap, (last - e.end()).length());
    return f;
}

}  // namespace testutil
