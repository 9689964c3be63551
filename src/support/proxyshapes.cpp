// The proxy graphics primitives with counts and texts: meshes, shells,
// texts and the packed LWPOLYLINE.
#include <cmath>
#include <cstring>

#include "support/hatchloop.h"
#include "support/proxydecoder.h"
#include "support/textcodec.h"
#include "support/vectors.h"

namespace ostra {

using brevo::point;
using brevo::vector;

namespace {

const double radians = 3.14159265358979323846 / 180;

vector unitor(const vector& v, const vector& fallback) {
    vector u = v.unit();
    return u.length() > 0.5 ? u : fallback;
}

}  // namespace

proxydecoder::outcome proxydecoder::mesh(bytereader& r) {
    std::uint32_t rows = r.rl(), cols = r.rl();
    std::uint64_t n = std::uint64_t(rows) * cols;
    if (!r.ok() || rows < 1 || cols < 1 || n > r.left() / 24 || !readpoints(r, static_cast<std::uint32_t>(n))) return bad;
    sink_.mesh(state_, rows, cols, points_.data());
    return drew;
}

proxydecoder::outcome proxydecoder::shell(bytereader& r) {
    std::uint32_t n = r.rl();
    if (!r.ok() || n < 1 || !readpoints(r, n)) return bad;
    std::uint32_t m = r.rl();
    if (!r.ok() || m < 1 || m > r.left() / 4) return bad;
    faces_.resize(m);
    for (std::int32_t& f : faces_) f = r.signedrl();
    for (std::size_t i = 0; i < m;) {
        std::int64_t c = faces_[i];
        std::uint64_t k = static_cast<std::uint64_t>(c < 0 ? -c : c);
        if (k == 0 || k > m - i - 1) return bad;
        for (std::size_t j = i + 1; j <= i + k; ++j) {
            if (faces_[j] < 0 || static_cast<std::uint32_t>(faces_[j]) >= n) return bad;
        }
        i += static_cast<std::size_t>(k) + 1;
    }
    sink_.shell(state_, points_.data(), n, faces_.data(), m);
    return drew;
}

// An 8-bit text up to its NUL, or a UTF-16 one turned into UTF-8; then on
// to the next multiple of four bytes.
bool proxydecoder::readtext(bytereader& r, bool wide, std::string& out) {
    out.clear();
    const unsigned char* p = r.here();
    std::size_t left = r.left();
    if (!wide) {
        const void* nul = std::memchr(p, 0, left);
        if (!nul) return false;
        std::size_t len = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - p);
        out.assign(reinterpret_cast<const char*>(p), len);
        r.skip(len + 1);
        r.align();
        return r.ok();
    }
    std::size_t i = 0;
    for (;; i += 2) {
        if (i + 2 > left) return false;
        unsigned long c = p[i] | static_cast<unsigned long>(p[i + 1]) << 8;
        if (c == 0) break;
        if (c >= 0xD800 && c < 0xDC00 && i + 4 <= left) {
            unsigned long d = p[i + 2] | static_cast<unsigned long>(p[i + 3]) << 8;
            if (d >= 0xDC00 && d < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
                i += 2;
            }
        }
        appendutf8(out, c);
    }
    r.skip(i + 2);
    r.align();
    return r.ok();
}

proxydecoder::outcome proxydecoder::text(std::uint32_t type, bytereader& r) {
    proxytext t;
    t.type = static_cast<int>(type);
    t.utf8 = type == 36 || type == 38;
    point pos = r.point();
    vector normal = r.vector(), dir = r.vector();
    if (type == 10 || type == 36) {
        t.height = r.rd();
        t.widthfactor = r.rd();
        t.oblique = r.rd();
        if (!r.ok() || !readtext(r, t.utf8, text_)) return bad;
    } else {
        if (!readtext(r, t.utf8, text_)) return bad;
        std::int32_t length = r.signedrl();
        t.raw = r.rl() != 0;
        t.height = r.rd();
        t.widthfactor = r.rd();
        t.oblique = r.rd();
        if (type == 11) {
            t.tracking = r.rd();
            t.backwards = r.rl() != 0;
            t.upsidedown = r.rl() != 0;
            t.vertical = r.rl() != 0;
            t.underlined = r.rl() != 0;
            t.overlined = r.rl() != 0;
            if (!r.ok() || !readtext(r, false, font_) || !readtext(r, false, bigfont_)) return bad;
            t.font = font_.c_str();
            t.bigfont = bigfont_.c_str();
        }
        if (!r.ok()) return bad;
        if (type == 11 && length >= 0 && static_cast<std::uint32_t>(length) < text_.size()) text_.resize(static_cast<std::size_t>(length));
    }
    if (!finite(pos) || !finite(normal) || !finite(dir) || !std::isfinite(t.height) || !std::isfinite(t.widthfactor) ||
        !std::isfinite(t.oblique) || !std::isfinite(t.tracking))
        return bad;
    // The placement after the model transform: the direction and the text's
    // up direction carried through it, the height and width factor scaled by
    // how much they stretch.
    vector ax, ay, n = unitor(normal, vector(0, 0, 1));
    arbitraryaxes(n, ax, ay);
    vector d = unitor(dir - n * dir.dot(n), ax), up = n.cross(d);
    vector td = current_.apply(d), tu = current_.apply(up);
    double ld = td.length(), lu = tu.length();
    t.position = current_.apply(pos);
    t.direction = unitor(td, d);
    t.normal = unitor(td.cross(tu), n);
    t.height *= lu;
    if (lu > 0) t.widthfactor *= ld / lu;
    t.text = text_.data();
    t.length = text_.size();
    sink_.text(state_, t);
    return drew;
}

void proxydecoder::emitbulge(const point& centre, const vector& ax, const vector& ay, double radius, double t0,
                             double sweep) {
    vector a = ax * radius, b = ay * radius;
    double c = std::cos(t0 * radians), s = std::sin(t0 * radians);
    proxyarc arc;
    arc.centre = centre;
    arc.u = a * c + b * s;
    arc.v = b * c - a * s;
    if (sweep < 0) arc.v = arc.v * -1;
    arc.sweep = std::fabs(sweep) * radians;
    arc.normal = ax.cross(ay);
    emitarc(arc);
}

proxydecoder::outcome proxydecoder::lwpolyline(bytereader& r) {
    std::uint32_t bytes = r.rl();
    if (!r.ok() || bytes > r.left()) return bad;
    bitreader b(r.here(), bytes);
    std::uint32_t flag = b.bs();
    double elevation = 0;
    vector normal(0, 0, 1);
    if (flag & 4) b.bd();  // constant width
    if (flag & 8) elevation = b.bd();
    if (flag & 2) b.bd();  // thickness
    if (flag & 1) {
        double x = b.bd(), y = b.bd(), z = b.bd();
        normal = vector(x, y, z);
    }
    std::uint32_t n = b.bl();
    std::uint32_t nb = flag & 16 ? b.bl() : 0;
    std::uint32_t nid = flag & 1024 ? b.bl() : 0;
    std::uint32_t nw = flag & 32 ? b.bl() : 0;
    std::size_t bits = b.bitsleft();
    // Each point takes 4 bits at least, each bulge, id and width 2.
    if (!b.ok() || n < 1 || n > bits / 4 + 1 || nb > bits / 2 || nid > bits / 2 || nw > bits / 4) return bad;
    std::vector<point2> v(n);
    v[0].x = b.rd();
    v[0].y = b.rd();
    for (std::uint32_t i = 1; i < n; ++i) {
        v[i].x = b.dd(v[i - 1].x);
        v[i].y = b.dd(v[i - 1].y);
    }
    bulges_.assign(n, 0);
    for (std::uint32_t i = 0; i < nb; ++i) {
        double d = b.bd();
        if (i < n) bulges_[i] = d;
    }
    for (std::uint32_t i = 0; i < nid; ++i) b.bl();
    for (std::uint32_t i = 0; i < 2 * nw; ++i) b.bd();
    if (!b.ok() || !finite(normal) || !std::isfinite(elevation)) return bad;
    for (const point2& p : v)
        if (!finite(p)) return bad;
    vector ax, ay, nz = unitor(normal, vector(0, 0, 1));
    arbitraryaxes(nz, ax, ay);
    auto place = [&](const point2& p) { return point(0, 0, 0) + (ax * p.x + ay * p.y + nz * elevation); };
    bool closed = flag & 512;
    std::uint32_t sides = closed && n > 1 ? n : n - 1;
    points_.clear();
    points_.push_back(current_.apply(place(v[0])));
    arcform f;
    for (std::uint32_t i = 0; i < sides; ++i) {
        const point2& p = v[i];
        const point2& q = v[(i + 1) % n];
        if (bulgearcform(p, q, bulges_[i], f)) {
            if (points_.size() > 1) sink_.polyline(state_, points_.data(), points_.size());
            emitbulge(place(f.centre), ax, ay, f.a.x, f.t0, f.sweep);
            points_.clear();
        }
        points_.push_back(current_.apply(place(q)));
    }
    if (points_.size() > 1) sink_.polyline(state_, points_.data(), points_.size());
    return drew;
}

}  // namespace ostra
