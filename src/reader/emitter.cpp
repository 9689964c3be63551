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
    for (pieces.open(g); s.fill(pieces); pieces.open(g)) store(g, pieces.info());
}

// Geometry kept in a block takes its handle and colour along, read from the
// record now.
void emitter::store(const brevo::geometry& g, const geometryinfo& info) {
    block* b = blocks_.defining();
    if (!b) return;
    blockrecord r;
    r.kind = blockrecord::geometryrecord;
    r.layer = info.layer;
    r.record = info.record;
    r.props = info.props ? *info.props : readprops(table_, info.tablerecord);
    r.g = g;
    if (!blocks_.append(b, r)) fail();
}

}  // namespace ostra
