// The frame of a generated drawing in the newer form (R2000 and later): the
// header, the CLASSES, the tables, the block frames and the OBJECTS, with
// handles and owners that agree, so that other readers take the drawing as
// whole. The presets that carry text and areas write their records into it.
#ifndef OSTRA_BENCH_DXFFRAME_H
#define OSTRA_BENCH_DXFFRAME_H

#include <string>
#include <utility>
#include <vector>

#include "dxfsink.h"

namespace dxfgen {

using handle = unsigned long long;

struct layerdef {
    std::string name;
    int color;
    const char* linetype;
    int lineweight;  // hundredths of a millimetre; -3 for the default
};

// A class of the CLASSES section: its record name, its class name, whether
// its records are entities.
struct classdef {
    const char* record;
    const char* cppname;
    bool entity;
};

// Properties an entity may carry beside its layer; none by default.
struct props {
    int color = -1;               // 62 (0 BYBLOCK, 256 BYLAYER), -1 for none
    const char* linetype = nullptr;  // 6
    double ltscale = 0;           // 48, 0 for none
    int lineweight = -99;         // 370, -99 for none
};

// The layers of a preset: "0", "Defpoints" and n more, of colours,
// linetypes and lineweights from the generator r.
std::vector<layerdef> presetlayers(int n, rng& r);

class frame {
public:
    // version: the $ACADVER value, "AC1015" or later.
    frame(sink& s, const char* version) : s_(s), version_(version) {}

    handle fresh() { return ++handle_; }
    static constexpr handle modelspace = 0x1F;  // the BLOCK_RECORD of *Model_Space
    static constexpr handle paperspace = 0x1B;
    static constexpr handle dimstyle = 0x27;    // the STANDARD dimension style
    static constexpr handle textstyle = 0x11;   // the STANDARD text style
    static constexpr handle rootdict = 0xC;

    void section(const char* name);
    void endsec() { s_.text(0, "ENDSEC"); }

    // The header: version, code page (pre-R2007 only), extents, $LTSCALE.
    void header(double ltscale);
    void classes(const std::vector<classdef>& list);
    // Every table; the block records of *Model_Space, *Paper_Space and of
    // the names given, whose handles record() then tells.
    void tables(const std::vector<layerdef>& layers, const std::vector<std::string>& blocks);
    handle record(std::size_t block) const { return records_[block]; }

    // The BLOCKS section's two layout blocks.
    void layoutblocks();
    void blockbegin(const std::string& name, handle record, double x, double y, bool anonymous);
    void blockend(handle record);

    // The common head of an entity: name, handle, owner, layer, the
    // properties given, subclass. Returns the entity's handle.
    handle head(const char* name, const char* layer, handle owner, const char* subclass, const props& p = props());

    // Opens the OBJECTS section with the root dictionary, whose entries are
    // the group dictionary and those given (name and handle, objects the
    // caller writes next, owned by the root), and the group dictionary.
    void objects(const std::vector<std::pair<const char*, handle>>& extra);

private:
    void table(const char* name, handle h, int count, const char* subclass = nullptr);
    void linetypes();
    void styles();

    sink& s_;
    const char* version_;
    handle handle_ = 0x100;
    std::vector<handle> records_;
};

}  // namespace dxfgen

#endif
