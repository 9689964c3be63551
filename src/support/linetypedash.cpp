// Linetype dashes along a polyline by arc length, with a cursor on the
// polyline's sides that only moves on.
#include "support/linetypedash.h"

#include <algorithm>
#include <cmath>

#include "support/vectors.h"

namespace ostra {

using brevo::point;

namespace {

class walker {
public:
    walker(const std::vector<point>& pts, const std::vector<double>& at, dashchains& out)
        : pts_(pts), at_(at), out_(out) {}

    // The dash from arc length a to b (a <= b; a dot when equal).
    void dash(double a, double b) {
        out_.starts.push_back(out_.points.size());
        out_.points.push_back(pointat(a));
        if (b == a) return;
        for (std::size_t v = side_ + 1; v < pts_.size() && at_[v] < b; ++v) {
            if (at_[v] > a) out_.points.push_back(pts_[v]);
        }
        out_.points.push_back(pointat(b));
    }

private:
    point pointat(double s) {
        while (side_ + 2 < pts_.size() && at_[side_ + 1] < s) ++side_;
        const point& p = pts_[side_];
        const point& q = pts_[side_ + 1];
        double len = at_[side_ + 1] - at_[side_];
        double t = len > 0 ? std::min(std::max((s - at_[side_]) / len, 0.0), 1.0) : 0;
        return point((1 - t) * p.x + t * q.x, (1 - t) * p.y + t * q.y, (1 - t) * p.z + t * q.z);
    }

    const std::vector<point>& pts_;
    const std::vector<double>& at_;
    dashchains& out_;
    std::size_t side_ = 0;
};

// The pattern's period, or 0 when it cannot be laid.
double period(const std::vector<double>& elements, double scale) {
    if (elements.empty() || !(scale > 0) || !std::isfinite(scale)) return 0;
    double sum = 0;
    bool draws = false;
    for (double e : elements) {
        if (!std::isfinite(e)) return 0;
        sum += std::fabs(e) * scale;
        draws = draws || e >= 0;
    }
    return draws && std::isfinite(sum) ? sum : 0;
}

}  // namespace

void dashpolyline(const point* p, std::size_t n, const std::vector<double>& elements, double scale,
                  dashchains& out, double phase) {
    out = dashchains();
    std::vector<point> pts;
    std::vector<double> at;
    for (std::size_t i = 0; i < n; ++i) {
        if (!finite(p[i]) || (!pts.empty() && samepoint(p[i], pts.back()))) continue;
        at.push_back(pts.empty() ? 0 : at.back() + (p[i] - pts.back()).length());
        pts.push_back(p[i]);
    }
    if (pts.empty()) return;
    double total = at.back(), per = period(elements, scale);
    if (!(per > 0) || !(total > 0) || !(total / per <= maxdashperiods)) {
        out.solid = true;
        out.starts.push_back(0);
        out.points = pts;
        return;
    }
    std::vector<double> starts;
    double sum = 0;
    for (double e : elements) {
        starts.push_back(sum);
        sum += std::fabs(e) * scale;
    }
    double ph = std::isfinite(phase) ? std::fmod(phase, per) : 0;
    if (ph < 0) ph += per;
    std::size_t m = elements.size();
    std::size_t i = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), ph) - starts.begin()) - 1;
    walker walk(pts, at, out);
    for (double k = 0;;) {
        double s = k * per + starts[i] - ph;
        if (s > total) break;
        double e = elements[i] * scale;
        double a = std::max(s, 0.0), b = std::min(s + e, total);
        if (e > 0 && b > a) walk.dash(a, b);
        if (e == 0 && s >= 0) walk.dash(s, s);
        if (++i == m) i = 0, k += 1;
    }
}

}  // namespace ostra
