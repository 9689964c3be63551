// Checks on the shape of the circles and arcs a reader returns, from what
// holds for every finite input, with placements of their own applied to them.
#ifndef OSTRA_FUZZ_SHAPES_H
#define OSTRA_FUZZ_SHAPES_H

#include <cstdint>

#include <brevo/geometry.h>

namespace ostrafuzz {

// The bytes that choose the placements: any values, different from one
// geometry to the next.
struct shapeseed {
    std::uint8_t scale, stretch, turn;
};

// Aborts with a message when a check fails:
// - every point of an arc, at any finite angle (its sweep, half of it, and
//   the drawing's own numbers as huge angles), lies on its circle within a
//   relative 1e-12;
// - an identity placement keeps a circle a circle and an arc an arc, of the
//   same radius; so does a uniform one (a rotation, perhaps a mirror, and
//   equal scales by a power of two);
// - a placement that stretches one axis in the curve's plane makes an
//   ellipse, however large the stretch.
// Curves with a number that is not finite are passed over, and a placement
// is only checked where the placed curve stays within the normal range of
// doubles.
void checkshape(const brevo::geometry& g, const shapeseed& seed);

}  // namespace ostrafuzz

#endif
