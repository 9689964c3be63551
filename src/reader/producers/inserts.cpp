#include "reader/producers/inserts.h"

#include <cmath>
#include <cstring>

#include "reader/records/ocs.h"

namespace ostra {

namespace {
// The largest column and row count an INSERT may ask for.
const int maxcells = 32767;

int cellcount(const grouptable& t, int code) {
    if (!t.carried(code)) return 1;
    double v = t.number(code);
    if (!(v >= 1)) return 1;
    return v > maxcells ? maxcells : static_cast<int>(v);
}

double carriedor(const grouptable& t, int code, double otherwise) {
    return t.carried(code) ? t.number(code) : otherwise;
}

// The record's own colour and layer, for what its block draws BYBLOCK; the
// layer's name is copied into layer, of maxnamelength + 1 chars.
void takeown(const grouptable& t, insertparams& p, char* layer) {
    p.props = readprops(t, t.recordid());
    const char* name = t.wholetext(8);
    const std::size_t n = strnlen(name, maxnamelength);
    std::memcpy(layer, name, n);
    layer[n] = '\0';
    p.layer = layer;
}

// Its line style, for what its block draws BYBLOCK; the linetype's name
// kept by the store.
linestyle ownstyle(const grouptable& t, blockstore& blocks) {
    linestyle s = readlinestyle(t, t.recordid());
    s.linetype = blocks.keepname(s.linetype);
    return s;
}

insertparams placement(const grouptable& t, bool exact, char* layer) {
    insertparams p;
    p.place.rotatez(carriedor(t, 50, 0));
    p.place.offset(t.number(10), t.number(20), t.number(30));
    if (exact) p.place = ocstrafo(t) * p.place;
    p.sx = carriedor(t, 41, 1);
    p.sy = carriedor(t, 42, 1);
    p.sz = carriedor(t, 43, 1);
    p.cols = cellcount(t, 70);
    p.rows = cellcount(t, 71);
    p.colspacing = carriedor(t, 44, 0);
    p.rowspacing = carriedor(t, 45, 0);
    takeown(t, p, layer);
    return p;
}
}  // namespace

void insertproducer::block(const grouptable& t, blockstore& blocks, emitter& e) {
    if (!blocks.startdefinition(t.wholetext(2), slotpoint(t, 10))) e.fail();
}

void insertproducer::endblock(blockstore& blocks) { blocks.enddefinition(); }

void insertproducer::insert(const grouptable& t, blockstore& blocks, emitter& e, bool exact) {
    if (!e.active() || (exact && e.hidden())) return;
    insertparams p = placement(t, exact, layer_);
    p.style = ownstyle(t, blocks);
    if (!e.tocaller()) return keep(t, p, blocks, e);
    expansionorigin o;
    if (exact && !drawn(e, o)) return;
    deliver(blocks.find(t.wholetext(2)), p, o, e, exact);
}

void insertproducer::dimension(const grouptable& t, blockstore& blocks, emitter& e, const char* name) {
    if (!e.active() || e.hidden()) return;
    // The block is drawn where it stands: no placement of its own.
    insertparams p;
    takeown(t, p, layer_);
    p.style = ownstyle(t, blocks);
    p.oneentity = true;
    if (!e.tocaller()) return keep(t, p, blocks, e);
    expansionorigin o;
    if (!drawn(e, o)) return;
    o.record = name;
    handle_[0] = '\0';
    if (t.carried(5)) std::memcpy(handle_, t.get(5), sizeof handle_);
    o.handle = handle_;
    o.entity = e.entity();  // the whole dimension is one entity
    deliver(blocks.find(t.wholetext(2)), p, o, e, true);
}

void insertproducer::table(const grouptable& t, blockstore& blocks, emitter& e, bool exact) {
    if (!e.active() || (exact && e.hidden())) return;
    insertparams p;
    const double rotation = std::atan2(carriedor(t, 21, 0), carriedor(t, 11, 1)) * 180 / M_PI;
    if (std::isfinite(rotation)) p.place.rotatez(rotation);
    p.place.offset(t.number(10), t.number(20), t.number(30));
    takeown(t, p, layer_);
    if (!e.tocaller()) return keep(t, p, blocks, e);
    expansionorigin o;
    if (exact && !drawn(e, o)) return;
    deliver(blocks.find(t.wholetext(2)), p, o, e, exact);
}

// The exact reading: the layer the record is drawn on (checked and counted)
// becomes the origin's; false when that layer is frozen.
bool insertproducer::drawn(emitter& e, expansionorigin& o) {
    e.uselayer();
    o.layer = e.layer();
    return !rules_.frozen(o.layer);
}

void insertproducer::deliver(ostra::block* b, const insertparams& p, const expansionorigin& o, emitter& e, bool exact) {
    if (delivery_.start(b, p, o, exact ? &rules_ : nullptr)) e.emitall(delivery_, !exact);
}

// Inside a block definition the insert is kept, to be expanded with the
// outer block.
void insertproducer::keep(const grouptable& t, const insertparams& p, blockstore& blocks, emitter& e) {
    const storedinsert* s = blocks.storeinsert(p, t.wholetext(2));
    blockrecord r;
    r.kind = blockrecord::insertrecord;
    r.ins = s;
    if (!s || !blocks.append(blocks.defining(), r)) e.fail();
}

}  // namespace ostra
