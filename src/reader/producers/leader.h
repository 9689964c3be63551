// LEADER records in the exact reading: what a CAD program draws of a leader,
// one line segment (or arrow block entity) per next() call, all of it under
// the record's name and handle:
// 1. The path through its vertices (groups 10, 20, 30, repeated). A spline
//    path (group 72 = 1) is the cubic through the vertices whose end
//    tangents are the first segment's direction and, at the end, the hook
//    line's or else the last segment's, flattened as SPLINE records are;
//    one of two vertices without a hook line is the straight segment.
// 2. The hook line, when the leader has a text annotation (73 = 0), a text
//    width (41) above 0 and a DIMTAD that is not 0: from the last vertex
//    along the horizontal direction (211, 221, 231 in world coordinates,
//    +x when not given or not usable), reversed unless 74 is 0, of length
//    DIMGAP x DIMSCALE + the text width.
// 3. The arrowhead at the first vertex when 71 is given and not 0, of size
//    DIMASZ x DIMSCALE (a DIMSCALE of 0 counts as 1), unless the size is not
//    above 0 or the first segment is shorter than twice the size. Its frame
//    lies in the leader's plane (normal 210, 220, 230; 0, 0, 1 by default):
//    x points from the second vertex to the first, z is the normal made
//    perpendicular to x. The closed filled arrow (DIMLDRBLK "" or ".", or
//    "_ClosedFilled" without a block of that name) is the outline of a
//    triangle, tip, (-1, 1/6), (-1, -1/6) in that frame times the size, as a
//    SOLID's outline is delivered. Another DIMLDRBLK names a block, drawn as
//    an INSERT of it at the first vertex in that frame, scaled by the size
//    (arrow blocks are drawn pointing along +x with the tip at their base
//    point); "_None" and a name the drawing defines no block for give none.
//    Inside a block definition such a block arrow is kept as an insert of
//    its block, whose entities go under their own record names.
// The dimension variables come from dimstyles.h.
#ifndef OSTRA_READER_LEADER_H
#define OSTRA_READER_LEADER_H

#include <string>
#include <vector>

#include <brevo/geometry.h>

#include "reader/delivery/blockstore.h"
#include "reader/delivery/deliveryrules.h"
#include "reader/tables/dimstyles.h"
#include "reader/delivery/emitter.h"
#include "reader/delivery/expansion.h"
#include "reader/records/grouptable.h"
#include "reader/tables/headervars.h"
#include "reader/delivery/sink.h"

namespace ostra {

class chainsource;

// What a leader's end needs beside its own record.
struct leadercontext {
    const dimstyles& styles;
    const headervars& header;
    blockstore& blocks;
    chainsource& chain;  // the path's segments
    double tolerance;    // of a spline path; 0 or less: the default
};

class leaderproducer : public source {
public:
    leaderproducer(layertable& layers, visibility& shown) : rules_(layers, shown) {}

    // A LEADER record begins.
    void start();
    // A group of it, after its value is stored: 10 begins a vertex, and
    // the extended data may override dimension variables.
    void group(int code, const grouptable& t);
    // The end of the record: its pieces go out through this source.
    void end(const grouptable& t, emitter& e, const leadercontext& c);

    bool fill(sink& s) override;

private:
    bool hookline(const grouptable& t, const dimsettings& s, brevo::vector& along, double& length) const;
    void arrow(const grouptable& t, const std::string& name, const brevo::point& tip, const brevo::vector& x,
               double size, emitter& e, blockstore& blocks);
    void addpiece(const brevo::point& a, const brevo::point& b);

    std::vector<brevo::point> vertices_;
    dimoverrides overrides_;
    chainsource* path_ = nullptr;  // delivers the path first, while not null
    brevo::lineseg pieces_[4];     // then the hook line and a triangle's outline
    int count_ = 0, next_ = 0;
    geometryinfo info_;
    bool expanding_ = false;  // then a block arrow's entities
    const storedinsert* keep_ = nullptr;  // a block arrow kept in a definition
    deliveryrules rules_;
    expansion arrow_;
    char handle_[grouptable::slotsize] = "";
    char layer_[maxnamelength + 1] = "";  // the leader's layer, for its arrow block
};

}  // namespace ostra

#endif
