// Layer 5, producers: a finished record becomes geometry, one file pair per family of records.
//
// The producers the dispatch (assembly/readerstate.cpp) calls. Each reads
// its record from the group table and hands what it makes to the emitter;
// none includes the assembly above it.
#ifndef OSTRA_READER_PRODUCERS_H
#define OSTRA_READER_PRODUCERS_H

#include "reader/producers/curves.h"
#include "reader/producers/exactpolyline.h"
#include "reader/producers/faces.h"
#include "reader/producers/hatch.h"
#include "reader/producers/inserts.h"
#include "reader/producers/leader.h"
#include "reader/producers/points.h"
#include "reader/producers/proxy.h"
#include "reader/producers/polyline.h"
#include "reader/producers/spline.h"
#include "reader/producers/texts.h"
#include "reader/producers/wipeout.h"

#endif
