#include "reader/producers/leader.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "reader/records/ocs.h"
#include "reader/producers/spline.h"
#include "support/vectors.h"

namespace ostra {

using brevo::point;
using brevo::vector;

namespace {

bool carriednonzero(const grouptable& t, int code) { return t.carried(code) && t.number(code) != 0; }

// A usable direction made length 1, or false.
bool direction(const vector& v, vector& out) {
    if (!finite(v)) return false;
    out = v.unit();
    return out.x != 0 || out.y != 0 || out.z != 0;
}

// The direction of the path's first segment, from the first vertex to the
// next one that differs from it, and its length; false when there is none.
bool firstsegment(const std::vector<point>& v, vector& along, double& length) {
    for (std::size_t i = 1; i < v.size(); ++i)
        if (!samepoint(v[i], v[0])) {
            length = (v[i] - v[0]).length();
            return direction(v[i] - v[0], along);
        }
    return false;
}

// The direction of the path's last segment, into the last vertex.
bool lastsegment(const std::vector<point>& v, vector& along) {
    for (std::size_t i = v.size() - 1; i-- > 0;)
        if (!samepoint(v[i], v.back())) return direction(v.back() - v[i], along);
    return false;
}

bool samename(const std::string& name, const char* word) {
    if (name.size() != std::strlen(word)) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return true;
}

// The arrow's frame at tip: x along x, z the normal made perpendicular to
// x, y completing the right-handed frame.
brevo::trafo arrowframe(const point& tip, const vector& x, const vector& normal) {
    vector y = normal.cross(x);
    vector ax, ay;
    if (!direction(y, y)) {  // the normal along x: any perpendicular will do
        arbitraryaxes(x, ax, ay);
        y = ax;
    }
    vector z = x.cross(y);
    brevo::trafo f;
    const vector cols[3] = {x, y, z};
    for (int j = 0; j < 3; ++j) {
        f.m[0][j] = cols[j].x;
        f.m[1][j] = cols[j].y;
        f.m[2][j] = cols[j].z;
    }
    f.t[0] = tip.x;
    f.t[1] = tip.y;
    f.t[2] = tip.z;
    return f;
}

}  // namespace

void leaderproducer::start() {
    vertices_.clear();
    overrides_.clear();
}

void leaderproducer::group(int code, const grouptable& t) {
    if (code == 10 || code == 20 || code == 30)
        addcoordinate(vertices_, code / 10 - 1, t.number(code));
    else if (code >= 1000)
        overrides_.group(code, t);
}

// The hook line's direction and length, when the leader has one.
bool leaderproducer::hookline(const grouptable& t, const dimsettings& s, vector& along, double& length) const {
    if (!t.carried(73) || t.number(73) != 0 || !t.carried(41) || !(t.number(41) > 0) || s.tad == 0) return false;
    vector h(1, 0, 0);
    if (t.carried(211) || t.carried(221) || t.carried(231)) h = vector(t.number(211), t.number(221), t.number(231));
    if (!direction(h, along)) along = vector(1, 0, 0);
    if (carriednonzero(t, 74)) along = along * -1;
    length = s.gap * s.scale + t.number(41);
    return length > 0 && std::isfinite(length);
}

void leaderproducer::addpiece(const point& a, const point& b) {
    if (!samepoint(a, b)) pieces_[count_++] = brevo::lineseg(a, b);
}

void leaderproducer::end(const grouptable& t, emitter& e, const leadercontext& c) {
    if (!e.test() || vertices_.size() < 2) return;
    dimsettings s = c.styles.settings(t.carried(3) ? t.get(3) : nullptr, c.header);
    overrides_.apply(s, c.styles);
    if (s.scale == 0) s.scale = 1;
    info_ = e.recordinfo();
    count_ = next_ = 0;
    expanding_ = false;
    vector hook, first;
    double hooklength = 0, firstlength = 0;
    bool hooked = hookline(t, s, hook, hooklength);
    bool hasfirst = firstsegment(vertices_, first, firstlength);
    point tip = vertices_.front(), last = vertices_.back();
    path_ = &c.chain;
    if (t.carried(72) && t.number(72) == 1 && hasfirst && (vertices_.size() > 2 || hooked)) {
        // A spline path: the cubic through the vertices, with end tangents.
        splinedata d;
        d.hasstarttangent = true;
        d.starttangent = first;
        d.hasendtangent = hooked || lastsegment(vertices_, d.endtangent);
        if (hooked) d.endtangent = hook;
        std::swap(d.fit, vertices_);
        if (!c.chain.startspline(d, c.tolerance, info_)) path_ = nullptr;
    } else {
        c.chain.startpoints(vertices_, info_);
    }
    if (hooked) addpiece(last, last + hook * hooklength);
    double size = s.arrowsize * s.scale;
    if (hasfirst && carriednonzero(t, 71) && size > 0 && std::isfinite(size) && firstlength >= 2 * size)
        arrow(t, s.arrow, tip, first * -1, size, e, c.blocks);
    e.emitall(*this);
    if (keep_) {
        blockrecord r;
        r.kind = blockrecord::insertrecord;
        r.ins = keep_;
        keep_ = nullptr;
        if (!c.blocks.append(c.blocks.defining(), r)) e.fail();
    }
}

// The arrowhead at tip, pointing along x: the closed filled arrow's
// outline, or the entities of an arrow block.
void leaderproducer::arrow(const grouptable& t, const std::string& name, const point& tip, const vector& x,
                           double size, emitter& e, blockstore& blocks) {
    if (samename(name, "_NONE")) return;
    bool standard = name.empty() || name == ".";
    block* b = standard ? nullptr : blocks.find(name.c_str());
    brevo::trafo frame = arrowframe(tip, x, extrusion(t));
    if (standard || (!b && samename(name, "_CLOSEDFILLED"))) {
        point left = frame.apply(point(-size, size / 6, 0)), right = frame.apply(point(-size, -size / 6, 0));
        addpiece(tip, left);
        addpiece(left, right);
        addpiece(right, tip);
        return;
    }
    // A block not defined by now: none at the top level; in a definition
    // it may still come, and is looked for when the definition is expanded.
    if (!b && e.tocaller()) return;
    insertparams p;
    p.place = frame;
    p.sx = p.sy = p.sz = size;
    p.props = readprops(t, t.recordid());
    const char* layer = t.wholetext(8);
    const std::size_t n = strnlen(layer, maxnamelength);
    std::memcpy(layer_, layer, n);
    layer_[n] = '\0';
    p.layer = layer_;
    if (!e.tocaller()) {
        // Kept in the block being defined after the path, and expanded with it.
        keep_ = blocks.storeinsert(p, name.c_str());
        if (!keep_) e.fail();
        return;
    }
    expansionorigin o;
    o.layer = e.layer();
    o.record = info_.record;
    handle_[0] = '\0';
    if (t.carried(5)) std::memcpy(handle_, t.get(5), sizeof handle_);
    o.handle = handle_;
    o.entity = info_.entity;  // the arrow is part of the leader
    expanding_ = arrow_.start(b, p, o, &rules_);
}

// The path, then the hook line and the triangle, then the arrow block.
bool leaderproducer::fill(sink& s) {
    if (path_) {
        if (path_->fill(s)) return true;
        path_ = nullptr;
    }
    if (next_ < count_) {
        s.put(brevo::geometry(pieces_[next_++]), info_);
        return true;
    }
    if (!expanding_) return false;
    expanding_ = arrow_.fill(s);
    return expanding_;
}

}  // namespace ostra
