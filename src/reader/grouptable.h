// The group table: the value texts of the record being collected, one slot
// per group code.
#ifndef OSTRA_READER_GROUPTABLE_H
#define OSTRA_READER_GROUPTABLE_H

#include <cstring>

namespace ostra {

class grouptable {
public:
    static constexpr int slots = 1100;      // group codes 0 to 1099
    static constexpr int slotsize = 80;     // at most 79 chars and a NUL

    grouptable();

    // Stores the first min(length, 79) chars of text under code n; codes of
    // 1100 and more (and negative ones) are dropped.
    void store(int n, const char* text, int length) {
        if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return;
        if (length > slotsize - 1) length = slotsize - 1;
        std::memcpy(text_[n], text, static_cast<unsigned>(length));
        text_[n][length] = '\0';
        stored_[n] = record_;
    }
    void clear(int n) {
        if (static_cast<unsigned>(n) < static_cast<unsigned>(slots)) text_[n][0] = '\0';
    }
    // The slot's text; "" for a code without a slot.
    const char* get(int n) const { return static_cast<unsigned>(n) < static_cast<unsigned>(slots) ? text_[n] : ""; }
    // Whether the record being collected carried group n itself, as opposed
    // to a text left in the slot by an earlier record.
    bool carried(int n) const {
        return static_cast<unsigned>(n) < static_cast<unsigned>(slots) && stored_[n] == record_;
    }
    // Marks the start of a new record for carried().
    void newrecord() { ++record_; }

    // The codes cleared at every record end, in this order.
    static const int clearlist[14];
    void clearrecord() {
        for (int n : clearlist) text_[n][0] = '\0';
    }

private:
    unsigned record_ = 1;
    unsigned stored_[slots];
    char text_[slots][slotsize];
};

}  // namespace ostra

#endif
