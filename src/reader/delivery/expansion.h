// The delivery of an INSERT's entities, one per next() call, nested inserts
// expanded in place with the composed transformation. Nesting is cut at a
// block already being expanded (no loops) and at a depth of maxnesting.
//
// A nested insert whose expansion would deliver nothing (an empty block, only
// inserts that are cut, or only geometry deeper than maxnesting) is skipped
// without walking it, so an array of 32767 x 32767 such cells costs no more
// than one: every frame that is pushed delivers at least one entity per cell.
// For the work limit every entity counts, delivered or left out by the exact
// reading's rules, and so does every nested insert passed over; so every
// cell costs at least one unit of work.
#ifndef OSTRA_READER_EXPANSION_H
#define OSTRA_READER_EXPANSION_H

#include <vector>

#include <brevo/geometry.h>
#include <ostra/text.h>

#include "reader/delivery/blockstore.h"
#include "reader/delivery/deliveryrules.h"
#include "reader/delivery/sink.h"

namespace ostra {

// Where an expansion comes from: the layer its insert is drawn on (for the
// exact reading's layer-0 rule) and, for a record that delivers a block as
// its own drawing (DIMENSION), the name and handle its entities go under.
// Such a record's pieces are one drawn entity, entity (see sink::newentity);
// 0 makes every entity of the block, in every cell, one of its own.
struct expansionorigin {
    int layer = -1;
    const char* record = nullptr;
    const char* handle = nullptr;
    unsigned long long entity = 0;
};

class expansion : public source {
public:
    // Begins the delivery of b placed by p; false when it delivers nothing.
    // With rules, the exact reading's rules decide what is delivered.
    bool start(block* b, const insertparams& p, const expansionorigin& origin, deliveryrules* rules);
    // The next entity, transformed, with its layer and innermost block; true
    // also when reading stopped at the work limit.
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
        linestyle style;        // the insert's line style, the same
        int layer;              // the layer the insert is drawn on
        unsigned long long cellstart;  // entities delivered before its cell began
        unsigned long long entity;     // of a frame whose cell is one entity: its number, 0 until it has one
    };
    void stop();
    bool push(block* b, const insertparams& p, const brevo::trafo& parent, int layer);
    void pop();
    bool endcell(frame& f);
    bool deliver(const frame& f, const blockrecord& r, sink& s);
    unsigned long long entityof(const frame& f, const blockrecord& r, sink& s);
    // Whether b, pushed now, would deliver an entity.
    bool yields(block* b);
    bool search(block* b, int room);
    static void placecell(frame& f);

    frame stack_[maxnesting];
    int depth_ = 0;
    unsigned long long frames_ = 0;     // frames pushed so far
    unsigned long long searches_ = 0;   // searches run so far
    unsigned long long delivered_ = 0;  // entities delivered so far
    std::vector<block*> queue_;         // the search's queue, kept for its capacity
    deliveryrules* rules_ = nullptr;
    expansionorigin origin_;
    // The entity of the geometry delivered last: its frame, its number in
    // the block, and the number it was given; and the outermost frame whose
    // cells are each one entity (a dimension kept in a block), or -1.
    unsigned long long lastframe_ = 0;
    unsigned lastentity_ = 0;
    unsigned long long entity_ = 0;
    int oneentity_ = -1;
    textinfo placed_;  // the text of the geometry delivered last, placed
    piecewidth width_;  // the widths of the piece delivered last
};

}  // namespace ostra

#endif
