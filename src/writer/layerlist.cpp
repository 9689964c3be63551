#include "writer/layerlist.h"

#include <cstring>
#include <new>

#include "writer/record.h"

namespace ostra {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool samename(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace

bool validlayername(const char* name) {
    if (!name || !*name) return false;
    const std::size_t n = std::strlen(name);
    if (n > static_cast<std::size_t>(maxlayername)) return false;
    if (std::strpbrk(name, "\r\n")) return false;
    return !blank(name[0]) && !blank(name[n - 1]);
}

bool layerlist::add(const char* name, int aci) {
    if (!validlayername(name) || aci < 1 || aci > 255) return false;
    for (const entry& e : entries_)
        if (samename(e.name, name)) return false;
    try {
        entries_.push_back(entry{name, aci});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool layerlist::writetables(FILE* stream) const {
    record head("  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n");
    head.integer("  70\n", static_cast<int>(entries_.size()));
    if (!head.writeto(stream)) return false;
    for (const entry& e : entries_) {
        record r("  0\nLAYER\n");
        r.group("  2\n", e.name.c_str());
        r.text("  70\n0\n");
        r.integer("  62\n", e.aci);
        r.text("  6\nCONTINUOUS\n");
        if (!r.writeto(stream)) return false;
    }
    return writeall(stream, "  0\nENDTAB\n  0\nENDSEC\n", 22);
}

}  // namespace ostra
