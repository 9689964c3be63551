// The sink: the one place where a finished geometry waits for next() to take
// it, with what the host may ask about it. Producers put at most one
// geometry into it per group read. A record that yields several geometries
// at once (the pieces of a light polyline, the entities of an inserted
// block) hands the sink a source instead, which fills it one geometry per
// next() call until it runs dry; nothing is buffered beyond the source's own
// state.
//
// The sink also bounds the work: every geometry put into it counts, and so
// does what a source makes and drops on the way (spend()); once the host's
// limit is spent, the next geometry stops reading for good.
#ifndef OSTRA_READER_SINK_H
#define OSTRA_READER_SINK_H

#include <climits>

#include <brevo/geometry.h>
#include <ostra/fill.h>

#include "reader/tables/layertable.h"
#include "reader/records/props.h"

namespace ostra {
struct textinfo;
}

namespace ostra {

class sink;

class source {
public:
    // Puts the next geometry into s; false when there is none left.
    virtual bool fill(sink& s) = 0;

protected:
    ~source() = default;
};

// The width of a wide polyline's piece where it starts and where it ends.
struct piecewidth {
    double start = 0, end = 0;
};

// What the host can ask about the geometry last delivered. Handle and
// colour are looked up only when asked for: in props, or, where that is
// null, in the group table's record tablerecord, whose slots stay as they
// are until the next next() call reads on.
struct geometryinfo {
    int layer = -1;                       // index in the layer table; -1 for none
    const char* block = nullptr;          // the innermost block it came from
    const char* record = nullptr;         // the name of the record it came from
    const recordprops* props = nullptr;   // its handle and colour, when not in the table
    unsigned tablerecord = 0;
    const char* handle = nullptr;         // the handle, when it is another record's
    const colourref* byblock = nullptr;   // what BYBLOCK stands for: the placing insert's colour
    unsigned long long entity = 0;        // the drawn entity it belongs to (see sink::newentity)
    bool closed = false;                  // that entity is a closed contour
    const textinfo* text = nullptr;       // the text it came from, or null
    const fillinfo* fill = nullptr;       // the area it bounds or fills, if any
    const linestyle* style = nullptr;     // its line style, when not in the table
    const linestyle* outerstyle = nullptr;  // what BYBLOCK stands for: the placing insert's style
    const piecewidth* width = nullptr;    // a wide polyline's piece: its widths
};

class sink {
public:
    // A next() call begins: the caller's geometry becomes the slot, emptied.
    void open(brevo::geometry& out) {
        out.setinvalid();
        slot_ = &out;
        if (state_ == fullslot) state_ = emptyslot;
        info_ = geometryinfo();
    }
    // Fills the slot; a producer does so at most once per group read. Past
    // the limit the slot stays empty and reading stops.
    void put(const brevo::geometry& g, const geometryinfo& info) {
        if (--room_ < 0) return overlimit();
        *slot_ = g;
        info_ = info;
        state_ = fullslot;
    }
    // The same for a geometry of the record being read, outside any block:
    // the information is set field by field, without a copy.
    void put(const brevo::geometry& g, int layer, const char* record, const recordprops* props, unsigned tablerecord,
             unsigned long long entity, bool closed) {
        if (--room_ < 0) return overlimit();
        *slot_ = g;
        info_.layer = layer;
        info_.block = nullptr;
        info_.record = record;
        info_.props = props;
        info_.tablerecord = tablerecord;
        info_.handle = nullptr;
        info_.byblock = nullptr;
        info_.entity = entity;
        info_.closed = closed;
        state_ = fullslot;
    }

    // A new drawn entity (what a CAD program selects as one object: a
    // record, its VERTEX records included, or one copy of an entity of an
    // inserted block): a number no other entity of this reading has.
    unsigned long long newentity() { return ++entities_; }
    // The geometry in the slot goes to the host: it is piece 0 of a new
    // item when its entity is not the one delivered last, else the next
    // piece of the same item.
    void delivered() {
        if (info_.entity != lastentity_ || item_ == 0) {
            lastentity_ = info_.entity;
            ++item_;
            piece_ = 0;
        } else {
            ++piece_;
        }
    }
    // The item and piece numbers of the geometry delivered last.
    long item() const { return item_; }
    int piece() const { return piece_; }
    // Whether the slot holds a geometry or reading has failed: either way
    // next() returns now.
    bool ready() const { return state_ != emptyslot; }
    bool full() const { return state_ == fullslot; }
    const geometryinfo& info() const { return info_; }
    // Nothing was delivered: the last geometry's information goes.
    void forget() { info_ = geometryinfo(); }

    // Memory ran out: reading stops for good, and nothing more is delivered.
    void fail() {
        state_ = failedslot;
        source_ = nullptr;
    }
    bool failed() const { return state_ == failedslot; }
    // Whether reading has stopped for good: memory ran out or the limit was
    // reached.
    bool stopped() const { return state_ >= failedslot; }
    bool limited() const { return state_ == limitedslot; }

    // The work allowed: geometries made, delivered or not; 0 or less for no
    // limit. Counted from the start of reading, whenever it is set.
    void setlimit(long work) {
        long long made = limit_ - room_;
        limit_ = work > 0 ? work : LLONG_MAX;
        room_ = limit_ - made;
    }
    // Counts n pieces of work that give no geometry (hidden, filtered or
    // passed over); false, with reading stopped, when they exceed the limit.
    bool spend(long long n = 1) {
        if (n > room_) {
            overlimit();
            return false;
        }
        room_ -= n;
        return true;
    }
    // A sink of the reader's own for pieces that go elsewhere (into a block
    // being defined) takes this one's limit and gives back what is left.
    void lend(sink& to) const {
        to.room_ = room_;
        to.limit_ = limit_;
    }
    void settle(const sink& from) {
        room_ = from.room_;
        if (from.limited() && !failed()) overlimit();
    }

    // The source that fills the sink at the following next() calls. With
    // filter, each geometry must pass it when it is taken: the host may
    // change the filter between the pieces of one record, and a piece on a
    // layer that no longer passes is passed over, as the default reading's
    // segments are.
    void setsource(source* s, layertable* filter = nullptr) {
        source_ = s;
        filter_ = filter;
    }
    // Fills the slot from the source; false when it has run dry (or there
    // is none), and the source is then forgotten. True with the slot empty
    // when reading stopped while the source filled it.
    bool pull() {
        if (!source_) return false;
        while (source_->fill(*this)) {
            if (state_ != fullslot) {
                source_ = nullptr;
                return true;
            }
            if (!filter_ || info_.layer < 0 || filter_->passes(info_.layer)) return true;
            slot_->setinvalid();
            state_ = emptyslot;
        }
        source_ = nullptr;
        return stopped();
    }

private:
    enum slotstate { emptyslot, fullslot, failedslot, limitedslot };
    void overlimit() {
        room_ = 0;
        state_ = limitedslot;
        source_ = nullptr;
    }

    brevo::geometry* slot_ = nullptr;
    slotstate state_ = emptyslot;
    geometryinfo info_;
    source* source_ = nullptr;
    layertable* filter_ = nullptr;
    long long limit_ = LLONG_MAX;  // the work allowed
    long long room_ = LLONG_MAX;   // the work left
    unsigned long long entities_ = 0;    // entity numbers given out
    unsigned long long lastentity_ = 0;  // the entity of the last geometry delivered
    long item_ = 0;
    int piece_ = 0;
};

}  // namespace ostra

#endif
