// SPLINE and HELIX records in the exact reading: the curve flattened into a
// chain of line segments within the flattening tolerance, delivered one per
// next() call. Only the record's own data is kept (control points, knots,
// weights, fit points); the chain is made as it is delivered. A HELIX is
// the spline that its record holds before its own helix groups.
#ifndef OSTRA_READER_SPLINE_H
#define OSTRA_READER_SPLINE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <brevo/geometry.h>

#include "reader/delivery/emitter.h"
#include "reader/records/grouptable.h"
#include "reader/delivery/sink.h"
#include "support/splineflatten.h"

namespace ostra {

// A chain of segments: straight through given points, or along a
// flattened spline; a source that delivers one segment per call.
class chainsource : public source {
public:
    // The chain through points (taken over; points is left empty or as a
    // buffer to reuse).
    void startpoints(std::vector<brevo::point>& points, const geometryinfo& info);
    // The chain along spline d within tolerance; false when d gives no curve.
    bool startspline(splinedata& d, double tolerance, const geometryinfo& info);

    // True also when reading stopped at the work limit.
    bool fill(sink& s) override;

private:
    bool nextvertex(brevo::point& p);
    // The vertices looked at so far.
    std::uint64_t looked() const;

    std::vector<brevo::point> points_;
    std::size_t nextpoint_ = 0;
    splineflattener flattener_;
    bool spline_ = false;
    bool hasprev_ = false;
    brevo::point prev_;
    geometryinfo info_;
};

// A coordinate of a repeated point group (10, 20, 30 and the like) for
// the points read so far: axis 0 begins a point, 1 and 2 set the y and z of
// the point begun last.
void addcoordinate(std::vector<brevo::point>& points, int axis, double v);

class splineproducer {
public:
    // A SPLINE or HELIX record begins.
    void start();
    // A group of it, after its value is stored.
    void group(int code, const char* value, const grouptable& t);
    // The end of the record: its chain goes out through chain.
    void end(const grouptable& t, emitter& e, chainsource& chain, double tolerance);

private:
    splinedata data_;
    bool collecting_ = true;  // a HELIX's own groups follow its spline's
};

}  // namespace ostra

#endif
