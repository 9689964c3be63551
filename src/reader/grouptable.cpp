#include "reader/grouptable.h"

#include <cstring>

namespace ostra {

const int grouptable::clearlist[14] = {8, 10, 11, 20, 21, 30, 31, 40, 41, 42, 43, 50, 51, 70};

grouptable::grouptable() {
    std::memset(stored_, 0, sizeof stored_);
    for (auto& slot : text_) slot[0] = '\0';
}

void grouptable::store(int n, const char* text, int length) {
    if (n < 0 || n >= slots) return;
    if (length > slotsize - 1) length = slotsize - 1;
    std::memcpy(text_[n], text, static_cast<unsigned>(length));
    text_[n][length] = '\0';
    stored_[n] = record_;
}

void grouptable::clear(int n) {
    if (n >= 0 && n < slots) text_[n][0] = '\0';
}

const char* grouptable::get(int n) const { return n >= 0 && n < slots ? text_[n] : ""; }

bool grouptable::carried(int n) const { return n >= 0 && n < slots && stored_[n] == record_; }

void grouptable::clearrecord() {
    for (int n : clearlist) text_[n][0] = '\0';
}

}  // namespace ostra
