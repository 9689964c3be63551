#include "reader/readerstate.h"

#include <cstring>
#include <new>

#include "reader/curves.h"
#include "reader/exactpolyline.h"
#include "reader/inserts.h"
#include "reader/polyline.h"
#include "reader/streamlock.h"

namespace ostra {

using brevo::geometry;

// Every producer with state of its own; the stateless ones are functions.
struct readerstate::producerset {
    polylineproducer polylines;
    exactpolylineproducer exactpolylines;
    insertproducer inserts;
};

namespace {

// Whether the name of length n is word; the length known, the compare is a
// few loads.
template <std::size_t N>
bool is(const char* name, int n, const char (&word)[N]) {
    return n == static_cast<int>(N - 1) && std::memcmp(name, word, N - 1) == 0;
}

// The kind of a new record from its name (of length n). VERTEX and SEQEND
// count only inside a polyline.
int kindof(const char* name, int n, int oldkind) {
    switch (name[0]) {
    case 'L':
        if (is(name, n, "LINE")) return kline;
        if (is(name, n, "LAYER")) return klayer;
        if (is(name, n, "LWPOLYLINE")) return kpolyline;
        break;
    case 'P':
        if (is(name, n, "POLYLINE")) return kpolyline;
        break;
    case 'V':
        if (is(name, n, "VERTEX") && (oldkind == kpolyline || oldkind == kvertex)) return kvertex;
        break;
    case 'S':
        if (is(name, n, "SEQEND") && (oldkind == kpolyline || oldkind == kvertex)) return kseqend;
        break;
    case 'A':
        if (is(name, n, "ARC")) return karc;
        break;
    case 'C':
        if (is(name, n, "CIRCLE")) return kcircle;
        break;
    case 'B':
        if (is(name, n, "BLOCK")) return kblock;
        break;
    case 'E':
        if (is(name, n, "ENDBLK")) return kendblk;
        if (is(name, n, "ELLIPSE")) return kellipse;
        if (is(name, n, "EOF")) return keof;
        break;
    case 'I':
        if (is(name, n, "INSERT")) return kinsert;
        break;
    default:
        break;
    }
    return knone;
}

}  // namespace

readerstate::readerstate(FILE* stream)
    : groups(stream), emit(table, layers, blocks, results), producers_(new producerset) {
    badline_[0] = '\0';
}

readerstate::readerstate(const char* data, std::size_t size)
    : groups(data, size), emit(table, layers, blocks, results), producers_(new producerset) {
    badline_[0] = '\0';
}

readerstate::~readerstate() = default;

// Memory that runs out anywhere below (a growing table, a block's chunk)
// stops reading for good: the state may be half updated, and going on could
// deliver a changed drawing. What was delivered before stays valid.
geometry* readerstate::next(geometry& out) {
    results.open(out);
    if (!results.failed()) {
        status_ = reading;
        try {
            if (run()) return &out;
        } catch (const std::bad_alloc&) {
            results.fail();
        }
    }
    if (results.failed()) {
        out.setinvalid();
        status_ = outofmemory;
    }
    return nullptr;
}

// Reads groups until the sink holds a geometry (true) or reading stops
// (false, with the status set).
bool readerstate::run() {
    if (ended_) return finish();
    streamlock lock(groups.linestream());
    for (;;) {
        if (results.pull()) return true;
        switch (groups.read()) {
        case groupreader::ok:
            break;
        case groupreader::endofstream:
            status_ = endofstream;
            return false;
        case groupreader::malformed:
            malformed();
            return false;
        }
        int code = groups.code();
        if (code == 0 || code == 9) {
            endrecord();
            table.clearrecord();
            emit.forgetlayer();
            table.newrecord();
            beginrecord(groups.value(), groups.valuelength());
            // Nothing after the EOF record is read.
            if (kind_ == keof && code == 0) {
                ended_ = true;
                return results.ready() ? results.full() : finish();
            }
        } else {
            storegroup(code, groups.value(), groups.valuelength());
        }
        if (results.ready()) return results.full();
    }
}

// After the EOF record: what its predecessor left in a source, then the end.
bool readerstate::finish() {
    if (results.pull()) return true;
    status_ = endofdrawing;
    return false;
}

void readerstate::malformed() {
    status_ = malformedcode;
    std::size_t n = static_cast<std::size_t>(groups.valuelength());
    if (n >= sizeof badline_) n = sizeof badline_ - 1;
    std::memcpy(badline_, groups.value(), n);
    badline_[n] = '\0';
}

// The dispatch: what each kind of record yields when it ends.
void readerstate::endrecord() {
    producerset& p = *producers_;
    switch (kind_) {
    case kline: produceline(table, emit); break;
    case karc: producearc(table, emit, exact); break;
    case kcircle: producecircle(table, emit, exact); break;
    case kellipse: if (exact) produceellipse(table, emit); break;
    case kpolyline: exact ? p.exactpolylines.headerend(table, emit) : p.polylines.vertexend(false, table, emit); break;
    case kvertex: exact ? p.exactpolylines.vertexend(table, emit) : p.polylines.vertexend(true, table, emit); break;
    case kseqend: exact ? p.exactpolylines.closing(emit) : p.polylines.closing(emit); break;
    case kblock: p.inserts.block(table, blocks, emit); break;
    case kendblk: p.inserts.endblock(blocks); break;
    case kinsert: p.inserts.insert(table, blocks, emit, exact); break;
    default: break;
    }
}

void readerstate::beginrecord(const char* name, int length) {
    kind_ = kindof(name, length, kind_);
    if (kind_ == kpolyline) {
        producers_->polylines.start();
        if (exact) producers_->exactpolylines.start(name[0] == 'L');
    }
}

// A group inside a record. The default reading's polylines see a vertex
// coordinate before it is stored (the slots still hold the previous
// vertex); the exact reading's light form takes it from its slot after.
void readerstate::storegroup(int code, const char* value, int length) {
    if (code == 2 && std::strcmp(value, "ENTITIES") == 0) emit.enterentities();
    if (kind_ == kpolyline) {
        if (!exact) {
            if (code == 10 || code == 20 || code == 30) producers_->polylines.vertexgroup(code, table, emit);
        } else if ((code == 10 || code == 20 || code == 42) && producers_->exactpolylines.light()) {
            store(code, value, length);
            producers_->exactpolylines.lightgroup(code, table);
            return;
        }
    }
    if (code == 8) emit.forgetlayer();
    store(code, value, length);
}

// A double of the binary form goes into its slot as the number it is.
void readerstate::store(int code, const char* value, int length) {
    if (groups.isnumber())
        table.storenumber(code, groups.number());
    else
        table.storepadded<groupreader::padding>(code, value, length);
}

}  // namespace ostra
