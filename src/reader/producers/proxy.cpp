#include "reader/producers/proxy.h"

#include <cmath>

#include "support/proxygraphics.h"

namespace ostra {

using brevo::geometry;
using brevo::point;

namespace {
int hexdigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The primitives as geometry into a source.
class geometrysink : public proxysink {
public:
    explicit geometrysink(hatchsource& out) : out_(out) {}
    void polyline(const proxystate&, const point* p, std::size_t n) override { chain(p, n, false); }
    void polygon(const proxystate&, const point* p, std::size_t n) override { chain(p, n, true); }
    void circle(const proxystate& s, const proxyarc& a) override { arc(s, a); }
    void arc(const proxystate&, const proxyarc& a) override {
        double r, t0, t1;
        if (arccircle(a, r, t0, t1)) {
            if (a.full)
                out_.add(geometry(brevo::circle(a.centre, a.normal, r)), nullptr);
            else
                out_.add(geometry(brevo::arc(a.centre, a.normal, a.centre + a.u, a.sweep * 180 / pi)), nullptr);
            return;
        }
        double lu = a.u.length(), lv = a.v.length();
        bool major = lu >= lv;
        brevo::vector axis = major ? a.u : a.v;
        double ratio = major ? (lu > 0 ? lv / lu : 0) : (lv > 0 ? lu / lv : 0);
        // With v the major axis, the parameter runs a quarter turn behind.
        double shift = major ? 0 : -90, sweep = a.sweep * 180 / pi;
        out_.add(geometry(brevo::ellipse(a.centre, a.normal, axis, ratio, shift, shift + sweep)), nullptr);
    }
    void mesh(const proxystate&, std::size_t rows, std::size_t cols, const point* p) override {
        for (std::size_t i = 0; i < rows; ++i)
            for (std::size_t j = 0; j < cols; ++j) {
                if (j + 1 < cols) segment(p[i * cols + j], p[i * cols + j + 1]);
                if (i + 1 < rows) segment(p[i * cols + j], p[(i + 1) * cols + j]);
            }
    }
    void shell(const proxystate&, const point* p, std::size_t, const std::int32_t* f, std::size_t n) override {
        for (std::size_t i = 0; i < n;) {
            std::int32_t c = f[i] < 0 ? -f[i] : f[i];
            if (c <= 0 || i + 1 + static_cast<std::size_t>(c) > n) break;
            for (std::int32_t k = 0; k < c; ++k)
                segment(p[f[i + 1 + static_cast<std::size_t>(k)]], p[f[i + 1 + static_cast<std::size_t>((k + 1) % c)]]);
            i += 1 + static_cast<std::size_t>(c);
        }
    }

private:
    static constexpr double pi = 3.14159265358979323846;
    void segment(const point& a, const point& b) {
        if (a.x != b.x || a.y != b.y || a.z != b.z) out_.add(geometry(brevo::lineseg(a, b)), nullptr);
    }
    void chain(const point* p, std::size_t n, bool closed) {
        for (std::size_t i = 0; i + 1 < n; ++i) segment(p[i], p[i + 1]);
        if (closed && n > 2) segment(p[n - 1], p[0]);
    }
    hatchsource& out_;
};
}  // namespace

void proxyproducer::start() {
    bytes_.clear();
    phase_ = before;
}

void proxyproducer::group(int code, const char* value, int length) {
    if (phase_ == after) return;
    if (phase_ == before) {
        if (code == 92 || code == 160) phase_ = inside;
        return;
    }
    if (code != 310) {
        phase_ = after;
        return;
    }
    for (int i = 0; i + 1 < length; i += 2) {
        int hi = hexdigit(value[i]), lo = hexdigit(value[i + 1]);
        if (hi < 0 || lo < 0) break;
        bytes_.push_back(static_cast<unsigned char>(hi * 16 + lo));
    }
}

void proxyproducer::end(emitter& e) {
    if (bytes_.empty() || !e.test()) return;
    source_.clear();
    geometrysink sink(source_);
    proxyresult r = decodeproxy(bytes_.data(), bytes_.size(), sink);
    long long left = static_cast<long long>(r.bad) + r.unknown + (r.fault || r.cut ? 1 : 0);
    if (left > 0) e.shown().count("*proxygraphics", left > 1000000000 ? 1000000000 : static_cast<int>(left));
    if (source_.size() == 0) return;
    source_.begin(e.recordinfo());
    e.emitall(source_);
}

}  // namespace ostra
