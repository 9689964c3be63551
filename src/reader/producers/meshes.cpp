#include "reader/producers/meshes.h"

#include <cmath>
#include <utility>

#include "reader/records/ocs.h"
#include "support/vectors.h"

namespace ostra {

using brevo::lineseg;
using brevo::point;

namespace {
// A count or vertex number from a group, 0 when it is none.
long intof(const grouptable& t, int code) {
    double v = t.number(code);
    return v >= -1e9 && v <= 1e9 ? static_cast<long>(v) : 0;
}

// A count from a group, 0 when it is none or not above 0.
std::size_t countof(const grouptable& t, int code) {
    long v = intof(t, code);
    return v > 0 ? static_cast<std::size_t>(v) : 0;
}
}  // namespace

void meshproducer::start(const grouptable& t, int layer, const recordprops* props, unsigned long long entity) {
    long flags = intof(t, 70);
    polyface_ = flags & 64;
    closedm_ = flags & 1;
    closedn_ = flags & 32;
    smoothed_ = !polyface_ && (flags & 4);
    m_ = countof(t, 71);
    n_ = countof(t, 72);
    surfacen_ = countof(t, 74);
    vertices_.clear();
    surface_.clear();
    count_ = next_ = 0;
    grid_ = false;
    info_ = geometryinfo();
    info_.layer = layer;
    info_.record = "POLYLINE";
    info_.props = props;
    info_.entity = entity;
}

// A polyface's vertex (group 70 bit 64 set) joins the list; its face record
// (bit 64 clear) gives edges. Every VERTEX of a polygon mesh is a vertex: of
// the surface when a smoothed mesh's VERTEX has flag 8, else of the frame.
void meshproducer::vertex(const grouptable& t, emitter& e) {
    long flags = intof(t, 70);
    if (polyface_ && !(flags & 64)) return face(t, e);
    (smoothed_ && (flags & 8) ? surface_ : vertices_).push_back(slotpoint(t, 10));
}

void meshproducer::face(const grouptable& t, emitter& e) {
    long index[4];
    int corners = 0;
    for (int code = 71; code <= 74; ++code) {
        long v = t.carried(code) ? intof(t, code) : 0;
        if (v != 0) index[corners++] = v;
    }
    count_ = next_ = 0;
    grid_ = false;
    // A face of two corners is one edge, drawn unless both of its ways (a to
    // b, b to a) are hidden.
    int edges = corners;
    if (corners == 2) {
        edges = 1;
        if (index[0] < 0) std::swap(index[0], index[1]);
    }
    for (int i = 0; i < edges && corners >= 2; ++i) {
        long a = index[i], b = index[(i + 1) % corners];
        if (a < 0) continue;  // the edge starting here is hidden
        std::size_t ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(std::labs(b));
        if (ia > vertices_.size() || ib > vertices_.size()) continue;
        const point& p = vertices_[ia - 1];
        const point& q = vertices_[ib - 1];
        if (!samepoint(p, q)) faceedges_[count_++] = lineseg(p, q);
    }
    deliver(e);
}

void meshproducer::end(emitter& e) {
    if (polyface_) return;
    if (!surface_.empty() && surfacen_ > 0) {
        vertices_.swap(surface_);
        n_ = surfacen_;
    }
    if (n_ == 0) return;
    // Rows as many as the vertices fill, however many M said.
    m_ = vertices_.size() / n_;
    if (m_ == 0) return;
    grid_ = true;
    count_ = 2 * m_ * n_;
    next_ = 0;
    deliver(e);
}

void meshproducer::deliver(emitter& e) {
    if (next_ < count_) e.emitall(*this);
}

// Edge k of the grid: first the edges along N (row by row), then those
// along M; false for an edge the flags leave open.
bool meshproducer::gridedge(std::size_t k, lineseg& edge) const {
    std::size_t half = m_ * n_;
    bool alongn = k < half;
    std::size_t i = (alongn ? k : k - half) / n_, j = (alongn ? k : k - half) % n_;
    std::size_t i2 = alongn ? i : i + 1, j2 = alongn ? j + 1 : j;
    if (j2 == n_) {
        if (!closedn_) return false;
        j2 = 0;
    }
    if (i2 == m_) {
        if (!closedm_) return false;
        i2 = 0;
    }
    const point& p = vertices_[i * n_ + j];
    const point& q = vertices_[i2 * n_ + j2];
    if (samepoint(p, q)) return false;
    edge = lineseg(p, q);
    return true;
}

bool meshproducer::fill(sink& s) {
    while (next_ < count_) {
        lineseg edge;
        if (grid_ ? gridedge(next_++, edge) : (edge = faceedges_[next_++], true)) {
            s.put(brevo::geometry(edge), info_);
            return true;
        }
    }
    return false;
}

}  // namespace ostra
