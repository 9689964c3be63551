#include "reader/producers/points.h"

#include <brevo/geometry.h>

#include "reader/records/ocs.h"

namespace ostra {

void producepoint(const grouptable& t, emitter& e) {
    if (!e.test()) return;
    e.emit(brevo::geometry(slotpoint(t, 10)));
}

}  // namespace ostra
