// Line reading from memory: the lines a stream holding the same bytes would
// give, without a stream.
#ifndef OSTRA_READER_MEMLINEREADER_H
#define OSTRA_READER_MEMLINEREADER_H

#include <cstddef>
#include <cstdint>

#include "reader/input/linereader.h"
#include "reader/input/linescan.h"

namespace ostra {

// Reads the bytes [data, data + size) line by line with exactly the results
// of linereader on a stream that holds them: the same texts (the 511-char
// cut, text after a NUL ignored, the byte-order mark of the first line
// skipped, blanks trimmed), codes, line counts and end. The bytes are only
// read, and never beyond size. The CR rule (see linereader) as well.
class memlinereader {
public:
    using coderesult = linereader::coderesult;
    static constexpr int bufsize = linereader::bufsize;
    static constexpr int padding = linereader::padding;

    memlinereader(const char* data, std::size_t size);

    // As linereader::read(), readcode() and readgroup().
    bool read();
    coderesult readcode(int& code);
    // Inline: the common group costs no call (see below).
    coderesult readgroup(int& code);

    const char* text() const { return text_; }
    int length() const { return length_; }
    long count() const { return count_; }
    // The bytes taken so far: where a stream would stand.
    std::size_t offset() const { return static_cast<std::size_t>(cur_ - start_); }
    // As linereader::allowcr().
    void allowcr(bool allow) {
        if (cur_ == start_) crlines_ = allow;
    }

private:
    // The general path, one line at a time, for every line.
    bool readslow();
    coderesult readgroupslow(int& code);
    // Bit i set where p[i] is a newline or a NUL, for at least the next two
    // such bytes within 64 bytes of p (which must be 64 or more from the
    // end): the mask of the 64 bytes from where it was last made serves
    // until it holds fewer than two; then refill() makes it anew at p.
    std::uint64_t stops(const char* p) {
        std::size_t off = static_cast<std::size_t>(p - maskbase_);
        std::uint64_t m = off < 64 ? stops_ >> off : 0;
        return m & (m - 1) ? m : refill(p);
    }
    std::uint64_t refill(const char* p);
    // Where the line at p ends by the CR rule, and next where the line
    // after it begins; the first line decides whether the rule stays.
    const char* crend(const char* p, const char*& next);

    const char* start_;
    const char* cur_;
    const char* end_;
    const char* fastend_;  // end_, or start_ while the CR rule keeps every line on the general path
    bool crlines_ = false;
    const char* maskbase_;
    std::uint64_t stops_ = 0;  // bit i: maskbase_[i] is a newline or a NUL
    char* text_;
    int length_ = 0;
    long count_ = 0;
    char buf_[bufsize + padding];
};

#if OSTRA_SIMD_AVAILABLE

// The common group: a code line of fewer than 16 chars, digits and blanks,
// and a value line of fewer than 32, neither holding a NUL, starting 64 bytes
// or more from the end (so that both may be read 32 bytes at a time).
// Everything else goes the general way.
inline linereader::coderesult memlinereader::readgroup(int& code) {
    using namespace linescan;
    const char* p = cur_;
    if (p == start_ || fastend_ - p < 64) return readgroupslow(code);
    std::uint64_t m = stops(p);
    std::uint64_t rest = m & (m - 1);
    unsigned k1 = static_cast<unsigned>(__builtin_ctzll(m | std::uint64_t(1) << 63));
    unsigned k2 = static_cast<unsigned>(__builtin_ctzll(rest | std::uint64_t(1) << 63));
    if (!rest || k1 >= 16 || k2 - k1 > 32 || p[k1] != '\n' || p[k2] != '\n') return readgroupslow(code);
    unsigned before = (1u << k1) - 1;
    __m128i c = load(p);
    unsigned digits = digitbits(c) & before;
    if ((digits | (blankbits(c) & before)) != before) return readgroupslow(code);

    const int value = codeof(p, k1, digits);
    // The value, copied as 32 chars; blanks around it are rare, and one
    // compare tells most chars from a blank.
    const char* v = p + k1 + 1;
    store(buf_, load(v));
    store(buf_ + 16, load(v + 16));
    char* b = buf_;
    char* e = buf_ + (k2 - k1 - 1);
    while (b < e && static_cast<unsigned char>(*b) <= ' ' && istrim(*b)) ++b;
    while (e > b && static_cast<unsigned char>(e[-1]) <= ' ' && istrim(e[-1])) --e;
    *e = '\0';
    text_ = b;
    length_ = static_cast<int>(e - b);
    count_ += 2;
    cur_ = p + k2 + 1;
    code = value;
    return linereader::codeok;
}

#else

inline linereader::coderesult memlinereader::readgroup(int& code) { return readgroupslow(code); }

#endif

}  // namespace ostra

#endif
