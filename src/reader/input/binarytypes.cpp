#include "reader/input/binarytypes.h"

#include <array>
#include <cstddef>

namespace ostra {

namespace {

// The value type of a group code by the ranges of the format. Where later
// tables of the format name only some codes of an older range (1000-1003
// and 1005 of the extended-data strings 1000-1009; 1010-1013, 1020-1023,
// 1030-1033 and 1040-1042 of the doubles 1010-1059), the older range
// stands: a drawing may still use its other codes, and a code of no type
// would end reading.
constexpr valuetype byrange(int c) {
    if (c < 0) return badtype;
    if (c <= 9) return stringtype;
    if (c <= 59) return realtype;
    if (c <= 79) return int16type;
    if (c <= 89) return badtype;
    if (c <= 99) return int32type;
    if (c <= 102 || c == 105) return stringtype;
    if (c <= 109) return badtype;
    if (c <= 149) return realtype;
    if (c <= 159) return badtype;
    if (c <= 169) return int64type;
    if (c <= 179) return int16type;
    if (c <= 209) return badtype;
    if (c <= 239) return realtype;
    if (c <= 269) return badtype;
    if (c <= 289) return int16type;
    if (c <= 299) return booleantype;
    if (c <= 309) return stringtype;
    if (c <= 319) return chunktype;
    if (c <= 369) return stringtype;
    if (c <= 389) return int16type;
    if (c <= 399) return stringtype;
    if (c <= 409) return int16type;
    if (c <= 419) return stringtype;
    if (c <= 429) return int32type;
    if (c <= 439) return stringtype;
    if (c <= 459) return int32type;
    if (c <= 469) return realtype;
    if (c <= 481) return stringtype;
    if (c <= 998) return badtype;
    if (c == 1004) return chunktype;  // extended data's binary chunk
    if (c <= 1009) return stringtype;
    if (c <= 1059) return realtype;
    if (c <= 1070) return int16type;
    if (c == 1071) return int32type;
    return badtype;
}

constexpr std::array<valuetype, valuetypecodes> maketypes() {
    std::array<valuetype, valuetypecodes> a{};
    for (int c = 0; c < valuetypecodes; ++c) a[static_cast<std::size_t>(c)] = byrange(c);
    return a;
}

}  // namespace

extern const std::array<valuetype, valuetypecodes> valuetypes = maketypes();

}  // namespace ostra
