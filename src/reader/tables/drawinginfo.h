// Layer 3, tables: the drawing's tables (layers, LAYER entries, header, styles) and names.
//
// What a host may ask beside the geometry: the LAYER table, the header
// variables, colours resolved through layers and inserts, and names in
// UTF-8. It also makes the exact reading's keys of names, from the names'
// UTF-8 form.
#ifndef OSTRA_READER_DRAWINGINFO_H
#define OSTRA_READER_DRAWINGINFO_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "reader/tables/headervars.h"
#include "reader/tables/layerstates.h"
#include "reader/tables/layertable.h"
#include "reader/tables/linetypes.h"
#include "reader/records/props.h"
#include "support/namekey.h"
#include "support/textcodec.h"

namespace ostra {

class drawinginfo : public namemap, public namekeys {
public:
    layerstates layerdefs;
    headervars header;
    linetypes ltypes;

    // Names handed out in UTF-8, or as read (the default).
    void setutf8(bool utf8) { utf8_ = utf8; }
    bool utf8() const { return utf8_; }
    // A name that lives as long as the reader (a layer, block, header value
    // or LAYER entry), in UTF-8 when that was asked for: the UTF-8 form is
    // made once and kept. Null for null; as read when memory runs out.
    const char* name(const char* raw);
    const char* map(const char* raw) override { return name(raw); }
    // The HEADER section has ended: names are decoded by its $ACADVER and
    // $DWGCODEPAGE from now on.
    void headerdone();

    // Names compare by their keys (the exact reading) or as they stand.
    void setkeyed(bool keyed) { keyed_ = keyed; }
    // A name of the drawing: its first 255 chars and the folded UTF-8 form
    // of those, made once per spelling and kept.
    keyed drawingkey(const char* name) override;
    // A name from the host: in UTF-8 when names are handed out so, else as
    // the drawing spells it.
    std::string hostkey(const char* name) override;

    // The LAYER entry of a name (in UTF-8 when names are), or null.
    const layerstates::entry* findlayer(const char* name);

    // The colour c stands for as 0xRRGGBB, and its index in aci (0 when it
    // is only a true colour). BYLAYER takes the colour of the layer's
    // entry (7 for a layer without one), an index out of range 7.
    int resolve(const colourref& c, const layertable& layers, int& aci) const;

    // The decoder of the drawing's texts, set up by its header.
    const textdecoder& decoder() {
        if (!configured_) configure();
        return decoder_;
    }

private:
    void configure();

    textdecoder decoder_;
    bool utf8_ = false;
    bool configured_ = false;
    std::unordered_map<const char*, std::string> names_;  // raw name -> UTF-8
    std::unordered_map<std::string, int> utf8layers_;     // UTF-8 name -> LAYER entry
    int indexed_ = 0;                                      // LAYER entries in utf8layers_
    bool keyed_ = false;
    std::deque<std::pair<std::string, std::string>> keys_;      // spelling, key
    std::unordered_map<std::string_view, std::size_t> keyindex_;  // spelling -> its entry in keys_
};

}  // namespace ostra

#endif
