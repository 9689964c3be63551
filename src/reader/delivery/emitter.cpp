#include "reader/delivery/emitter.h"

namespace ostra {

bool emitter::uselayer() {
    if (layerknown_) {
        layers_.useagain(layer_);
    } else {
        layer_ = layers_.use(table_.wholetext(8));
        layerknown_ = true;
    }
    return layers_.passes(layer_);
}

bool emitter::hidden() {
    if (!hiddenknown_) {
        hidden_ = exact_ && shown_.hiddenrecord(table_, inentities_);
        hiddenknown_ = true;
    }
    return hidden_;
}

// At the top level: not hidden, the layer check, and a layer that is
// neither frozen nor off. In a block definition: not invisible, and the
// layer registered (and counted) without the filter.
bool emitter::exacttest() {
    if (!active() || hidden()) return false;
    return shown(uselayer());
}

bool emitter::shown(bool filter) {
    if (!inentities_) return true;
    return filter && !shown_.hiddenlayer(layer_);
}

bool emitter::retest(int layer) {
    if (!active() || layer < 0) return false;
    layers_.useagain(layer);
    layer_ = layer;
    layerknown_ = false;  // slot 8 holds the record's own layer
    return !inentities_ || layers_.passes(layer);
}

void emitter::emitall(source& s, bool unfiltered) {
    if (inentities_) {
        out_.setsource(&s, exact_ || !unfiltered ? &layers_ : nullptr);
        return;
    }
    // The pieces are counted against the reader's work limit.
    brevo::geometry g;
    sink pieces;
    out_.lend(pieces);
    for (pieces.open(g); s.fill(pieces) && pieces.full(); pieces.open(g)) store(g, pieces.info());
    out_.settle(pieces);
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
    r.entity = static_cast<unsigned>(info.entity);
    r.closed = info.closed;
    r.text = info.text;
    r.fill = info.fill;
    if (info.width) {
        r.startwidth = info.width->start;
        r.endwidth = info.width->end;
    }
    r.style = readlinestyle(table_, r.props.record);
    r.style.linetype = blocks_.keepname(r.style.linetype);
    r.g = g;
    if (!blocks_.append(b, r)) fail();
}

}  // namespace ostra
