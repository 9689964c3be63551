// Cubic spline interpolation of fit points.
//
// The unknowns are the derivatives D[i] at the fit points P[i]. With chord
// lengths h[i] = |P[i+1] - P[i]| and unit chords u[i], equal second
// derivatives on both sides of an inner point i mean
//   h[i] D[i-1] + 2 (h[i-1] + h[i]) D[i] + h[i-1] D[i+1] = 3 (h[i] u[i-1] + h[i-1] u[i]);
// each row is divided by h[i-1] + h[i], so that its coefficients are
// lam, 2 and 1 - lam with lam = h[i] / (h[i-1] + h[i]) and its right-hand
// side has length at most 3, whatever the size of the drawing. The systems
// are diagonally dominant, so elimination without pivoting is stable.
#include "support/splinefit.h"

#include <cmath>
#include <cstddef>

#include "support/vectors.h"

namespace ostra {

namespace {

struct rowcoef {
    double sub, diag, sup;
};

// Solves the tridiagonal system whose row i is row(i) with the right-hand
// sides in x, in place; piv holds m values.
template <class T, class Row>
void thomas(std::size_t m, const Row& row, T* x, double* piv) {
    rowcoef r = row(0);
    piv[0] = r.sup / r.diag;
    x[0] = x[0] * (1 / r.diag);
    for (std::size_t i = 1; i < m; ++i) {
        r = row(i);
        double den = r.diag - r.sub * piv[i - 1];
        piv[i] = r.sup / den;
        x[i] = (x[i] - x[i - 1] * r.sub) * (1 / den);
    }
    for (std::size_t i = m - 1; i > 0; --i) x[i - 1] = x[i - 1] - x[i] * piv[i - 1];
}

bool gatherpoints(const std::vector<brevo::point>& fit, bool closed, std::vector<brevo::point>& out) {
    out.clear();
    for (const brevo::point& q : fit) {
        if (!finite(q)) return false;
        if (out.empty() || !samepoint(q, out.back())) out.push_back(q);
    }
    while (closed && out.size() > 1 && samepoint(out.back(), out.front())) out.pop_back();
    return true;
}

// Chord lengths and directions; false when a length or their sum overflows.
bool measurechords(fitwork& w, std::size_t chords) {
    std::size_t m = w.points.size();
    w.lengths.resize(chords);
    w.chords.resize(chords);
    double total = 0;
    for (std::size_t i = 0; i < chords; ++i) {
        brevo::vector v = w.points[(i + 1) % m] - w.points[i];
        w.lengths[i] = v.length();
        w.chords[i] = v.unit();
        total += w.lengths[i];
    }
    return std::isfinite(total);
}

// The tangent made length 1, when it is usable.
bool endtangent(bool given, const brevo::vector& t, brevo::vector& out) {
    if (!given || !finite(t)) return false;
    out = t.unit();
    return out.x != 0 || out.y != 0 || out.z != 0;
}

// The right-hand side of an inner point's row; h and u are the chords
// before and after it.
brevo::vector innerrhs(double hbefore, double hafter, const brevo::vector& ubefore,
                       const brevo::vector& uafter) {
    double lam = hafter / (hbefore + hafter);
    return (ubefore * lam + uafter * (1 - lam)) * 3;
}

void solveopen(const splinedata& d, fitwork& w) {
    std::size_t m = w.points.size();
    w.derivs.resize(m);
    w.pivots.resize(m);
    brevo::vector ts, te;
    bool hasts = endtangent(d.hasstarttangent, d.starttangent, ts);
    bool haste = endtangent(d.hasendtangent, d.endtangent, te);
    w.derivs[0] = hasts ? ts : w.chords[0] * 3;
    w.derivs[m - 1] = haste ? te : w.chords[m - 2] * 3;
    for (std::size_t i = 1; i + 1 < m; ++i) {
        w.derivs[i] = innerrhs(w.lengths[i - 1], w.lengths[i], w.chords[i - 1], w.chords[i]);
    }
    auto row = [&](std::size_t i) -> rowcoef {
        if (i == 0) return hasts ? rowcoef{0, 1, 0} : rowcoef{0, 2, 1};
        if (i == m - 1) return haste ? rowcoef{0, 1, 0} : rowcoef{1, 2, 0};
        double lam = w.lengths[i] / (w.lengths[i - 1] + w.lengths[i]);
        return {lam, 2, 1 - lam};
    };
    thomas(m, row, w.derivs.data(), w.pivots.data());
}

// The cyclic system by the Sherman-Morrison formula: the corner entries
// beta (row 0, column m-1) and alpha (row m-1, column 0) are moved into a
// rank-one term with gamma = -2, leaving a tridiagonal system solved for the
// right-hand sides and for the correction vector.
void solveperiodic(fitwork& w) {
    std::size_t m = w.points.size();
    w.derivs.resize(m);
    w.pivots.resize(m);
    w.fix.assign(m, 0);
    for (std::size_t i = 0; i < m; ++i) {
        std::size_t before = (i + m - 1) % m;
        w.derivs[i] = innerrhs(w.lengths[before], w.lengths[i], w.chords[before], w.chords[i]);
    }
    const double gamma = -2;
    double beta = w.lengths[0] / (w.lengths[m - 1] + w.lengths[0]);
    double alpha = 1 - w.lengths[m - 1] / (w.lengths[m - 2] + w.lengths[m - 1]);
    auto row = [&](std::size_t i) -> rowcoef {
        if (i == 0) return {0, 2 - gamma, 1 - beta};
        std::size_t before = i - 1;
        double lam = w.lengths[i] / (w.lengths[before] + w.lengths[i]);
        if (i == m - 1) return {lam, 2 - alpha * beta / gamma, 0};
        return {lam, 2, 1 - lam};
    };
    thomas(m, row, w.derivs.data(), w.pivots.data());
    w.fix[0] = gamma;
    w.fix[m - 1] = alpha;
    thomas(m, row, w.fix.data(), w.pivots.data());
    double denom = 1 + w.fix[0] + beta / gamma * w.fix[m - 1];
    brevo::vector num = w.derivs[0] + w.derivs[m - 1] * (beta / gamma);
    brevo::vector factor = num * (1 / denom);
    for (std::size_t i = 0; i < m; ++i) w.derivs[i] = w.derivs[i] - factor * w.fix[i];
}

// One cubic piece per chord: P[i], P[i] + h D[i] / 3, P[i+1] - h D[i+1] / 3.
void writebezier(const fitwork& w, std::size_t chords, nurbscurve& c) {
    std::size_t m = w.points.size();
    c.degree = 3;
    c.weights.clear();
    c.control.clear();
    c.knots.clear();
    c.control.reserve(3 * chords + 1);
    c.knots.reserve(3 * chords + 5);
    for (std::size_t i = 0; i < chords; ++i) {
        std::size_t j = (i + 1) % m;
        double third = w.lengths[i] / 3;
        c.control.push_back(w.points[i]);
        c.control.push_back(w.points[i] + w.derivs[i] * third);
        c.control.push_back(w.points[j] + w.derivs[j] * -third);
    }
    c.control.push_back(w.points[chords % m]);
    c.knots.assign(4, 0.0);
    for (std::size_t i = 1; i < chords; ++i) c.knots.insert(c.knots.end(), 3, static_cast<double>(i));
    c.knots.insert(c.knots.end(), 4, static_cast<double>(chords));
}

}  // namespace

bool fitcurve(const splinedata& d, nurbscurve& c, fitwork& w) {
    bool closed = d.closed || d.periodic;
    if (!gatherpoints(d.fit, closed, w.points)) return false;
    std::size_t m = w.points.size();
    if (m < 2) return false;
    bool periodic = closed && m >= 3;
    std::size_t chords = periodic ? m : m - 1;
    if (!measurechords(w, chords)) return false;
    if (periodic) {
        solveperiodic(w);
    } else {
        solveopen(d, w);
    }
    writebezier(w, chords, c);
    return checkcontrol(c);
}

}  // namespace ostra
