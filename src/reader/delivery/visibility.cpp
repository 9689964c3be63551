#include "reader/delivery/visibility.h"

#include <climits>

#include <cstring>

#include "support/namekey.h"

namespace ostra {

bool visibility::hiddenrecord(const grouptable& t, bool toplevel) {
    if (t.carried(60) && t.number(60) == 1) {
        count("*invisible");
        return true;
    }
    if (toplevel && (t.carried(67) && t.number(67) == 1) != paperspace) {
        count("*paperspace");
        return true;
    }
    return false;
}

signed char visibility::state(int i) {
    if (i < 0) return 0;
    if (known_ != defs_.count()) {
        hidden_.assign(hidden_.size(), -1);
        known_ = defs_.count();
    }
    std::size_t k = static_cast<std::size_t>(i);
    if (k >= hidden_.size()) hidden_.resize(static_cast<std::size_t>(layers_.count()), -1);
    if (hidden_[k] < 0) {
        const layerstates::entry* e = defs_.find(layers_.name(i));
        hidden_[k] = static_cast<signed char>((e && e->aci < 0 ? off : 0) | (e && (e->flags & 1) ? frozen : 0));
    }
    return hidden_[k];
}

void visibility::count(const char* name) {
    const std::string_view key = namekey(name);
    const std::size_t n = key.size();
    auto found = index_.find(key);
    if (found != index_.end()) {
        ++counts_[static_cast<std::size_t>(found->second)].count;
        return;
    }
    counts_.emplace_back();
    entry& e = counts_.back();
    std::memcpy(e.name, name, n);
    e.name[n] = '\0';
    e.count = 1;
    try {
        index_.emplace(std::string_view(e.name, n), static_cast<int>(counts_.size()) - 1);
    } catch (...) {
        counts_.pop_back();
        throw;
    }
}

void visibility::count(const char* name, int n) {
    if (n <= 0) return;
    count(name);
    int& c = counts_[static_cast<std::size_t>(index_.find(namekey(name))->second)].count;
    c = c > INT_MAX - (n - 1) ? INT_MAX : c + (n - 1);
}

const char* visibility::first(int& n) {
    iter_ = 0;
    return next(n);
}

const char* visibility::next(int& n) {
    if (iter_ >= static_cast<int>(counts_.size())) return nullptr;
    const entry& e = counts_[static_cast<std::size_t>(iter_++)];
    n = e.count;
    return e.name;
}

}  // namespace ostra
