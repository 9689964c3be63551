// Meshes in the exact reading: old-form polylines whose VERTEX records are
// no chain. A polyface mesh (POLYLINE group 70 bit 64) lists its vertices,
// then one face record per face (a VERTEX with vertex numbers 71 to 74,
// counted from 1); each face gives its edges, and a negative number hides
// the edge that starts at that vertex. A polygon mesh (bit 16) is a grid of
// M x N vertices (71 and 72), row after row; it gives its grid edges,
// closed in M by bit 1 and in N by bit 32, after its last vertex. A
// smoothed polygon mesh (bit 4 as well) holds its frame (VERTEX flag 16)
// and the surface fitted to it (flag 8), row after row with N the smooth
// surface's N density (74): the surface is drawn, as a CAD program draws
// it, closed as the frame is; without surface vertices or a density above 0
// the frame is drawn as a plain mesh. The vertices are kept until the mesh
// ends, since faces and rows refer back to them. Edges of length 0 are left
// out.
#ifndef OSTRA_READER_MESHES_H
#define OSTRA_READER_MESHES_H

#include <cstddef>
#include <vector>

#include <brevo/geometry.h>

#include "reader/delivery/emitter.h"
#include "reader/records/grouptable.h"
#include "reader/delivery/sink.h"

namespace ostra {

class meshproducer : public source {
public:
    // A mesh header ends (its groups in t: flags 70, the grid's M and N in
    // 71 and 72, the smooth surface's N density in 74); the mesh's pieces go
    // out on layer under the record name POLYLINE and props.
    void start(const grouptable& t, int layer, const recordprops* props, unsigned long long entity);
    // A VERTEX record of the mesh ends.
    void vertex(const grouptable& t, emitter& e);
    // The SEQEND record: a polygon mesh's grid.
    void end(emitter& e);

    bool fill(sink& s) override;

private:
    void face(const grouptable& t, emitter& e);
    bool gridedge(std::size_t k, brevo::lineseg& edge) const;
    void deliver(emitter& e);

    bool polyface_ = false;
    bool closedm_ = false, closedn_ = false;
    bool smoothed_ = false;  // a polygon mesh with a surface fitted to it
    std::size_t m_ = 0, n_ = 0, surfacen_ = 0;
    std::vector<brevo::point> vertices_;  // a smoothed mesh's frame
    std::vector<brevo::point> surface_;   // a smoothed mesh's surface
    geometryinfo info_;

    // What the source hands out: a face's edges, or the grid's.
    brevo::lineseg faceedges_[4];
    std::size_t count_ = 0, next_ = 0;
    bool grid_ = false;
};

}  // namespace ostra

#endif
