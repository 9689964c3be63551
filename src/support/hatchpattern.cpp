// Pattern lines: per family one sweep of the area's sides along the family's
// direction, the crossings of each line sorted, the dashes laid along each
// span from the line's own origin.
#include "support/hatchpattern.h"

#include <algorithm>
#include <cmath>

#include <brevo/types.h>

#include "support/scanlines.h"

namespace ostra {

namespace {

// A family made ready: its frame, spacing and dash period.
struct familyform {
    point2 d;               // the lines' direction
    double spacing = 0;     // between neighbouring lines, across them (> 0)
    double shift = 0;       // along the lines from one line's origin to the next's
    double basew = 0, baseu = 0;
    std::vector<double> starts;  // where each dash length begins in the period; empty: solid
    const std::vector<double>* dashes = nullptr;
    double period = 0;
};

enum preparation { drawn, invisible, omitted };

point2 direction(double angle) { return {brevo::cosdeg(angle), brevo::sindeg(angle)}; }

double across(const point2& d, const point2& p) { return p.y * d.x - p.x * d.y; }

// The lines a family has across the w range [lo, hi], counted in doubles.
double linesin(double lo, double hi, double basew, double spacing) {
    if (!(spacing > 0) || !(lo <= hi)) return 0;
    double n = std::floor((hi - basew) / spacing) - std::ceil((lo - basew) / spacing) + 1;
    return n > 0 ? n : 0;
}

std::uint64_t count(double n) { return n < 0x1p62 ? static_cast<std::uint64_t>(n) : std::uint64_t(1) << 62; }

// The lines of a family that cross the box.
std::uint64_t boxlines(const patternfamily& f, const box2& b) {
    point2 d = direction(f.angle);
    double s = std::fabs(across(d, f.offset));
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (const point2& c : {b.lo, b.hi, point2{b.lo.x, b.hi.y}, point2{b.hi.x, b.lo.y}}) {
        lo = std::min(lo, across(d, c));
        hi = std::max(hi, across(d, c));
    }
    return count(linesin(lo, hi, across(d, f.base), s));
}

preparation prepare(const patternfamily& f, double diagonal, familyform& g) {
    if (!std::isfinite(f.angle) || !finite(f.base) || !finite(f.offset)) return omitted;
    g.d = direction(f.angle);
    point2 offset = f.offset;
    g.spacing = across(g.d, offset);
    if (g.spacing < 0) {
        g.spacing = -g.spacing;
        offset = offset * -1;
    }
    if (!(g.spacing >= diagonal * minpatternspacing) || !(g.spacing > 0)) return omitted;
    g.shift = dot(offset, g.d);
    g.basew = across(g.d, f.base);
    g.baseu = dot(f.base, g.d);
    g.dashes = &f.dashes;
    g.starts.clear();
    g.period = 0;
    bool draws = f.dashes.empty();
    for (double e : f.dashes) {
        if (!std::isfinite(e)) return omitted;
        g.starts.push_back(g.period);
        g.period += std::fabs(e);
        draws = draws || e >= 0;
    }
    if (!draws) return invisible;
    if (!f.dashes.empty() && !(g.period >= diagonal * minpatternspacing && g.period > 0)) return omitted;
    return drawn;
}

class drawer {
public:
    explicit drawer(patternresult& out) : out_(out) {}

    // Draws one family; false when a bound stopped the drawing.
    bool family(const std::vector<std::vector<point2>>& polygons, const std::vector<bool>& use, const familyform& g) {
        scan_.start(polygons, use, g.d);
        work_ += scan_.sides();
        if (!(scan_.wlo() <= scan_.whi())) return true;
        double kmin = std::ceil((scan_.wlo() - g.basew) / g.spacing);
        double kmax = std::floor((scan_.whi() - g.basew) / g.spacing);
        if (!(kmin <= kmax)) return true;
        std::uint64_t lines = count(kmax - kmin + 1);
        if (!(std::fabs(kmin) < 0x1p50 && std::fabs(kmax) < 0x1p50)) {
            // The base point lies so far off that the lines' positions are lost in rounding.
            ++out_.omittedfamilies;
            out_.omittedlines += lines;
            return true;
        }
        for (std::uint64_t i = 0; i < lines; ++i) {
            if (!line(g, kmin + static_cast<double>(i))) {
                out_.omittedlines += lines - i;
                return false;
            }
        }
        return true;
    }

private:
    bool line(const familyform& g, double k) {
        if (work_ > maxpatternwork) return false;
        w_ = g.basew + k * g.spacing;
        work_ += scan_.crossings(w_, xs_);
        us_.clear();
        for (const crossing& c : xs_) {
            if (std::isfinite(c.u)) us_.push_back(c.u);
        }
        std::sort(us_.begin(), us_.end());
        work_ += us_.size();
        double origin = g.baseu + k * g.shift;
        for (std::size_t i = 0; i + 1 < us_.size(); i += 2) {
            if (!span(g, us_[i], us_[i + 1], origin)) return false;
        }
        return true;
    }

    bool emit(double a, double b) {
        if (out_.segments.size() >= maxpatternsegments) return false;
        out_.segments.push_back({scan_.at(a, w_), scan_.at(b, w_)});
        return true;
    }

    // The dashes on [ua, ub] of the line whose pattern begins at origin.
    bool span(const familyform& g, double ua, double ub, double origin) {
        if (g.starts.empty()) return !(ub > ua) || emit(ua, ub);
        const std::vector<double>& dashes = *g.dashes;
        std::size_t m = dashes.size();
        double j = std::floor((ua - origin) / g.period);
        if (!std::isfinite(j)) return true;
        double r = std::min(std::max((ua - origin) - j * g.period, 0.0), g.period);
        std::size_t i = static_cast<std::size_t>(std::upper_bound(g.starts.begin(), g.starts.end(), r) - g.starts.begin()) - 1;
        for (;;) {
            double pos = origin + (j * g.period + g.starts[i]);
            if (pos > ub) return true;
            if (++work_ > maxpatternwork) return false;
            double e = dashes[i];
            if (e > 0) {
                double lo = std::max(pos, ua), hi = std::min(pos + e, ub);
                if (hi > lo && !emit(lo, hi)) return false;
            } else if (e == 0 && pos >= ua && !emit(pos, pos)) {
                return false;
            }
            if (++i == m) i = 0, j += 1;
        }
    }

    patternresult& out_;
    scanlines scan_;
    std::vector<crossing> xs_;
    std::vector<double> us_;
    std::uint64_t work_ = 0;
    double w_ = 0;
};

}  // namespace

void patternlines(const std::vector<std::vector<point2>>& polygons, const std::vector<loopnest>& nest,
                  const std::vector<patternfamily>& families, patternresult& out) {
    out = patternresult();
    std::vector<bool> use;
    box2 box;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        bool on = nest.empty() || (i < nest.size() && nest[i].filled);
        if (!nest.empty()) use.push_back(on);
        for (const point2& p : polygons[i]) {
            if (on && finite(p)) box.add(p);
        }
    }
    if (box.empty()) return;
    double diagonal = box.diagonal();
    drawer draw(out);
    familyform g;
    for (const patternfamily& f : families) {
        preparation p = prepare(f, diagonal, g);
        if (p == omitted) ++out.omittedfamilies;
        if (p == omitted || (p == drawn && out.stopped))
            out.omittedlines += boxlines(f, box);
        else if (p == drawn && !draw.family(polygons, use, g))
            out.stopped = true;
    }
}

}  // namespace ostra
