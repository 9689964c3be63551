// The LAYER table of a drawing's TABLES section: each layer's colour, state
// and linetype, as the LAYER records give them. The layers met by entities
// and their use counts are the layer table's (layertable.h).
#ifndef OSTRA_READER_LAYERSTATES_H
#define OSTRA_READER_LAYERSTATES_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "reader/records/grouptable.h"
#include "support/namekey.h"

namespace ostra {

class layerstates {
public:
    struct entry {
        std::string name;
        int aci;        // group 62: negative when the layer is off
        int flags;      // group 70: 1 frozen, 4 locked, ...
        int truecolor;  // group 420 as 0xRRGGBB, or -1
        bool plotted;   // group 290, plotted unless 0
        std::string linetype;
        int lineweight;  // group 370, hundredths of a millimetre; negative for the default
    };

    // Names compare through keys (the exact reading: whole names, groups 2
    // and 6 as wholetext() gives them, without regard to case), or by their
    // first 79 chars as they stand (null, the default). Set before the
    // first record.
    void setkeys(namekeys* keys) { keys_ = keys; }

    // The end of a LAYER record: a new entry unless one of its name exists
    // (the first one counts). A record without a name (group 2) is ignored.
    void record(const grouptable& t);

    // The entry of a layer name as the drawing spells it, or null.
    const entry* find(const char* name) const;
    // The entry of a key that keys made, or null.
    const entry* findkey(std::string_view key) const;
    int count() const { return static_cast<int>(entries_.size()); }
    const entry& at(int i) const { return entries_[static_cast<std::size_t>(i)]; }

    // The entries in file order, with a position of their own; null at the
    // end (and again until first is called).
    const entry* first() {
        iter_ = 0;
        return next();
    }
    const entry* next() { return iter_ < count() ? &at(iter_++) : nullptr; }

private:
    std::deque<entry> entries_;  // stable addresses: names are handed out
    // By the first 79 chars of the name, or by its key.
    std::unordered_map<std::string_view, int> index_;
    namekeys* keys_ = nullptr;
    int iter_ = 0;
};

}  // namespace ostra

#endif
