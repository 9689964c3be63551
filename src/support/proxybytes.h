// Bounded readers of the values in proxy graphics: little-endian bytes
// (RL, RD, texts padded to four bytes) and the bit-coded values of DWG data
// (B, BB, BS, BL, BD, DD, RC), which the packed LWPOLYLINE primitive uses.
// A read past the end gives 0 and sets the reader's fault, and every later
// read does the same; nothing is read beyond the bytes given.
#ifndef OSTRA_SUPPORT_PROXYBYTES_H
#define OSTRA_SUPPORT_PROXYBYTES_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <brevo/types.h>

namespace ostra {

class bytereader {
public:
    bytereader(const unsigned char* p, std::size_t n) : p_(p), n_(n) {}

    bool ok() const { return ok_; }
    std::size_t left() const { return n_ - pos_; }
    std::size_t pos() const { return pos_; }
    const unsigned char* here() const { return p_ + pos_; }
    void fail() { ok_ = false, pos_ = n_; }

    std::uint32_t rl() {
        if (!take(4)) return 0;
        const unsigned char* q = p_ + pos_ - 4;
        return q[0] | std::uint32_t(q[1]) << 8 | std::uint32_t(q[2]) << 16 | std::uint32_t(q[3]) << 24;
    }
    std::int32_t signedrl() {
        std::uint32_t u = rl();
        std::int32_t s;
        std::memcpy(&s, &u, 4);
        return s;
    }
    double rd() {
        if (!take(8)) return 0;
        std::uint64_t u = 0;
        for (int i = 7; i >= 0; --i) u = u << 8 | p_[pos_ - 8 + static_cast<std::size_t>(i)];
        double d;
        std::memcpy(&d, &u, 8);
        return d;
    }
    brevo::point point() {
        double x = rd(), y = rd(), z = rd();
        return brevo::point(x, y, z);
    }
    brevo::vector vector() {
        double x = rd(), y = rd(), z = rd();
        return brevo::vector(x, y, z);
    }
    bool skip(std::size_t n) { return take(n); }
    // Moves on to the next multiple of four bytes from the start.
    void align() {
        std::size_t pad = (4 - pos_ % 4) % 4;
        if (pad <= left()) pos_ += pad;
        else pos_ = n_;
    }

private:
    bool take(std::size_t k) {
        if (!ok_ || k > left()) {
            fail();
            return false;
        }
        pos_ += k;
        return true;
    }

    const unsigned char* p_;
    std::size_t n_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

class bitreader {
public:
    bitreader(const unsigned char* p, std::size_t bytes) : p_(p), bits_(bytes * 8) {}

    bool ok() const { return ok_; }
    std::size_t bitsleft() const { return bits_ - pos_; }

    unsigned b() {
        if (pos_ >= bits_) {
            ok_ = false;
            return 0;
        }
        unsigned v = p_[pos_ / 8] >> (7 - pos_ % 8) & 1;
        ++pos_;
        return v;
    }
    unsigned bb() {
        unsigned hi = b();
        return hi << 1 | b();
    }
    std::uint32_t rc() {
        std::uint32_t v = 0;
        for (int i = 0; i < 8; ++i) v = v << 1 | b();
        return v;
    }
    std::uint32_t rs() {
        std::uint32_t lo = rc();
        return lo | rc() << 8;
    }
    std::uint32_t rl() {
        std::uint32_t lo = rs();
        return lo | rs() << 16;
    }
    double rd() {
        unsigned char bytes[8];
        for (unsigned char& c : bytes) c = static_cast<unsigned char>(rc());
        return todouble(bytes);
    }
    // 00: a short follows, 01: an unsigned char, 10: 0, 11: 256.
    std::uint32_t bs() {
        switch (bb()) {
        case 0: return rs();
        case 1: return rc();
        case 2: return 0;
        default: return 256;
        }
    }
    // 00: a long follows, 01: an unsigned char, 10: 0 (11 is not used).
    std::uint32_t bl() {
        switch (bb()) {
        case 0: return rl();
        case 1: return rc();
        case 2: return 0;
        default: ok_ = false; return 0;
        }
    }
    // 00: a double follows, 01: 1.0, 10: 0.0 (11 is not used).
    double bd() {
        switch (bb()) {
        case 0: return rd();
        case 1: return 1.0;
        case 2: return 0.0;
        default: ok_ = false; return 0;
        }
    }
    // A double with a default: 00 the default, 01 four bytes replace the
    // default's first (lowest) four, 10 six bytes: two replace its fifth and
    // sixth, four its first four; 11 a double follows.
    double dd(double def) {
        unsigned char bytes[8];
        std::uint64_t u;
        std::memcpy(&u, &def, 8);
        for (unsigned char& c : bytes) c = static_cast<unsigned char>(u & 0xff), u >>= 8;
        switch (bb()) {
        case 0: return def;
        case 1:
            for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(rc());
            return todouble(bytes);
        case 2:
            bytes[4] = static_cast<unsigned char>(rc());
            bytes[5] = static_cast<unsigned char>(rc());
            for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(rc());
            return todouble(bytes);
        default: return rd();
        }
    }

private:
    static double todouble(const unsigned char* bytes) {
        std::uint64_t u = 0;
        for (int i = 7; i >= 0; --i) u = u << 8 | bytes[i];
        double d;
        std::memcpy(&d, &u, 8);
        return d;
    }

    const unsigned char* p_;
    std::size_t bits_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace ostra

#endif
