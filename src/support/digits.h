// Digit runs read eight bytes at a time.
#ifndef OSTRA_SUPPORT_DIGITS_H
#define OSTRA_SUPPORT_DIGITS_H

#include <cstdint>
#include <cstring>

namespace ostra {

// The value of the run of n digits (1 to 8) at p, with 8 bytes readable:
// eight digits at once, the bytes behind the run shifted out.
inline int eightdigits(const char* p, unsigned n) {
    std::uint64_t x;
    std::memcpy(&x, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    x = __builtin_bswap64(x);
#endif
    x -= 0x3030303030303030ull;
    x <<= (8 - n) * 8;
    x = x * 10 + (x >> 8);
    x = (((x & 0x000000FF000000FFull) * 0x000F424000000064ull) +
         (((x >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull)) >>
        32;
    return static_cast<int>(x);
}

}  // namespace ostra

#endif
