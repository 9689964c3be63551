// The value types of binary DXF groups, by group code.
#ifndef OSTRA_READER_BINARYTYPES_H
#define OSTRA_READER_BINARYTYPES_H

#include <array>

namespace ostra {

enum valuetype : unsigned char {
    badtype,      // no value type: not a code of the format
    stringtype,   // a string up to its NUL
    realtype,     // an 8-byte little-endian double
    int16type,    // 16-, 32- and 64-bit little-endian integers
    int32type,
    int64type,
    booleantype,  // one byte
    chunktype,    // a length byte, then as many bytes
};

// The value types of codes 0 to 1071, made at compile time from the ranges.
constexpr int valuetypecodes = 1072;
extern const std::array<valuetype, valuetypecodes> valuetypes;

// The value type of group code c (any int).
inline valuetype valuetypeof(int c) {
    return c >= 0 && c < valuetypecodes ? valuetypes[static_cast<unsigned>(c)] : badtype;
}

}  // namespace ostra

#endif
