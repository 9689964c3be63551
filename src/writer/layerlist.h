// Layer names as the writer accepts them, and the LAYER table entries given
// to it, written into the TABLES section.
#ifndef OSTRA_WRITER_LAYERLIST_H
#define OSTRA_WRITER_LAYERLIST_H

#include <cstdio>
#include <string>
#include <vector>

namespace ostra {

// The longest name a reader keeps.
constexpr int maxlayername = 79;

// Whether name can stand as a layer name and read back as itself: not null
// or empty, at most 79 chars, no line break (CR or LF), and no blank (space
// or tab) at either end, since a reader trims those.
bool validlayername(const char* name);

class layerlist {
public:
    // Adds an entry; false (and nothing added) for an invalid name, a colour
    // outside 1..255, a name already given (compared without regard to the
    // case of ASCII letters, as layer names are matched), or no memory.
    bool add(const char* name, int aci);
    bool empty() const { return entries_.empty(); }
    // The TABLES section with the LAYER table: TABLE, 2 LAYER, 70 count,
    // one entry per add (2 name, 70 0, 62 colour, 6 CONTINUOUS), ENDTAB.
    bool writetables(FILE* stream) const;

private:
    struct entry {
        std::string name;
        int aci;
    };
    std::vector<entry> entries_;
};

}  // namespace ostra

#endif
