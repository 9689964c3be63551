#include "reader/tables/layerstates.h"

#include <utility>

namespace ostra {

namespace {
int intof(const grouptable& t, int code, int otherwise) {
    if (!t.carried(code)) return otherwise;
    double v = t.number(code);
    return v >= -2147483648.0 && v <= 2147483647.0 ? static_cast<int>(v) : otherwise;
}
}  // namespace

void layerstates::record(const grouptable& t) {
    if (!t.carried(2)) return;
    std::string_view name, key;
    if (keys_) {
        const namekeys::keyed k = keys_->drawingkey(t.wholetext(2));
        name = k.spelling;
        key = k.key;
    } else {
        name = key = namekey(t.get(2));
    }
    if (index_.count(key)) return;
    entry e;
    e.name = std::string(name);
    e.aci = intof(t, 62, 7);
    e.flags = intof(t, 70, 0);
    int tc = intof(t, 420, -1);
    e.truecolor = tc >= 0 && tc <= 0xFFFFFF ? tc : -1;
    e.plotted = intof(t, 290, 1) != 0;
    e.linetype = t.carried(6) ? t.wholetext(6) : "";
    e.lineweight = t.carried(370) && t.number(370) >= 0 && t.number(370) <= 211 ? static_cast<int>(t.number(370)) : -3;
    entries_.push_back(std::move(e));
    // The key of the default reading is the stored name itself; the exact
    // reading's lives in keys.
    if (!keys_) key = entries_.back().name;
    try {
        index_.emplace(key, count() - 1);
    } catch (...) {
        entries_.pop_back();
        throw;
    }
}

const layerstates::entry* layerstates::find(const char* name) const {
    return findkey(keys_ ? keys_->drawingkey(name).key : namekey(name));
}

const layerstates::entry* layerstates::findkey(std::string_view key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[static_cast<std::size_t>(it->second)];
}

}  // namespace ostra
