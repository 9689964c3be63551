// Layer names as the writer accepts them, and the LAYER table entries given
// to it, written into the TABLES section with the LTYPE entries they need.
#ifndef OSTRA_WRITER_LAYERLIST_H
#define OSTRA_WRITER_LAYERLIST_H

#include <cstdio>
#include <string>
#include <vector>

namespace ostra {

// The longest name a drawing may hold (R2000 and later): the exact reading
// keeps it whole, the default reading its first 79 chars.
constexpr int maxlayername = 255;
// The longest header variable name: a group value of 79 chars.
constexpr int maxvariablename = 79;

// Whether name can stand as a layer name and read back as itself: not null
// or empty, at most 255 chars, no line break (CR or LF), and no blank (space
// or tab) at either end, since a reader trims those.
bool validlayername(const char* name);

// Whether two names are the same with the case of ASCII letters ignored, as
// table entries are matched.
bool samename(const std::string& a, const char* b);

class layerlist {
public:
    // Adds an entry; false (and nothing added) for an invalid name, a colour
    // outside 1..255 and -255..-1 (negative for a layer that is off), flags
    // outside 0..127, a linetype that is not a valid name or is BYLAYER or
    // BYBLOCK (null or "" stand for CONTINUOUS), a name already given
    // (compared without regard to the case of ASCII letters, as layer names
    // are matched), or no memory.
    bool add(const char* name, int aci, int flags, const char* linetype);
    bool empty() const { return entries_.empty(); }
    // The TABLES section: the LTYPE table (CONTINUOUS, then every other
    // linetype the entries name, in order of first naming) and the LAYER
    // table (TABLE, 2 LAYER, 70 count, one entry per add: 2 name, 70 flags,
    // 62 colour, 6 linetype; ENDTAB).
    bool writetables(FILE* stream) const;

private:
    struct entry {
        std::string name;
        int aci;
        int flags;
        std::string linetype;
    };
    bool writelinetypes(FILE* stream) const;

    std::vector<entry> entries_;
    std::vector<std::string> linetypes_;  // CONTINUOUS first once there is an entry
};

}  // namespace ostra

#endif
