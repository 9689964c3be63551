// The pieces every preset of the drawing generator writes with: a small
// random number generator that gives the same numbers on every platform, and
// a buffered sink that spells groups as DXF writers do and counts what it
// wrote.
#ifndef OSTRA_BENCH_DXFSINK_H
#define OSTRA_BENCH_DXFSINK_H

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace dxfgen {

// splitmix64: small, fast and the same on every platform.
class rng {
public:
    explicit rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(double p) { return unit() < p; }

private:
    std::uint64_t s_;
};

// Buffered output that counts bytes and lines.
class sink {
public:
    sink(FILE* f, bool fulldigits, bool padded, bool crlf)
        : f_(f), fulldigits_(fulldigits), padded_(padded), crlf_(crlf) {
        buf_.reserve(cap);
    }
    ~sink() { flush(); }
    sink(const sink&) = delete;
    sink& operator=(const sink&) = delete;

    void flush() {
        if (!buf_.empty()) std::fwrite(buf_.data(), 1, buf_.size(), f_);
        bytes_ += static_cast<long long>(buf_.size());
        buf_.clear();
    }
    long long bytes() const { return bytes_ + static_cast<long long>(buf_.size()); }
    long long lines() const { return lines_; }

    void code(int c) {
        char b[16];
        int n = padded_ ? std::snprintf(b, sizeof b, "%3d\n", c) : std::snprintf(b, sizeof b, "%d\n", c);
        put(b, static_cast<std::size_t>(n));
    }
    void text(int c, const char* v) {
        code(c);
        put(v, std::strlen(v));
        put("\n", 1);
    }
    // An integer value as older writers print it: right-justified in 6.
    void integer(int c, long long v) {
        code(c);
        char b[32];
        int n = std::snprintf(b, sizeof b, c >= 90 && c <= 99 ? "%9lld\n" : "%6lld\n", v);
        put(b, static_cast<std::size_t>(n));
    }
    void real(int c, double v) {
        code(c);
        char b[64];
        int n;
        if (fulldigits_) {
            n = std::snprintf(b, sizeof b, "%.16g", v);
            if (!std::strpbrk(b, ".en")) {
                b[n++] = '.';
                b[n++] = '0';
            }
        } else {
            n = std::snprintf(b, sizeof b, "%.6f", v);
            while (n > 2 && b[n - 1] == '0' && b[n - 2] != '.') --n;
        }
        b[n++] = '\n';
        put(b, static_cast<std::size_t>(n));
    }
    void handle(int c, unsigned long long h) {
        code(c);
        char b[32];
        int n = std::snprintf(b, sizeof b, "%llX\n", h);
        put(b, static_cast<std::size_t>(n));
    }

private:
    static constexpr std::size_t cap = 1 << 20;
    void put(const char* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] == '\n') {
                ++lines_;
                if (crlf_) buf_ += '\r';
            }
            buf_ += p[i];
        }
        if (buf_.size() >= cap) flush();
    }

    FILE* f_;
    bool fulldigits_;
    bool padded_;
    bool crlf_;
    std::string buf_;
    long long bytes_ = 0;
    long long lines_ = 0;
};

}  // namespace dxfgen

#endif
