// What a record says about its geometry beside the geometry itself: its
// handle and its colour, and how a colour is resolved.
#ifndef OSTRA_READER_PROPS_H
#define OSTRA_READER_PROPS_H

#include "reader/records/grouptable.h"

namespace ostra {

// Colour indices with a meaning of their own.
constexpr int byblock = 0;
constexpr int bylayer = 256;

struct recordprops {
    char handle[17] = "";  // group 5, at most 16 chars (handles are 16 hex digits at most)
    short aci = bylayer;   // group 62; an index out of range counts as BYLAYER
    int truecolor = -1;    // group 420 as 0xRRGGBB; -1 when the record has none
};

// The handle and colour carried by record number record of the table,
// whose slots still hold its groups.
recordprops readprops(const grouptable& t, unsigned record);

// A colour on its way to being resolved: an index or a true colour, or
// BYLAYER of a layer given by its index in the table of layers met or by
// its name.
struct colourref {
    int aci = 7;
    int truecolor = -1;
    int layer = -1;
    const char* layername = nullptr;
};

// The colour a record's props stand for, placed on layer (an index of the
// layers met) inside an insert whose colour is outer (null outside blocks).
colourref colourof(const recordprops& p, int layer, const colourref* outer);

}  // namespace ostra

#endif
