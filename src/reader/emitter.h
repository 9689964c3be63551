// The emit rule. A geometry made from a finished record is wanted when a
// block is being defined or the ENTITIES section has been reached, and then
// only when its layer passes the layer check. It goes to the caller through
// the sink once the ENTITIES section has been reached, and into the block
// being defined before that.
#ifndef OSTRA_READER_EMITTER_H
#define OSTRA_READER_EMITTER_H

#include <brevo/geometry.h>

#include "reader/blockstore.h"
#include "reader/grouptable.h"
#include "reader/layertable.h"
#include "reader/sink.h"

namespace ostra {

class emitter {
public:
    emitter(const grouptable& t, layertable& layers, blockstore& blocks, sink& out)
        : table_(t), layers_(layers), blocks_(blocks), out_(out) {}
    emitter(const emitter&) = delete;
    emitter& operator=(const emitter&) = delete;

    // Whether a record finished now is considered at all.
    bool active() const { return inentities_ || blocks_.defining(); }
    // The whole test: active, then the layer check. The layer check has
    // side effects (it registers and counts layers), so it is made only for
    // an active record.
    bool test() { return active() && uselayer(); }
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
    }
    // What the record emits from now on is named name and has the handle
    // and colour props (kept by the caller as long as the geometry is the
    // last delivered): the pieces of an old-form polyline are the POLYLINE
    // header's.
    void useprops(const char* name, const recordprops* props) {
        record_ = name;
        props_ = props;
    }
    // Delivers g, on the record's layer.
    void emit(const brevo::geometry& g) {
        geometryinfo info;
        info.layer = layer_;
        info.record = record_;
        info.props = props_;
        info.tablerecord = table_.recordid();
        if (inentities_)
            out_.put(g, info);
        else
            store(g, info);
    }
    // Delivers everything s holds: the caller takes it one geometry per
    // next() call; a block being defined stores all of it now.
    void emitall(source& s);
    // Whether emitted geometry goes to the caller.
    bool tocaller() const { return inentities_; }

    // A group 2 "ENTITIES" was read, in whatever record; never undone.
    void enterentities() { inentities_ = true; }

    // Memory ran out while storing: reading stops.
    void fail() { out_.fail(); }

private:
    void store(const brevo::geometry& g, const geometryinfo& info);

    const grouptable& table_;
    layertable& layers_;
    blockstore& blocks_;
    sink& out_;
    bool inentities_ = false;
    int layer_ = -1;
    bool layerknown_ = false;  // layer_ is the layer of slot 8
    const char* record_ = nullptr;
    const recordprops* props_ = nullptr;
};

}  // namespace ostra

#endif
