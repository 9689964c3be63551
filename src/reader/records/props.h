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
    unsigned record = 0;   // the record of the group table it was read from
};

// Lineweights with a meaning of their own (group 370).
constexpr int lwbylayer = -1;
constexpr int lwbyblock = -2;
constexpr int lwdefault = -3;

// A record's line style as it gives it: its linetype name (group 6; null
// for BYLAYER, also when it gives none), its lineweight (370) and its
// linetype scale (48); for an insert's style as its block's BYBLOCK sees
// it, the layer a BYLAYER of it refers to.
struct linestyle {
    const char* linetype = nullptr;
    int lineweight = lwbylayer;
    double scale = 1;
    const char* layer = nullptr;
    const char* weightlayer = nullptr;  // the same for a BYLAYER lineweight
};

// The line style carried by record number record of the table; its
// linetype points into the table's slot.
linestyle readlinestyle(const grouptable& t, unsigned record);

// Whether a linetype name is BYLAYER or BYBLOCK, without regard to case.
bool isbylayer(const char* name);
bool isbyblock(const char* name);

// The style own stands for inside an insert whose style is outer (null
// outside blocks): BYBLOCK takes the insert's, which outside any block is
// Continuous and the default lineweight.
linestyle styleof(const linestyle& own, const linestyle* outer);

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
