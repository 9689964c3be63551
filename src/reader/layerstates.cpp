#include "reader/layerstates.h"

#include <cstring>

#include "support/namekey.h"

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
    std::string_view name = namekey(t.get(2));
    if (index_.count(name)) return;
    entries_.emplace_back();
    entry& e = entries_.back();
    std::memcpy(e.name, name.data(), name.size());
    e.name[name.size()] = '\0';
    e.aci = intof(t, 62, 7);
    e.flags = intof(t, 70, 0);
    int tc = intof(t, 420, -1);
    e.truecolor = tc >= 0 && tc <= 0xFFFFFF ? tc : -1;
    e.plotted = intof(t, 290, 1) != 0;
    std::strcpy(e.linetype, t.carried(6) ? t.get(6) : "");
    try {
        index_.emplace(std::string_view(e.name, name.size()), count() - 1);
    } catch (...) {
        entries_.pop_back();
        throw;
    }
}

const layerstates::entry* layerstates::find(const char* name) const {
    auto it = index_.find(namekey(name));
    return it == index_.end() ? nullptr : &entries_[static_cast<std::size_t>(it->second)];
}

}  // namespace ostra
