// The LAYER table of a drawing's TABLES section: each layer's colour, state
// and linetype, as the LAYER records give them. The layers met by entities
// and their use counts are the layer table's (layertable.h).
#ifndef OSTRA_READER_LAYERSTATES_H
#define OSTRA_READER_LAYERSTATES_H

#include <deque>
#include <string_view>
#include <unordered_map>

#include "reader/grouptable.h"

namespace ostra {

class layerstates {
public:
    struct entry {
        char name[80];
        int aci;        // group 62: negative when the layer is off
        int flags;      // group 70: 1 frozen, 4 locked, ...
        int truecolor;  // group 420 as 0xRRGGBB, or -1
        bool plotted;   // group 290, plotted unless 0
        char linetype[80];
    };

    // The end of a LAYER record: a new entry unless one of its name exists
    // (the first one counts). A record without a name (group 2) is ignored.
    void record(const grouptable& t);

    // The entry of a layer name (its first 79 chars), or null.
    const entry* find(const char* name) const;
    int count() const { return static_cast<int>(entries_.size()); }
    const entry& at(int i) const { return entries_[static_cast<std::size_t>(i)]; }

private:
    std::deque<entry> entries_;  // stable addresses: names are handed out
    std::unordered_map<std::string_view, int> index_;
};

}  // namespace ostra

#endif
