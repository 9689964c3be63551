#include "reader/assembly/readerstate.h"

#include <cstring>
#include <new>

#include "reader/input/streamlock.h"
#include "reader/producers/producers.h"

namespace ostra {

using brevo::geometry;

// Every producer with state of its own; the stateless ones are functions.
struct readerstate::producerset {
    producerset(layertable& layers, visibility& shown) : inserts(layers, shown), leaders(layers, shown) {}
    polylineproducer polylines;
    exactpolylineproducer exactpolylines;
    insertproducer inserts;
    faceproducer faces;
    splineproducer splines;
    leaderproducer leaders;
    hatchproducer hatches;
    wipeoutproducer wipeouts;
    proxyproducer proxies;
    dimstyles styles;   // what leaders are drawn with
    textproducer texts;
    mleaderproducer mleaders;
    textstyles textstyletable;  // what texts are drawn with
    chainsource chain;  // a spline's or a leader's segments
};

readerstate::readerstate(FILE* stream)
    : groups(stream),
      shown(layers, info.layerdefs),
      emit(table, layers, blocks, results, shown),
      producers_(new producerset(layers, shown)) {
    badline_[0] = '\0';
    variable_[0] = '\0';
}

readerstate::readerstate(const char* data, std::size_t size)
    : groups(data, size),
      shown(layers, info.layerdefs),
      emit(table, layers, blocks, results, shown),
      producers_(new producerset(layers, shown)) {
    badline_[0] = '\0';
    variable_[0] = '\0';
}

readerstate::~readerstate() = default;

// Memory that runs out anywhere below (a growing table, a block's chunk)
// stops reading for good: the state may be half updated, and going on could
// deliver a changed drawing. What was delivered before stays valid. The
// work limit stops it for good too, in the middle of a record's pieces.
geometry* readerstate::next(geometry& out) {
    results.open(out);
    if (!results.stopped()) {
        status_ = reading;
        try {
            if (run()) {
                results.delivered();
                return &out;
            }
        } catch (const std::bad_alloc&) {
            results.fail();
        }
    }
    if (results.stopped()) {
        out.setinvalid();
        status_ = results.failed() ? outofmemory : limitreached;
    }
    return nullptr;
}

// A double of the binary form goes into its slot as the number it is.
inline void readerstate::store(int code, const char* value, int length) {
    if (groups.isnumber())
        table.storenumber(code, groups.number());
    else
        table.storepadded<groupreader::padding>(code, value, length);
}

// A group inside a record. Most groups are only stored; the few that steer
// the reading take the way round.
inline void readerstate::storegroup(int code, const char* value, int length) {
    if (code == 2) return steergroup(code, value, length);
    if (kind_ == kpolyline) {
        // The default reading's polylines see a vertex coordinate before it
        // is stored: the slots still hold the previous vertex. The exact
        // reading's light form takes it from its slot after.
        if (!exact_) {
            if (code == 10 || code == 20 || code == 30) producers_->polylines.vertexgroup(code, table, emit);
        } else if ((code == 10 || code == 20 || code == 42 || code == 40 || code == 41) &&
                   producers_->exactpolylines.light()) {
            store(code, value, length);
            return producers_->exactpolylines.lightgroup(code, table);
        }
    } else if (collecting_) {
        return steergroup(code, value, length);
    }
    if (code == 8) emit.forgetlayer();
    store(code, value, length);
}

// Reads groups until the sink holds a geometry (true) or reading stops
// (false, with the status set).
bool readerstate::run() {
    if (ended_) return finish();
    streamlock lock(groups.linestream());
    for (;;) {
        if (results.pull()) return results.full();
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

linestyle readerstate::currentstyle() const {
    const geometryinfo& i = results.info();
    linestyle own = i.style ? *i.style : readlinestyle(table, i.props ? i.props->record : i.tablerecord);
    return styleof(own, i.outerstyle);
}

// An entity not known, with proxy graphics: its pieces go under its own
// name, kept as long as the reader.
void readerstate::proxyend() {
    if (!producers_->proxies.hasgraphics()) return;
    const char* name = blocks.keepname(proxyname_.c_str());
    if (!name) return;
    emit.beginrecord(name);
    producers_->proxies.end(emit);
}

// After the EOF record: what its predecessor left in a source, then the end.
bool readerstate::finish() {
    if (results.pull()) return results.full();
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

namespace {
// What texts are drawn with: the drawing's decoder, styles and header.
textcontext textsof(drawinginfo& info, const textstyles& styles, blockstore& blocks, int mode) {
    return {info.decoder(), styles, info.header, blocks, mode == 2};
}
}  // namespace

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
    case kdimension:
    case karcdimension:
    case klargeradial: if (exact_) p.inserts.dimension(table, blocks, emit, kindtable[kind_].name); break;
    case kspline: if (exact_) p.splines.end(table, emit, p.chain, flattening_); break;
    case kleader: if (exact_) p.leaders.end(table, emit, {p.styles, info.header, blocks, p.chain, flattening_}); break;
    case khatch: p.hatches.end(table, emit, hatch_, flattening_); break;
    case kwipeout: if (hatch_) p.wipeouts.end(table, emit); break;
    case kproxy: if (proxies_) p.proxies.end(emit); break;
    case knone: if (proxying_) proxyend(); break;
    case kdimstyle: if (exact_) p.styles.style(table); break;
    case kblockrecord: if (exact_) p.styles.blockrecord(table); break;
    case ktext:
    case kmtext:
    case kattrib:
    case kattdef:
        if (textmode_) p.texts.end(kind_, table, emit, textsof(info, p.textstyletable, blocks, textmode_));
        break;
    case kmleader:
        if (textmode_) p.texts.endleader(p.mleaders.finish(), emit, textsof(info, p.textstyletable, blocks, textmode_));
        break;
    case ktable: if (textmode_) p.inserts.table(table, blocks, emit, exact_); break;
    case kstyle: if (textmode_) p.textstyletable.record(table); break;
    case klayer: info.layerdefs.record(table); break;
    case kltype: info.ltypes.end(table); break;
    case kheadervar: info.header.record(variable_, table); break;
    default: break;
    }
}

// The codes whose values are names, kept whole in the exact reading: block
// and table entry names (2, and 3 beside them), the layer (8), linetype (6)
// and text style (7).
const int readerstate::namecodes[] = {2, 3, 6, 7, 8};

// The exact reading keeps names whole and compares them as a CAD program
// does, through the keys the drawing information makes. It also reads lines
// that end with a lone CR, which the line layer must know before it reads
// the first line.
void readerstate::setexact(bool exact) {
    exact_ = exact;
    emit.setexact(exact);
    groups.allowcr(exact);
    keepcodes();
    namekeys* keys = exact ? &info : nullptr;
    layers.setkeys(keys);
    info.layerdefs.setkeys(keys);
    blocks.setkeys(keys);
    info.setkeyed(exact);
}

void readerstate::settext(int mode) {
    textmode_ = mode == 1 || mode == 2 ? mode : 0;
    keepcodes();
}

// Names are kept whole in the exact reading; texts (1, and MTEXT's chunks
// 3) whenever texts are read, up to a whole value's length.
void readerstate::keepcodes() {
    for (int code : namecodes) table.keepwhole(code, exact_ ? maxnamelength : 0);
    const int text = textmode_ ? grouptable::wholesize - 1 : 0;
    table.keepwhole(1, text);
    if (textmode_) table.keepwhole(3, text);
    table.keepwhole(304, text);
}

// Whether a record of kind gives geometry in this reading or belongs to the
// drawing's structure; records of other kinds are passed over and counted.
// Texts, HATCH and MPOLYGON only when the host asks for them.
bool readerstate::produces(int kind) const {
    if (textkind(kind)) return textmode_ != 0;
    return kind != knone && (exact_ || !exactonly(kind)) && (hatch_ != nohatch || !areakind(kind)) &&
           (kind != kproxy || proxies_);
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
    // A VERTEX or SEQEND goes on with its polyline's entity.
    if (kind_ != kvertex && kind_ != kseqend) emit.beginentity();
    if (!produces(kind_)) passover(name, length);
    collecting_ = proxying_ = false;
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
    case kmtext:
        producers_->texts.start();
        collecting_ = textmode_ != 0;
        break;
    case kmleader:
        producers_->mleaders.start();
        collecting_ = textmode_ != 0;
        break;
    case khatch:
        producers_->hatches.start(name[0] == 'M');
        collecting_ = hatch_ != nohatch;
        break;
    case kproxy:
        producers_->proxies.start();
        collecting_ = proxying_ = exact_ && proxies_;
        break;
    case kltype:
        info.ltypes.start();
        collecting_ = true;
        break;
    case kwipeout:
        producers_->wipeouts.start();
        collecting_ = hatch_ != nohatch;
        break;
    case kendsec:
        if (section_ == sheader) info.headerdone();
        section_ = snone;
        break;
    case knone:
        // An entity of a kind not known may carry proxy graphics.
        if (exact_ && proxies_ && (section_ == sentities || blocks.defining())) {
            producers_->proxies.start();
            std::size_t n = static_cast<std::size_t>(length);
            proxyname_.assign(name, n);
            collecting_ = proxying_ = true;
        }
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

// A section or block name (group 2), or a group of a record that keeps its
// repeated groups (SPLINE, LEADER). A polyline's own groups never come here:
// storegroup() takes them.
void readerstate::steergroup(int code, const char* value, int length) {
    if (code == 2) {
        if (std::strcmp(value, "ENTITIES") == 0) emit.enterentities();
        if (kind_ == ksection) section_ = sectionof(value);
    }
    if (code == 8) emit.forgetlayer();
    store(code, value, length);
    // Records whose repeated groups are kept as they come.
    if (!collecting_) return;
    if (kind_ == kspline)
        producers_->splines.group(code, value, table);
    else if (kind_ == kleader)
        producers_->leaders.group(code, table);
    else if (kind_ == kmtext)
        producers_->texts.group(code, table);
    else if (kind_ == kmleader)
        producers_->mleaders.group(code, table);
    else if (kind_ == khatch)
        producers_->hatches.group(code, table);
    else if (kind_ == kwipeout)
        producers_->wipeouts.group(code, table);
    else if (kind_ == kltype)
        info.ltypes.group(code, table);
    else if (proxying_)
        producers_->proxies.group(code, value, length);
}

}  // namespace ostra
