// LEADER records in the exact reading: the leader's path through its
// vertices (groups 10, 20, 30, repeated), as line segments delivered one per
// next() call; a spline path (group 72 = 1) is the curve through the
// vertices, flattened as SPLINE records are. The arrowhead and any text are
// no geometry of the record.
#ifndef OSTRA_READER_LEADER_H
#define OSTRA_READER_LEADER_H

#include <cstddef>
#include <vector>

#include <brevo/geometry.h>

#include "reader/emitter.h"
#include "reader/grouptable.h"
#include "reader/sink.h"

namespace ostra {

class chainsource;

class leaderproducer {
public:
    // A LEADER record begins.
    void start() { vertices_.clear(); }
    // A group 10, 20 or 30 of it, after its value is stored: 10 begins a
    // vertex.
    void vertexgroup(int code, const grouptable& t);
    // The end of the record: the path goes out through chain; a spline
    // path is flattened within tolerance (0 or less: the default).
    void end(const grouptable& t, emitter& e, chainsource& chain, double tolerance);

private:
    std::vector<brevo::point> vertices_;
};

}  // namespace ostra

#endif
