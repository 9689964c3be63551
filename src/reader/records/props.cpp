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
    return p;
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
