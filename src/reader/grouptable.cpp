#include "reader/grouptable.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace ostra {

const int grouptable::clearlist[14] = {8, 10, 11, 20, 21, 30, 31, 40, 41, 42, 43, 50, 51, 70};

grouptable::grouptable() {
    std::memset(stored_, 0, sizeof stored_);
    std::memset(state_, textonly, sizeof state_);
    // All of every slot is defined: numbers are read eight chars at a time,
    // past the NUL.
    std::memset(text_, 0, sizeof text_);
}

namespace {

// Writes the exact hexadecimal form of v as printf's %a writes it ("0x1.8p+1"
// for 3), which reads back to v; the infinities as "inf" and "-inf", and
// every nan as "nan". At most 24 chars and a NUL.
void hexform(double v, char* out) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    int exponent = static_cast<int>(bits >> 52 & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
    char* p = out;
    if (bits >> 63 && !(exponent == 0x7FF && mantissa)) *p++ = '-';
    if (exponent == 0x7FF) {
        std::strcpy(p, mantissa ? "nan" : "inf");
        return;
    }
    *p++ = '0';
    *p++ = 'x';
    *p++ = exponent ? '1' : '0';
    int power = exponent ? exponent - 1023 : mantissa ? -1022 : 0;
    if (mantissa) {
        *p++ = '.';
        int digits = 13;
        for (; (mantissa & 15) == 0; mantissa >>= 4) --digits;
        for (int i = digits - 1; i >= 0; --i) {
            p[i] = "0123456789abcdef"[mantissa & 15];
            mantissa >>= 4;
        }
        p += digits;
    }
    *p++ = 'p';
    *p++ = power < 0 ? '-' : '+';
    *std::to_chars(p, p + 8, power < 0 ? -power : power).ptr = '\0';
}

}  // namespace

// A number's text is needed rarely (a producer that tests whether a slot is
// empty), so the exact form that is quickest to write will do.
void grouptable::maketext(int n) const {
    hexform(number_[n], text_[n]);
    state_[n] = both;
}

}  // namespace ostra
