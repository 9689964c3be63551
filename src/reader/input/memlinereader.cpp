#include "reader/input/memlinereader.h"

#include <cstring>

#include "reader/input/linescan.h"

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

}  // namespace

memlinereader::memlinereader(const char* data, std::size_t size)
    : start_(data), cur_(data), end_(data + size), fastend_(end_), maskbase_(data), text_(buf_) {
    std::memset(buf_, 0, sizeof buf_);
}

// The line that starts at cur_ runs to its newline or to the end of the
// bytes. As fgets into 512 chars (and the rest of a longer line dropped)
// would take it, its text is its first 511 chars up to a NUL; the first
// line loses a byte-order mark; then the text is trimmed.
bool memlinereader::readslow() {
    const char* p = cur_;
    if (p == end_) {
        buf_[0] = '\0';
        text_ = buf_;
        length_ = 0;
        return false;
    }
    ++count_;
    const char* next;
    const char* nl;
    if (crlines_) {
        nl = crend(p, next);
    } else {
        nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end_ - p)));
        next = nl ? nl + 1 : end_;
    }
    std::size_t n = static_cast<std::size_t>((nl ? nl : end_) - p);
    if (n > static_cast<std::size_t>(bufsize - 1)) n = static_cast<std::size_t>(bufsize - 1);
    std::memcpy(buf_, p, n);
    buf_[n] = '\0';
    cur_ = next;
    const char* b = buf_;
    if (p == start_ && b[0] == '\xEF' && b[1] == '\xBB' && b[2] == '\xBF') b += 3;
    const char* e = b + std::strlen(b);
    trim(b, e);
    text_ = buf_ + (b - buf_);
    length_ = static_cast<int>(e - b);
    text_[length_] = '\0';
    return true;
}

// A line ends at LF, at CR LF or at a lone CR. The rule stays only when
// the first line ends with a lone CR (the end of the bytes after a CR
// makes it lone).
const char* memlinereader::crend(const char* p, const char*& next) {
    const char* q = p;
    while (q < end_ && *q != '\n' && *q != '\r') ++q;
    bool lone = q < end_ && *q == '\r' && (q + 1 == end_ || q[1] != '\n');
    next = q == end_ ? end_ : q + (*q == '\r' && !lone ? 2 : 1);
    if (p == start_) {
        crlines_ = lone;
        fastend_ = lone ? start_ : end_;
    }
    return q;
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

std::uint64_t memlinereader::refill(const char* p) {
    __builtin_prefetch(p + 1024);
    std::uint64_t m = stops64(p);
    maskbase_ = p;
    stops_ = m;
    return m;
}

#endif

}  // namespace ostra
