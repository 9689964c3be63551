// TEXT, MTEXT, ATTRIB and ATTDEF records, read when the host asks for texts.
//
// A text is placed from its groups (TEXT, ATTRIB, ATTDEF: 10, 11, 40, 41,
// 50, 51, 71, 72, 73 or 74, 7, 210; MTEXT: 10, 11 or 50, 40, 41, 44, 71, 7,
// 210), the STYLE table where the record leaves height, width factor or
// oblique angle out, and the header's $TEXTSIZE where both leave the
// height out (2.5 where that is missing too). Its content is decoded by
// support/textcontent.h. It is delivered as one point at its anchor, or as
// the line segments of its strokes (support/textlayout.h), all of one item.
//
// ATTRIB and ATTDEF with flag 1 (invisible) are not drawn, and counted as
// "*invisible"; an ATTDEF in the ENTITIES section is drawn as its tag, one
// inside a block definition only when it is constant (flag 2), as its value.
#ifndef OSTRA_READER_TEXTS_H
#define OSTRA_READER_TEXTS_H

#include <string>
#include <vector>

#include <ostra/text.h>

#include "reader/delivery/blockstore.h"
#include "reader/delivery/emitter.h"
#include "reader/producers/mleader.h"
#include "reader/records/grouptable.h"
#include "reader/tables/headervars.h"
#include "reader/tables/textstyles.h"
#include "support/textcodec.h"
#include "support/textcontent.h"
#include "support/textlayout.h"

namespace ostra {

// What a text is drawn with.
struct textcontext {
    const textdecoder& codec;
    const textstyles& styles;
    const headervars& header;
    blockstore& blocks;
    bool strokes;  // as strokes, else as a point
};

class textproducer : public source {
public:
    // A new MTEXT record: its chunks gathered from here on.
    void start() { chunks_.clear(); }
    // An MTEXT group: chunks 3 then 1 are joined, each whole (up to the
    // group table's whole length).
    void group(int code, const grouptable& t);
    // The record of kind (ktext, kmtext, kattrib, kattdef) ends.
    void end(int kind, const grouptable& t, emitter& e, const textcontext& c);

    // A MULTILEADER ends: its leader lines and landings as segments, then
    // its text as an MTEXT at its location; every piece shows the text.
    void endleader(leaderdata& d, emitter& e, const textcontext& c);

    bool fill(sink& s) override;

private:
    bool drawn(int kind, const grouptable& t, emitter& e);
    void place(int kind, const grouptable& t, const textcontext& c);
    void placeline(int kind, const grouptable& t, const textstyles::entry* st, double height);
    void placemtext(const grouptable& t, double height);
    void placeframe(const brevo::point& origin, const brevo::vector& w1, const brevo::vector& normal, double height,
                    int attachment, double width, double spacing);
    double heightof(double own, const textstyles::entry* st, const textcontext& c) const;
    void deliver(emitter& e, const textcontext& c, bool withtext);
    void deliverstrokes(emitter& e, const textinfo* shown);
    brevo::point toworld(double x, double y) const;

    std::string chunks_;  // MTEXT's joined chunks
    textcontent content_;
    std::string tag_, style_;
    textinfo info_;
    textstyle layoutstyle_;
    brevo::trafo ocs_;        // the record's object coordinates to world
    brevo::point origin_;     // the layout's origin, object coordinates
    brevo::vector e1_, e2_;   // the layout frame's unit axes, object coordinates
    textlayout layout_;
    // The strokes being delivered: the current stroke's next segment.
    geometryinfo strokeinfo_;
    std::size_t at_ = 0;
    std::vector<brevo::lineseg> lines_;  // a MULTILEADER's lines, delivered first
    std::size_t lineat_ = 0;
    bool pointpending_ = false, strokespending_ = false;
};

}  // namespace ostra

#endif
