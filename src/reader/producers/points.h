// POINT records: one point geometry each, made at the end of the record when
// the emit test passes. Read only in the exact reading.
#ifndef OSTRA_READER_POINTS_H
#define OSTRA_READER_POINTS_H

#include "reader/delivery/emitter.h"
#include "reader/records/grouptable.h"

namespace ostra {

// A point at (10, 20, 30), world coordinates. The record's extrusion
// direction (210, 220, 230) does not move it.
void producepoint(const grouptable& t, emitter& e);

}  // namespace ostra

#endif
