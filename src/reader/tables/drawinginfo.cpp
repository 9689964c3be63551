#include "reader/tables/drawinginfo.h"

#include <cstdlib>
#include <cstring>
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

namekeys::keyed drawinginfo::drawingkey(const char* name) {
    const std::string_view spelling(name, strnlen(name, maxnamelength));
    auto found = keyindex_.find(spelling);
    if (found == keyindex_.end()) {
        if (!configured_) configure();
        std::string raw(spelling);
        std::string key = foldedname(decoder_.decode(raw.c_str()));
        keys_.emplace_back(std::move(raw), std::move(key));
        try {
            found = keyindex_.emplace(keys_.back().first, keys_.size() - 1).first;
        } catch (...) {
            keys_.pop_back();
            throw;
        }
    }
    const auto& k = keys_[found->second];
    return keyed{k.first, k.second};
}

std::string drawinginfo::hostkey(const char* name) {
    if (utf8_) return foldedname(name);
    return std::string(drawingkey(name).key);
}

const layerstates::entry* drawinginfo::findlayer(const char* n) {
    if (!n) return nullptr;
    if (keyed_) {
        try {
            return layerdefs.findkey(hostkey(n));
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    if (!utf8_) return layerdefs.find(n);
    try {
        for (; indexed_ < layerdefs.count(); ++indexed_) {
            const char* decoded = name(layerdefs.at(indexed_).name.c_str());
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
        const layerstates::entry* e = nullptr;
        try {
            if (layer) e = layerdefs.find(layer);
        } catch (const std::bad_alloc&) {
            e = nullptr;  // a key that could not be made: as a layer without an entry
        }
        index = e ? std::abs(e->aci) : 7;
        if (e) truecolor = e->truecolor;
    }
    if (index < 0 || index > 255 || (index == 0 && truecolor < 0)) index = 7;
    aci = index;
    return truecolor >= 0 ? truecolor : palettecolor(index);
}

}  // namespace ostra
