// The state of polyline assembly, one per reader: the previous vertex (its
// coordinates, and which of them had a text), the first vertex of an
// old-form polyline and the closed flag.
#ifndef OSTRA_READER_POLYLINE_H
#define OSTRA_READER_POLYLINE_H

#include <brevo/geometry.h>

namespace ostra {

struct polylinestate {
    bool closed = false;
    double prevx = 0, prevy = 0, prevz = 0;
    // Whether the text each coordinate came from was not empty: a vertex
    // counts as read once one of its coordinates had a text.
    bool hasx = false, hasy = false, hasz = false;
    brevo::point firstvertex;

    // A new polyline begins.
    void start();
    bool anyprev() const { return hasx || hasy || hasz; }
    // The previous vertex as a point.
    brevo::point prev() const { return brevo::point(prevx, prevy, prevz); }
};

}  // namespace ostra

#endif
