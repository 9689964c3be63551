#include "reader/producers/exactpolyline.h"

#include <cmath>
#include <utility>

#include "reader/records/ocs.h"
#include "support/vectors.h"

namespace ostra {

using brevo::arc;
using brevo::geometry;
using brevo::lineseg;
using brevo::point;
using brevo::trafo;
using brevo::vector;

namespace {
const double pi = 3.14159265358979323846;

int intof(const grouptable& t, int code) {
    double v = t.number(code);
    return v >= -2147483648.0 && v <= 2147483647.0 ? static_cast<int>(v) : 0;
}
}  // namespace

geometry polylinepiece(const point& a, const point& b, double bulge, const trafo* ocs) {
    double dx = b.x - a.x, dy = b.y - a.y, c = std::sqrt(dx * dx + dy * dy);
    if (bulge == 0 || !std::isfinite(bulge) || !(c > 0))
        return ocs ? geometry(lineseg(ocs->apply(a), ocs->apply(b))) : geometry(lineseg(a, b));
    // The centre lies off the chord's midpoint, to the left of a -> b for a
    // positive bulge below 1, by c (1 - b^2) / (4 b).
    double off = (1 - bulge * bulge) / (4 * bulge);
    point m((a.x + b.x) / 2 - dy * off, (a.y + b.y) / 2 + dx * off, a.z);
    double sweep = 4 * std::atan(bulge) * 180 / pi;
    geometry piece(arc(m, vector(0, 0, 1), a, sweep));
    return ocs ? piece * *ocs : piece;
}

void exactpolylineproducer::start(bool light) {
    ocs_.id();
    elevation_ = 0;
    world_ = closed_ = hasprev_ = meshing_ = false;
    // VERTEX records after an LWPOLYLINE are none of its vertices.
    skip_ = light;
    layer_ = -1;
    vertices_ = 0;
    prevbulge_ = 0;
    prevwidth_ = piecewidth();
    defaultwidth_ = piecewidth();
    light_ = light;
    lwwidths_.clear();
    lw_.clear();
}

void exactpolylineproducer::lightgroup(int code, const grouptable& t) {
    if (code == 10) {
        lw_.push_back({t.number(10), 0, 0});
    } else if (!lw_.empty()) {
        if (code == 20)
            lw_.back().y = t.number(20);
        else if (code == 42)
            lw_.back().bulge = t.number(42);
        else
            lightwidth(code, t);
    }
}

// Out of the way of the common groups: a vertex's own width.
void exactpolylineproducer::lightwidth(int code, const grouptable& t) {
    std::size_t i = lw_.size() - 1;
    if (lwwidths_.empty() || lwwidths_.back().vertex != i) lwwidths_.push_back({i, -1, -1});
    (code == 40 ? lwwidths_.back().start : lwwidths_.back().end) = t.number(code);
}

void exactpolylineproducer::headerend(const grouptable& t, emitter& e) {
    int flags = intof(t, 70);
    if (light_) {
        lightend(t, e, flags);
        return;
    }
    closed_ = flags & 1;
    world_ = flags & 8;
    e.setclosed(closed_ && !(flags & (16 | 64)));
    header_ = readprops(t, t.recordid());
    meshing_ = false;
    // A mesh: its vertices are no chain, the mesh decides what it gives.
    skip_ = flags & (16 | 64);
    if (skip_) {
        meshing_ = e.test();
        if (meshing_) mesh_.start(t, e.layer(), &header_, e.entity());
        return;
    }
    // A POLYLINE header: one layer check, as in the default reading. The
    // header alone decides whether the polyline is drawn (its space, its
    // visibility, its layer frozen or off) and the layer of its pieces.
    skip_ = !e.active() || e.hidden();
    if (skip_) return;
    e.uselayer();
    layer_ = e.layer();
    skip_ = !e.shown(true);
    if (skip_) return;
    if (!world_) ocs_ = ocstrafo(t);
    elevation_ = t.number(30);
    defaultwidth_.start = t.carried(40) ? t.number(40) : 0;
    defaultwidth_.end = t.carried(41) ? t.number(41) : 0;
}

// One layer check per piece (at least one), as the default reading makes
// one per segment; then the pieces go out through the emitter. Only the
// record's own elevation counts: slot 38 is not cleared between records.
void exactpolylineproducer::lightend(const grouptable& t, emitter& e, int flags) {
    std::size_t n = lw_.size();
    bool closed = (flags & 1) && n >= 2;
    std::size_t pieces = n >= 2 ? n - 1 + (closed ? 1 : 0) : 0;
    if (!e.active() || e.hidden()) return;
    bool pass = e.uselayer();
    for (std::size_t i = 1; i < pieces; ++i) e.uselayer();
    if (!e.shown(pass) || pieces == 0) return;
    lwplaced_ = hasextrusion(t);
    if (lwplaced_) lwocs_ = ocstrafo(t);
    lwelevation_ = t.carried(38) ? t.number(38) : 0;
    // A vertex without widths of its own has the constant width (43).
    lwwide_.clear();
    if (!lwwidths_.empty() || (t.carried(43) && !t.zero(43))) {
        double constant = t.carried(43) ? t.number(43) : 0;
        lwwide_.assign(n, piecewidth{constant, constant});
        for (const lwwidth& w : lwwidths_) {
            if (w.start >= 0) lwwide_[w.vertex].start = w.start;
            if (w.end >= 0) lwwide_[w.vertex].end = w.end;
        }
    }
    e.setclosed(closed);
    info_ = e.recordinfo();
    // A closing piece of length 0 (last vertex repeating the first) adds nothing.
    if (closed && lw_.back().x == lw_.front().x && lw_.back().y == lw_.front().y) --pieces;
    // The vertices move to the delivery side, keeping both buffers' room.
    std::swap(lw_, lwout_);
    nextpiece_ = 0;
    pieces_ = pieces;
    e.emitall(*this);
}

geometry exactpolylineproducer::lightpiece(std::size_t i) const {
    const lwvertex& a = lwout_[i];
    const lwvertex& b = lwout_[(i + 1) % lwout_.size()];
    return polylinepiece(point(a.x, a.y, lwelevation_), point(b.x, b.y, lwelevation_), a.bulge,
                         lwplaced_ ? &lwocs_ : nullptr);
}

bool exactpolylineproducer::fill(sink& s) {
    if (nextpiece_ >= pieces_) return false;
    if (!lwwide_.empty()) {
        const piecewidth& w = lwwide_[nextpiece_];
        info_.width = w.start != 0 || w.end != 0 ? &w : nullptr;
    }
    s.put(lightpiece(nextpiece_++), info_);
    return true;
}

void exactpolylineproducer::vertexend(const grouptable& t, emitter& e) {
    if (meshing_) return mesh_.vertex(t, e);
    if (skip_) return;
    e.useprops("POLYLINE", &header_);
    bool pass = e.retest(layer_);
    // A spline-fit polyline is drawn through its fitted vertices: a frame
    // control point (flag 16) is no vertex of the drawn chain.
    if (intof(t, 70) & 16) return;
    point v = world_ ? slotpoint(t, 10) : point(t.number(10), t.number(20), elevation_);
    if (pass && hasprev_) emitpiece(e, polylinepiece(prev_, v, world_ ? 0 : prevbulge_, world_ ? nullptr : &ocs_));
    if (!hasprev_ && vertices_ == 0) first_ = v;
    prev_ = v;
    prevbulge_ = t.number(42);
    prevwidth_.start = t.carried(40) ? t.number(40) : defaultwidth_.start;
    prevwidth_.end = t.carried(41) ? t.number(41) : defaultwidth_.end;
    hasprev_ = true;
    ++vertices_;
}

void exactpolylineproducer::closing(emitter& e) {
    if (meshing_) {
        meshing_ = false;
        return mesh_.end(e);
    }
    if (!closed_ || skip_ || vertices_ < 2) return;
    if (samepoint(prev_, first_)) return;
    e.useprops("POLYLINE", &header_);
    if (!e.retest(layer_)) return;
    emitpiece(e, polylinepiece(prev_, first_, world_ ? 0 : prevbulge_, world_ ? nullptr : &ocs_));
}

// A piece of the old form from the previous vertex, with that vertex's
// widths when it has any.
void exactpolylineproducer::emitpiece(emitter& e, const geometry& g) {
    if (prevwidth_.start == 0 && prevwidth_.end == 0) return e.emit(g);
    width_ = prevwidth_;
    e.emit(g, width_);
}

}  // namespace ostra
