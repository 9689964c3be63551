// Vector, point, line and trafo of the geometry library.
#include <brevo/types.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "scaling.h"

namespace brevo {

vector::vector() : x(0), y(0), z(0) {}
vector::vector(const double& x_, const double& y_, const double& z_) : x(x_), y(y_), z(z_) {}

namespace {
// A vector whose largest component lies between these bounds has a sum of
// squares that neither overflows nor loses bits to underflow.
const double plainlow = 0x1p-450, plainhigh = 0x1p+450;

// The power of two that brings v's largest component into those bounds; 0
// when it lies there already or is zero, infinite or nan.
int plainexponent(const vector& v) {
    double m = magnitude(v);
    return m > plainlow && m < plainhigh ? 0 : scaleexponent(m);
}

double plainlength(const vector& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
}  // namespace

// Ordinary vectors take the plain sum of squares. Others are scaled by a
// power of two first, which gives the same result as the plain sum would in
// exact arithmetic; zero, infinite and nan components give 0, inf and nan
// as the plain sum does.
double vector::length() const {
    int e = plainexponent(*this);
    if (e == 0) return plainlength(*this);
    return std::scalbn(plainlength(scaledby(*this, e)), -e);
}

double vector::dot(const vector& o) const { return x * o.x + y * o.y + z * o.z; }
vector vector::cross(const vector& o) const {
    return vector(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
}
vector vector::operator+(const vector& o) const { return vector(x + o.x, y + o.y, z + o.z); }
vector vector::operator-(const vector& o) const { return vector(x - o.x, y - o.y, z - o.z); }
vector vector::operator*(const double& f) const { return vector(x * f, y * f, z * f); }
// A vector of extreme size is brought near length 1 first, so that neither
// its length nor the quotients lose bits.
vector vector::unit() const {
    int e = plainexponent(*this);
    vector s = e == 0 ? *this : scaledby(*this, e);
    double l = plainlength(s);
    if (!(l > 0) || !std::isfinite(l)) return *this;
    return vector(s.x / l, s.y / l, s.z / l);
}

namespace {
// The invalid mark: a quiet NaN whose payload no arithmetic or conversion of
// ours produces.
const std::uint64_t invalidbits = 0x7ff8b4e70dd1ULL | (0x7ffULL << 52);

double invalidvalue() {
    double d;
    std::memcpy(&d, &invalidbits, sizeof d);
    return d;
}
}  // namespace

point::point() : x(0), y(0), z(0) {}
point::point(const double& x_, const double& y_, const double& z_) : x(x_), y(y_), z(z_) {}

void point::setinvalid() { x = y = z = invalidvalue(); }
bool point::invalid() const {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits == invalidbits;
}
bool point::valid() const { return !invalid(); }

point point::operator*=(const trafo& t) {
    *this = t.apply(*this);
    return *this;
}

vector point::operator-(const point& o) const { return vector(x - o.x, y - o.y, z - o.z); }
point point::operator+(const vector& v) const { return point(x + v.x, y + v.y, z + v.z); }

line::line() = default;
line::line(const point& p, const vector& d) : p_(p), d_(d) {}
point line::origin() const { return p_; }
vector line::direction() const { return d_; }

namespace {
// The sine of quarter quarter turns plus r radians, |r| at most a little
// over pi / 4.
double quarterturns(int quarter, double r) {
    switch (quarter & 3) {
    case 0: return std::sin(r);
    case 1: return std::cos(r);
    case 2: return -std::sin(r);
    default: return -std::cos(r);
    }
}

// The angle with the same sine and cosine in (-360, 360). fmod is exact, so
// a huge angle keeps its true value modulo 360. Smaller angles are left
// alone: the split into quarter turns below is exact for them already, and
// the common case is spared the fmod.
double withinturn(double a) { return std::fabs(a) >= 360.0 ? std::fmod(a, 360.0) : a; }

const double radiansperdegree = 3.14159265358979323846 / 180.0;
}  // namespace

// Within a turn the angle splits exactly into quarter turns q and a rest of
// at most 45 degrees, so every multiple of 90 degrees gives an exact result.
// An angle that is not finite has no sine; nan also keeps the quarter count
// clear of an undefined integer conversion.
double sindeg(double a) {
    if (!std::isfinite(a)) return std::nan("");
    a = withinturn(a);
    double q = std::nearbyint(a / 90.0);
    return quarterturns(static_cast<int>(q), (a - 90.0 * q) * radiansperdegree);
}

// The sine a quarter turn on. The quarter count is chosen from a + 90, as the
// sine of a + 90 would choose it, but the rest is taken from a itself, so the
// rounding of a + 90 does not enter.
double cosdeg(double a) {
    if (!std::isfinite(a)) return std::nan("");
    a = withinturn(a);
    double q = std::nearbyint((a + 90.0) / 90.0);
    return quarterturns(static_cast<int>(q), (a - 90.0 * (q - 1.0)) * radiansperdegree);
}

trafo::trafo(bool) { id(); }

trafo::trafo(const double& a, const line& axis) {
    vector d = axis.direction().unit();
    double c = cosdeg(a), s = sindeg(a), k = 1.0 - c;
    m[0][0] = c + k * d.x * d.x;
    m[0][1] = k * d.x * d.y - s * d.z;
    m[0][2] = k * d.x * d.z + s * d.y;
    m[1][0] = k * d.y * d.x + s * d.z;
    m[1][1] = c + k * d.y * d.y;
    m[1][2] = k * d.y * d.z - s * d.x;
    m[2][0] = k * d.z * d.x - s * d.y;
    m[2][1] = k * d.z * d.y + s * d.x;
    m[2][2] = c + k * d.z * d.z;
    // The axis passes through p: p maps to itself.
    t[0] = t[1] = t[2] = 0.0;
    point p = axis.origin(), q = apply(p);
    t[0] = p.x - q.x;
    t[1] = p.y - q.y;
    t[2] = p.z - q.z;
}

void trafo::id() {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) m[i][j] = i == j ? 1.0 : 0.0;
        t[i] = 0.0;
    }
}

void trafo::offset(const double& x, const double& y, const double& z) {
    t[0] += x;
    t[1] += y;
    t[2] += z;
}

void trafo::scale(const double& sx, const double& sy, const double& sz) {
    trafo s;
    s.m[0][0] = sx;
    s.m[1][1] = sy;
    s.m[2][2] = sz;
    *this = s * *this;
}

void trafo::rotatez(const double& a) {
    *this = trafo(a, line(point(0, 0, 0), vector(0, 0, 1))) * *this;
}

trafo trafo::operator*(const trafo& b) const {
    trafo r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
        r.t[i] = m[i][0] * b.t[0] + m[i][1] * b.t[1] + m[i][2] * b.t[2] + t[i];
    }
    return r;
}

point trafo::apply(const point& p) const {
    return point(m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + t[0],
                 m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + t[1],
                 m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + t[2]);
}

vector trafo::apply(const vector& v) const {
    return vector(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
                  m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                  m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z);
}

double trafo::det() const {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

double trafo::detxy() const { return m[0][0] * m[1][1] - m[0][1] * m[1][0]; }

}  // namespace brevo
