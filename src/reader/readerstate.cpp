#include "reader/readerstate.h"

#include <cstring>
#include <new>

#include "reader/curves.h"
#include "reader/exactpolyline.h"
#include "reader/faces.h"
#include "reader/inserts.h"
#include "reader/leader.h"
#include "reader/points.h"
#include "reader/polyline.h"
#include "reader/spline.h"
#include "reader/streamlock.h"

namespace ostra {

using brevo::geometry;

// Every producer with state of its own; the stateless ones are functions.
struct readerstate::producerset {
    producerset(layertable& layers, visibility& shown) : inserts(layers, shown) {}
    polylineproducer polylines;
    exactpolylineproducer exactpolylines;
    insertproducer inserts;
    faceproducer faces;
    splineproducer splines;
    leaderproducer leaders;
    chainsource chain;  // a spline's or a leader's segments
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
        if (is(name, n, "LEADER")) return kleader;
        break;
    case 'P':
        if (is(name, n, "POLYLINE")) return kpolyline;
        if (is(name, n, "POINT")) return kpoint;
        break;
    case 'V':
        if (is(name, n, "VERTEX") && (oldkind == kpolyline || oldkind == kvertex)) return kvertex;
        break;
    case 'S':
        if (is(name, n, "SEQEND") && (oldkind == kpolyline || oldkind == kvertex)) return kseqend;
        if (is(name, n, "SECTION")) return ksection;
        if (is(name, n, "SOLID")) return ksolid;
        if (is(name, n, "SPLINE")) return kspline;
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
        if (is(name, n, "ENDSEC")) return kendsec;
        break;
    case 'I':
        if (is(name, n, "INSERT")) return kinsert;
        break;
    case 'D':
        if (is(name, n, "DIMENSION")) return kdimension;
        break;
    case 'T':
        if (is(name, n, "TRACE")) return ksolid;
        break;
    case 'H':
        if (is(name, n, "HELIX")) return kspline;
        break;
    case '3':
        if (is(name, n, "3DFACE")) return k3dface;
        break;
    default:
        break;
    }
    return knone;
}

// The name of what a record of a kind emits.
const char* recordname(int kind, const char* name) {
    switch (kind) {
    case kline: return "LINE";
    case karc: return "ARC";
    case kcircle: return "CIRCLE";
    case kellipse: return "ELLIPSE";
    case kpolyline: return name[0] == 'L' ? "LWPOLYLINE" : "POLYLINE";
    case kvertex:
    case kseqend: return "POLYLINE";
    case k3dface: return "3DFACE";
    case ksolid: return name[0] == 'S' ? "SOLID" : "TRACE";
    case kdimension: return "DIMENSION";
    case kleader: return "LEADER";
    case kspline: return name[0] == 'S' ? "SPLINE" : "HELIX";
    case kpoint: return "POINT";
    default: return nullptr;
    }
}

sectionkind sectionof(const char* name) {
    if (std::strcmp(name, "HEADER") == 0) return sheader;
    if (std::strcmp(name, "TABLES") == 0) return stables;
    if (std::strcmp(name, "BLOCKS") == 0) return sblocks;
    if (std::strcmp(name, "ENTITIES") == 0) return sentities;
    return sother;
}

}  // namespace

readerstate::readerstate(FILE* stream)
    : groups(stream),
      shown(layers, info.layerdefs),
      emit(table, layers, blocks, results, shown),
      producers_(new producerset(layers, shown)) {
    badline_[0] = '\0';
    variable_[0] = '\0';
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

// A group inside a record. Most groups are only stored; the few that steer
// the reading take the way round.
inline void readerstate::storegroup(int code, const char* value, int length) {
    if (code == 2) return steergroup(code, value, length);
    if (kind_ == kpolyline) {
        if (exact_) return steergroup(code, value, length);
        // The default reading's polylines see a vertex coordinate before it
        // is stored: the slots still hold the previous vertex.
        if (code == 10 || code == 20 || code == 30) producers_->polylines.vertexgroup(code, table, emit);
    } else if (collecting_) {
        return steergroup(code, value, length);
    }
    if (code == 8) emit.forgetlayer();
    table.storepadded<linereader::padding>(code, value, length);
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
            beginrecord(code, groups.value(), groups.valuelength());
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

bool readerstate::currentprops(recordprops& p) const {
    const geometryinfo& i = results.info();
    if (!i.record) return false;
    p = i.props ? *i.props : readprops(table, i.tablerecord);
    return true;
}

const char* readerstate::currenthandle() const {
    const geometryinfo& i = results.info();
    if (!i.record) return nullptr;
    if (i.handle) return i.handle;
    if (i.props) return i.props->handle;
    return table.carriedin(5, i.tablerecord) ? table.get(5) : "";
}

colourref readerstate::currentcolour() const {
    recordprops p;
    if (!currentprops(p)) return colourref();
    const geometryinfo& i = results.info();
    return colourof(p, i.layer, i.byblock);
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
    case karc: producearc(table, emit, exact_); break;
    case kcircle: producecircle(table, emit, exact_); break;
    case kellipse: if (exact_) produceellipse(table, emit); break;
    case kpoint: if (exact_) producepoint(table, emit); break;
    case kpolyline: exact_ ? p.exactpolylines.headerend(table, emit) : p.polylines.vertexend(false, table, emit); break;
    case kvertex: exact_ ? p.exactpolylines.vertexend(table, emit) : p.polylines.vertexend(true, table, emit); break;
    case kseqend: exact_ ? p.exactpolylines.closing(emit) : p.polylines.closing(emit); break;
    case kblock: p.inserts.block(table, blocks, emit); break;
    case kendblk: p.inserts.endblock(blocks); break;
    case kinsert: p.inserts.insert(table, blocks, emit, exact_); break;
    case k3dface: if (exact_) p.faces.face(table, emit); break;
    case ksolid: if (exact_) p.faces.solid(table, emit); break;
    case kdimension: if (exact_) p.inserts.dimension(table, blocks, emit); break;
    case kspline: if (exact_) p.splines.end(table, emit, p.chain, flattening_); break;
    case kleader: if (exact_) p.leaders.end(table, emit, p.chain, flattening_); break;
    case klayer: info.layerdefs.record(table); break;
    case kheadervar: info.header.record(variable_, table); break;
    default: break;
    }
}

void readerstate::setexact(bool exact) {
    exact_ = exact;
    emit.setexact(exact);
}

// Whether a record of kind gives geometry in this reading or belongs to the
// drawing's structure; records of other kinds are passed over and counted.
bool readerstate::produces(int kind) const {
    switch (kind) {
    case knone: return false;
    case kellipse:
    case k3dface:
    case ksolid:
    case kdimension:
    case kleader:
    case kspline:
    case kpoint: return exact_;
    default: return true;
    }
}

// A record among the entities that gives no geometry: counted by name.
// VERTEX and SEQEND outside a polyline (after an INSERT's attributes) are
// structure.
void readerstate::passover(const char* name, int length) {
    if (section_ != sentities && !blocks.defining()) return;
    if (is(name, length, "SEQEND") || is(name, length, "VERTEX")) return;
    shown.count(name);
}

void readerstate::beginrecord(int code, const char* name, int length) {
    kind_ = kindof(name, length, kind_);
    emit.beginrecord(recordname(kind_, name));
    if (!produces(kind_)) passover(name, length);
    collecting_ = false;
    switch (kind_) {
    case kpolyline:
        producers_->polylines.start(name[0] == 'L');
        if (exact_) producers_->exactpolylines.start(name[0] == 'L');
        break;
    case kspline:
        producers_->splines.start();
        collecting_ = exact_;
        break;
    case kleader:
        producers_->leaders.start();
        collecting_ = exact_;
        break;
    case kendsec:
        if (section_ == sheader) info.headerdone();
        section_ = snone;
        break;
    case knone:
        if (code == 9 && section_ == sheader) {
            kind_ = kheadervar;
            std::size_t n = static_cast<std::size_t>(length) < sizeof variable_ ? static_cast<std::size_t>(length)
                                                                                  : sizeof variable_ - 1;
            std::memcpy(variable_, name, n);
            variable_[n] = '\0';
        }
        break;
    default:
        break;
    }
}

// A section or block name (group 2), a group of a polyline record, or one
// of a record that keeps its repeated groups (SPLINE, LEADER). The
// default reading's polylines see a vertex coordinate before it is stored
// (the slots still hold the previous vertex); the exact reading's light form
// takes it from its slot after.
void readerstate::steergroup(int code, const char* value, int length) {
    if (code == 2) {
        if (std::strcmp(value, "ENTITIES") == 0) emit.enterentities();
        if (kind_ == ksection) section_ = sectionof(value);
    }
    if (kind_ == kpolyline) {
        if (!exact_) {
            if (code == 10 || code == 20 || code == 30) producers_->polylines.vertexgroup(code, table, emit);
        } else if ((code == 10 || code == 20 || code == 42) && producers_->exactpolylines.light()) {
            table.storepadded<linereader::padding>(code, value, length);
            producers_->exactpolylines.lightgroup(code, table);
            return;
        }
    }
    if (code == 8) emit.forgetlayer();
    table.storepadded<linereader::padding>(code, value, length);
    // Records whose repeated groups are kept as they come.
    if (!collecting_) return;
    if (kind_ == kspline)
        producers_->splines.group(code, value, table);
    else if (kind_ == kleader && (code == 10 || code == 20 || code == 30))
        producers_->leaders.vertexgroup(code, table);
}

}  // namespace ostra
