// Boundary loops as polygons and as pieces.
#include "support/loopflatten.h"

#include <algorithm>
#include <cmath>

#include "support/splineflatten.h"

namespace ostra {

namespace {

const double tolerancefloor = 0x1p-44;
const double degrees = 180 / 3.14159265358979323846;

void addbox(box2& b, const point2& p) {
    if (finite(p)) b.add(p);
}

void addbox(box2& b, const brevo::point& p) { addbox(b, point2{p.x, p.y}); }

void addbox(box2& b, const point2& c, double r) {
    if (!std::isfinite(r)) return;
    addbox(b, c - point2{r, r});
    addbox(b, c + point2{r, r});
}

box2 loopbox(const hatchloop& l) {
    box2 b;
    for (const point2& p : l.vertices) addbox(b, p);
    for (const hatchedge& e : l.edges) {
        if (e.kind == edgeline) addbox(b, e.start), addbox(b, e.end);
        if (e.kind == edgearc) addbox(b, e.centre, std::fabs(e.radius));
        if (e.kind == edgeellipse) addbox(b, e.centre, length(e.majoraxis) * std::max(1.0, std::fabs(e.ratio)));
    }
    for (const splinedata& d : l.splines) {
        for (const brevo::point& p : d.control.empty() ? d.fit : d.control) addbox(b, p);
    }
    return b;
}

double usabletolerance(const hatchloop& l, double tolerance) {
    if (!(tolerance > 0) || !std::isfinite(tolerance)) tolerance = defaultlooptolerance(l);
    box2 b = loopbox(l);
    if (b.empty()) return tolerance;
    double extent = std::max(std::max(std::fabs(b.lo.x), std::fabs(b.lo.y)), std::max(std::fabs(b.hi.x), std::fabs(b.hi.y)));
    return std::max(tolerance, extent * tolerancefloor);
}

// The equal angle steps of an arc within the tolerance; cap + 1 for more
// than cap.
std::size_t arcsteps(double sweep, double r, double tol, std::size_t cap) {
    double s = std::fabs(sweep);
    double step = r > 0 ? 4 * std::asin(std::sqrt(std::min(1.0, tol / (2 * r)))) * degrees : 90;
    double n = std::max(std::ceil(s / 90), std::ceil(s / step));
    if (!(n >= 1)) n = 1;
    return n > static_cast<double>(cap) ? cap + 1 : static_cast<std::size_t>(n);
}

double arcradius(const arcform& f) { return std::max(length(f.a), length(f.b)); }

class polygonbuilder {
public:
    polygonbuilder(std::vector<point2>& out, double tol) : out_(out), tol_(tol) {}

    bool full() const { return full_; }
    int bad = 0;

    void add(const point2& p) {
        if (full_ || !finite(p)) return;
        if (!out_.empty() && out_.back() == p) return;
        if (out_.size() >= maxlooppoints) {
            full_ = true;
            return;
        }
        out_.push_back(p);
    }

    // The arc's points from step first to step last of its steps (0 and
    // the step count give its ends).
    void arc(const arcform& f, bool ends) {
        std::size_t n = arcsteps(f.sweep, arcradius(f), tol_, maxlooppoints);
        for (std::size_t i = ends ? 0 : 1; i <= (ends ? n : n - 1) && !full_; ++i)
            add(arcpoint(f, f.t0 + f.sweep * (static_cast<double>(i) / static_cast<double>(n))));
    }

    void spline(const splinedata& d) {
        splinedata copy = d;
        brevo::point p;
        if (!flattener_.start(copy, tol_)) {
            ++bad;
            return;
        }
        while (!full_ && flattener_.nextvertex(p)) add(point2{p.x, p.y});
    }

    void polyline(const hatchloop& l) {
        std::size_t n = l.vertices.size();
        arcform f;
        for (std::size_t i = 0; i < n && !full_; ++i) {
            const point2& v0 = l.vertices[i];
            if (!finite(v0)) ++bad;
            add(v0);
            double b = i < l.bulges.size() ? l.bulges[i] : 0;
            if (!std::isfinite(b)) ++bad;
            if (n > 1 && bulgearcform(v0, l.vertices[(i + 1) % n], b, f)) arc(f, false);
        }
    }

    void edges(const hatchloop& l) {
        arcform f;
        for (const hatchedge& e : l.edges) {
            if (full_) return;
            if (e.kind == edgeline) {
                if (!finite(e.start) || !finite(e.end)) ++bad;
                add(e.start);
                add(e.end);
            } else if ((e.kind == edgearc || e.kind == edgeellipse) && edgearcform(e, f)) {
                arc(f, true);
            } else if (e.kind == edgespline && e.spline >= 0 && static_cast<std::size_t>(e.spline) < l.splines.size()) {
                spline(l.splines[static_cast<std::size_t>(e.spline)]);
            } else {
                ++bad;
            }
        }
    }

    void close() {
        if (out_.size() > 1 && out_.back() == out_.front()) out_.pop_back();
    }

private:
    std::vector<point2>& out_;
    double tol_;
    bool full_ = false;
    splineflattener flattener_;
};

}  // namespace

double defaultlooptolerance(const hatchloop& l) {
    double t = loopbox(l).diagonal() / 1000;
    return t > 0 && t < 0.01 ? t : 0.01;
}

flattenresult flattenloop(const hatchloop& l, double tolerance, std::vector<point2>& out) {
    flattenresult r;
    r.tolerance = usabletolerance(l, tolerance);
    for (int attempt = 0;; ++attempt) {
        out.clear();
        polygonbuilder b(out, r.tolerance);
        if (l.polyline)
            b.polyline(l);
        else
            b.edges(l);
        b.close();
        r.badedges = b.bad;
        if (!b.full()) break;
        if (attempt == 4) {
            r.truncated = true;
            break;
        }
        r.tolerance *= 16;
        r.coarsened = true;
    }
    return r;
}

flattenresult looppieces(const hatchloop& l, double tolerance, std::vector<hatchpiece>& out) {
    flattenresult r;
    r.tolerance = usabletolerance(l, tolerance);
    out.clear();
    auto line = [&](const point2& a, const point2& b) {
        if (a == b) return;
        if (out.size() >= maxlooppoints) {
            r.truncated = true;
            return;
        }
        hatchpiece p;
        p.start = a;
        p.end = b;
        out.push_back(p);
    };
    auto arc = [&](const arcform& f) {
        if (out.size() >= maxlooppoints) r.truncated = true;
        else out.push_back(arcpiece(f));
    };
    arcform f;
    if (l.polyline) {
        std::vector<std::size_t> keep;  // the finite vertices
        for (std::size_t i = 0; i < l.vertices.size(); ++i) {
            if (finite(l.vertices[i])) keep.push_back(i);
            else ++r.badedges;
        }
        for (std::size_t k = 0; k < keep.size() && keep.size() > 1; ++k) {
            const point2& v0 = l.vertices[keep[k]];
            const point2& v1 = l.vertices[keep[(k + 1) % keep.size()]];
            double b = keep[k] < l.bulges.size() ? l.bulges[keep[k]] : 0;
            if (!std::isfinite(b)) ++r.badedges;
            if (bulgearcform(v0, v1, b, f)) {
                hatchpiece p = arcpiece(f);
                p.start = v0;
                p.end = v1;
                if (out.size() < maxlooppoints) out.push_back(p);
                else r.truncated = true;
            } else {
                line(v0, v1);
            }
        }
        return r;
    }
    splineflattener flattener;
    for (const hatchedge& e : l.edges) {
        if (e.kind == edgeline && finite(e.start) && finite(e.end)) {
            line(e.start, e.end);
        } else if ((e.kind == edgearc || e.kind == edgeellipse) && edgearcform(e, f)) {
            arc(f);
        } else if (e.kind == edgespline && e.spline >= 0 && static_cast<std::size_t>(e.spline) < l.splines.size()) {
            splinedata copy = l.splines[static_cast<std::size_t>(e.spline)];
            brevo::point p, q;
            bool first = true;
            if (!flattener.start(copy, r.tolerance)) ++r.badedges;
            while (!r.truncated && flattener.nextvertex(p)) {
                if (!first) line(point2{q.x, q.y}, point2{p.x, p.y});
                q = p;
                first = false;
            }
        } else {
            ++r.badedges;
        }
    }
    return r;
}

}  // namespace ostra
