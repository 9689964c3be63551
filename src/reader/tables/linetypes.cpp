#include "reader/tables/linetypes.h"

#include <cmath>

namespace ostra {

void linetypes::start() { dashes_.clear(); }

void linetypes::group(int code, const grouptable& t) {
    if (code != 49 || dashes_.size() >= maxdashes) return;
    double v = t.number(49);
    dashes_.push_back(std::isfinite(v) ? v : 0);
}

void linetypes::end(const grouptable& t) {
    if (!t.carried(2) || t.empty(2)) return;
    table_.emplace(keyof(t.wholetext(2)), dashes_);
}

const std::vector<double>* linetypes::find(const char* name) const {
    if (!name || table_.empty()) return nullptr;
    auto found = table_.find(keyof(name));
    return found == table_.end() ? nullptr : &found->second;
}

std::string linetypes::keyof(const char* name) {
    std::string k(name);
    for (char& c : k)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return k;
}

}  // namespace ostra
