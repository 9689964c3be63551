// HATCH and MPOLYGON records, when the host asks for them (sethatch): the
// boundary loops as pieces (lines, arcs for bulges and arc edges, elliptic
// arcs, splines as line pieces within the flattening tolerance) and the
// pattern lines clipped to the area (support/hatchpattern.h), all of one
// hatch one item, placed by the hatch's object coordinate system at its
// elevation. Every piece carries a fillinfo: its loop, whether that loop is
// outer or a hole under the hatch style (support/hatchnesting.h), the fill.
//
// The pieces are made when the record ends and delivered one per next()
// call. Pattern lines are bounded as support/hatchpattern.h says; the lines
// left out are counted under "*patternlines" among the skipped records.
#ifndef OSTRA_READER_HATCH_H
#define OSTRA_READER_HATCH_H

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/fill.h>

#include "reader/delivery/emitter.h"
#include "reader/delivery/sink.h"
#include "reader/producers/hatchrecord.h"
#include "support/hatchnesting.h"

namespace ostra {

// The pieces of one hatch, delivered in order: the loops', then the
// pattern lines.
class hatchsource : public source {
public:
    void clear();
    void add(const brevo::geometry& g, const fillinfo* fill);
    // The pattern lines (taken over) at elevation z, placed by place when
    // transform says so.
    void addlines(std::vector<patternsegment>& lines, double z, const brevo::trafo& place, bool transform,
                  const fillinfo* fill);
    std::size_t size() const { return pieces_.size() + lines_.size(); }
    void begin(const geometryinfo& info);
    bool fill(sink& s) override;

private:
    struct piece {
        brevo::geometry g;
        const fillinfo* fill;
    };
    std::vector<piece> pieces_;
    std::vector<patternsegment> lines_;
    double z_ = 0;
    brevo::trafo place_;
    bool transform_ = false;
    const fillinfo* linefill_ = nullptr;
    std::size_t next_ = 0;
    geometryinfo info_;
};

class hatchproducer {
public:
    // A record begins (an MPOLYGON, or a HATCH).
    void start(bool mpolygon) { record_.start(mpolygon); }
    void group(int code, const grouptable& t) { record_.group(code, t); }
    // The end of the record: what modes ask for goes out through e.
    void end(const grouptable& t, emitter& e, int modes, double tolerance);

private:
    // Fills that outlive the record: those of geometry kept in a block.
    fillinfo* newfill(bool kept);
    const char* keptname(const std::string& name, bool kept);
    void boundaries(const hatchdata& d, const brevo::trafo& place, bool transform, double tolerance, bool kept);
    void patterns(const hatchdata& d, const brevo::trafo& place, bool transform, visibility& shown, bool kept);

    hatchrecord record_;
    hatchsource source_;
    std::vector<std::vector<point2>> polygons_;
    std::vector<loopnest> nest_;
    std::vector<hatchpiece> pieces_;
    std::vector<fillinfo> fills_;   // the record's own, for geometry that goes to the caller
    std::size_t usedfills_ = 0;
    std::string pattern_;
    std::deque<fillinfo> kept_;     // for geometry kept in blocks
    std::deque<std::string> keptnames_;
    fillinfo base_;                 // what every fill of the record shares
};

}  // namespace ostra

#endif
