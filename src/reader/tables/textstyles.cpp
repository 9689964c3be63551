#include "reader/tables/textstyles.h"

#include <cmath>
#include <cstring>

#include "support/namekey.h"

namespace ostra {

std::string textstyles::keyof(const char* name) {
    std::string k(name, strnlen(name, maxnamelength));
    for (char& c : k)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return k;
}

void textstyles::record(const grouptable& t) {
    if (!t.carried(2)) return;
    entry e;
    if (t.carried(40) && std::isfinite(t.number(40)) && t.number(40) > 0) e.height = t.number(40);
    if (t.carried(41) && std::isfinite(t.number(41)) && t.number(41) > 0) e.widthfactor = t.number(41);
    if (t.carried(50) && std::isfinite(t.number(50))) e.oblique = t.number(50);
    styles_.emplace(keyof(t.wholetext(2)), e);
}

const textstyles::entry* textstyles::find(const char* name) const {
    if (styles_.empty()) return nullptr;
    auto found = styles_.find(keyof(name && *name ? name : "STANDARD"));
    return found == styles_.end() ? nullptr : &found->second;
}

}  // namespace ostra
