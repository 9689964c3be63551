#include "reader/inserts.h"

#include <cstring>

#include "reader/ocs.h"

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

insertparams placement(const grouptable& t, bool exact) {
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
    p.props = readprops(t, t.recordid());
    std::memcpy(p.layer, t.get(8), sizeof p.layer);  // a slot of 80 chars
    return p;
}
}  // namespace

void insertproducer::block(const grouptable& t, blockstore& blocks, emitter& e) {
    if (!blocks.startdefinition(t.get(2), brevo::point(t.number(10), t.number(20), t.number(30)))) e.fail();
}

void insertproducer::endblock(blockstore& blocks) { blocks.enddefinition(); }

void insertproducer::insert(const grouptable& t, blockstore& blocks, emitter& e, bool exact) {
    if (!e.active()) return;
    insertparams p = placement(t, exact);
    const char* name = t.get(2);
    if (e.tocaller()) {
        if (delivery_.start(blocks.find(name), p)) e.emitall(delivery_);
        return;
    }
    const storedinsert* s = blocks.storeinsert(p, name);
    blockrecord r;
    r.kind = blockrecord::insertrecord;
    r.ins = s;
    if (!s || !blocks.append(blocks.defining(), r)) e.fail();
}

}  // namespace ostra
