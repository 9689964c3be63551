#include "reader/drawinginfo.h"

#include <cstdlib>
#include <new>

#include "support/palette.h"

namespace ostra {

void drawinginfo::configure() {
    decoder_.setsource(header.value("$ACADVER"), header.value("$DWGCODEPAGE"));
    configured_ = true;
}

void drawinginfo::headerdone() {
    if (configured_) return;
    try {
        configure();
    } catch (const std::bad_alloc&) {
        configured_ = false;
    }
}

const char* drawinginfo::name(const char* raw) {
    if (!utf8_ || !raw) return raw;
    try {
        auto found = names_.find(raw);
        if (found != names_.end()) return found->second.c_str();
        if (!configured_) configure();
        return names_.emplace(raw, decoder_.decode(raw)).first->second.c_str();
    } catch (const std::bad_alloc&) {
        return raw;
    }
}

const layerstates::entry* drawinginfo::findlayer(const char* n) {
    if (!n) return nullptr;
    if (!utf8_) return layerdefs.find(n);
    try {
        for (; indexed_ < layerdefs.count(); ++indexed_) {
            const char* decoded = name(layerdefs.at(indexed_).name);
            utf8layers_.emplace(decoded, indexed_);
        }
        auto it = utf8layers_.find(n);
        return it == utf8layers_.end() ? nullptr : &layerdefs.at(it->second);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int drawinginfo::resolve(const colourref& c, const layertable& layers, int& aci) const {
    int index = c.aci, truecolor = c.truecolor;
    if (truecolor < 0 && index == bylayer) {
        const char* layer = c.layername ? c.layername : c.layer >= 0 ? layers.name(c.layer) : nullptr;
        const layerstates::entry* e = layer ? layerdefs.find(layer) : nullptr;
        index = e ? std::abs(e->aci) : 7;
        if (e) truecolor = e->truecolor;
    }
    if (index < 0 || index > 255 || (index == 0 && truecolor < 0)) index = 7;
    aci = index;
    return truecolor >= 0 ? truecolor : palettecolor(index);
}

}  // namespace ostra
