// The delivery of an INSERT's entities, one per next() call, nested inserts
// expanded in place with the composed transformation. Nesting is cut at a
// block already being expanded (no loops) and at a depth of maxnesting.
//
// A nested insert whose expansion would deliver nothing (an empty block, only
// inserts that are cut, or only geometry deeper than maxnesting) is skipped
// without walking it, so an array of 32767 x 32767 such cells costs no more
// than one: every frame that is pushed delivers at least one entity per cell.
#ifndef OSTRA_READER_EXPANSION_H
#define OSTRA_READER_EXPANSION_H

#include <vector>

#include <brevo/geometry.h>

#include "reader/blockstore.h"
#include "reader/sink.h"

namespace ostra {

class expansion : public source {
public:
    // Begins the delivery of b placed by p; false when it delivers nothing.
    bool start(block* b, const insertparams& p);
    // The next entity, transformed, with its layer and innermost block.
    bool fill(sink& s) override;

private:
    struct frame {
        block* b;
        brevo::trafo parent;
        insertparams p;
        int col, row;
        brevo::trafo cur;
        unsigned long long id;  // tells this frame from every other one pushed
        colourref colour;       // the insert's colour: what BYBLOCK stands for inside
    };
    void stop();
    bool push(block* b, const insertparams& p, const brevo::trafo& parent);
    void pop();
    // Whether b, pushed now, would deliver an entity.
    bool yields(block* b);
    bool search(block* b, int room);
    static void placecell(frame& f);

    frame stack_[maxnesting];
    int depth_ = 0;
    unsigned long long frames_ = 0;    // frames pushed so far
    unsigned long long searches_ = 0;  // searches run so far
    std::vector<block*> queue_;        // the search's queue, kept for its capacity
};

}  // namespace ostra

#endif
