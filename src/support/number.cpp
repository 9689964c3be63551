#include "support/number.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "support/digits.h"

namespace ostra {

namespace {

bool iscspace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The slow path: the C library's own conversion, pinned to the C locale.
double parseclocale(const char* text) {
    static const locale_t clocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(text, nullptr, clocale);
}

// Exact powers of ten: every one up to 1e22 is a double.
constexpr double powersoften[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isdigit(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c) - '0') < 10; }

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && defined(__GNUC__)
constexpr bool eightatonce = true;
int lowestbyte(std::uint64_t mask) { return __builtin_ctzll(mask) >> 3; }
#else
constexpr bool eightatonce = false;
int lowestbyte(std::uint64_t) { return 0; }
#endif

const std::uint64_t integerpowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// The run of digits (at most 8) that starts at p, as a count and a value.
// With eight chars readable from p they are looked at all at once: loaded
// little-endian (the first char in the low byte), each byte's digit value
// and the first byte that is no digit.
int digitrun(const char* p, const char* end, std::uint64_t& value) {
    if (eightatonce && end && end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        std::uint64_t d = w ^ 0x3030303030303030u;  // digits become 0 to 9
        std::uint64_t nondigit = (((d & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | d) & 0x8080808080808080u;
        int n = nondigit ? lowestbyte(nondigit) : 8;
        value = n ? static_cast<std::uint64_t>(eightdigits(p, static_cast<unsigned>(n))) : 0;
        return n;
    }
    int n = 0;
    value = 0;
    for (; n < 8 && isdigit(p[n]); ++n) value = value * 10 + static_cast<unsigned>(p[n] - '0');
    return n;
}

// The common case of a drawing's numbers: digits with at most one full stop,
// no exponent, at most 19 digits. When the digits as an integer m fit in 53
// bits and there are k <= 22 of them after the stop, m and 10^k are exact
// doubles and m / 10^k is the one correctly rounded result, as from_chars
// gives it. Returns false, with v untouched, for everything else. Where the
// caller says chars up to end may be read, digits are taken eight at a time.
bool parseplain(const char* p, const char* end, double& v) {
    std::uint64_t m = 0, run = 0;
    int digits = 0, fraction = 0, n;
    do {
        n = digitrun(p, end, run);
        if ((digits += n) > 19) return false;
        m = m * integerpowers[n] + run;
        p += n;
    } while (n == 8);
    if (*p == '.') {
        ++p;
        do {
            n = digitrun(p, end, run);
            if ((digits += n) > 19) return false;
            m = m * integerpowers[n] + run;
            fraction += n;
            p += n;
        } while (n == 8);
    }
    // An exponent, or the x of a hexadecimal number, goes the long way.
    if (digits == 0 || *p == 'e' || *p == 'E' || *p == 'x' || *p == 'X') return false;
    if (m > (std::uint64_t(1) << 53)) return false;
    v = static_cast<double>(m) / powersoften[fraction];
    return true;
}

#if defined(__SSE2__)
// The chars that make parseplain hand a number to the long way when they
// follow its digits: an exponent, the x of a hexadecimal number.
bool exponentorx(char c) {
    const char l = static_cast<char>(c | 0x20);
    return l == 'e' || l == 'x';
}

// The value of the run of n digits (0 to 19) at p, with 8 chars readable
// from every digit: eight at a time.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline std::uint64_t digitvalue(const char* p, unsigned n) {
    if (n <= 8) return n ? static_cast<std::uint64_t>(eightdigits(p, n)) : 0;
    std::uint64_t v = static_cast<std::uint64_t>(eightdigits(p + n - 8, 8));
    if (n <= 16) return static_cast<std::uint64_t>(eightdigits(p, n - 8)) * 100000000u + v;
    return (static_cast<std::uint64_t>(eightdigits(p, n - 16)) * 100000000u +
            static_cast<std::uint64_t>(eightdigits(p + n - 16, 8))) *
               100000000u +
           v;
}

// Bit i set where p[i] is a digit, for the 16 chars at p.
unsigned digitmask(const char* p) {
    const __m128i d = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), _mm_set1_epi8('0'));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d)));
}

// parseplain for a number that ends within the 32 chars at p, with 48
// chars readable: the digits of all 32 are found at once, the full stop
// and the end of the number from them, and each run of digits is converted
// eight at a time, with the same limits (1 to 19 digits, m at most 2^53) and
// so the same one correctly rounded double: plain, with v set. Where those
// limits fail, parseplain fails as well: notplain. Where the number may go
// on beyond the 32 chars or has no digit: unknown, and the general way
// decides.
enum plainresult { plain, notplain, empty, unknown };
plainresult parsethirtytwo(const char* p, double& v) {
    const std::uint64_t digits = digitmask(p) | std::uint64_t(digitmask(p + 16)) << 16;
    const unsigned whole = static_cast<unsigned>(__builtin_ctzll(~digits));  // 32 when all are digits
    unsigned end = whole, fraction = 0;
    if (p[whole] == '.') {
        end = whole + 1 + static_cast<unsigned>(__builtin_ctzll(~(digits >> (whole + 1))));
        fraction = end - whole - 1;
    }
    // No digit: an empty text (0 whatever its sign), or blanks before the
    // number, a second sign, no number at all.
    if (whole + fraction == 0 && *p == '\0') return empty;
    if (end >= 32 || whole + fraction == 0) return unknown;
    if (whole + fraction > 19 || exponentorx(p[end])) return notplain;
    std::uint64_t m = digitvalue(p, whole);
    if (fraction) {
        const std::uint64_t scale =
            fraction > 16 ? integerpowers[8] * integerpowers[8] * integerpowers[fraction - 16]
            : fraction > 8 ? integerpowers[8] * integerpowers[fraction - 8]
                           : integerpowers[fraction];
        m = m * scale + digitvalue(p + whole + 1, fraction);
    }
    if (m > (std::uint64_t(1) << 53)) return notplain;
    v = static_cast<double>(m) / powersoften[fraction];
    return plain;
}
#endif

}  // namespace

namespace {

// A number that is not plain, from p behind its sign: from_chars knows
// neither a second sign nor hexadecimal numbers; the first gives 0, the
// second goes to the C library, as does a number out of range.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
double parselong(const char* text, const char* p, bool negative) {
    if (*p == '-' || *p == '+') return 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return parseclocale(text);
    double v = 0.0;
    auto r = std::from_chars(p, p + std::strlen(p), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) return parseclocale(text);
    if (r.ec != std::errc()) return 0.0;
    return negative ? -v : v;
}

// Everything but the common number in a slot: blanks before it, parseplain
// on chars that may not be read ahead, and the long way.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
double parsegeneral(const char* text, const char* readableend) {
    const char* p = text;
    while (iscspace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    double v = 0.0;
    if (parseplain(p, readableend, v)) return negative ? -v : v;
    return parselong(text, p, negative);
}

}  // namespace

// The common number of a slot (no blanks before it, 48 chars readable from
// it) is converted here with few registers; all else goes the general way.
double parsedouble(const char* text, const char* readableend) {
#if defined(__SSE2__)
    if (readableend && readableend - text >= 49) {
        const bool negative = *text == '-';
        const char* p = text + (negative || *text == '+');
        double v;
        switch (parsethirtytwo(p, v)) {
        case plain: return negative ? -v : v;
        case notplain: return parselong(text, p, negative);
        case empty: return 0.0;
        case unknown: break;
        }
    }
#endif
    return parsegeneral(text, readableend);
}

std::size_t formatfixed6(double v, char* buf) {
    if (std::isnan(v)) {
        const char* t = std::signbit(v) ? "-nan" : "nan";
        std::size_t n = std::strlen(t);
        std::memcpy(buf, t, n);
        return n;
    }
    if (std::isinf(v)) {
        const char* t = v < 0 ? "-inf" : "inf";
        std::size_t n = std::strlen(t);
        std::memcpy(buf, t, n);
        return n;
    }
    auto r = std::to_chars(buf, buf + formatcapacity, v, std::chars_format::fixed, 6);
    std::size_t n = static_cast<std::size_t>(r.ptr - buf);
    if (n <= formatlimit) return n;
    // A reader keeps only the first 79 chars of a value, so a number whose
    // fixed text is longer (|v| from about 1e71 up) is written in the
    // shortest form that reads back to the same double, e.g. "1e+308".
    r = std::to_chars(buf, buf + formatcapacity, v);
    return static_cast<std::size_t>(r.ptr - buf);
}

}  // namespace ostra
