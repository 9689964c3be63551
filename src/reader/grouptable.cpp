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

// A number's text is needed rarely (a header variable, a name a host asks
// for): the shortest decimal that reads back to the number, as the text form
// would write it ("nan", "inf" and "-inf" for those).
void grouptable::maketext(int n) const {
    char* t = text_[n];
    const double v = number_[n];
    if (v != v) {
        std::strcpy(t, "nan");
    } else {
        *std::to_chars(t, t + slotsize - 1, v).ptr = '\0';
    }
    state_[n] = both;
}

}  // namespace ostra
