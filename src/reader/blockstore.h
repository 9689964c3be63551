// Block definitions and their expansion for INSERT records.
#ifndef OSTRA_READER_BLOCKSTORE_H
#define OSTRA_READER_BLOCKSTORE_H

#include <string>
#include <unordered_map>
#include <vector>

#include <brevo/geometry.h>

#include "support/chunkarray.h"

namespace ostra {

// Where an INSERT puts a block: for the cell in column c and row r,
// place * translate(c * colspacing, r * rowspacing, 0) * scale * translate(-base).
struct insertparams {
    brevo::trafo place;  // translation to the insertion point after the rotation
    double sx = 1, sy = 1, sz = 1;
    double colspacing = 0, rowspacing = 0;
    int cols = 1, rows = 1;
};

struct block;

// An INSERT stored inside a block definition. The target is resolved when
// the outer block is expanded, so it may name a block defined later.
struct storedinsert {
    insertparams params;
    block* const* target;  // the slot of the name in the block index
};

// One stored entity of a block: a geometry in the block's own coordinates,
// or a nested INSERT.
struct blockrecord {
    enum kindtype : int { geometryrecord, insertrecord };
    kindtype kind;
    int layer;  // layer index of a geometry; -1 for an insert
    union {
        brevo::geometry g;
        const storedinsert* ins;
    };
    blockrecord() : kind(geometryrecord), layer(-1), g() {}
};

struct block {
    block() : entities(sizeof(blockrecord), 64) {}
    chunkarray entities;
    brevo::point base;
    const char* name = "";  // the stored key, or the name given when unregistered
};

class blockstore {
public:
    blockstore() = default;
    ~blockstore();
    blockstore(const blockstore&) = delete;
    blockstore& operator=(const blockstore&) = delete;

    // The block being defined: set by a BLOCK record, ended by ENDBLK.
    void startdefinition(const char* name, const brevo::point& base) { defblock_ = define(name, base); }
    void enddefinition() { defblock_ = nullptr; }
    block* defining() const { return defblock_; }

    // A new, empty block under the full name (up to 79 chars). The first
    // block defined under a name is the one that inserts of it find.
    block* define(const char* name, const brevo::point& base);
    block* find(const char* name) const;
    // The index slot of a name, for an insert resolved later.
    block* const* reference(const char* name);
    const storedinsert* storeinsert(const insertparams& p, const char* name);

    // Stores a geometry or a nested insert in the block; false when no chunk
    // could be had (the entity is dropped).
    bool append(block* b, const blockrecord& r);

    // Enumeration in order of definition, with a position of its own.
    int count() const { return table_ ? table_->count() : 0; }
    const char* first(int* n);
    const char* next(int* n);

private:
    const char* entry(void* value, const char* key, int* n);

    block* defblock_ = nullptr;
    chunkmap* table_ = nullptr;       // name -> block*, in order of definition
    std::vector<block*> owned_;       // every block made, registered or not
    std::unordered_map<std::string, block*> index_;
    chunkarray inserts_{sizeof(storedinsert), 64};
};

// The delivery of an INSERT's entities, one per call, nested inserts
// expanded in place with the composed transformation. Nesting is cut at a
// block already being expanded (no loops) and at a depth of maxdepth.
class expansion {
public:
    static constexpr int maxdepth = 32;

    bool active() const { return depth_ > 0; }
    void start(block* b, const insertparams& p);
    // The next entity, transformed; false when the expansion has ended.
    bool next(brevo::geometry& out, int& layer, const char*& blockname);
    void stop() { depth_ = 0; }

private:
    struct frame {
        block* b;
        brevo::trafo parent;
        insertparams p;
        int col, row;
        brevo::trafo cur;
    };
    bool push(block* b, const insertparams& p, const brevo::trafo& parent);
    static void placecell(frame& f);

    frame stack_[maxdepth];
    int depth_ = 0;
};

}  // namespace ostra

#endif
