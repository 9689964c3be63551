// The producers: what a finished record yields, and the emit rule through
// which every produced geometry reaches the caller or the block being
// defined.
#include <cstring>

#include "reader/readerstate.h"

namespace ostra {

using brevo::arc;
using brevo::circle;
using brevo::geometry;
using brevo::line;
using brevo::lineseg;
using brevo::point;
using brevo::trafo;
using brevo::vector;

namespace {
// The DXF limit for INSERT column and row counts.
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
}  // namespace

bool readerstate::emittest() { return (blocks.defining() || inentities) && uselayer(); }

// A record that yields several geometries (the segments of a polyline) has
// its layer looked up once, while its group 8 stays as it was.
bool readerstate::uselayer() {
    if (layerknown_) {
        layers.useagain(recordlayer_);
    } else {
        recordlayer_ = layers.use(table.get(8));
        layerknown_ = true;
    }
    return layers.passes(recordlayer_);
}

void readerstate::emit(const geometry& g) {
    if (inentities) {
        *out_ = g;
        curlayer = recordlayer_;
        produced_ = true;
        return;
    }
    blockrecord r;
    r.kind = blockrecord::geometryrecord;
    r.layer = recordlayer_;
    r.g = g;
    blocks.append(blocks.defining(), r);  // a record that finds no room is dropped
}

double readerstate::g(int code) const { return table.number(code); }

void readerstate::produceline() {
    if (!emittest()) return;
    emit(geometry(lineseg(point(g(10), g(20), g(30)), point(g(11), g(21), g(31)))));
}

void readerstate::producearc() {
    if (!emittest()) return;
    point c(g(10), g(20), g(30));
    double r = g(40), a0 = g(50), a1 = g(51);
    if (a1 < a0) a1 += 360;
    point s(c.x + r, c.y, c.z);
    s *= trafo(a0, line(c, vector(0, 0, 1)));
    emit(geometry(arc(c, vector(0, 0, 1), s, a1 - a0)));
}

void readerstate::producecircle() {
    if (!emittest()) return;
    emit(geometry(circle(point(g(10), g(20), g(30)), vector(0, 0, 1), g(40))));
}

// A BLOCK record opens a definition under its group 2 text; a record without
// one takes the last group 2 read. The base point is group 10, 20, 30.
void readerstate::produceblock() { blocks.startdefinition(table.get(2), point(g(10), g(20), g(30))); }

// An INSERT record places a block: inside the ENTITIES section its entities
// are delivered now; inside a block definition the insert is stored and
// expanded when the outer block is inserted; elsewhere it is dropped.
void readerstate::produceinsert() {
    if (!inentities && !blocks.defining()) return;
    insertparams p;
    p.place.rotatez(carriedor(table, 50, 0));
    p.place.offset(g(10), g(20), g(30));
    if (exact) p.place = ocstrafo(table) * p.place;
    p.sx = carriedor(table, 41, 1);
    p.sy = carriedor(table, 42, 1);
    p.sz = carriedor(table, 43, 1);
    p.cols = cellcount(table, 70);
    p.rows = cellcount(table, 71);
    p.colspacing = carriedor(table, 44, 0);
    p.rowspacing = carriedor(table, 45, 0);
    const char* name = table.get(2);
    if (inentities) {
        if (block* b = blocks.find(name)) delivery.start(b, p);
        return;
    }
    const storedinsert* s = blocks.storeinsert(p, name);
    if (!s) return;
    blockrecord r;
    r.kind = blockrecord::insertrecord;
    r.ins = s;
    blocks.append(blocks.defining(), r);
}

}  // namespace ostra
