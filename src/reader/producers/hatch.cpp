#include "reader/producers/hatch.h"

#include <climits>

#include "reader/records/ocs.h"
#include "support/loopflatten.h"
#include "support/hatchpattern.h"

namespace ostra {

using brevo::geometry;
using brevo::point;
using brevo::vector;

void hatchsource::clear() {
    pieces_.clear();
    lines_.clear();
    next_ = 0;
}

void hatchsource::addlines(std::vector<patternsegment>& lines, double z, const brevo::trafo& place, bool transform,
                           const fillinfo* fill) {
    lines_.swap(lines);
    z_ = z;
    place_ = place;
    transform_ = transform;
    linefill_ = fill;
}

void hatchsource::add(const geometry& g, const fillinfo* fill) { pieces_.push_back(piece{g, fill}); }

void hatchsource::begin(const geometryinfo& info) {
    info_ = info;
    next_ = 0;
}

// The loops' pieces, then the pattern lines, each made as it is taken: a
// dot is a point.
bool hatchsource::fill(sink& s) {
    if (next_ < pieces_.size()) {
        const piece& p = pieces_[next_++];
        info_.fill = p.fill;
        s.put(p.g, info_);
        return true;
    }
    std::size_t i = next_ - pieces_.size();
    if (i >= lines_.size()) return false;
    ++next_;
    const patternsegment& l = lines_[i];
    point a(l.a.x, l.a.y, z_), b(l.b.x, l.b.y, z_);
    geometry g = a.x == b.x && a.y == b.y ? geometry(a) : geometry(brevo::lineseg(a, b));
    info_.fill = linefill_;
    s.put(transform_ ? g * place_ : g, info_);
    return true;
}

namespace {
// A piece of a loop in the hatch's plane at its elevation.
geometry piecegeometry(const hatchpiece& p, double z) {
    auto at = [z](const point2& q) { return point(q.x, q.y, z); };
    const vector up(0, 0, 1);
    switch (p.kind) {
    case piecearc:
        return geometry(brevo::arc(at(p.centre), up, at(p.start), p.reversed ? -p.sweep : p.sweep));
    case pieceellipse: {
        vector major(p.majoraxis.x, p.majoraxis.y, 0);
        double t0 = p.startangle, t1 = p.startangle + p.sweep;
        // Seen from below the parameter runs the other way round.
        if (p.reversed) return geometry(brevo::ellipse(at(p.centre), vector(0, 0, -1), major, p.ratio, -t1, -t0));
        return geometry(brevo::ellipse(at(p.centre), up, major, p.ratio, t0, t1));
    }
    default:
        return geometry(brevo::lineseg(at(p.start), at(p.end)));
    }
}
}  // namespace

fillinfo* hatchproducer::newfill(bool kept) {
    if (kept) {
        kept_.push_back(base_);
        return &kept_.back();
    }
    fills_[usedfills_] = base_;
    return &fills_[usedfills_++];
}

const char* hatchproducer::keptname(const std::string& name, bool kept) {
    if (!kept) {
        pattern_ = name;
        return pattern_.c_str();
    }
    if (keptnames_.empty() || keptnames_.back() != name) keptnames_.push_back(name);
    return keptnames_.back().c_str();
}

void hatchproducer::end(const grouptable& t, emitter& e, int modes, double tolerance) {
    if (modes == nohatch || !e.test()) return;
    hatchdata& d = record_.data();
    bool kept = !e.tocaller();
    brevo::trafo place = ocstrafo(t);
    bool transform = hasextrusion(t);
    // The polygons, for the nesting and the pattern's clipping.
    polygons_.resize(d.loops.size());
    for (std::size_t i = 0; i < d.loops.size(); ++i) flattenloop(d.loops[i], tolerance, polygons_[i]);
    nestloops(polygons_, d.style, nest_);
    base_ = fillinfo();
    base_.solid = d.solid;
    base_.pattern = keptname(d.pattern, kept);
    base_.gradient = d.gradient;
    base_.gradientcolor1 = d.colours[0];
    base_.gradientcolor2 = d.colours[1];
    base_.style = d.style == styleoutermost || d.style == styleignore ? d.style : stylenormal;
    base_.loops = static_cast<int>(d.loops.size());
    fills_.resize(d.loops.size() + 1);
    usedfills_ = 0;
    source_.clear();
    if (modes & hatchboundaries) boundaries(d, place, transform, tolerance, kept);
    std::size_t loopspieces = source_.size();
    if ((modes & hatchpatterns) && !d.solid) patterns(d, place, transform, e.shown(), kept);
    // One loop and nothing else is a closed contour.
    e.setclosed(d.loops.size() == 1 && loopspieces > 0 && source_.size() == loopspieces);
    if (source_.size() == 0) return;
    source_.begin(e.recordinfo());
    e.emitall(source_);
}

void hatchproducer::boundaries(const hatchdata& d, const brevo::trafo& place, bool transform, double tolerance,
                               bool kept) {
    for (std::size_t i = 0; i < d.loops.size(); ++i) {
        looppieces(d.loops[i], tolerance, pieces_);
        if (pieces_.empty()) continue;
        fillinfo* f = newfill(kept);
        f->loop = static_cast<int>(i);
        f->outer = nest_[i].outer;
        f->filled = nest_[i].filled;
        for (const hatchpiece& p : pieces_) {
            geometry g = piecegeometry(p, d.elevation);
            source_.add(transform ? g * place : g, f);
        }
    }
}

void hatchproducer::patterns(const hatchdata& d, const brevo::trafo& place, bool transform, visibility& shown,
                             bool kept) {
    if (d.families.empty()) return;
    patternresult r;
    patternlines(polygons_, nest_, d.families, r);
    if (r.omittedlines > 0 || r.stopped) {
        unsigned long long n = r.omittedlines > 0 ? r.omittedlines : 1;
        shown.count("*patternlines", n > INT_MAX ? INT_MAX : static_cast<int>(n));
    }
    if (r.segments.empty()) return;
    fillinfo* f = newfill(kept);
    f->loop = -1;
    source_.addlines(r.segments, d.elevation, place, transform, f);
}

}  // namespace ostra
