#include "reader/leader.h"

#include "reader/spline.h"

namespace ostra {

void leaderproducer::vertexgroup(int code, const grouptable& t) {
    addcoordinate(vertices_, code / 10 - 1, t.number(code));
}

void leaderproducer::end(const grouptable& t, emitter& e, chainsource& chain, double tolerance) {
    if (!e.test() || vertices_.size() < 2) return;
    const geometryinfo info = e.recordinfo();
    if (t.carried(72) && t.number(72) == 1 && vertices_.size() > 2) {
        // A spline path: the cubic through the vertices.
        splinedata d;
        std::swap(d.fit, vertices_);
        if (chain.startspline(d, tolerance, info)) e.emitall(chain);
        return;
    }
    chain.startpoints(vertices_, info);
    e.emitall(chain);
}

}  // namespace ostra
