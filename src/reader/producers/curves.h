// LINE, ARC, CIRCLE and ELLIPSE records: one geometry each, made at the end
// of the record when the emit test passes.
#ifndef OSTRA_READER_CURVES_H
#define OSTRA_READER_CURVES_H

#include "reader/delivery/emitter.h"
#include "reader/records/grouptable.h"

namespace ostra {

// A segment from (10, 20, 30) to (11, 21, 31).
void produceline(const grouptable& t, emitter& e);
// An arc about (10, 20, 30) of radius 40 from angle 50 to angle 51
// (degrees), counterclockwise; the end is taken 360 further once when it is
// below the start. The exact reading places it by its extrusion direction.
void producearc(const grouptable& t, emitter& e, bool exact);
// A circle about (10, 20, 30) of radius 40, likewise.
void producecircle(const grouptable& t, emitter& e, bool exact);
// An elliptic arc (exact reading only): centre 10, 20, 30; major semi-axis
// 11, 21, 31; axis ratio 40; start and end parameter 41 and 42 (radians);
// normal 210, 220, 230.
void produceellipse(const grouptable& t, emitter& e);

}  // namespace ostra

#endif
