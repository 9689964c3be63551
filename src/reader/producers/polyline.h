// Polylines in the default reading: POLYLINE with its VERTEX and SEQEND
// records, and LWPOLYLINE, as chains of straight segments, each segment
// emitted as soon as its end vertex is complete. Nothing is kept beyond the
// previous vertex, the first vertex and the closed flag.
#ifndef OSTRA_READER_POLYLINE_H
#define OSTRA_READER_POLYLINE_H

#include <brevo/geometry.h>

#include "reader/delivery/emitter.h"
#include "reader/records/grouptable.h"

namespace ostra {

class polylineproducer {
public:
    // A POLYLINE (light false) or LWPOLYLINE (light true) record begins.
    void start(bool light);
    // A group 10, 20 or 30 of that record, before its value is stored: in an
    // LWPOLYLINE the group 10 that begins vertex k+2 completes vertex k+1,
    // and the segment from vertex k to it is emitted.
    void vertexgroup(int code, const grouptable& t, emitter& e);
    // The end of the POLYLINE or LWPOLYLINE record (vertex false) or of a
    // VERTEX record (vertex true).
    void vertexend(bool vertex, const grouptable& t, emitter& e);
    // The end of SEQEND: a closed polyline's segment from its first vertex
    // to its last.
    void closing(emitter& e);

private:
    bool anyprev() const { return hasx_ || hasy_ || hasz_; }
    brevo::point prev() const { return brevo::point(prevx_, prevy_, prevz_); }

    bool closed_ = false;
    double prevx_ = 0, prevy_ = 0, prevz_ = 0;
    // Whether the text each coordinate came from was not empty: a vertex
    // counts as read once one of its coordinates had a text.
    bool hasx_ = false, hasy_ = false, hasz_ = false;
    brevo::point first_;
    bool light_ = false;
    recordprops header_;  // the POLYLINE header's handle and colour, for its pieces
};

}  // namespace ostra

#endif
