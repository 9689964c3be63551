#include "writer/layerlist.h"

#include <cstring>
#include <new>

#include "writer/record.h"

namespace ostra {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

const char* const continuous = "CONTINUOUS";

}  // namespace

bool samename(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool validlayername(const char* name) {
    if (!name || !*name) return false;
    const std::size_t n = std::strlen(name);
    if (n > static_cast<std::size_t>(maxlayername)) return false;
    if (std::strpbrk(name, "\r\n")) return false;
    return !blank(name[0]) && !blank(name[n - 1]);
}

bool layerlist::add(const char* name, int aci, int flags, const char* linetype) {
    if (!linetype || !*linetype) linetype = continuous;
    if (!validlayername(name) || aci == 0 || aci < -255 || aci > 255 || flags < 0 || flags > 127) return false;
    if (!validlayername(linetype) || samename("BYLAYER", linetype) || samename("BYBLOCK", linetype)) return false;
    for (const entry& e : entries_)
        if (samename(e.name, name)) return false;
    bool known = false;
    for (const std::string& t : linetypes_) known = known || samename(t, linetype);
    // The entry and its linetype go in together or not at all.
    try {
        if (linetypes_.empty()) linetypes_.push_back(continuous);
        entries_.push_back(entry{name, aci, flags, linetype});
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!known && !samename(continuous, linetype)) {
        try {
            linetypes_.push_back(linetype);
        } catch (const std::bad_alloc&) {
            entries_.pop_back();
            return false;
        }
    }
    return true;
}

// An entry for each linetype the layers name. The copy knows no dash
// pattern: each is written as a continuous line (73 = 0 elements), which
// is what a reader needs to accept the layers naming it.
bool layerlist::writelinetypes(FILE* stream) const {
    record head("  0\nTABLE\n  2\nLTYPE\n");
    head.integer("  70\n", static_cast<int>(linetypes_.size()));
    if (!head.writeto(stream)) return false;
    for (const std::string& t : linetypes_) {
        record r("  0\nLTYPE\n");
        r.group("  2\n", t.c_str());
        r.text("  70\n0\n");
        r.group("  3\n", t == continuous ? "Solid line" : "");
        r.text("  72\n65\n  73\n0\n  40\n0.000000\n");
        if (!r.writeto(stream)) return false;
    }
    return writeall(stream, "  0\nENDTAB\n", 11);
}

bool layerlist::writetables(FILE* stream) const {
    if (!writeall(stream, "  0\nSECTION\n  2\nTABLES\n", 23) || !writelinetypes(stream)) return false;
    record head("  0\nTABLE\n  2\nLAYER\n");
    head.integer("  70\n", static_cast<int>(entries_.size()));
    if (!head.writeto(stream)) return false;
    for (const entry& e : entries_) {
        record r("  0\nLAYER\n");
        r.group("  2\n", e.name.c_str());
        r.integer("  70\n", e.flags);
        r.integer("  62\n", e.aci);
        r.group("  6\n", e.linetype.c_str());
        if (!r.writeto(stream)) return false;
    }
    return writeall(stream, "  0\nENDTAB\n  0\nENDSEC\n", 22);
}

}  // namespace ostra
