// Polylines in the exact reading: bulges become arcs, a closed polyline gets
// its piece from the last vertex back to the first, and 2D polylines lie in
// their object coordinate systems. The old form (POLYLINE, VERTEX, SEQEND)
// emits each piece when its end vertex's record ends. The light form
// (LWPOLYLINE) keeps its vertices as numbers until its record ends, since
// its extrusion direction follows them, and then delivers its pieces as a
// source, one per next() call.
#ifndef OSTRA_READER_EXACTPOLYLINE_H
#define OSTRA_READER_EXACTPOLYLINE_H

#include <cstddef>
#include <vector>

#include <brevo/geometry.h>

#include "reader/delivery/emitter.h"
#include "reader/records/grouptable.h"
#include "reader/producers/meshes.h"
#include "reader/delivery/sink.h"

namespace ostra {

// The piece of a polyline from a to b (object coordinates) with the bulge of
// a: a segment for bulge 0, else an arc with included angle 4 atan(|bulge|),
// counterclockwise for a positive bulge; then placed by ocs (none: world
// coordinates already).
brevo::geometry polylinepiece(const brevo::point& a, const brevo::point& b, double bulge,
                              const brevo::trafo* ocs);

class exactpolylineproducer : public source {
public:
    // A POLYLINE (light false) or LWPOLYLINE (light true) record begins.
    void start(bool light);
    bool light() const { return light_; }
    // A group 10, 20, 40, 41 or 42 of an LWPOLYLINE, after its value is
    // stored: 10 begins a vertex, the others belong to the vertex begun last.
    void lightgroup(int code, const grouptable& t);
    // The end of the POLYLINE or LWPOLYLINE record.
    void headerend(const grouptable& t, emitter& e);
    // The end of a VERTEX record: the piece from the previous vertex.
    void vertexend(const grouptable& t, emitter& e);
    // The end of SEQEND: the closing piece.
    void closing(emitter& e);

    // The light form's next piece.
    bool fill(sink& s) override;

private:
    struct lwvertex {
        double x, y, bulge;
    };
    // The widths a vertex gives (40, 41; -1 for one it does not give), kept
    // apart: most polylines have none.
    struct lwwidth {
        std::size_t vertex;
        double start, end;
    };
    brevo::geometry lightpiece(std::size_t i) const;
    void lightend(const grouptable& t, emitter& e, int flags);
    void emitpiece(emitter& e, const brevo::geometry& g);
#if defined(__GNUC__)
    __attribute__((noinline))
#endif
    void lightwidth(int code, const grouptable& t);

    bool light_ = false;

    // Old form: fixed at the end of the POLYLINE header.
    brevo::trafo ocs_;
    double elevation_ = 0;
    bool world_ = false;  // a 3D polyline: vertices are world coordinates
    bool skip_ = false;   // a mesh or a hidden polyline: its vertices are no chain
    int layer_ = -1;      // the header's layer: its pieces' layer
    bool meshing_ = false;  // the mesh takes the vertices
    meshproducer mesh_;
    bool closed_ = false;
    int vertices_ = 0;
    bool hasprev_ = false;
    brevo::point prev_;  // previous vertex, object coordinates
    double prevbulge_ = 0;
    brevo::point first_;
    recordprops header_;  // the header's handle and colour, for its pieces
    piecewidth defaultwidth_;  // the header's 40 and 41
    piecewidth prevwidth_;     // the previous vertex's widths
    piecewidth width_;         // the widths of the piece delivered last

    // Light form: the vertices of the record being read, and those of the
    // record whose pieces are being delivered (two buffers, so that a
    // polyline that follows at once may collect its own).
    std::vector<lwvertex> lw_;
    std::vector<lwvertex> lwout_;
    std::size_t nextpiece_ = 0, pieces_ = 0;
    geometryinfo info_;  // the LWPOLYLINE's layer, name and record, for its handle and colour
    double lwelevation_ = 0;
    brevo::trafo lwocs_;
    bool lwplaced_ = false;  // the light form has an extrusion direction
    std::vector<lwwidth> lwwidths_;     // of the record being read
    std::vector<piecewidth> lwwide_;    // of the record being delivered, one per vertex, or none
};

}  // namespace ostra

#endif
