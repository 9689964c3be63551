#include "reader/memlinereader.h"

#include <cstring>

#include "reader/linescan.h"
#include "support/digits.h"

namespace ostra {

using namespace linescan;

namespace {

#if OSTRA_SIMD_AVAILABLE
// Bit i set where p[i] is a newline or a NUL, for the 64 bytes at p.
inline std::uint64_t stops64(const char* p) {
    std::uint64_t m0 = stopbits(load(p)), m1 = stopbits(load(p + 16));
    std::uint64_t m2 = stopbits(load(p + 32)), m3 = stopbits(load(p + 48));
    return m0 | m1 << 16 | m2 << 32 | m3 << 48;
}
#endif

// Leading and trailing blanks are rare in a value: one compare tells most
// chars from a blank.
inline void quicktrim(const char*& b, const char*& e) {
    while (b < e && static_cast<unsigned char>(*b) <= ' ' && istrim(*b)) ++b;
    while (e > b && static_cast<unsigned char>(e[-1]) <= ' ' && istrim(e[-1])) --e;
}

}  // namespace

memlinereader::memlinereader(const char* data, std::size_t size)
    : start_(data), cur_(data), end_(data + size), maskbase_(data), text_(buf_) {
    std::memset(buf_, 0, sizeof buf_);
}

// The line that starts at cur_ runs to its newline or to the end of the
// bytes. As fgets into 512 chars (and the rest of a longer line dropped)
// would take it, its text is its first 511 chars up to a NUL; the first
// line loses a byte-order mark; then the text is trimmed.
bool memlinereader::readslow() {
    ++count_;
    const char* p = cur_;
    if (p == end_) {
        buf_[0] = '\0';
        text_ = buf_;
        length_ = 0;
        return false;
    }
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end_ - p)));
    std::size_t n = static_cast<std::size_t>((nl ? nl : end_) - p);
    if (n > static_cast<std::size_t>(bufsize - 1)) n = static_cast<std::size_t>(bufsize - 1);
    std::memcpy(buf_, p, n);
    buf_[n] = '\0';
    cur_ = nl ? nl + 1 : end_;
    const char* b = buf_;
    if (p == start_ && b[0] == '\xEF' && b[1] == '\xBB' && b[2] == '\xBF') b += 3;
    const char* e = b + std::strlen(b);
    trim(b, e);
    text_ = buf_ + (b - buf_);
    length_ = static_cast<int>(e - b);
    text_[length_] = '\0';
    return true;
}

bool memlinereader::read() { return readslow(); }

linereader::coderesult memlinereader::readcode(int& code) {
    if (!readslow()) return linereader::endofstream;
    // The trimmed line may still hold inner blanks ("10 20" is code 10).
    return scancode(text_, text_ + length_, code) ? linereader::codeok : linereader::notacode;
}

linereader::coderesult memlinereader::readgroupslow(int& code) {
    coderesult r = readcode(code);
    if (r != linereader::codeok) return r;
    return readslow() ? linereader::codeok : linereader::endofstream;
}

#if OSTRA_SIMD_AVAILABLE

// The newlines and NULs of the 64 bytes at p and on, from the mask last
// made where it still covers two of them, else from a new one.
inline std::uint64_t memlinereader::stops(const char* p) {
    std::size_t off = static_cast<std::size_t>(p - maskbase_);
    std::uint64_t m = off < 64 ? stops_ >> off : 0;
    if (m & (m - 1)) return m;
    __builtin_prefetch(p + 1024);
    m = stops64(p);
    maskbase_ = p;
    stops_ = m;
    return m;
}

// The common group: a code line of fewer than 16 chars, digits and blanks,
// and a value line of fewer than 32, neither holding a NUL, starting 64 bytes
// or more from the end (so that both may be read 32 bytes at a time).
// Everything else goes the general way.
linereader::coderesult memlinereader::readgroup(int& code) {
    const char* p = cur_;
    if (p == start_ || end_ - p < 64) return readgroupslow(code);
    std::uint64_t m = stops(p);
    std::uint64_t rest = m & (m - 1);
    unsigned k1 = static_cast<unsigned>(__builtin_ctzll(m | std::uint64_t(1) << 63));
    unsigned k2 = static_cast<unsigned>(__builtin_ctzll(rest | std::uint64_t(1) << 63));
    if (!rest || k1 >= 16 || k2 - k1 > 32 || p[k1] != '\n' || p[k2] != '\n') return readgroupslow(code);
    unsigned before = (1u << k1) - 1;
    __m128i c = load(p);
    unsigned digits = digitbits(c) & before;
    if ((digits | (blankbits(c) & before)) != before) return readgroupslow(code);

    int value = 0;
    if (digits) {
        // The first run of digits: where it starts and how long.
        unsigned s = static_cast<unsigned>(__builtin_ctz(digits));
        unsigned n = static_cast<unsigned>(__builtin_ctz(~(digits >> s)));
        if (n <= 8)
            value = eightdigits(p + s, n);
        else
            scancode(p, p + k1, value);
    }
    const char* v = p + k1 + 1;
    store(buf_, load(v));
    store(buf_ + 16, load(v + 16));
    const char* tb = buf_;
    const char* te = buf_ + (k2 - k1 - 1);
    quicktrim(tb, te);
    char* e = buf_ + (te - buf_);
    *e = '\0';
    text_ = buf_ + (tb - buf_);
    length_ = static_cast<int>(te - tb);
    count_ += 2;
    cur_ = p + k2 + 1;
    code = value;
    return linereader::codeok;
}

#else

linereader::coderesult memlinereader::readgroup(int& code) { return readgroupslow(code); }

#endif

}  // namespace ostra
