// Proxy graphics streams put together by hand for the tests: the stream
// and bit writers, a sink that records every call, and two streams both
// test files use.
#ifndef OSTRA_TESTS_PROXYSTREAM_H
#define OSTRA_TESTS_PROXYSTREAM_H

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "support/proxygraphics.h"

namespace proxytest {

using brevo::point;
using brevo::vector;
using ostra::proxyarc;
using ostra::proxyresult;
using ostra::proxystate;
using ostra::proxytext;

constexpr double pi = 3.14159265358979323846;

// Primitives put together as the stream holds them.
class stream {
public:
    stream& begin(std::uint32_t type) {
        start_ = body_.size();
        rl(0);
        rl(type);
        return *this;
    }
    stream& end() {
        std::uint32_t size = static_cast<std::uint32_t>(body_.size() - start_);
        std::memcpy(&body_[start_], &size, 4);
        ++count_;
        ends_.push_back(8 + body_.size());
        return *this;
    }
    stream& rl(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) body_.push_back(static_cast<unsigned char>(v >> (8 * i)));
        return *this;
    }
    stream& rd(double d) {
        std::uint64_t u;
        std::memcpy(&u, &d, 8);
        for (int i = 0; i < 8; ++i) body_.push_back(static_cast<unsigned char>(u >> (8 * i)));
        return *this;
    }
    stream& pt(double x, double y, double z) { return rd(x).rd(y).rd(z); }
    stream& tv(const std::string& s) {
        for (char c : s) body_.push_back(static_cast<unsigned char>(c));
        body_.push_back(0);
        return pad();
    }
    stream& tu(const std::u16string& s) {
        for (char16_t c : s) body_.push_back(static_cast<unsigned char>(c & 0xff)), body_.push_back(static_cast<unsigned char>(c >> 8));
        body_.push_back(0);
        body_.push_back(0);
        return pad();
    }
    stream& bytes(const std::vector<unsigned char>& b) {
        body_.insert(body_.end(), b.begin(), b.end());
        return *this;
    }
    stream& pad() {
        while ((body_.size() - start_) % 4) body_.push_back(0);
        return *this;
    }
    std::vector<unsigned char> data() const {
        stream head;
        head.rl(static_cast<std::uint32_t>(8 + body_.size())).rl(count_);
        std::vector<unsigned char> all = head.body_;
        all.insert(all.end(), body_.begin(), body_.end());
        return all;
    }
    // Where each primitive ends in data().
    const std::vector<std::size_t>& ends() const { return ends_; }

private:
    std::vector<unsigned char> body_;
    std::vector<std::size_t> ends_;
    std::size_t start_ = 0;
    std::uint32_t count_ = 0;
};

// The bit-coded values of DWG data, most significant bit first.
class bits {
public:
    bits& b(unsigned v) {
        if (n_ % 8 == 0) out_.push_back(0);
        if (v) out_.back() |= static_cast<unsigned char>(0x80 >> (n_ % 8));
        ++n_;
        return *this;
    }
    bits& bb(unsigned v) { return b(v >> 1 & 1).b(v & 1); }
    bits& rc(unsigned v) {
        for (int i = 7; i >= 0; --i) b(v >> i & 1);
        return *this;
    }
    bits& rd(double d) {
        std::uint64_t u;
        std::memcpy(&u, &d, 8);
        for (int i = 0; i < 8; ++i) rc(static_cast<unsigned>(u >> (8 * i) & 0xff));
        return *this;
    }
    bits& bs(unsigned v) { return bb(0).rc(v & 0xff).rc(v >> 8); }
    bits& blchar(unsigned v) { return bb(1).rc(v); }
    bits& bd(double d) { return d == 0 ? bb(2) : d == 1 ? bb(1) : bb(0).rd(d); }
    const std::vector<unsigned char>& data() const { return out_; }

private:
    std::vector<unsigned char> out_;
    std::size_t n_ = 0;
};

struct recorder : ostra::proxysink {
    struct call {
        std::string kind;
        proxystate state;
        std::vector<point> points;
        proxyarc arc;
        std::size_t rows = 0, cols = 0;
        std::vector<std::int32_t> faces;
        proxytext text;
        std::string chars, font;
    };
    std::vector<call> calls;

    call& add(const char* kind, const proxystate& s) {
        calls.emplace_back();
        calls.back().kind = kind;
        calls.back().state = s;
        return calls.back();
    }
    void polyline(const proxystate& s, const point* p, std::size_t n) override { add("polyline", s).points.assign(p, p + n); }
    void polygon(const proxystate& s, const point* p, std::size_t n) override { add("polygon", s).points.assign(p, p + n); }
    void circle(const proxystate& s, const proxyarc& a) override { add("circle", s).arc = a; }
    void arc(const proxystate& s, const proxyarc& a) override { add("arc", s).arc = a; }
    void mesh(const proxystate& s, std::size_t rows, std::size_t cols, const point* p) override {
        call& c = add("mesh", s);
        c.rows = rows;
        c.cols = cols;
        c.points.assign(p, p + rows * cols);
    }
    void shell(const proxystate& s, const point* p, std::size_t n, const std::int32_t* f, std::size_t m) override {
        call& c = add("shell", s);
        c.points.assign(p, p + n);
        c.faces.assign(f, f + m);
    }
    void text(const proxystate& s, const proxytext& t) override {
        call& c = add("text", s);
        c.text = t;
        c.chars.assign(t.text, t.length);
        c.font = t.font;
    }
};

inline proxyresult decode(const std::vector<unsigned char>& data, recorder& r) {
    // A copy of exactly the bytes, so that a read beyond them shows under
    // AddressSanitizer.
    std::vector<unsigned char> copy(data);
    return ostra::decodeproxy(copy.empty() ? nullptr : copy.data(), copy.size(), r);
}

inline void expectpoint(const point& p, double x, double y, double z, double e = 1e-12) {
    EXPECT_NEAR(p.x, x, e);
    EXPECT_NEAR(p.y, y, e);
    EXPECT_NEAR(p.z, z, e);
}

inline void expectvector(const vector& v, double x, double y, double z, double e = 1e-12) {
    EXPECT_NEAR(v.x, x, e);
    EXPECT_NEAR(v.y, y, e);
    EXPECT_NEAR(v.z, z, e);
}

inline std::vector<unsigned char> lwpolybits() {
    // Closed (512) with bulges (16): (0, 0), (10, 0), (10, 10), the middle
    // side a half circle (bulge 1). The second point's x differs from the
    // first's in full (11, a double), its y is the default (00); the third
    // point's x is the default, its y a double.
    bits b;
    b.bs(512 | 16).blchar(3).blchar(3);
    b.rd(0).rd(0);
    b.bb(3).rd(10).bb(0);
    b.bb(0).bb(3).rd(10);
    b.bd(0).bd(1).bd(0);
    return b.data();
}

// One primitive of every kind that draws, between attributes and a
// transform, for the cut test.
inline stream mixed() {
    stream s;
    s.begin(14).rl(1).end();
    s.begin(2).pt(1, 2, 3).rd(4).pt(0, 0, 1).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 1, 0).end();
    s.begin(10).pt(0, 0, 0).pt(0, 0, 1).pt(1, 0, 0).rd(2.5).rd(1).rd(0).tv("HI").end();
    s.begin(29).rd(1).rd(0).rd(0).rd(5).rd(0).rd(1).rd(0).rd(0).rd(0).rd(0).rd(1).rd(0).rd(0).rd(0).rd(0).rd(1).end();
    s.begin(4).pt(0, 0, 0).rd(1).pt(0, 0, 1).pt(1, 0, 0).rd(pi / 2).rl(0).end();
    s.begin(31).end();
    s.begin(9).rl(3).pt(0, 0, 0).pt(1, 0, 0).pt(0, 1, 0).rl(4).rl(3).rl(0).rl(1).rl(2).rl(0).rl(0).rl(0).end();
    std::vector<unsigned char> lw = lwpolybits();
    s.begin(33).rl(static_cast<std::uint32_t>(lw.size())).bytes(lw).pad().end();
    return s;
}

}  // namespace proxytest

#endif
