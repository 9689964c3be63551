// Block definitions: the entities and nested inserts each block holds, its
// base point, and the index by which inserts find blocks by name.
#ifndef OSTRA_READER_BLOCKSTORE_H
#define OSTRA_READER_BLOCKSTORE_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/text.h>
#include <ostra/fill.h>

#include "reader/records/props.h"
#include "support/chunkarray.h"
#include "support/namekey.h"

namespace ostra {

// Where an INSERT puts a block: for the cell in column c and row r,
// place * translate(c * colspacing, r * rowspacing, 0) * scale * translate(-base),
// where a product with c or r equal to 0 is 0 whatever the spacing.
struct insertparams {
    brevo::trafo place;  // translation to the insertion point after the rotation
    double sx = 1, sy = 1, sz = 1;
    double colspacing = 0, rowspacing = 0;
    int cols = 1, rows = 1;
    // The insert's own colour and layer (its name: the layer table counts
    // only the layers of geometry), for what its block draws BYBLOCK. The
    // name lives as long as the insert's delivery, or as the store for an
    // insert kept in a block.
    recordprops props;
    const char* layer = "";
    linestyle style;  // its line style, its linetype name kept by the store
    // Every cell is one drawn entity, whatever its block holds: a dimension
    // kept in a block.
    bool oneentity = false;
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
    int layer;                     // layer index of a geometry; -1 for an insert
    const char* record = nullptr;  // the name of the record a geometry came from
    recordprops props;             // its handle and colour
    // The entity a geometry belongs to: the pieces of one entity are stored
    // one after the other under one number, which only tells them from
    // their neighbours'; and whether that entity is a closed contour.
    unsigned entity = 0;
    bool closed = false;
    const textinfo* text = nullptr;  // the text a geometry came from, kept by the store
    const fillinfo* fill = nullptr;  // the area it bounds or fills (kept by its producer)
    linestyle style;                 // its line style, its linetype name kept by the store
    double startwidth = 0, endwidth = 0;  // a wide polyline's piece
    union {
        brevo::geometry g;
        const storedinsert* ins;
    };
    blockrecord() : kind(geometryrecord), layer(-1), g() {}
};

class blockstore;

// Inserts nest this deep at most (the INSERT in ENTITIES counts as the first).
constexpr int maxnesting = 32;

struct block {
    // Small chunks: a drawing may hold a hundred thousand blocks of a few
    // entities each, and a chunk's unused room is paid for every block.
    static constexpr int recordsperchunk = 8;
    block() : entities(sizeof(blockrecord), recordsperchunk) {}
    chunkarray entities;
    brevo::point base;
    const char* name = "";  // the stored key, or the name given when unregistered
    blockstore* store = nullptr;  // the store that made it

    // What the expansion knows of the block's contents, as of the store's
    // generation (see blockstore::analyse).
    struct analysis {
        unsigned long generation = 0;  // 0: never analysed
        std::vector<block*> children;  // inserted blocks that exist and hold records
        bool geometry = false;         // holds a geometry record itself
        int reach = 0;                 // frames down to a geometry record (see analyse)
        block* via = nullptr;          // a child one frame nearer to one, or null
    } info;

    // The expansion's bookkeeping.
    bool onstack = false;             // a frame of it is on the expansion stack
    unsigned long long seen = 0;      // the last search that reached it
    unsigned long long askedby = 0;   // the frame that last asked whether it yields
    bool answer = false;              // what that frame was told
};

class blockstore {
public:
    // Block names are group values: at most 79 chars, so a key of 80 holds
    // them; with keys (the exact reading) at most 255.
    static constexpr int keywidth = 80;
    static_assert(static_cast<std::size_t>(keywidth) == namekeylength + 1, "a stored name is a key and its NUL");
    static constexpr int widekeywidth = maxnamelength + 1;

    blockstore() = default;
    ~blockstore();
    blockstore(const blockstore&) = delete;
    blockstore& operator=(const blockstore&) = delete;

    // Names compare through keys (the exact reading: whole names, without
    // regard to case), or by their first 79 chars as they stand (null, the
    // default). Set before the first block.
    void setkeys(namekeys* keys) { keys_ = keys; }

    // The block being defined: set by a BLOCK record, ended by ENDBLK; false
    // when memory for it could not be had.
    bool startdefinition(const char* name, const brevo::point& base) {
        defblock_ = define(name, base);
        return defblock_ != nullptr;
    }
    void enddefinition() { defblock_ = nullptr; }
    block* defining() const { return defblock_; }

    // A new, empty block under the full name (up to 79 chars, 255 with
    // keys). The first block defined under a name is the one that inserts of
    // it find. Null when memory for it could not be had.
    block* define(const char* name, const brevo::point& base);
    block* find(const char* name) const;
    // The index slot of a name, for an insert resolved later; made (null)
    // when the name has none. Null when no room for the name could be had.
    block* const* reference(const char* name);
    // An insert kept in a block definition, its layer name kept by the
    // store; null when memory ran out.
    const storedinsert* storeinsert(const insertparams& p, const char* name);

    // A copy of a text kept as long as the store, its strings with it.
    // Throws std::bad_alloc when memory runs out.
    const textinfo* storetext(const textinfo& t);
    // A linetype name kept as long as the store, for the styles of what
    // blocks keep and of inserts; null for null, and when memory ran out.
    const char* keepname(const char* name);

    // Stores a geometry or a nested insert in the block; false when no chunk
    // could be had.
    bool append(block* b, const blockrecord& r);

    // Enumeration in order of definition, with a position of its own.
    int count() const { return table_ ? table_->count() : 0; }
    const char* first(int* n);
    const char* next(int* n);

    // Brings every block's analysis up to date with the records stored:
    // reach is the least number of nested frames (the block's own counted)
    // through which the block's expansion reaches a geometry record, ignoring
    // the expansion stack; a value above maxnesting means none can
    // be reached. Runs again only after an append. Uses the blocks' cursors:
    // no expansion may be under way.
    void analyse();
    unsigned long generation() const { return generation_; }

private:
    const char* entry(void* value, const char* key, int* n);
    // The key a name is indexed under: the name itself (the first 79 chars)
    // without keys, the key keys made with them.
    std::string_view keyof(const char* name) const {
        return keys_ ? keys_->drawingkey(name).key : namekey(name);
    }

    unsigned long generation_ = 1;  // counts the appends; never 0
    unsigned long analysed_ = 0;    // the generation of the last analysis
    block* defblock_ = nullptr;
    chunkmap* table_ = nullptr;       // name -> block*, in order of definition
    int tablewidth_ = keywidth;       // the width of its keys
    std::vector<block*> owned_;       // every block made, registered or not
    // The first block of every name, and a null slot for a name only
    // inserted so far. The keys point at stored names: a block's own, or a
    // copy in names_ for a name that had no block when it was first asked
    // for. Lookups need no copy of the name.
    std::unordered_map<std::string_view, block*> index_;
    chunkarray names_{keywidth, 64};
    chunkarray inserts_{sizeof(storedinsert), 64};
    std::unordered_set<std::string> layers_;  // the layer names of kept inserts
    struct storedtext {
        textinfo info;
        std::string content, raw, tag, style;
    };
    std::deque<storedtext> texts_;  // the texts of block entities
    std::unordered_set<std::string> linetypes_;  // the linetype names of kept styles
    namekeys* keys_ = nullptr;
};

}  // namespace ostra

#endif
