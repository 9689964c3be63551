// A point or vector in a plane: the 2D object coordinates of a hatch's
// boundary loops and pattern lines.
#ifndef OSTRA_SUPPORT_POINT2_H
#define OSTRA_SUPPORT_POINT2_H

#include <cmath>

namespace ostra {

struct point2 {
    double x = 0, y = 0;
};

inline point2 operator+(const point2& a, const point2& b) { return {a.x + b.x, a.y + b.y}; }
inline point2 operator-(const point2& a, const point2& b) { return {a.x - b.x, a.y - b.y}; }
inline point2 operator*(const point2& a, double f) { return {a.x * f, a.y * f}; }
inline bool operator==(const point2& a, const point2& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const point2& a, const point2& b) { return !(a == b); }
inline double dot(const point2& a, const point2& b) { return a.x * b.x + a.y * b.y; }
inline double cross(const point2& a, const point2& b) { return a.x * b.y - a.y * b.x; }
inline double length(const point2& a) { return std::hypot(a.x, a.y); }
inline bool finite(const point2& a) { return std::isfinite(a.x) && std::isfinite(a.y); }

// An axis-aligned box; empty until a point is added.
struct box2 {
    point2 lo{HUGE_VAL, HUGE_VAL}, hi{-HUGE_VAL, -HUGE_VAL};

    bool empty() const { return !(lo.x <= hi.x && lo.y <= hi.y); }
    void add(const point2& p) {
        lo.x = std::fmin(lo.x, p.x);
        lo.y = std::fmin(lo.y, p.y);
        hi.x = std::fmax(hi.x, p.x);
        hi.y = std::fmax(hi.y, p.y);
    }
    void add(const box2& b) {
        if (!b.empty()) add(b.lo), add(b.hi);
    }
    double diagonal() const { return empty() ? 0 : length(hi - lo); }
};

}  // namespace ostra

#endif
