// The geometry library's umbrella header: a geometry holds one point or one
// curve of a kind named by its geotype, or nothing (invalid).
#ifndef BREVO_GEOMETRY_H
#define BREVO_GEOMETRY_H

#include "curves.h"
#include "types.h"

namespace brevo {

class geometry {
public:
    enum geotype { none = 0, singlepoint = 1, linesegment = 4, circulararc = 5, ellipticarc = 6, fullcircle = 9 };

    geometry();  // invalid
    geometry(const point& p);
    geometry(const lineseg& s);
    geometry(const arc& a);
    geometry(const circle& c);
    geometry(const ellipse& e);

    geometry(const geometry& o) = default;
    geometry& operator=(const geometry& o) = default;

    // A transformed copy; the operand is unchanged. Points stay points and
    // segments stay segments.
    // A circle or arc stays one as long as the transformation keeps its plane
    // conformal (rotation, mirror, uniform scale); otherwise it becomes an
    // ellipse. A mirror reverses the orientation of arcs, so every point of
    // the result lies where the transformation puts it.
    geometry operator*(const trafo& t) const;

    void setinvalid();
    bool invalid() const;
    bool isof(const geotype& t) const;
    geotype type() const;

    // The held point or curve, or null when the geometry holds another kind.
    const point* pt() const;
    const lineseg* lns() const;
    const arc* ar() const;
    const circle* cr() const;
    const ellipse* el() const;

private:
    geotype type_;
    union {
        point pt_;
        lineseg ls_;
        arc ar_;
        circle cr_;
        ellipse el_;
    };
};

}  // namespace brevo

#endif
