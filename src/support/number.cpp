#include "support/number.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <system_error>

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

}  // namespace

double parsedouble(const char* text, const char* readableend) {
    const char* p = text;
    while (iscspace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    double v = 0.0;
    if (parseplain(p, readableend, v)) return negative ? -v : v;
    // from_chars knows neither a second sign nor hexadecimal numbers; the
    // first gives 0, the second goes to the C library.
    if (*p == '-' || *p == '+') return 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return parseclocale(text);
    auto r = std::from_chars(p, p + std::strlen(p), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) return parseclocale(text);
    if (r.ec != std::errc()) return 0.0;
    return negative ? -v : v;
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
