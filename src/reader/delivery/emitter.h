// Layer 4, delivery: what producers make reaches the host, or a block, by the emit rule.
//
// The emit rule. A geometry made from a finished record is wanted when a
// block is being defined or the ENTITIES section has been reached, and then
// only when its layer passes the layer check. It goes to the caller through
// the sink once the ENTITIES section has been reached, and into the block
// being defined before that.
#ifndef OSTRA_READER_EMITTER_H
#define OSTRA_READER_EMITTER_H

#include <brevo/geometry.h>

#include "reader/delivery/blockstore.h"
#include "reader/records/grouptable.h"
#include "reader/tables/layertable.h"
#include "reader/delivery/sink.h"
#include "reader/delivery/visibility.h"

namespace ostra {

class emitter {
public:
    emitter(const grouptable& t, layertable& layers, blockstore& blocks, sink& out, visibility& shown)
        : table_(t), layers_(layers), blocks_(blocks), out_(out), shown_(shown) {}
    emitter(const emitter&) = delete;
    emitter& operator=(const emitter&) = delete;

    // Whether a record finished now is considered at all.
    bool active() const { return inentities_ || blocks_.defining(); }
    // The whole test: active, then the layer check. The layer check has
    // side effects (it registers and counts layers), so it is made only for
    // an active record. The exact reading also leaves out what a CAD program
    // hides, and in a block definition keeps everything for the filter to
    // decide when the block's entities are delivered.
    bool test() { return exact_ ? exacttest() : active() && uselayer(); }
    // Whether the exact reading hides the record (its space, its
    // visibility): worked out, and counted, once per record.
    bool hidden();
    // The exact reading's verdict after the layer check (filter the
    // check's result): in a block definition the record is kept whatever
    // its layer; at the top level it must pass the filter and its layer be
    // neither frozen nor off.
    bool shown(bool filter);
    // The exact reading's test of a record that is part of an entity whose
    // first record was tested and shown (a polyline's VERTEX and SEQEND):
    // that entity's layer (index layer) decides, counted once more, and
    // must pass the filter as it is now; the record's own layer, space and
    // visibility do not count. What the record emits goes on that layer.
    bool retest(int layer);
    // The exact reading's rules, or the default reading's.
    void setexact(bool exact) { exact_ = exact; }
    bool exact() const { return exact_; }
    visibility& shown() { return shown_; }
    // The layer check alone: registers the record's layer (slot 8) at its
    // first use or counts a later use, and says whether it passes the
    // filter. A record that yields several geometries has its layer looked
    // up once while its group 8 stays as it was.
    bool uselayer();
    // A group 8 was read, or a new record began.
    void forgetlayer() { layerknown_ = false; }
    // The layer found by the last check.
    int layer() const { return layer_; }

    // A record begins: what it emits is named name (a text that lives as
    // long as the program), with the handle and colour of its own groups.
    void beginrecord(const char* name) {
        record_ = name;
        props_ = nullptr;
        hiddenknown_ = false;
    }
    // What the record emits from now on is named name and has the handle
    // and colour props (kept by the caller as long as the geometry is the
    // last delivered): the pieces of an old-form polyline are the POLYLINE
    // header's.
    void useprops(const char* name, const recordprops* props) {
        record_ = name;
        props_ = props;
    }
    // A record that begins a drawn entity begins (every record but VERTEX
    // and SEQEND, whose pieces are their POLYLINE's): what it emits is one
    // item, not a closed contour unless setclosed says so.
    void beginentity() {
        entity_ = out_.newentity();
        closed_ = false;
    }
    // The entity being emitted is a closed contour (a closed polyline, a
    // circle, a full ellipse, a closed spline, a face's whole outline).
    void setclosed(bool closed) { closed_ = closed; }
    unsigned long long entity() const { return entity_; }

    // Delivers g, on the record's layer. What a block keeps counts as work
    // as well.
    void emit(const brevo::geometry& g) {
        if (inentities_) return out_.put(g, layer_, record_, props_, table_.recordid(), entity_, closed_);
        if (out_.spend()) store(g, recordinfo());
    }
    // The same for a geometry that shows text t (a text a block keeps
    // when a block is being defined).
    void emit(const brevo::geometry& g, const textinfo* t) {
        geometryinfo info = recordinfo();
        info.text = t;
        if (inentities_) return out_.put(g, info);
        if (out_.spend()) store(g, info);
    }
    // The same for a wide polyline's piece, with its widths w (kept by the
    // caller as long as the geometry is the last delivered).
    void emit(const brevo::geometry& g, const piecewidth& w) {
        geometryinfo info = recordinfo();
        info.width = &w;
        if (inentities_) return out_.put(g, info);
        if (out_.spend()) store(g, info);
    }
    // What the record's geometry goes out with: the layer of the last check,
    // the name it is delivered under, its handle and colour.
    geometryinfo recordinfo() const {
        geometryinfo info;
        info.layer = layer_;
        info.record = record_;
        info.props = props_;
        info.tablerecord = table_.recordid();
        info.entity = entity_;
        info.closed = closed_;
        return info;
    }
    // Delivers everything s holds: the caller takes it one geometry per
    // next() call; a block being defined stores all of it now. Each piece
    // must pass the layer filter as it is when the piece is taken (the host
    // may change it between the pieces of one record), except the copies of
    // an insert in the default reading, which has always delivered them
    // whatever the filter (unfiltered).
    void emitall(source& s, bool unfiltered = false);
    // Whether emitted geometry goes to the caller.
    bool tocaller() const { return inentities_; }

    // A group 2 "ENTITIES" was read, in whatever record; never undone.
    void enterentities() { inentities_ = true; }

    // Memory ran out while storing: reading stops.
    void fail() { out_.fail(); }

private:
    bool exacttest();
    void store(const brevo::geometry& g, const geometryinfo& info);

    const grouptable& table_;
    layertable& layers_;
    blockstore& blocks_;
    sink& out_;
    visibility& shown_;
    bool exact_ = false;
    bool inentities_ = false;
    bool hiddenknown_ = false, hidden_ = false;
    int layer_ = -1;
    bool layerknown_ = false;  // layer_ is the layer of slot 8
    const char* record_ = nullptr;
    const recordprops* props_ = nullptr;
    unsigned long long entity_ = 0;  // the drawn entity being emitted
    bool closed_ = false;
};

}  // namespace ostra

#endif
