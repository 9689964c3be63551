#include "support/number.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <system_error>

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

}  // namespace

double parsedouble(const char* text) {
    const char* p = text;
    while (iscspace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // from_chars knows neither a second sign nor hexadecimal numbers; the
    // first gives 0, the second goes to the C library.
    if (*p == '-' || *p == '+') return 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return parseclocale(text);
    double v = 0.0;
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
