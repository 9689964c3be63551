// Proxy graphics in the exact reading, when the host asks (setproxies):
// ACAD_PROXY_ENTITY records and entities of kinds the reader does not know
// give the primitives of their graphics (support/proxygraphics.h) as
// geometry of one item: polylines and polygons as segments, circles and
// arcs as circles and arcs (elliptic arcs where a transform stretched
// them), meshes and shells as their edges. Texts are left out.
//
// The graphics are the binary chunks (310) that follow the record's first
// 92 or 160 directly; any other group ends them (an ACAD_PROXY_ENTITY's
// entity data, after its 93, is not graphics). A chunk's value is hex
// digits; a pair that is no hex number ends the chunk. A stream that is cut
// or corrupt gives what came before the fault; every primitive left out
// and every fault counts under "*proxygraphics" among the skipped records.
#ifndef OSTRA_READER_PROXY_H
#define OSTRA_READER_PROXY_H

#include <string>
#include <vector>

#include "reader/delivery/emitter.h"
#include "reader/producers/hatch.h"
#include "reader/records/grouptable.h"

namespace ostra {

class proxyproducer {
public:
    // A record begins.
    void start();
    // A group of it, after its value is stored.
    void group(int code, const char* value, int length);
    // Whether the record carried graphics.
    bool hasgraphics() const { return !bytes_.empty(); }
    // The end of the record: its primitives go out through e.
    void end(emitter& e);

private:
    enum phase { before, inside, after };
    std::vector<unsigned char> bytes_;
    phase phase_ = before;
    hatchsource source_;
};

}  // namespace ostra

#endif
