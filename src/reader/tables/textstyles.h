// Layer 3, tables: the STYLE table, what texts take where they say nothing.
//
// A STYLE entry gives a text style's fixed height (40, 0 for none), width
// factor (41) and oblique angle (50). Names compare without regard to ASCII
// case, by their first 255 chars; the first entry of a name counts.
#ifndef OSTRA_READER_TEXTSTYLES_H
#define OSTRA_READER_TEXTSTYLES_H

#include <string>
#include <unordered_map>

#include "reader/records/grouptable.h"

namespace ostra {

class textstyles {
public:
    struct entry {
        double height = 0;  // fixed height; 0 for none
        double widthfactor = 1;
        double oblique = 0;  // degrees
    };
    // The end of a STYLE record. Throws std::bad_alloc.
    void record(const grouptable& t);
    // The entry of a style, or null (a text with no style takes "STANDARD").
    const entry* find(const char* name) const;

private:
    static std::string keyof(const char* name);
    std::unordered_map<std::string, entry> styles_;
};

}  // namespace ostra

#endif
