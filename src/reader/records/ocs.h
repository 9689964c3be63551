// A record's coordinates: its points as the group table holds them, its
// extrusion direction (groups 210, 220, 230) and the transformation from
// its object coordinates to world coordinates.
#ifndef OSTRA_READER_OCS_H
#define OSTRA_READER_OCS_H

#include <brevo/geometry.h>

#include "reader/records/grouptable.h"

namespace ostra {

// The point in slots x, x + 10 and x + 20: 10 for a record's first point,
// 11 for its second, and so on.
inline brevo::point slotpoint(const grouptable& t, int x) {
    return brevo::point(t.number(x), t.number(x + 10), t.number(x + 20));
}

// Whether the record carried an extrusion direction at all; without one it
// lies in world coordinates and needs no placing.
inline bool hasextrusion(const grouptable& t) { return t.carried(210) || t.carried(220) || t.carried(230); }

// The record's extrusion direction as given: groups 210, 220 and 230,
// counted only when the record carried them (absent means 0, 0, 1).
brevo::vector extrusion(const grouptable& t);

// The transformation from the record's object coordinate system to world
// coordinates, by the arbitrary axis algorithm; the identity when the
// extrusion direction is not usable (zero length or not finite).
brevo::trafo ocstrafo(const grouptable& t);

}  // namespace ostra

#endif
