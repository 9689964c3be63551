// 3DFACE, SOLID and TRACE records in the exact reading: their edges as line
// segments, delivered one per next() call. A 3DFACE gives its visible edges
// (group 70 bits 1, 2, 4 and 8 hide edges 1 to 4), a triangle when its
// fourth corner is its third. SOLID and TRACE give their outline v1, v2,
// v4, v3 and back to v1, in their object coordinate system. Edges of length
// 0 are left out.
#ifndef OSTRA_READER_FACES_H
#define OSTRA_READER_FACES_H

#include <brevo/geometry.h>

#include "reader/delivery/emitter.h"
#include "reader/records/grouptable.h"
#include "reader/delivery/sink.h"

namespace ostra {

class faceproducer : public source {
public:
    void face(const grouptable& t, emitter& e);
    // SOLID or TRACE.
    void solid(const grouptable& t, emitter& e);

    bool fill(sink& s) override;

private:
    void add(const brevo::point& a, const brevo::point& b);
    void send(emitter& e, const fillinfo* fill = nullptr);
    static const fillinfo solidfill;

    brevo::lineseg edges_[4];
    int count_ = 0, next_ = 0;
    geometryinfo info_;
};

}  // namespace ostra

#endif
