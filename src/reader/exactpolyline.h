// The state of exact reading: polylines with bulges and closing pieces, and
// entities in their object coordinate systems.
#ifndef OSTRA_READER_EXACT_H
#define OSTRA_READER_EXACT_H

#include <cstddef>
#include <vector>

#include <brevo/geometry.h>

#include "reader/grouptable.h"

namespace ostra {

// The transformation from an entity's object coordinate system to world
// coordinates, from its extrusion direction (groups 210, 220, 230, counted
// only when the record carried them; absent means 0, 0, 1) by the DXF
// arbitrary axis algorithm.
brevo::trafo ocstrafo(const grouptable& t);

// The piece of a polyline from a to b (object coordinates) with the bulge of
// a: a segment for bulge 0, else an arc with included angle 4 atan(|bulge|),
// counterclockwise for a positive bulge; then placed by ocs.
brevo::geometry polylinepiece(const brevo::point& a, const brevo::point& b, double bulge,
                              const brevo::trafo& ocs);

struct exactpolyline {
    // Old form: fixed at the end of the POLYLINE header.
    brevo::trafo ocs;
    double elevation = 0;
    bool world = false;   // a 3D polyline: vertices are world coordinates
    bool skip = false;    // a mesh: its vertices are no chain
    bool closed = false;
    int vertices = 0;
    bool hasprev = false;
    brevo::point prev;    // previous vertex, object coordinates
    double prevbulge = 0;
    brevo::point first;

    // Light form: the vertices of the record, kept until its end, since its
    // extrusion direction follows them.
    struct lwvertex {
        double x, y, bulge;
    };
    bool light = false;
    std::vector<lwvertex> lw;     // the record being read
    std::vector<lwvertex> lwout;  // the record whose pieces are delivered
    // Delivery of the light form's pieces, one per call.
    std::size_t nextpiece = 0, pieces = 0;
    int layer = -1;
    double lwelevation = 0;
    bool lwclosed = false;
    brevo::trafo lwocs;

    void start(bool lightform);
    bool delivering() const { return nextpiece < pieces; }
    // Piece i of the light form (the closing piece last).
    brevo::geometry lwpiece(std::size_t i) const;
};

}  // namespace ostra

#endif
