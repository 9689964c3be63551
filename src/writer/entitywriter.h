// The records of the extended mode: every kind of geometry with its layer
// and colour. Arcs and circles are written in the object coordinate system
// of their plane, points as POINT records, ellipses as chains of arcs and
// segments (see ellipsefit.h).
#ifndef OSTRA_WRITER_ENTITYWRITER_H
#define OSTRA_WRITER_ENTITYWRITER_H

#include <cstdio>

#include <brevo/geometry.h>

#include "writer/ellipsefit.h"

namespace ostra {

class entitywriter : private piecesink {
public:
    // Records go to stream on the given layer (a valid name) in the given
    // colour (0..256; 256 is the layer's and is not written).
    entitywriter(FILE* stream, const char* layer, int aci) : stream_(stream), layer_(layer), aci_(aci) {}

    // Writes g; false when g is invalid, an ellipse that is not approximable,
    // or a write failed (what was written of an ellipse then stays).
    bool save(const brevo::geometry& g);

private:
    bool point(const brevo::point& p);
    bool line(const brevo::lineseg& s);
    bool circle(const brevo::circle& c);
    bool ellipse(const brevo::ellipse& e);
    // A piece of an ellipse's chain; see snap() in the source.
    bool writearc(const brevo::arc& a, bool piece);
    bool piece(const brevo::arc& a) override { return writearc(a, true); }
    bool segment(const brevo::lineseg& s) override { return line(s); }
    double tilt(const brevo::vector& normal) const override;

    FILE* stream_;
    const char* layer_;
    int aci_;
};

}  // namespace ostra

#endif
