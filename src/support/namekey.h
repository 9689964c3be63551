// Names as hash keys: their first 79 chars, as the name tables keep them
// (a group value holds at most 79).
#ifndef OSTRA_SUPPORT_NAMEKEY_H
#define OSTRA_SUPPORT_NAMEKEY_H

#include <cstddef>
#include <string_view>

namespace ostra {

constexpr std::size_t namekeylength = 79;

inline std::string_view namekey(const char* name) {
    std::size_t n = 0;
    while (n < namekeylength && name[n]) ++n;
    return std::string_view(name, n);
}

}  // namespace ostra

#endif
