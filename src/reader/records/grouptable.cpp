#include "reader/records/grouptable.h"

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

bool grouptable::keepwhole(int n, int maxlength) {
    if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return false;
    if (maxlength > wholesize - 1) maxlength = wholesize - 1;
    wholevalue* entry = nullptr;
    for (wholevalue& w : whole_) {
        if (w.code == n) {
            entry = &w;
            break;
        }
        if (w.code < 0 && !entry) entry = &w;
    }
    if (maxlength <= 0) {
        if (entry && entry->code == n) entry->code = -1;
        state_[n] &= static_cast<unsigned char>(~longtext);
        return true;
    }
    if (!entry) return false;
    entry->code = n;
    entry->maxlength = maxlength;
    return true;
}

void grouptable::storelong(int n, const char* text, int length) {
    std::memcpy(text_[n], text, slotsize - 1);
    stored(n, slotsize - 1);
    for (wholevalue& w : whole_) {
        if (w.code != n) continue;
        const int kept = length < w.maxlength ? length : w.maxlength;
        std::memcpy(w.text, text, static_cast<unsigned>(kept));
        w.text[kept] = '\0';
        state_[n] = longtext;
        return;
    }
}

const char* grouptable::longvalue(int n) const {
    for (const wholevalue& w : whole_)
        if (w.code == n) return w.text;
    return text_[n];
}

}  // namespace ostra
