#include "support/namekey.h"

namespace ostra {

namespace {

// The upper-case form of a code point of two UTF-8 bytes (U+0080 to
// U+07FF), or the code point itself.
unsigned long upper(unsigned long c) {
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1
    if (c == 0xFF) return 0x178;                                // ÿ
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A: pairs of upper then lower case, but for the
        // runs 0139-0148 and 0179-017E, which begin one later, and the
        // letters that have no pair of their own.
        const bool oddupper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x178 || c == 0x17F) return c;
        const bool lower = oddupper ? (c % 2 == 0) : (c % 2 == 1);
        return lower ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB) return c == 0x3C2 ? 0x3A3 : c - 0x20;  // Greek, final sigma too
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;  // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

}  // namespace

std::string foldedname(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += b >= 'a' && b <= 'z' ? static_cast<char>(b - 0x20) : static_cast<char>(b);
            continue;
        }
        const auto next = i + 1 < n ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
        if (b < 0xC2 || b > 0xDF || (next & 0xC0) != 0x80) {
            out += static_cast<char>(b);
            continue;
        }
        const unsigned long c = upper((b & 0x1Fu) << 6 | (next & 0x3Fu));
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
        ++i;
    }
    return out;
}

}  // namespace ostra
