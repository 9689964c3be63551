#include "reader/delivery/deliveryrules.h"

#include <cstring>

namespace ostra {

int deliveryrules::drawnon(int layer, int outer) {
    if (zero_ < 0 && zerolooked_ != layers_.count()) {
        zero_ = layers_.find("0");
        zerolooked_ = layers_.count();
    }
    return layer == zero_ && layer >= 0 && outer >= 0 ? outer : layer;
}

int deliveryrules::drawnon(const char* layer, int outer) {
    if (std::strcmp(layer, "0") == 0 && outer >= 0) return outer;
    return layers_.intern(layer);
}

bool deliveryrules::delivers(int layer) {
    if (layer >= 0 && !layers_.passes(layer)) return false;
    return !shown_.hiddenlayer(layer);
}

// What was remembered holds only while nothing that decides delivery changed.
void deliveryrules::checkversion(const block* b) {
    unsigned long generation = b->store ? b->store->generation() : 0;
    if (filterversion_ == layers_.filterversion() && layerentries_ == shown_.layerentries() && generation_ == generation)
        return;
    dead_.clear();
    filterversion_ = layers_.filterversion();
    layerentries_ = shown_.layerentries();
    generation_ = generation;
}

bool deliveryrules::knowndead(const block* b, int layer, int depth) {
    checkversion(b);
    return dead_.count(deadkey{b, layer, depth}) != 0;
}

void deliveryrules::markdead(const block* b, int layer, int depth) {
    checkversion(b);
    dead_.insert(deadkey{b, layer, depth});
}

}  // namespace ostra
