// The presets of text and areas, each written into a frame of the newer
// form; generate() picks them by the options' preset.
#ifndef OSTRA_BENCH_DXFPRESETS_H
#define OSTRA_BENCH_DXFPRESETS_H

#include <cstdio>
#include <string>

#include "dxfframe.h"
#include "dxfgen.h"

namespace dxfgen {

stats generatetext(FILE* out, const options& o);
stats generatehatch(FILE* out, const options& o);

struct xy {
    double x, y;
};
inline xy operator+(xy a, xy b) { return {a.x + b.x, a.y + b.y}; }
inline xy operator-(xy a, xy b) { return {a.x - b.x, a.y - b.y}; }
inline xy operator*(xy a, double k) { return {a.x * k, a.y * k}; }
// p turned counterclockwise by deg degrees.
xy turned(xy p, double deg);
// The unit vector at deg degrees.
xy direction(double deg);

// 10/20/30 (or 11/21/31 ... with first = 11) of a point at z = 0.
void point(sink& s, int first, xy p);

// One DIMENSION of the text preset, drawn from the generator's seed and the
// dimension's number alone, so that its block (written first) and its
// record (written later) agree.
struct dimension {
    int kind;        // 0 horizontal, 1 vertical, 2 aligned, 3 radius
    xy p1, p2;       // origins of the extension lines (radius: centre, point on the circle)
    xy def;          // 10: on the dimension line (radius: the centre)
    xy text;         // 11: the middle of the measurement
    double angle;    // direction of the dimension line, degrees
    double measure;  // 42
    bool plaintext;  // the measurement as TEXT, as older writers put it, else MTEXT
    bool override;   // group 1 says "<> mm"
};
dimension makedimension(std::uint64_t seed, long long index);
std::string dimensionblock(long long index);  // "*D1", "*D2", ...
// The block definition: dimension line, extension lines, arrows as SOLID,
// the measurement, the definition points on Defpoints.
void writedimensionblock(sink& s, frame& f, const dimension& d, long long index, handle record);
// The DIMENSION record in model space (and the circle a radius measures).
void writedimension(sink& s, frame& f, const dimension& d, long long index, const char* layer);

}  // namespace dxfgen

#endif
