// What both line readers (from a stream and from memory) classify lines
// with: blanks, digits, group codes, and with SSE2 the same classes for 16
// bytes at once.
#ifndef OSTRA_READER_LINESCAN_H
#define OSTRA_READER_LINESCAN_H

#include <climits>

#include "support/digits.h"

#if defined(__SSE2__)
#define OSTRA_SIMD_AVAILABLE 1
#include <emmintrin.h>
#else
#define OSTRA_SIMD_AVAILABLE 0
#endif

namespace ostra {
namespace linescan {

inline bool istrim(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool isdigit(char c) { return c >= '0' && c <= '9'; }

// The line in [p, e) as a code: blanks may stand anywhere, the value is the
// first run of digits, saturated at INT_MAX. False when another char occurs.
inline bool scancode(const char* p, const char* e, int& code) {
    while (p < e && istrim(*p)) ++p;
    long long v = 0;
    for (; p < e && isdigit(*p); ++p) {
        v = v * 10 + (*p - '0');
        if (v > INT_MAX) v = INT_MAX;
    }
    for (; p < e; ++p)
        if (!(isdigit(*p) || istrim(*p))) return false;
    code = static_cast<int>(v);
    return true;
}

// [b, e) without its leading and trailing blanks.
inline void trim(const char*& b, const char*& e) {
    while (b < e && istrim(*b)) ++b;
    while (e > b && istrim(e[-1])) --e;
}

#if OSTRA_SIMD_AVAILABLE

inline __m128i load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store(char* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline unsigned bits(__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); }
inline unsigned newlinebits(__m128i v) { return bits(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))); }
inline unsigned nulbits(__m128i v) { return bits(_mm_cmpeq_epi8(v, _mm_setzero_si128())); }
inline unsigned stopbits(__m128i v) {
    return bits(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_setzero_si128())));
}
// Space, tab, CR, LF: tab (0x09) and CR (0x0D) are the only bytes that give
// 0x0D with bit 2 set.
inline unsigned blankbits(__m128i v) {
    __m128i tabcr = _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(4)), _mm_set1_epi8('\r'));
    __m128i spacenl = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
    return bits(_mm_or_si128(tabcr, spacenl));
}
// The first set bit of keep and the one behind its last; 0 and 0 for none:
// the bounds of the non-blank chars of a line, as a range.
inline unsigned firstbit(unsigned keep) { return keep ? static_cast<unsigned>(__builtin_ctz(keep)) : 0; }
inline unsigned endbit(unsigned keep) { return keep ? 32 - static_cast<unsigned>(__builtin_clz(keep)) : 0; }
inline unsigned digitbits(__m128i v) {
    __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    return bits(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d));
}

// The code of the code line of k chars at p (32 bytes readable), all of them
// digits or blanks, whose digits are the set bits of digits: its first run
// of digits, read eight at a time when it is that short.
inline int codeof(const char* p, unsigned k, unsigned digits) {
    if (!digits) return 0;
    unsigned s = static_cast<unsigned>(__builtin_ctz(digits));
    unsigned n = static_cast<unsigned>(__builtin_ctz(~(digits >> s)));
    if (n <= 8 && s <= 24) return eightdigits(p + s, n);
    int v = 0;
    scancode(p, p + k, v);
    return v;
}

#endif

}  // namespace linescan
}  // namespace ostra

#endif
