#include "reader/emitter.h"

namespace ostra {

bool emitter::uselayer() {
    if (layerknown_) {
        layers_.useagain(layer_);
    } else {
        layer_ = layers_.use(table_.get(8));
        layerknown_ = true;
    }
    return layers_.passes(layer_);
}

void emitter::emitall(source& s) {
    if (inentities_) {
        out_.setsource(&s);
        return;
    }
    brevo::geometry g;
    sink pieces;
    for (pieces.open(g); s.fill(pieces); pieces.open(g)) store(g, pieces.info().layer);
}

void emitter::store(const brevo::geometry& g, int layer) {
    block* b = blocks_.defining();
    if (!b) return;
    blockrecord r;
    r.kind = blockrecord::geometryrecord;
    r.layer = layer;
    r.g = g;
    if (!blocks_.append(b, r)) fail();
}

}  // namespace ostra
