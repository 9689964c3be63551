// Loop depths from one sweep with a line through each loop's test point.
#include "support/hatchnesting.h"

#include <algorithm>
#include <cstddef>

#include "support/scanlines.h"

namespace ostra {

namespace {

// How far inwards the test point lies, as a fraction of the side's length.
const double inset = 1e-6;

void applystyle(int style, std::vector<loopnest>& out) {
    for (loopnest& n : out) {
        n.outer = n.depth % 2 == 0;
        n.filled = style == styleoutermost ? n.depth <= 1 : style == styleignore ? n.depth == 0 : true;
    }
}

}  // namespace

double doublearea(const std::vector<point2>& polygon) {
    double sum = 0;
    const point2* origin = nullptr;
    const point2* last = nullptr;
    for (const point2& p : polygon) {
        if (!finite(p)) continue;
        if (!origin) origin = &p;
        else if (last) sum += cross(*last - *origin, p - *origin);
        last = &p;
    }
    return sum;
}

point2 testpoint(const std::vector<point2>& polygon) {
    std::size_t n = polygon.size();
    double best = 0;
    point2 a, b, first;
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        const point2& p = polygon[i];
        const point2& q = polygon[i + 1 < n ? i + 1 : 0];
        if (!finite(p)) continue;
        if (!any) first = p;
        any = true;
        double len = finite(q) ? length(q - p) : 0;
        if (len > best && std::isfinite(len)) best = len, a = p, b = q;
    }
    if (!(best > 0)) return first;
    point2 side = b - a;
    point2 inwards = point2{-side.y, side.x} * (inset * (doublearea(polygon) < 0 ? -1 : 1));
    return (a + b) * 0.5 + inwards;
}

bool nestloops(const std::vector<std::vector<point2>>& polygons, int style, std::vector<loopnest>& out) {
    std::size_t count = polygons.size();
    out.assign(count, loopnest());
    bool complete = true;
    if (count > 1) {
        std::vector<point2> tests(count);
        std::vector<std::uint32_t> order;
        for (std::size_t i = 0; i < count && i < UINT32_MAX; ++i) {
            tests[i] = testpoint(polygons[i]);
            if (finite(tests[i]) && !polygons[i].empty()) order.push_back(static_cast<std::uint32_t>(i));
        }
        std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return tests[a].y < tests[b].y; });
        scanlines scan;
        scan.start(polygons, std::vector<bool>(), point2{1, 0});
        std::uint64_t work = scan.sides();
        std::vector<crossing> xs;
        std::vector<unsigned char> parity(count);
        std::vector<std::uint32_t> touched;
        for (std::uint32_t i : order) {
            work += scan.crossings(tests[i].y, xs);
            if (work > maxnestwork) {
                complete = false;
                break;
            }
            for (const crossing& c : xs) {
                if (c.loop == i || !(c.u > tests[i].x)) continue;
                parity[c.loop] ^= 1;
                touched.push_back(c.loop);
            }
            int depth = 0;
            for (std::uint32_t t : touched) {
                depth += parity[t];
                parity[t] = 0;
            }
            touched.clear();
            out[i].depth = depth;
        }
    }
    applystyle(style, out);
    return complete;
}

}  // namespace ostra
