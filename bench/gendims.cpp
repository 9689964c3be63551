// The dimensions of the text preset: their geometry, their anonymous blocks
// and their records.
#include <cmath>
#include <cstdio>

#include "dxfpresets.h"

namespace dxfgen {

namespace {

// Sizes of the STANDARD dimension style times its overall scale (20).
constexpr double textheight = 50, arrow = 50, offset = 12.5, beyond = 25, gap = 12.5;

xy unit(xy v) {
    double n = std::hypot(v.x, v.y);
    return n > 0 ? v * (1 / n) : xy{1, 0};
}

void line(sink& s, frame& f, handle owner, const char* layer, xy a, xy b) {
    props byblock;
    byblock.color = 0;
    f.head("LINE", layer, owner, "AcDbLine", byblock);
    point(s, 10, a);
    point(s, 11, b);
}

// A closed filled arrow: its tip at tip, pointing against along.
void arrowhead(sink& s, frame& f, handle owner, xy tip, xy along) {
    props byblock;
    byblock.color = 0;
    xy base = tip + along * arrow, side = xy{-along.y, along.x} * (arrow / 6);
    f.head("SOLID", "0", owner, "AcDbTrace", byblock);
    point(s, 10, tip);
    point(s, 11, base + side);
    point(s, 12, base - side);
    point(s, 13, base - side);
}

void defpoint(sink& s, frame& f, handle owner, xy p) {
    f.head("POINT", "Defpoints", owner, "AcDbPoint");
    point(s, 10, p);
}

std::string measurement(const dimension& d) {
    char b[64];
    std::snprintf(b, sizeof b, "%s%.0f%s", d.kind == 3 ? "R" : "", d.measure, d.override ? " mm" : "");
    return b;
}

}  // namespace

dimension makedimension(std::uint64_t seed, long long index) {
    rng r(seed ^ (0xD1B54A32D192ED03ull * static_cast<std::uint64_t>(index + 1)));
    dimension d{};
    d.kind = static_cast<int>(index % 4);
    d.plaintext = index % 5 == 4;
    d.override = index % 7 == 3 && d.kind != 3;
    xy at{r.range(-5000, 5000), r.range(-5000, 5000)};
    double h = r.range(150, 400);
    if (d.kind == 3) {
        double radius = r.range(100, 600), a = r.range(0, 360);
        xy u = direction(a);
        d.p1 = d.def = at;
        d.p2 = at + u * radius;
        d.angle = a;
        d.measure = radius;
        d.text = at + u * (radius / 2) + xy{-u.y, u.x} * (gap + textheight / 2);
        return d;
    }
    double length = r.range(200, 2000), skew = r.range(-100, 100);
    d.p1 = at;
    if (d.kind == 0) {
        d.p2 = at + xy{length, skew};
        d.angle = 0;
    } else if (d.kind == 1) {
        d.p2 = at + xy{skew, length};
        d.angle = 90;
    } else {
        d.p2 = at + direction(r.range(0, 180)) * length;
        d.angle = std::atan2(d.p2.y - d.p1.y, d.p2.x - d.p1.x) * 180 / 3.14159265358979323846;
    }
    // The dimension line stands h beyond the outer of the two points.
    xy u = direction(d.angle), n{-u.y, u.x};
    double o1 = d.p1.x * n.x + d.p1.y * n.y, o2 = d.p2.x * n.x + d.p2.y * n.y;
    double out = (o1 > o2 ? o1 : o2) + h;
    xy foot2 = d.p2 + n * (out - o2), foot1 = d.p1 + n * (out - o1);
    d.def = foot2;
    d.measure = std::fabs((foot2 - foot1).x * u.x + (foot2 - foot1).y * u.y);
    d.text = (foot1 + foot2) * 0.5 + n * (gap + textheight / 2);
    return d;
}

std::string dimensionblock(long long index) { return "*D" + std::to_string(index + 1); }

void writedimensionblock(sink& s, frame& f, const dimension& d, long long index, handle record) {
    f.blockbegin(dimensionblock(index), record, 0, 0, true);
    xy u = direction(d.angle), n{-u.y, u.x};
    if (d.kind == 3) {
        line(s, f, record, "0", d.p1, d.p2);
        arrowhead(s, f, record, d.p2, u * -1);
    } else {
        double out = d.def.x * n.x + d.def.y * n.y;
        double o1 = d.p1.x * n.x + d.p1.y * n.y, o2 = d.p2.x * n.x + d.p2.y * n.y;
        xy foot1 = d.p1 + n * (out - o1), foot2 = d.p2 + n * (out - o2);
        line(s, f, record, "0", foot1, foot2);
        line(s, f, record, "0", d.p1 + n * offset, foot1 + n * beyond);
        line(s, f, record, "0", d.p2 + n * offset, foot2 + n * beyond);
        xy along = unit(foot2 - foot1);
        arrowhead(s, f, record, foot1, along);
        arrowhead(s, f, record, foot2, along * -1);
    }
    props byblock;
    byblock.color = 0;
    // The measurement reads along the dimension line, never upside down.
    double reading = d.angle > 90.0001 && d.angle <= 270 ? d.angle - 180 : d.angle;
    if (d.plaintext) {
        f.head("TEXT", "0", record, "AcDbText", byblock);
        point(s, 10, d.text);
        s.real(40, textheight);
        s.text(1, measurement(d).c_str());
        if (reading != 0) s.real(50, reading);
        s.integer(72, 4);
        point(s, 11, d.text);
        s.text(100, "AcDbText");
    } else {
        f.head("MTEXT", "0", record, "AcDbMText", byblock);
        point(s, 10, d.text);
        s.real(40, textheight);
        s.real(41, 0);
        s.integer(71, 5);
        s.integer(72, 1);
        s.text(1, ("\\A1;" + measurement(d)).c_str());
        if (reading != 0) {
            xy x = direction(reading);
            s.real(11, x.x);
            s.real(21, x.y);
            s.real(31, 0);
        }
    }
    defpoint(s, f, record, d.p1);
    defpoint(s, f, record, d.kind == 3 ? d.p2 : d.def);
    if (d.kind != 3) defpoint(s, f, record, d.p2);
    f.blockend(record);
}

void writedimension(sink& s, frame& f, const dimension& d, long long index, const char* layer) {
    if (d.kind == 3) {
        f.head("CIRCLE", layer, frame::modelspace, "AcDbCircle");
        point(s, 10, d.p1);
        s.real(40, d.measure);
    }
    f.head("DIMENSION", layer, frame::modelspace, "AcDbDimension");
    s.text(2, dimensionblock(index).c_str());
    point(s, 10, d.def);
    point(s, 11, d.text);
    // 32: the block belongs to this dimension alone; then the kind.
    s.integer(70, 32 + (d.kind == 3 ? 4 : d.kind == 2 ? 1 : 0));
    if (d.override) s.text(1, "<> mm");
    s.integer(71, 5);
    s.real(42, d.measure);
    s.text(3, "STANDARD");
    if (d.kind == 3) {
        s.text(100, "AcDbRadialDimension");
        point(s, 15, d.p2);
        s.real(40, 0);
        return;
    }
    s.text(100, "AcDbAlignedDimension");
    point(s, 13, d.p1);
    point(s, 14, d.p2);
    if (d.kind == 2) return;
    s.real(50, d.angle);
    s.text(100, "AcDbRotatedDimension");
}

}  // namespace dxfgen
