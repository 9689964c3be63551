#include "hatchpaths.h"

#include <algorithm>
#include <cmath>

namespace dxfgen {

namespace {

void vertex(sink& s, xy p) {
    s.real(10, p.x);
    s.real(20, p.y);
}

void lineedge(sink& s, xy a, xy b) {
    s.integer(72, 1);
    vertex(s, a);
    s.real(11, b.x);
    s.real(21, b.y);
}

void arcedge(sink& s, xy c, double radius, double start, double end) {
    s.integer(72, 2);
    vertex(s, c);
    s.real(40, radius);
    s.real(50, start);
    s.real(51, end);
    s.integer(73, 1);
}

void ellipseedge(sink& s, xy c, xy major, double ratio, double start, double end) {
    s.integer(72, 3);
    vertex(s, c);
    s.real(11, major.x);
    s.real(21, major.y);
    s.real(40, ratio);
    s.real(50, start);
    s.real(51, end);
    s.integer(73, 1);
}

// The B-spline basis function i of degree p at u (the last knot span
// closed at its end).
double basis(const std::vector<double>& k, std::size_t i, int p, double u) {
    if (p == 0) {
        if (u >= k[i] && u < k[i + 1]) return 1;
        return u == k.back() && k[i] < u && k[i + 1] == u ? 1 : 0;
    }
    double left = 0, right = 0;
    std::size_t pp = static_cast<std::size_t>(p);
    if (k[i + pp] > k[i]) left = (u - k[i]) / (k[i + pp] - k[i]) * basis(k, i, p - 1, u);
    if (k[i + pp + 1] > k[i + 1]) right = (k[i + pp + 1] - u) / (k[i + pp + 1] - k[i + 1]) * basis(k, i + 1, p - 1, u);
    return left + right;
}

// Solves a x = b (both coordinates) by elimination with partial pivoting.
std::vector<xy> solve(std::vector<std::vector<double>> a, std::vector<xy> b) {
    std::size_t n = b.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t best = col;
        for (std::size_t row = col + 1; row < n; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[best][col])) best = row;
        std::swap(a[col], a[best]);
        std::swap(b[col], b[best]);
        for (std::size_t row = col + 1; row < n; ++row) {
            double f = a[row][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k) a[row][k] -= f * a[col][k];
            b[row] = b[row] - b[col] * f;
        }
    }
    std::vector<xy> x(n);
    for (std::size_t row = n; row-- > 0;) {
        xy v = b[row];
        for (std::size_t k = row + 1; k < n; ++k) v = v - x[k] * a[row][k];
        x[row] = v * (1 / a[row][row]);
    }
    return x;
}

void splineedge(sink& s, const std::vector<xy>& control, const std::vector<double>& knots,
                const std::vector<double>& weights, bool periodic) {
    s.integer(72, 4);
    s.integer(94, 3);
    s.integer(73, weights.empty() ? 0 : 1);
    s.integer(74, periodic ? 1 : 0);
    s.integer(95, static_cast<long long>(knots.size()));
    s.integer(96, static_cast<long long>(control.size()));
    for (double k : knots) s.real(40, k);
    for (std::size_t i = 0; i < control.size(); ++i) {
        vertex(s, control[i]);
        if (!weights.empty()) s.real(42, weights[i]);
    }
}

}  // namespace

std::vector<xy> interpolate(const std::vector<xy>& q, xy t0, xy t1, std::vector<double>& knots) {
    std::size_t n = q.size() - 1;
    std::vector<double> u(n + 1, 0);
    double total = 0;
    for (std::size_t i = 1; i <= n; ++i) total += std::hypot(q[i].x - q[i - 1].x, q[i].y - q[i - 1].y);
    for (std::size_t i = 1; i <= n; ++i) u[i] = u[i - 1] + std::hypot(q[i].x - q[i - 1].x, q[i].y - q[i - 1].y) / total;
    u[n] = 1;
    // n + 3 control points: the points, and the tangents at both ends.
    knots.assign(4, 0);
    for (std::size_t i = 1; i < n; ++i) knots.push_back(u[i]);
    knots.insert(knots.end(), 4, 1);
    std::size_t m = n + 3;
    std::vector<std::vector<double>> a(m, std::vector<double>(m, 0));
    std::vector<xy> b(m);
    for (std::size_t k = 0; k <= n; ++k) {
        for (std::size_t i = 0; i < m; ++i) a[k][i] = basis(knots, i, 3, u[k]);
        b[k] = q[k];
    }
    // The derivative at the ends: 3 / (knot span) times the first (last) leg.
    a[n + 1][0] = -3 / knots[4];
    a[n + 1][1] = 3 / knots[4];
    b[n + 1] = t0 * total;
    a[n + 2][m - 2] = -3 / (1 - knots[m - 1]);
    a[n + 2][m - 1] = 3 / (1 - knots[m - 1]);
    b[n + 2] = t1 * total;
    return solve(a, b);
}

int writeloop(sink& s, rng& r, loopshape shape, xy c, double a, double b, int flags) {
    bool polyline = shape == loopshape::rectangle || shape == loopshape::bulged;
    s.integer(92, flags | (polyline ? 2 : 0));
    const xy corners[] = {c + xy{-a, -b}, c + xy{a, -b}, c + xy{a, b}, c + xy{-a, b}};
    int count = 1;
    if (polyline) {
        bool bulged = shape == loopshape::bulged;
        s.integer(72, bulged ? 1 : 0);
        s.integer(73, 1);
        s.integer(93, 4);
        for (int i = 0; i < 4; ++i) {
            vertex(s, corners[i]);
            // Bottom and top bowed inwards by a fifth of the height (the
            // loop runs counterclockwise).
            if (bulged) s.real(42, i % 2 == 0 ? -0.2 * b / a : 0);
        }
        count = 4;
    } else if (shape == loopshape::rounded) {
        double k = (a < b ? a : b) * 0.3;
        s.integer(93, 8);
        lineedge(s, c + xy{-a + k, -b}, c + xy{a - k, -b});
        arcedge(s, c + xy{a - k, -b + k}, k, 270, 360);
        lineedge(s, c + xy{a, -b + k}, c + xy{a, b - k});
        arcedge(s, c + xy{a - k, b - k}, k, 0, 90);
        lineedge(s, c + xy{a - k, b}, c + xy{-a + k, b});
        arcedge(s, c + xy{-a + k, b - k}, k, 90, 180);
        lineedge(s, c + xy{-a, b - k}, c + xy{-a, -b + k});
        arcedge(s, c + xy{-a + k, -b + k}, k, 180, 270);
        count = 8;
    } else if (shape == loopshape::ellipse) {
        // The major axis along the longer side (upright when the box is).
        s.integer(93, 1);
        if (a >= b)
            ellipseedge(s, c, {a, 0}, b / a, 0, 360);
        else
            ellipseedge(s, c, {0, b}, a / b, 0, 360);
    } else if (shape == loopshape::halfellipse) {
        s.integer(93, 2);
        ellipseedge(s, c + xy{0, -b}, {a, 0}, 2 * b / a < 1 ? 2 * b / a : 1, 0, 180);
        lineedge(s, c + xy{-a, -b}, c + xy{a, -b});
        count = 2;
    } else if (shape == loopshape::spline || shape == loopshape::periodic) {
        // A control polygon of eight points on the box, closed.
        std::vector<xy> control = {corners[0], c + xy{0, -b * 0.8}, corners[1], c + xy{a * 0.8, 0},
                                   corners[2], c + xy{0, b * 0.8},  corners[3], c + xy{-a * 0.8, 0}};
        std::vector<double> knots, weights;
        bool periodic = shape == loopshape::periodic;
        if (periodic) {
            for (int i = 0; i < 3; ++i) control.push_back(control[static_cast<std::size_t>(i)]);
            for (std::size_t i = 0; i < control.size() + 4; ++i) knots.push_back(static_cast<double>(i));
        } else {
            control.push_back(control[0]);
            knots.assign(4, 0);
            for (std::size_t i = 1; i + 3 < control.size(); ++i) knots.push_back(static_cast<double>(i));
            knots.insert(knots.end(), 4, static_cast<double>(control.size() - 3));
            if (r.chance(0.3))
                for (std::size_t i = 0; i < control.size(); ++i) weights.push_back(i % 2 == 0 ? 1 : 0.7);
        }
        s.integer(93, 1);
        splineedge(s, control, knots, weights, periodic);
        s.integer(97, 0);  // no fit data
    } else if (shape == loopshape::fitted) {
        // The top as a curve through five points, the rest straight.
        std::vector<xy> fit;
        for (int i = 0; i < 5; ++i) fit.push_back(c + xy{-a + a * i / 2.0, b * (i % 2 == 0 ? 0.6 : 0.9)});
        std::reverse(fit.begin(), fit.end());
        xy t0{-0.6, 0.8}, t1{-0.6, -0.8};
        std::vector<double> knots;
        std::vector<xy> control = interpolate(fit, t0, t1, knots);
        s.integer(93, 4);
        lineedge(s, corners[0], corners[1]);
        lineedge(s, corners[1], fit.front());
        splineedge(s, control, knots, {}, false);
        s.integer(97, static_cast<long long>(fit.size()));
        for (xy p : fit) {
            s.real(11, p.x);
            s.real(21, p.y);
        }
        s.real(12, t0.x);
        s.real(22, t0.y);
        s.real(13, t1.x);
        s.real(23, t1.y);
        lineedge(s, fit.back(), corners[0]);
        count = 4;
    } else {
        s.integer(93, 1);
        arcedge(s, c, a < b ? a : b, 0, 360);
    }
    s.integer(97, 0);  // no source objects
    return count;
}

}  // namespace dxfgen
