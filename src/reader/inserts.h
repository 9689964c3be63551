// BLOCK, ENDBLK and INSERT records. A BLOCK opens a definition, whose
// entities the emitter stores until ENDBLK. An INSERT in the ENTITIES section
// delivers its block's entities through the expansion, one per next() call;
// an INSERT inside a definition is stored there and expanded with the outer
// block; elsewhere it is dropped.
#ifndef OSTRA_READER_INSERTS_H
#define OSTRA_READER_INSERTS_H

#include "reader/blockstore.h"
#include "reader/emitter.h"
#include "reader/expansion.h"
#include "reader/grouptable.h"

namespace ostra {

class insertproducer {
public:
    // A BLOCK record: a definition opens under its group 2 text (a record
    // without one takes the last group 2 read), based at 10, 20, 30.
    void block(const grouptable& t, blockstore& blocks, emitter& e);
    // An ENDBLK record.
    void endblock(blockstore& blocks);
    // An INSERT record: block 2 at 10, 20, 30, rotated by 50, scaled by
    // 41, 42, 43, in 70 columns and 71 rows spaced 44 and 45 apart; the
    // exact reading places it by its extrusion direction too.
    void insert(const grouptable& t, blockstore& blocks, emitter& e, bool exact);

private:
    expansion delivery_;
};

}  // namespace ostra

#endif
