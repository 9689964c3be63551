// WIPEOUT records, when the host asks for areas (sethatch): the outline of
// the area the wipeout covers, as line segments of one closed item, each
// with a fillinfo that is solid and marked as a wipeout.
//
// The clip vertices (14/24, repeated) lie in the wipeout's frame, whose
// centre is the origin, x along its u vector (11) and y against its v
// vector (12): a vertex (x, y) is at 10 + (x + 0.5) u + (0.5 - y) v. A
// rectangular boundary (71 = 1) is given by two opposite corners; without
// clip vertices the whole frame is covered.
#ifndef OSTRA_READER_WIPEOUT_H
#define OSTRA_READER_WIPEOUT_H

#include <cstddef>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/fill.h>

#include "reader/delivery/emitter.h"
#include "reader/delivery/sink.h"
#include "reader/records/grouptable.h"
#include "support/point2.h"

namespace ostra {

class wipeoutproducer : public source {
public:
    void start() { clip_.clear(); }
    // A group of it, after its value is stored.
    void group(int code, const grouptable& t);
    void end(const grouptable& t, emitter& e);
    bool fill(sink& s) override;

    static const fillinfo wipeoutfill;

private:
    std::vector<point2> clip_;
    std::vector<brevo::point> outline_;
    std::size_t next_ = 0;
    geometryinfo info_;
};

}  // namespace ostra

#endif
