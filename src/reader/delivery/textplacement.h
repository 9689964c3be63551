// A text kept in a block, placed by the insert that draws it: its points
// and axes go through the insert's transformation (mirroring and
// non-uniform scale included), its height and reference width with them.
#ifndef OSTRA_READER_TEXTPLACEMENT_H
#define OSTRA_READER_TEXTPLACEMENT_H

#include <brevo/types.h>
#include <ostra/text.h>

namespace ostra {

// Puts text t placed by m into out (its strings are t's) and returns &out.
// The height is the part of the placed up axis at right angles to the
// placed baseline (what a slant does not change), the width scales as the
// baseline does, the rotation is the placed baseline's.
const textinfo* placetext(const textinfo& t, const brevo::trafo& m, textinfo& out);

// The angle in degrees from the world x axis to v in the xy plane; 0 for
// a vector without an xy part.
double rotationof(const brevo::vector& v);

}  // namespace ostra

#endif
