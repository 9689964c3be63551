#include "reader/grouptable.h"

namespace ostra {

const int grouptable::clearlist[14] = {8, 10, 11, 20, 21, 30, 31, 40, 41, 42, 43, 50, 51, 70};

grouptable::grouptable() {
    std::memset(stored_, 0, sizeof stored_);
    std::memset(parsed_, 0, sizeof parsed_);
    // All of every slot is defined: numbers are read eight chars at a time,
    // past the NUL.
    std::memset(text_, 0, sizeof text_);
}

}  // namespace ostra
