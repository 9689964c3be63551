// The walk over a proxy graphics stream, its attributes and model
// transforms, and the circles, arcs and point lists.
#include "support/proxygraphics.h"

#include <cmath>

#include "support/proxydecoder.h"
#include "support/vectors.h"

namespace ostra {

using brevo::point;
using brevo::vector;

namespace {

const double pi = 3.14159265358979323846;

vector unitnormal(const vector& n) {
    vector u = n.unit();
    return u.length() > 0.5 ? u : vector(0, 0, 1);
}

// The direction d in the plane of the unit normal n, made unit; the plane's
// x axis where d has nothing in the plane.
vector inplane(const vector& d, const vector& n) {
    vector p = (d - n * d.dot(n)).unit();
    if (p.length() > 0.5 && (d - n * d.dot(n)).length() > 1e-12 * d.length()) return p;
    vector ax, ay;
    arbitraryaxes(n, ax, ay);
    return ax;
}

// The circle through three points: false when they lie on a line.
bool circumcircle(const point& a, const point& b, const point& c, point& centre, vector& normal) {
    vector ab = b - a, ac = c - a, n = ab.cross(ac);
    double nn = n.dot(n);
    if (!(nn > 0) || !std::isfinite(nn)) return false;
    vector off = (n.cross(ab) * ac.dot(ac) + ac.cross(n) * ab.dot(ab)) * (1 / (2 * nn));
    centre = a + off;
    normal = n.unit();
    return finite(centre) && finite(normal);
}

}  // namespace

bool arccircle(const proxyarc& a, double& radius, double& start, double& end) {
    double lu = a.u.length(), lv = a.v.length();
    if (!(std::fabs(lu - lv) <= 1e-9 * lu) || !(std::fabs(a.u.dot(a.v)) <= 1e-9 * lu * lv)) return false;
    vector ax, ay;
    arbitraryaxes(a.normal, ax, ay);
    radius = lu;
    start = std::atan2(a.u.dot(ay), a.u.dot(ax)) * 180 / pi;
    end = start + a.sweep * 180 / pi;
    return true;
}

proxyresult decodeproxy(const unsigned char* data, std::size_t size, proxysink& sink) {
    proxydecoder d(sink);
    return d.run(data, size);
}

proxyresult proxydecoder::run(const unsigned char* data, std::size_t size) {
    proxyresult res;
    if (!data || size < 8) {
        res.fault = true;
        return res;
    }
    bytereader head(data, size);
    std::uint32_t total = head.rl();
    res.declared = head.rl();
    std::size_t end = size;
    if (total > size) res.cut = true;
    else if (total >= 8) end = total;
    std::size_t pos = 8;
    for (std::uint32_t i = 0; i < res.declared; ++i) {
        bytereader at(data + pos, end - pos);
        std::uint32_t psize = at.rl(), type = at.rl();
        if (!at.ok() || psize < 8 || psize > end - pos) {
            res.fault = true;
            res.faultat = pos;
            break;
        }
        bytereader r(data + pos + 8, psize - 8);
        switch (primitive(type, r)) {
        case drew: ++res.decoded; break;
        case nothing: ++res.decoded, ++res.skipped; break;
        case bad: ++res.bad; break;
        case unknown: ++res.unknown; break;
        }
        pos += psize;
    }
    return res;
}

proxydecoder::outcome proxydecoder::primitive(std::uint32_t type, bytereader& r) {
    switch (type) {
    case 1: case 12: case 13: case 26: case 27: case 28: case 34: case 35: case 37: return nothing;
    case 2: return circle(r);
    case 3: return circle3(r);
    case 4: return arc(r);
    case 5: return arc3(r);
    case 6: case 7: case 32: return points(type, r);
    case 8: return mesh(r);
    case 9: return shell(r);
    case 10: case 11: case 36: case 38: return text(type, r);
    case 14: case 16: case 18: case 19: case 20: case 22: case 23: case 24: case 25: return attribute(type, r);
    case 29: case 30: return push(type, r);
    case 31: return pop();
    case 33: return lwpolyline(r);
    default: return unknown;
    }
}

proxydecoder::outcome proxydecoder::attribute(std::uint32_t type, bytereader& r) {
    if (type == 24 || type == 25) {
        double d = r.rd();
        if (!r.ok() || !std::isfinite(d)) return bad;
        (type == 24 ? state_.ltscale : state_.thickness) = d;
        return drew;
    }
    std::uint32_t u = r.rl();
    std::int32_t v = static_cast<std::int32_t>(u);  // two's complement, as written
    if (!r.ok()) return bad;
    switch (type) {
    case 14: state_.color = v, state_.hastruecolor = false; break;
    case 16: state_.layer = v; break;
    case 18: state_.linetype = v; break;
    case 19: state_.marker = v; break;
    case 20: state_.fill = u != 0; break;
    case 22: state_.truecolor = u, state_.hastruecolor = true; break;
    default: state_.lineweight = v; break;
    }
    return drew;
}

proxydecoder::outcome proxydecoder::push(std::uint32_t type, bytereader& r) {
    brevo::trafo m;
    if (type == 30 && r.left() < 128) {
        vector ax, ay, n = unitnormal(r.vector());
        if (!r.ok() || !finite(n)) return bad;
        arbitraryaxes(n, ax, ay);
        const vector cols[3] = {ax, ay, n};
        for (int j = 0; j < 3; ++j) m.m[0][j] = cols[j].x, m.m[1][j] = cols[j].y, m.m[2][j] = cols[j].z;
    } else {
        double e[16];
        for (double& x : e) x = r.rd();
        if (!r.ok()) return bad;
        for (double x : e)
            if (!std::isfinite(x)) return bad;
        bool columns = e[3] == 0 && e[7] == 0 && e[11] == 0 && (e[12] != 0 || e[13] != 0 || e[14] != 0);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) m.m[i][j] = columns ? e[j * 4 + i] : e[i * 4 + j];
            m.t[i] = columns ? e[12 + i] : e[i * 4 + 3];
        }
    }
    if (saved_.size() >= static_cast<std::size_t>(maxproxydepth)) {
        ++overflow_;
        return bad;
    }
    saved_.push_back(current_);
    current_ = current_ * m;
    return drew;
}

proxydecoder::outcome proxydecoder::pop() {
    if (overflow_ > 0) {
        --overflow_;
        return nothing;
    }
    if (saved_.empty()) return bad;
    current_ = saved_.back();
    saved_.pop_back();
    return drew;
}

void proxydecoder::emitarc(proxyarc a) {
    a.centre = current_.apply(a.centre);
    vector n = current_.apply(a.normal);
    a.u = current_.apply(a.u);
    a.v = current_.apply(a.v);
    vector uv = a.u.cross(a.v);
    a.normal = uv.length() > 0 ? uv.unit() : n.unit();
    if (a.full)
        sink_.circle(state_, a);
    else
        sink_.arc(state_, a);
}

proxydecoder::outcome proxydecoder::circle(bytereader& r) {
    point c = r.point();
    double radius = std::fabs(r.rd());
    vector n = unitnormal(r.vector()), ax, ay;
    if (!r.ok() || !finite(c) || !std::isfinite(radius) || !finite(n)) return bad;
    arbitraryaxes(n, ax, ay);
    proxyarc a;
    a.centre = c;
    a.u = ax * radius;
    a.v = ay * radius;
    a.normal = n;
    a.sweep = 2 * pi;
    a.full = true;
    emitarc(a);
    return drew;
}

proxydecoder::outcome proxydecoder::circle3(bytereader& r) {
    point p1 = r.point(), p2 = r.point(), p3 = r.point(), c;
    vector n;
    if (!r.ok() || !circumcircle(p1, p2, p3, c, n)) return bad;
    proxyarc a;
    a.centre = c;
    a.u = p1 - c;
    a.v = n.cross(a.u);
    a.normal = n;
    a.sweep = 2 * pi;
    a.full = true;
    emitarc(a);
    return drew;
}

proxydecoder::outcome proxydecoder::arc(bytereader& r) {
    point c = r.point();
    double radius = std::fabs(r.rd());
    vector n = unitnormal(r.vector()), s = r.vector();
    double sweep = r.rd();
    int type = r.left() >= 4 ? r.signedrl() : 0;
    if (!r.ok() || !finite(c) || !std::isfinite(radius) || !finite(n) || !finite(s) || !std::isfinite(sweep) || sweep == 0) return bad;
    proxyarc a;
    a.centre = c;
    a.u = inplane(s, n) * radius;
    a.v = n.cross(a.u);
    a.normal = n;
    if (sweep < 0) a.v = a.v * -1, sweep = -sweep;
    a.full = sweep >= 2 * pi;
    a.sweep = a.full ? 2 * pi : sweep;
    a.arctype = type;
    emitarc(a);
    return drew;
}

proxydecoder::outcome proxydecoder::arc3(bytereader& r) {
    point p1 = r.point(), p2 = r.point(), p3 = r.point(), c;
    int type = r.left() >= 4 ? r.signedrl() : 0;
    vector n;
    if (!r.ok() || !circumcircle(p1, p2, p3, c, n)) return bad;
    proxyarc a;
    a.centre = c;
    a.u = p1 - c;
    a.v = n.cross(a.u);
    a.normal = n;
    vector w = p3 - c;
    a.sweep = std::atan2(a.v.dot(w), a.u.dot(w));
    if (a.sweep <= 0) a.sweep += 2 * pi;
    a.arctype = type;
    emitarc(a);
    return drew;
}

bool proxydecoder::readpoints(bytereader& r, std::uint32_t n) {
    if (n > r.left() / 24) return false;
    points_.resize(n);
    for (point& p : points_) {
        p = r.point();
        if (!finite(p)) return false;
        p = current_.apply(p);
    }
    return r.ok();
}

proxydecoder::outcome proxydecoder::points(std::uint32_t type, bytereader& r) {
    std::uint32_t n = r.rl();
    if (!r.ok() || n < (type == 7 ? 3u : 2u) || !readpoints(r, n)) return bad;
    if (type == 32) {
        r.vector();  // the normal; the points place the polyline already
        if (!r.ok()) return bad;
    }
    if (type == 7)
        sink_.polygon(state_, points_.data(), n);
    else
        sink_.polyline(state_, points_.data(), n);
    return drew;
}

}  // namespace ostra
