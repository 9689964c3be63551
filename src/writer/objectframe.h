// The object coordinate system a record is written in: its extrusion
// direction as the file carries it, and the map from world coordinates to
// the record's own. A reader builds the frame from the printed extrusion by
// the arbitrary axis algorithm; the writer builds it from the same printed
// numbers, so that the coordinates it writes map back to where they were.
#ifndef OSTRA_WRITER_OBJECTFRAME_H
#define OSTRA_WRITER_OBJECTFRAME_H

#include <brevo/types.h>

namespace ostra {

class objectframe {
public:
    // The frame of the plane with normal n. A normal pointing below the xy
    // plane is turned over first (see turned()), so that flat geometry,
    // mirrored or not, is written in world coordinates.
    explicit objectframe(const brevo::vector& n);

    // Whether n was turned over: the geometry must then run the other way
    // about the frame's normal.
    bool turned() const { return turned_; }
    // Whether the frame is the world's (normal +z, or no usable normal): the
    // record needs no extrusion groups then.
    bool world() const { return world_; }
    // The extrusion groups' values: the normal rounded as the writer prints it.
    const brevo::vector& extrusion() const { return n_; }

    // The angle (radians) between the plane's normal and the printed one,
    // which a reader takes for it.
    double tilt() const { return tilt_; }

    brevo::point toobject(const brevo::point& p) const;
    brevo::vector toobject(const brevo::vector& v) const;

private:
    brevo::vector n_, ax_, ay_, az_;
    bool turned_ = false;
    bool world_ = true;
    double tilt_ = 0;
};

}  // namespace ostra

#endif
