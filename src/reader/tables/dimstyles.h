// The dimension variables a LEADER is drawn with beside its vertices: those
// of its dimension style (the DIMSTYLE table), the header's and the format's
// defaults where the drawing has no entry for the style, and the entity's
// own overrides (its ACAD DSTYLE extended data); and the names of the blocks
// an arrow handle refers to (the BLOCK_RECORD table). Only the exact reading
// keeps them.
//
// Where each value comes from, first found first:
// 1. the record's overrides;
// 2. the entry of the style the record names (group 3), or of "Standard"
//    when it names none or one without an entry (names compared without
//    regard to case): its group, or, for a group it leaves out, the format's
//    default (DIMSCALE 1, DIMASZ 0.18, DIMGAP 0.09, DIMTAD 0, the closed
//    filled arrow);
// 3. without such an entry: the header variable ($DIMSCALE, $DIMASZ,
//    $DIMGAP, $DIMTAD, $DIMLDRBLK), else the default of the drawing's
//    measurement: the same defaults, or DIMASZ 2.5, DIMGAP 0.625 and
//    DIMTAD 1 when $MEASUREMENT is 1 (metric).
#ifndef OSTRA_READER_DIMSTYLES_H
#define OSTRA_READER_DIMSTYLES_H

#include <cstdint>
#include <string>
#include <unordered_map>

#include "reader/records/grouptable.h"
#include "reader/tables/headervars.h"

namespace ostra {

struct dimsettings {
    double scale = 1;         // DIMSCALE
    double arrowsize = 0.18;  // DIMASZ
    double gap = 0.09;        // DIMGAP
    int tad = 0;              // DIMTAD: 0 puts the text on the line, others above it
    std::string arrow;        // DIMLDRBLK as a block name; "" the closed filled arrow
};

class dimstyles {
public:
    // A DIMSTYLE record: an entry under its name (group 2) unless one of that
    // name exists (the first one counts); one without a name is ignored.
    void style(const grouptable& t);
    // A BLOCK_RECORD record: its handle (group 5) and name (group 2).
    // Anonymous blocks (a name beginning with '*') are never arrows and
    // are not kept.
    void blockrecord(const grouptable& t);

    // The settings of the style named name (null for none), as above
    // without the record's overrides.
    dimsettings settings(const char* name, const headervars& header) const;
    // The block a block record handle names; "" for the null handle and
    // for handles the drawing does not define.
    std::string blockname(const char* handle) const;

private:
    struct entry {
        dimsettings values;
        std::string arrowhandle;  // group 341, resolved when a leader asks
    };
    std::unordered_map<std::string, entry> styles_;       // by upper-case name
    std::unordered_map<std::uint64_t, std::string> blocks_;  // handle -> name
};

// The overrides in a record's extended data: after "1001 ACAD", a
// "1000 DSTYLE" and "1002 {", pairs of a 1070 naming a variable by its
// DIMSTYLE group code and its value (1040, 1070 or 1005), up to "1002 }".
class dimoverrides {
public:
    // A record begins.
    void clear() { *this = dimoverrides(); }
    // A group of the record, after its value is stored.
    void group(int code, const grouptable& t);
    // The overrides put into s; an arrow handle is resolved through styles.
    void apply(dimsettings& s, const dimstyles& styles) const;

private:
    enum state { outside, acad, dstyle, inside };
    void set(int variable, int code, const grouptable& t);

    state state_ = outside;
    int pending_ = -1;  // the variable whose value comes next
    bool hasscale_ = false, hasarrowsize_ = false, hasgap_ = false, hastad_ = false, hasarrow_ = false;
    double scale_ = 0, arrowsize_ = 0, gap_ = 0;
    int tad_ = 0;
    std::string arrowhandle_;
};

}  // namespace ostra

#endif
