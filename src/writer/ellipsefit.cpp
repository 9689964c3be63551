#include "writer/ellipsefit.h"

#include <algorithm>
#include <cmath>

#include "writer/planecurve.h"
#include "support/vectors.h"

namespace ostra {

using brevo::point;
using brevo::vector;

namespace {

const double pi = 3.14159265358979323846;
// The largest radius of an arc, in units of the tolerance.
const double maxradius = 1e12;
// Initial pieces span at most this many degrees of the parameter.
const double initialspan = 45;
// Bounds on the work for any ellipse: halvings of a piece, and pieces in
// all (once they are handed out, what remains is written unhalved).
const int maxdepth = 48;
const long maxpieces = 1L << 15;
// Samples of the curve inside a piece at which a biarc is measured.
const int samples = 16;

// One piece of the chain in the ellipse's plane: a straight segment from p
// to q, or an arc about c from p over sweep radians (counterclockwise when
// positive) ending at q.
struct piece2 {
    vec2 p, q, c;
    double sweep = 0;
    bool straight = true;
};

piece2 chord(vec2 p, vec2 q) {
    piece2 m;
    m.p = p;
    m.q = q;
    return m;
}

// The arc from p that leaves along the unit tangent t and ends at q; a
// straight segment when the radius would exceed rmax (or there is no arc).
piece2 toward(vec2 p, vec2 t, vec2 q, double rmax) {
    piece2 m = chord(p, q);
    const vec2 d = q - p;
    const double dd = dot(d, d), h = cross(t, d);
    if (!(dd > 0) || h == 0) return m;
    const double r = dd / (2 * h);  // signed: the centre lies left of t when positive
    if (!(std::fabs(r) <= rmax)) return m;
    m.c = p + perp(t) * r;
    m.sweep = 2 * std::atan2(h, dot(t, d));  // twice the angle between tangent and chord
    m.straight = false;
    return m;
}

double distance(const piece2& m, vec2 x) {
    if (m.straight) {
        const vec2 d = m.q - m.p;
        const double dd = dot(d, d);
        double s = dd > 0 ? dot(x - m.p, d) / dd : 0;
        s = std::max(0.0, std::min(1.0, s));
        return length(x - (m.p + d * s));
    }
    const vec2 u = m.p - m.c, v = x - m.c;
    double phi = std::atan2(cross(u, v), dot(u, v));
    if (m.sweep < 0) phi = -phi;
    if (phi < 0) phi += 2 * pi;
    if (phi <= std::fabs(m.sweep)) return std::fabs(length(v) - length(u));
    return std::min(length(x - m.p), length(x - m.q));
}

// The biarc from p0 (unit tangent t0) to p1 (unit tangent t1) whose two
// tangent legs are equally long; false when the tangents allow none.
bool biarc(vec2 p0, vec2 t0, vec2 p1, vec2 t1, double rmax, piece2 (&out)[2]) {
    const vec2 v = p1 - p0, t = t0 + t1;
    const double vt = dot(v, t), vv = dot(v, v), c = 1 - dot(t0, t1);
    // The leg d solves |v - d t| = 2 d; written so that it stays exact when
    // the tangents are nearly parallel.
    const double den = std::sqrt(vt * vt + 2 * c * vv) + vt;
    if (!(den > 0)) return false;
    const double d = vv / den;
    const vec2 q0 = p0 + t0 * d, q1 = p1 - t1 * d;
    const vec2 j = (q0 + q1) * 0.5;
    const vec2 tj = unit(q1 - q0);
    if (!(length(tj) > 0)) return false;
    out[0] = toward(p0, t0, j, rmax);
    out[1] = toward(j, tj, p1, rmax);
    return true;
}

class fitter {
public:
    // Pieces within target of the curve; a biarc's chord at most maxchord.
    fitter(const planecurve& k, double target, double rmax, double maxchord, piecesink& out)
        : k_(k), target_(target), rmax_(rmax), maxchord_(maxchord), out_(out) {}

    bool run(double t0, double t1) {
        const int n = std::max(1, static_cast<int>(std::ceil((t1 - t0) / initialspan)));
        for (int i = 0; i < n; ++i) {
            const double ta = i == 0 ? t0 : t0 + (t1 - t0) * i / n;
            const double tb = i == n - 1 ? t1 : t0 + (t1 - t0) * (i + 1) / n;
            if (!piece(ta, tb, 0)) return false;
        }
        return true;
    }

private:
    // A chord where it is close enough, else a biarc, else two halves. Once
    // the depth or the number of pieces runs out, a biarc that fits all but
    // the chord limit is taken as it is, and failing that the chord.
    bool piece(double ta, double tb, int depth) {
        const vec2 p0 = k_.at(ta), p1 = k_.at(tb);
        if (k_.chorderror(ta, tb) <= target_) return emit(chord(p0, p1));
        const bool last = depth >= maxdepth || pieces_ >= maxpieces;
        piece2 two[2];
        if (fitbiarc(ta, tb, p0, p1, two) && (last || length(p1 - p0) <= maxchord_))
            return emit(two[0]) && emit(two[1]);
        if (last) return emit(chord(p0, p1));
        const double tm = 0.5 * (ta + tb);
        return piece(ta, tm, depth + 1) && piece(tm, tb, depth + 1);
    }

    // A biarc over the piece that stays within the target at every sample.
    // Only tangents that turn by 60 degrees at most are tried, so that the
    // error between the samples stays close to what they show.
    bool fitbiarc(double ta, double tb, vec2 p0, vec2 p1, piece2 (&two)[2]) const {
        const vec2 t0 = k_.tangent(ta), t1 = k_.tangent(tb);
        if (!(length(t0) > 0 && length(t1) > 0) || dot(t0, t1) < 0.5) return false;
        if (!biarc(p0, t0, p1, t1, rmax_, two)) return false;
        for (int i = 1; i < samples; ++i) {
            const vec2 x = k_.at(ta + (tb - ta) * i / samples);
            if (!(std::min(distance(two[0], x), distance(two[1], x)) <= target_)) return false;
        }
        return true;
    }

    bool emit(const piece2& m) {
        ++pieces_;
        if (m.straight) return out_.segment(brevo::lineseg(k_.world(m.p), k_.world(m.q)));
        return out_.piece(brevo::arc(k_.world(m.c), k_.normal(), k_.world(m.p), m.sweep * 180 / pi));
    }

    const planecurve& k_;
    double target_, rmax_, maxchord_;
    piecesink& out_;
    long pieces_ = 0;
};

}  // namespace

bool approximable(const brevo::ellipse& e) {
    return finite(e.center()) && finite(e.normal()) && finite(e.majoraxis()) && finite(e.minoraxis()) &&
           std::isfinite(e.ratio()) && std::isfinite(e.startparam()) && std::isfinite(e.endparam());
}

double ellipsetolerance(const brevo::ellipse& e) {
    // The bounding box of c + u cos t + v sin t has half-sides whose squares
    // add up to |u|^2 + |v|^2, in any orientation.
    const double diagonal = 2 * std::hypot(e.majoraxis().length(), e.minoraxis().length());
    return std::max(std::min(0.01, diagonal / 1000), diagonal * 1e-9);
}

bool approximateellipse(const brevo::ellipse& e, piecesink& out) {
    double t0 = e.startparam(), t1 = e.endparam();
    // The parameter runs counterclockwise from start to end, over the zero
    // direction when the end is the smaller.
    if (t1 < t0) t1 += 360;
    t1 = std::min(t1, t0 + 360);
    const double tol = ellipsetolerance(e);
    const planecurve k(e);
    const double tilt = out.tilt(k.normal());
    const double maxchord = tilt > 0 ? tol / (8 * tilt) : INFINITY;
    fitter f(k, tol / 2, tol * maxradius, maxchord, out);
    return f.run(t0, t1);
}

}  // namespace ostra
