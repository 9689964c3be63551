#include "reader/tables/headervars.h"

namespace ostra {

void headervars::record(const char* name, const grouptable& t) {
    std::string_view key(name);
    if (key.empty() || index_.count(key)) return;
    variable v;
    v.name.assign(key);
    for (int code = 0; code < grouptable::slots; ++code)
        if (code != 9 && t.carried(code)) v.groups.emplace_back(code, t.get(code));
    vars_.push_back(std::move(v));
    try {
        index_.emplace(vars_.back().name, vars_.size() - 1);
    } catch (...) {
        vars_.pop_back();
        throw;
    }
}

const char* headervars::value(const char* name, int code) const {
    if (!name) return nullptr;
    auto it = index_.find(std::string_view(name));
    if (it == index_.end()) return nullptr;
    const variable& v = vars_[it->second];
    for (const auto& g : v.groups)
        if (code < 0 || g.first == code) return g.second.c_str();
    return nullptr;
}

}  // namespace ostra
