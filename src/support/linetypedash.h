// A polyline cut into the dashes of a linetype, the pattern running on
// across the vertices (one pattern along the whole polyline, as a CAD
// program draws a polyline with linetype generation on).
//
// The pattern: the element lengths of the LTYPE (49), a dash when
// positive, a gap when negative, a dot when 0, each times the scale (the
// linetype scale with $LTSCALE and the entity's 48 applied by the caller).
// Its period is the sum of the elements' magnitudes (LTYPE 40 repeats
// that and is not needed). The pattern begins at the polyline's first point
// with the first element, moved on by phase (drawing units; a phase of p
// starts p into the pattern).
//
// A dash that runs across a vertex bends with the polyline: it is a chain
// of the point where it begins, the vertices it passes and the point where
// it ends. A dot is a dash of one point. Dashes are cut at the polyline's
// end.
//
// Bounds: when the pattern cannot be laid (no elements, a scale or element
// that is not finite, a scale of 0 or less, a period of 0, no element that
// draws) or would repeat more than maxdashperiods times along the polyline,
// the whole polyline is one dash and the result says solid. Otherwise the
// work is the vertices plus the elements looked at, at most
// (maxdashperiods + 1) times the elements.
#ifndef OSTRA_SUPPORT_LINETYPEDASH_H
#define OSTRA_SUPPORT_LINETYPEDASH_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <brevo/types.h>

namespace ostra {

constexpr double maxdashperiods = 100000;

struct dashchains {
    std::vector<brevo::point> points;   // the dashes' points, one dash after the other
    std::vector<std::size_t> starts;    // where each dash begins in points
    bool solid = false;                 // the pattern was not laid: one dash, the whole polyline

    std::size_t count() const { return starts.size(); }
    // The number of points of dash i.
    std::size_t size(std::size_t i) const { return (i + 1 < starts.size() ? starts[i + 1] : points.size()) - starts[i]; }
};

// The dashes of the polyline p[0] ... p[n - 1] into out (cleared first).
// Points that are not finite are left out.
void dashpolyline(const brevo::point* p, std::size_t n, const std::vector<double>& elements, double scale,
                  dashchains& out, double phase = 0);

}  // namespace ostra

#endif
