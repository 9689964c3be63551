// What the exact reading leaves out as a CAD program does (paper space,
// invisible entities, frozen and off layers), and the count of what reading
// passed over: records of kinds that give no geometry, by name, and hidden
// ones by reason ("*paperspace", "*invisible", "*hiddenlayer").
#ifndef OSTRA_READER_VISIBILITY_H
#define OSTRA_READER_VISIBILITY_H

#include <deque>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reader/records/grouptable.h"
#include "reader/tables/layerstates.h"
#include "reader/tables/layertable.h"

namespace ostra {

class visibility {
public:
    visibility(const layertable& layers, const layerstates& defs) : layers_(layers), defs_(defs) {}
    visibility(const visibility&) = delete;
    visibility& operator=(const visibility&) = delete;

    // Read the paper-space entities (group 67 = 1) instead of model space.
    bool paperspace = false;

    // Whether a finished record is hidden by its space (group 67, top level
    // only) or its visibility (group 60 = 1); counted by reason when it is.
    bool hiddenrecord(const grouptable& t, bool toplevel);
    // Whether the layer at index i (of the layers met) is frozen or off in
    // the LAYER table; whether it is frozen. Counted when it is.
    bool hiddenlayer(int i) { return defs_.count() > 0 && counthidden(state(i) != 0); }
    bool frozenlayer(int i) { return defs_.count() > 0 && counthidden((state(i) & frozen) != 0); }

    // The LAYER entries the hidden layers are worked out from.
    int layerentries() const { return defs_.count(); }

    // One more record passed over, under its name or a reason.
    void count(const char* name);
    // n more (n > 0) under name, as n calls of count(name).
    void count(const char* name, int n);
    // The counts in order of first occurrence; null at the end.
    const char* first(int& n);
    const char* next(int& n);

private:
    static constexpr signed char off = 1, frozen = 2;
    signed char state(int i);
    // Counts what a hidden layer hides; returns hidden.
    bool counthidden(bool hidden) {
        if (hidden) count("*hiddenlayer");
        return hidden;
    }

    struct entry {
        char name[80];
        int count;
    };
    const layertable& layers_;
    const layerstates& defs_;
    std::vector<signed char> hidden_;  // per layer: -1 not known yet, else off | frozen
    int known_ = -1;                   // the LAYER entries hidden_ was worked out from
    std::deque<entry> counts_;
    std::unordered_map<std::string_view, int> index_;
    int iter_ = 0;
};

}  // namespace ostra

#endif
