// The state of polyline assembly, one per reader: the previous vertex as the
// coordinate texts read, the first vertex of an old-form polyline and the
// closed flag.
#ifndef OSTRA_READER_POLYLINE_H
#define OSTRA_READER_POLYLINE_H

#include <brevo/geometry.h>

#include "reader/grouptable.h"

namespace ostra {

struct polylinestate {
    bool closed = false;
    char prevx[grouptable::slotsize] = "";
    char prevy[grouptable::slotsize] = "";
    char prevz[grouptable::slotsize] = "";
    brevo::point firstvertex;

    // A new polyline begins.
    void start();
    bool anyprev() const { return prevx[0] || prevy[0] || prevz[0]; }
    // The previous vertex as a point.
    brevo::point prev() const;
    // The previous vertex becomes the one in slots 10, 20 and 30.
    void advance(const grouptable& t);
};

}  // namespace ostra

#endif
