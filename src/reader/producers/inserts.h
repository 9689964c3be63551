// BLOCK, ENDBLK and INSERT records. A BLOCK opens a definition, whose
// entities the emitter stores until ENDBLK. An INSERT in the ENTITIES section
// delivers its block's entities through the expansion, one per next() call;
// an INSERT inside a definition is stored there and expanded with the outer
// block; elsewhere it is dropped.
#ifndef OSTRA_READER_INSERTS_H
#define OSTRA_READER_INSERTS_H

#include "reader/delivery/blockstore.h"
#include "reader/delivery/emitter.h"
#include "reader/delivery/expansion.h"
#include "reader/records/grouptable.h"
#include "support/namekey.h"

namespace ostra {

class insertproducer {
public:
    insertproducer(layertable& layers, visibility& shown) : rules_(layers, shown) {}

    // A BLOCK record: a definition opens under its group 2 text (a record
    // without one takes the last group 2 read), based at 10, 20, 30.
    void block(const grouptable& t, blockstore& blocks, emitter& e);
    // An ENDBLK record.
    void endblock(blockstore& blocks);
    // An INSERT record: block 2 at 10, 20, 30, rotated by 50, scaled by
    // 41, 42, 43, in 70 columns and 71 rows spaced 44 and 45 apart; the
    // exact reading places it by its extrusion direction too.
    // In the exact reading an INSERT hidden by its space or visibility, or
    // on a frozen layer, draws nothing, and the exact reading's delivery
    // rules decide on each of its entities.
    void insert(const grouptable& t, blockstore& blocks, emitter& e, bool exact);
    // A DIMENSION, ARC_DIMENSION or LARGE_RADIAL_DIMENSION record (exact
    // reading), its record name name (a text that lives as long as the
    // program): the drawing of the dimension, its block (group 2), placed as
    // it stands, every entity of it named name with the dimension's handle.
    // Inside a block definition it is kept as an insert of its block.
    void dimension(const grouptable& t, blockstore& blocks, emitter& e, const char* name);

    // An ACAD_TABLE record: its block (group 2) placed at 10, 20, 30 along
    // its x direction (11, 21), as an INSERT of it would be.
    void table(const grouptable& t, blockstore& blocks, emitter& e, bool exact);

private:
    bool drawn(emitter& e, expansionorigin& o);
    void deliver(ostra::block* b, const insertparams& p, const expansionorigin& o, emitter& e, bool exact);
    void keep(const grouptable& t, const insertparams& p, blockstore& blocks, emitter& e);

    deliveryrules rules_;
    expansion delivery_;
    char handle_[grouptable::slotsize] = "";  // the handle of the dimension being delivered
    char layer_[maxnamelength + 1] = "";       // the layer of the insert being delivered
};

}  // namespace ostra

#endif
