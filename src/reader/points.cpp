#include "reader/points.h"

#include <brevo/geometry.h>

namespace ostra {

void producepoint(const grouptable& t, emitter& e) {
    if (!e.test()) return;
    e.emit(brevo::geometry(brevo::point(t.number(10), t.number(20), t.number(30))));
}

}  // namespace ostra
