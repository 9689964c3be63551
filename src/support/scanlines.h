// The sides of closed polygons met by parallel lines, swept in one pass:
// the edge table and active edge list that both the nesting of boundary
// loops and the clipping of pattern lines use.
//
// The lines run along a unit direction d; a point p has the coordinate
// u = p.d along them and w = p.n across them, n being d turned a quarter
// counterclockwise. A side from (u0, w0) to (u1, w1) meets the line at w when
// min(w0, w1) <= w < max(w0, w1) (half open, so a line through a vertex
// meets exactly one of its two sides where they go on in the same
// direction, and both or neither where they turn; sides along the line
// meet none), at u = u0 + (w - w0) (u1 - u0) / (w1 - w0) from the side's
// lower end. Crossings are given in no order.
//
// Work: start() sorts the sides (S log S for S sides); each call of
// crossings() costs the sides it adds and drops plus the sides active at w
// (met by the line); lines must come in increasing w.
#ifndef OSTRA_SUPPORT_SCANLINES_H
#define OSTRA_SUPPORT_SCANLINES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/point2.h"

namespace ostra {

struct crossing {
    double u;
    std::uint32_t loop;  // the polygon's index in the list given to start()
};

class scanlines {
public:
    // The sides of the polygons whose use flag is set (all when use is
    // empty), each polygon closed from its last point to its first, seen
    // along direction d (a unit vector). Points that are not finite (or
    // whose u or w is not: coordinates near the limit of doubles) are left
    // out with their sides, and so are sides beyond the 2^32 - 1st.
    void start(const std::vector<std::vector<point2>>& polygons, const std::vector<bool>& use, point2 d);

    // The range of w over the sides' ends; lo > hi when there are none.
    double wlo() const { return wlo_; }
    double whi() const { return whi_; }
    std::size_t sides() const { return sides_.size(); }

    // The crossings of the line at w into out (cleared first). Returns the
    // number of sides looked at (added, dropped and active).
    std::size_t crossings(double w, std::vector<crossing>& out);

    point2 along() const { return d_; }
    double u(const point2& p) const { return p.x * d_.x + p.y * d_.y; }
    double w(const point2& p) const { return p.y * d_.x - p.x * d_.y; }
    point2 at(double u, double w) const { return {u * d_.x - w * d_.y, u * d_.y + w * d_.x}; }

private:
    struct side {
        double wlo, whi, ulo, du;  // du: u at whi less u at wlo
        std::uint32_t loop;
    };
    std::vector<side> sides_;            // by wlo
    std::vector<std::uint32_t> active_;  // indices into sides_
    std::size_t next_ = 0;               // the next side to become active
    double wlo_ = 0, whi_ = 0;
    point2 d_{1, 0};
};

}  // namespace ostra

#endif
