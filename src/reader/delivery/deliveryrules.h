// The exact reading's rules for the entities of a block as they are
// delivered: an entity on layer "0" is drawn on the layer of the insert that
// places it, and the layer filter and the hidden layers apply to the layer
// it is drawn on; an insert on a frozen layer draws nothing. And what keeps
// an expansion that delivers nothing from walking the same blocks again:
// a block that delivered nothing on a layer at a depth is remembered, as
// long as the filter, the LAYER table and the blocks stay as they are.
#ifndef OSTRA_READER_DELIVERYRULES_H
#define OSTRA_READER_DELIVERYRULES_H

#include <cstddef>
#include <unordered_set>

#include "reader/delivery/blockstore.h"
#include "reader/tables/layertable.h"
#include "reader/delivery/visibility.h"

namespace ostra {

class deliveryrules {
public:
    deliveryrules(layertable& layers, visibility& shown) : layers_(layers), shown_(shown) {}
    deliveryrules(const deliveryrules&) = delete;
    deliveryrules& operator=(const deliveryrules&) = delete;

    // The layer an entity on layer index layer is drawn on inside an insert
    // drawn on outer (-1 at the top level).
    int drawnon(int layer, int outer);
    // The same for an insert kept in a block, whose layer is a name; the
    // layer is registered without counting a use.
    int drawnon(const char* layer, int outer);
    // Whether an entity drawn on layer is delivered: it passes the filter
    // and its layer is neither frozen nor off (counted when it is).
    bool delivers(int layer);
    // Whether an insert drawn on layer draws nothing (counted when so).
    bool frozen(int layer) { return shown_.frozenlayer(layer); }

    bool knowndead(const block* b, int layer, int depth);
    void markdead(const block* b, int layer, int depth);

private:
    struct deadkey {
        const block* b;
        int layer, depth;
        bool operator==(const deadkey& o) const { return b == o.b && layer == o.layer && depth == o.depth; }
    };
    struct deadhash {
        std::size_t operator()(const deadkey& k) const {
            return std::hash<const void*>()(k.b) ^ (static_cast<std::size_t>(k.layer) * 2654435761u) ^
                   static_cast<std::size_t>(k.depth);
        }
    };
    void checkversion(const block* b);

    layertable& layers_;
    visibility& shown_;
    int zero_ = -1;          // the index of layer "0", once met
    int zerolooked_ = -1;    // the count of layers met when it was last looked for
    std::unordered_set<deadkey, deadhash> dead_;
    unsigned filterversion_ = 0;
    int layerentries_ = -1;
    unsigned long generation_ = 0;
};

}  // namespace ostra

#endif
