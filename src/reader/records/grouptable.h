// Layer 2, records: a record's values by group code, its kind, its props and points.
//
// The group table: the values of the record being collected, one slot per
// group code. A slot holds a text, with its number (atof in the C locale)
// worked out at most once per stored text, or a number stored as such (a
// double of the binary form), with its text made only when asked for.
//
// A slot keeps the first 79 chars of a value. For a few codes a reading may
// ask for whole values (keepwhole): a longer value of such a code is kept
// whole beside its slot, up to a length the reading chooses, and wholetext()
// hands it out. Only values longer than a slot take that way, so the common
// short value costs nothing more.
#ifndef OSTRA_READER_GROUPTABLE_H
#define OSTRA_READER_GROUPTABLE_H

#include <cstring>

#include "support/number.h"

namespace ostra {

class grouptable {
public:
    static constexpr int slots = 1100;      // group codes 0 to 1099
    static constexpr int slotsize = 80;     // at most 79 chars and a NUL
    static constexpr int wholesize = 512;   // a whole value: a line's 511 chars and a NUL
    static constexpr int wholecodes = 8;    // codes that may keep whole values at once

    grouptable();

    // Stores the first min(length, 79) chars of text under code n; codes of
    // 1100 and more (and negative ones) are dropped. A longer value of a code
    // that keeps whole values is kept whole as well.
    void store(int n, const char* text, int length) {
        if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return;
        if (length > slotsize - 1) return storelong(n, text, length);
        std::memcpy(text_[n], text, static_cast<unsigned>(length));
        stored(n, length);
    }
    // The same for a text of which padding chars may be read (padding >=
    // 32): a short text is moved with one fixed-size copy.
    template <int padding>
    void storepadded(int n, const char* text, int length) {
        static_assert(padding >= 32, "a short text is copied as 32 chars");
        if (length >= 32 || static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return store(n, text, length);
        std::memcpy(text_[n], text, 32);
        stored(n, length);
    }
    // Stores the number v under code n as it stands; its text, made when it
    // is asked for, is the shortest decimal that reads back to v. Codes
    // without a slot are dropped.
    void storenumber(int n, double v) {
        if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return;
        number_[n] = v;
        stored_[n] = record_;
        state_[n] = numberonly;
    }
    // The slot's text; "" for a code without a slot.
    const char* get(int n) const {
        if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return "";
        if (state_[n] == numberonly) maketext(n);
        return text_[n];
    }
    // From now on a value of code n (below 1100) longer than a slot keeps
    // its first maxlength chars (at most 511) beside the slot; a maxlength
    // of 0 or less ends that. False when wholecodes codes keep whole values
    // already.
    bool keepwhole(int n, int maxlength);
    // The whole value of code n: the value kept whole when it was longer
    // than its slot, else the slot's text (as get() gives it).
    const char* wholetext(int n) const {
        if (static_cast<unsigned>(n) < static_cast<unsigned>(slots) && (state_[n] & longtext)) return longvalue(n);
        return get(n);
    }

    // Whether the slot is empty (its text is, or no text or number is in
    // it), without making a number's text.
    bool empty(int n) const {
        if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return true;
        return state_[n] != numberonly && text_[n][0] == '\0';
    }
    // The slot's number; 0 for a code without a slot. A coordinate that is
    // read twice (an end point, then the next start) is parsed once.
    double number(int n) const {
        if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return 0.0;
        if (state_[n] <= longtext) {
            number_[n] = parsedouble(text_[n], text_[n] + slotsize);
            state_[n] |= both;
        }
        return number_[n];
    }
    // Whether the slot's value is zero (or empty), without parsing the
    // common texts of zero ("0", "0.0", ...).
    bool zero(int n) const {
        if (static_cast<unsigned>(n) >= static_cast<unsigned>(slots)) return true;
        if (state_[n] == textonly) {
            const char* p = text_[n];
            while (*p == '0' || *p == '.') ++p;
            if (*p == '\0') return true;
        }
        return number(n) == 0;
    }
    // Whether the record being collected carried group n itself, as opposed
    // to a text left in the slot by an earlier record.
    bool carried(int n) const {
        return static_cast<unsigned>(n) < static_cast<unsigned>(slots) && stored_[n] == record_;
    }
    // Marks the start of a new record for carried().
    void newrecord() { ++record_; }
    // The record being collected, and whether that record carried group n:
    // a finished record's groups can be asked for as long as no later
    // record has stored the same codes.
    unsigned recordid() const { return record_; }
    bool carriedin(int n, unsigned record) const {
        return static_cast<unsigned>(n) < static_cast<unsigned>(slots) && stored_[n] == record;
    }

    // The codes cleared at every record end, in this order.
    static const int clearlist[14];
    void clearrecord() {
        for (int n : clearlist) {
            text_[n][0] = '\0';
            state_[n] = textonly;
        }
    }

private:
    // What a slot holds: its text only, its text and the number it reads
    // as, or a number whose text is not made yet. A text whose value is kept
    // whole has the longtext bit set beside textonly or both.
    enum : unsigned char { textonly = 0, longtext = 1, both = 2, longboth = 3, numberonly = 4 };

    // The text of length chars is in slot n: it ends there, this record
    // carried it and its number is not known yet.
    void stored(int n, int length) {
        text_[n][length] = '\0';
        stored_[n] = record_;
        state_[n] = textonly;
    }
    // Writes the text of the number in slot n.
    void maketext(int n) const;
    // A value longer than a slot: its first 79 chars in the slot, all of it
    // (up to the code's maximum) beside when code n keeps whole values.
    void storelong(int n, const char* text, int length);
    // The value kept whole for code n.
    const char* longvalue(int n) const;

    struct wholevalue {
        int code = -1;       // -1: unused
        int maxlength = 0;
        char text[wholesize];
    };
    wholevalue whole_[wholecodes];

    unsigned record_ = 1;
    unsigned stored_[slots];
    mutable unsigned char state_[slots];
    mutable double number_[slots];
    mutable char text_[slots][slotsize];
};

}  // namespace ostra

#endif
