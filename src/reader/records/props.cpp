#include "reader/records/props.h"

#include <cstring>

namespace ostra {

recordprops readprops(const grouptable& t, unsigned record) {
    recordprops p;
    if (t.carriedin(5, record)) {
        // A slot holds 80 chars: its first 16 can be copied whatever its length.
        std::memcpy(p.handle, t.get(5), sizeof p.handle - 1);
        p.handle[sizeof p.handle - 1] = '\0';
    }
    if (t.carriedin(62, record)) {
        double v = t.number(62);
        p.aci = v >= 0 && v <= 256 ? static_cast<short>(v) : static_cast<short>(bylayer);
    }
    if (t.carriedin(420, record)) {
        double v = t.number(420);
        if (v >= 0 && v <= 0xFFFFFF) p.truecolor = static_cast<int>(v);
    }
    p.record = record;
    return p;
}

linestyle readlinestyle(const grouptable& t, unsigned record) {
    linestyle s;
    if (t.carriedin(6, record) && !t.empty(6) && !isbylayer(t.wholetext(6))) s.linetype = t.wholetext(6);
    if (t.carriedin(370, record)) {
        double v = t.number(370);
        s.lineweight = v >= -3 && v <= 211 ? static_cast<int>(v) : lwbylayer;
    }
    if (t.carriedin(48, record)) {
        double v = t.number(48);
        if (v > 0 && v < 1e300) s.scale = v;
    }
    return s;
}

namespace {
bool sameword(const char* a, const char* word) {
    for (; *word; ++a, ++word) {
        char c = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 'a' + 'A') : *a;
        if (c != *word) return false;
    }
    return *a == '\0';
}
}  // namespace

bool isbylayer(const char* name) { return name && sameword(name, "BYLAYER"); }
bool isbyblock(const char* name) { return name && sameword(name, "BYBLOCK"); }

// The scale (48) is the entity's own: an insert scales its block's
// geometry, and the pattern with it, but not its entities' linetype scales.
linestyle styleof(const linestyle& own, const linestyle* outer) {
    linestyle s = own;
    if (isbyblock(own.linetype)) {
        s.linetype = outer ? outer->linetype : "Continuous";
        s.layer = outer ? outer->layer : nullptr;
    }
    if (own.lineweight == lwbyblock) {
        s.lineweight = outer ? outer->lineweight : lwdefault;
        s.weightlayer = outer ? outer->weightlayer : nullptr;
    }
    return s;
}

colourref colourof(const recordprops& p, int layer, const colourref* outer) {
    colourref c;
    if (p.truecolor >= 0) {
        // A true colour wins; its index is kept only when it names one.
        c.truecolor = p.truecolor;
        c.aci = p.aci > byblock && p.aci < bylayer ? p.aci : 0;
        return c;
    }
    if (p.aci == byblock) {
        if (outer) c = *outer;  // outside blocks BYBLOCK draws in the default colour
    } else if (p.aci == bylayer) {
        c.aci = bylayer;
        c.layer = layer;
    } else {
        c.aci = p.aci;
    }
    return c;
}

}  // namespace ostra
