// The hatch preset: HATCH records of every fill and path kind, SOLID,
// TRACE, WIPEOUT and wide LWPOLYLINE records, lines of named linetypes, and
// blocks holding hatches inserted with linetypes of their own, in an R2010
// drawing (which gives spline edges their fit data).
#include <cmath>
#include <string>
#include <vector>

#include "dxfpresets.h"
#include "hatchpaths.h"

namespace dxfgen {

namespace {

// A line of a pattern as pattern files give it: angle, base point, offset
// (along the line and across it), dashes.
struct patternline {
    double angle;
    xy base, offset;
    std::vector<double> dashes;
};

struct pattern {
    const char* name;
    int type;  // 76: 0 user-defined, 1 predefined, 2 custom
    std::vector<patternline> lines;
};

const pattern patterns[] = {
    {"ANSI31", 1, {{45, {0, 0}, {0, 3.175}, {}}}},
    {"ANSI37", 1, {{45, {0, 0}, {0, 3.175}, {}}, {135, {0, 0}, {0, 3.175}, {}}}},
    {"ANSI33", 1, {{45, {0, 0}, {0, 6.35}, {}}, {45, {4.49013, 0}, {0, 6.35}, {3.175, -1.5875}}}},
    {"DASHDOT", 2, {{0, {0, 0}, {2, 5}, {6, -2, 0, -2}}}},
    {"_USER", 0, {{0, {0, 0}, {0, 4}, {}}}},
};

// ACI colours with their true colours, for the gradients.
const int gradientaci[] = {1, 2, 3, 4, 5, 6};
const long gradientrgb[] = {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF};
const char* const gradients[] = {"LINEAR", "CYLINDER", "INVCYLINDER", "SPHERICAL", "INVSPHERICAL",
                                 "HEMISPHERICAL", "INVHEMISPHERICAL", "CURVED", "INVCURVED"};

enum class fill { solid, pattern, gradient };

class hatchpreset {
public:
    hatchpreset(FILE* out, const options& o) : o_(o), r_(o.seed), s_(out, true, o.padded, o.crlf), f_(s_, "AC1024") {
        layers_ = presetlayers(o.layers < 1 ? 1 : o.layers, r_);
        blocks_ = o.blocks > 0 ? o.blocks : 3;
    }

    stats run() {
        stats st;
        long long target = static_cast<long long>(o_.megabytes * 1e6);
        std::vector<std::string> names;
        for (int i = 0; i < blocks_; ++i) names.push_back("HATCHED_" + std::to_string(i));
        f_.header(1);
        f_.classes({{"WIPEOUT", "AcDbWipeout", true}});
        f_.tables(layers_, names);
        f_.section("BLOCKS");
        f_.layoutblocks();
        for (int i = 0; i < blocks_; ++i) block(i);
        st.blocks = blocks_;
        f_.endsec();
        f_.section("ENTITIES");
        while (s_.bytes() < target) {
            entity(st);
            ++st.entities;
        }
        f_.endsec();
        f_.objects({});
        f_.endsec();
        s_.text(0, "EOF");
        s_.flush();
        st.bytes = s_.bytes();
        st.lines = s_.lines();
        return st;
    }

private:
    const char* layer() {
        if (r_.chance(0.3)) cur_ = 2 + r_.below(static_cast<int>(layers_.size()) - 2);
        return layers_[static_cast<std::size_t>(cur_)].name.c_str();
    }
    xy somewhere() { return {r_.range(-5000, 5000), r_.range(-5000, 5000)}; }

    void entity(stats& st) {
        double k = r_.unit();
        if (k < 0.22)
            hatch(layer(), frame::modelspace, fill::solid, st);
        else if (k < 0.47)
            hatch(layer(), frame::modelspace, fill::pattern, st);
        else if (k < 0.57)
            hatch(layer(), frame::modelspace, fill::gradient, st);
        else if (k < 0.65)
            quad("SOLID", st);
        else if (k < 0.69)
            quad("TRACE", st);
        else if (k < 0.73)
            wipeout(st);
        else if (k < 0.85)
            widepolyline(st);
        else if (k < 0.97)
            styledline();
        else
            insert(st);
        if (k < 0.85) ++st.areas;
    }

    // A HATCH: one to three nested loops (outer, hole, island in the hole)
    // or an outer loop with two holes side by side, under a random style.
    void hatch(const char* lay, handle owner, fill kind, stats& st) {
        const pattern& pat = patterns[r_.below(5)];
        f_.head("HATCH", lay, owner, "AcDbHatch");
        bool ocs = r_.chance(0.05);
        xy c = owner == frame::modelspace ? somewhere() : xy{0, 0};
        double a = r_.range(200, 1500), b = r_.range(200, 1500);
        if (ocs) c.x = -c.x;  // the object x axis of (0, 0, -1) is the world's -x
        point(s_, 10, {0, 0});
        s_.real(210, 0);
        s_.real(220, 0);
        s_.real(230, ocs ? -1 : 1);
        s_.text(2, kind == fill::pattern ? pat.name : "SOLID");
        s_.integer(70, kind == fill::pattern ? 0 : 1);
        s_.integer(71, 0);
        int nesting = r_.below(4);  // 0: one loop; 1: a hole; 2: a hole with an island; 3: two holes
        s_.integer(91, nesting == 0 ? 1 : nesting == 1 ? 2 : 3);
        auto shape = [this] { return static_cast<loopshape>(r_.below(loopshapes)); };
        loopshape outer = shape();
        st.vertices += writeloop(s_, r_, outer, c, a, b, 1 | (r_.chance(0.5) ? 16 : 0));
        if (nesting == 1 || nesting == 2) st.vertices += writeloop(s_, r_, shape(), c, a / 2, b / 2, 0);
        if (nesting == 2) st.vertices += writeloop(s_, r_, shape(), c, a / 4, b / 4, 0);
        if (nesting == 3) {
            st.vertices += writeloop(s_, r_, shape(), c + xy{-a / 2, 0}, a / 5, b / 3, 0);
            st.vertices += writeloop(s_, r_, shape(), c + xy{a / 2, 0}, a / 5, b / 3, 0);
        }
        s_.integer(75, r_.below(3));
        s_.integer(76, kind == fill::pattern ? pat.type : 1);
        if (kind == fill::pattern) patterndata(pat);
        // A seed point inside the outer loop, below every hole.
        s_.integer(98, 1);
        s_.real(10, c.x);
        s_.real(20, c.y - 0.75 * (outer == loopshape::circle && a < b ? a : b));
        if (kind == fill::gradient) gradient();
        if (kind == fill::solid && r_.chance(0.3)) {
            // The gradient groups of a solid fill: present, but saying solid.
            s_.integer(450, 0);
            s_.integer(451, 0);
            s_.integer(452, 0);
            s_.integer(453, 0);
            s_.real(460, 0);
            s_.real(461, 0);
            s_.real(462, 1);
            s_.text(470, "LINEAR");
        }
    }

    // 52, 41, 77, 78 and the lines, turned and scaled as the hatch's
    // angle and scale give them; a double user-defined hatch adds the
    // lines across.
    void patterndata(const pattern& p) {
        static const double scales[] = {1, 2, 5, 10, 20};
        static const double angles[] = {0, 0, 15, 30, 90};
        double scale = scales[r_.below(5)], angle = angles[r_.below(5)];
        bool twice = p.type == 0 && r_.chance(0.5);
        std::vector<patternline> lines = p.lines;
        if (twice) lines.push_back({90, {0, 0}, {0, 4}, {}});
        s_.real(52, angle);
        s_.real(41, scale);
        s_.integer(77, twice ? 1 : 0);
        s_.integer(78, static_cast<long long>(lines.size()));
        for (const patternline& l : lines) {
            xy base = turned(l.base * scale, angle), offset = turned(l.offset * scale, l.angle + angle);
            s_.real(53, l.angle + angle);
            s_.real(43, base.x);
            s_.real(44, base.y);
            s_.real(45, offset.x);
            s_.real(46, offset.y);
            s_.integer(79, static_cast<long long>(l.dashes.size()));
            for (double d : l.dashes) s_.real(49, d * scale);
        }
        if (r_.chance(0.5)) s_.real(47, scale * 0.5);
    }

    void gradient() {
        bool single = r_.chance(0.3);
        int first = r_.below(6), second = single ? first : r_.below(6);
        s_.integer(450, 1);
        s_.integer(451, 0);
        s_.integer(452, single ? 1 : 0);
        s_.integer(453, 2);
        s_.real(460, r_.chance(0.5) ? 0 : std::floor(r_.range(0, 628)) / 100);
        s_.real(461, r_.chance(0.5) ? 0 : 1);
        s_.real(462, single ? 0.5 : 0);
        for (int i = 0; i < 2; ++i) {
            int k = i == 0 ? first : second;
            s_.real(463, i);
            s_.integer(63, gradientaci[k]);
            // A single-colour gradient runs from the colour to its tint.
            s_.integer(421, i == 1 && single ? 0xFFFFFF : gradientrgb[k]);
        }
        s_.text(470, gradients[r_.below(9)]);
    }

    // SOLID and TRACE: four corners, the third and fourth swapped against
    // the outline; a SOLID with the fourth repeating the third is a triangle.
    void quad(const char* name, stats& st) {
        f_.head(name, layer(), frame::modelspace, "AcDbTrace");
        xy a = somewhere(), u = direction(std::floor(r_.range(0, 360))) * r_.range(50, 800);
        xy v = xy{-u.y, u.x} * (name[0] == 'T' ? 0.05 : r_.range(0.3, 1));
        bool triangle = name[0] == 'S' && r_.chance(0.3);
        point(s_, 10, a);
        point(s_, 11, a + u);
        point(s_, 12, triangle ? a + u * 0.5 + v : a + v);
        point(s_, 13, triangle ? a + u * 0.5 + v : a + u + v);
        st.vertices += 4;
    }

    // A WIPEOUT over a box: a rectangle or an octagon, which is the same
    // with the y axis of the image's pixels pointing up or down.
    void wipeout(stats& st) {
        f_.head("WIPEOUT", layer(), frame::modelspace, "AcDbWipeout");
        xy at = somewhere(), size{r_.range(100, 1000), r_.range(100, 1000)};
        bool octagon = r_.chance(0.5);
        s_.integer(90, 0);
        point(s_, 10, at);
        point(s_, 11, {size.x, 0});
        point(s_, 12, {0, size.y});
        s_.real(13, 1);
        s_.real(23, 1);
        s_.handle(340, 0);
        s_.integer(70, 7);
        s_.integer(280, 1);
        s_.integer(281, 50);
        s_.integer(282, 50);
        s_.integer(283, 0);
        s_.handle(360, 0);
        s_.integer(71, octagon ? 2 : 1);
        const double k = 0.2;
        const std::vector<xy> pixels =
            octagon ? std::vector<xy>{{-0.5 + k, -0.5}, {0.5 - k, -0.5}, {0.5, -0.5 + k}, {0.5, 0.5 - k},
                                      {0.5 - k, 0.5},   {-0.5 + k, 0.5}, {-0.5, 0.5 - k}, {-0.5, -0.5 + k},
                                      {-0.5 + k, -0.5}}
                    : std::vector<xy>{{-0.5, -0.5}, {0.5, 0.5}};
        s_.integer(91, static_cast<long long>(pixels.size()));
        for (xy p : pixels) {
            s_.real(14, p.x);
            s_.real(24, p.y);
        }
        s_.integer(290, 0);  // clipped outside the boundary
        st.vertices += static_cast<long long>(pixels.size());
    }

    // A wide LWPOLYLINE: one width for all (43), or start and end widths
    // per vertex (40, 41), now and then with bulges.
    void widepolyline(stats& st) {
        f_.head("LWPOLYLINE", layer(), frame::modelspace, "AcDbPolyline");
        int n = 2 + r_.below(8);
        bool constant = r_.chance(0.5), closed = r_.chance(0.3), bulges = r_.chance(0.3);
        s_.integer(90, n);
        s_.integer(70, closed ? 1 : 0);
        if (constant) s_.real(43, std::floor(r_.range(1, 100)));
        xy p = somewhere();
        for (int i = 0; i < n; ++i) {
            s_.real(10, p.x);
            s_.real(20, p.y);
            if (!constant) {
                s_.real(40, std::floor(r_.range(0, 80)));
                s_.real(41, std::floor(r_.range(0, 80)));
            }
            if (bulges) s_.real(42, i % 2 ? 0.5 : -0.25);
            p = p + xy{r_.range(-400, 400), r_.range(-400, 400)};
        }
        st.vertices += n;
    }

    void styledline() {
        static const char* const linetypes[] = {"DASHED", "CENTER", "DOT", "CONTINUOUS", "ByLayer"};
        static const int weights[] = {-1, 0, 25, 50, 100};
        props p;
        p.linetype = linetypes[r_.below(5)];
        if (r_.chance(0.5)) p.ltscale = r_.chance(0.5) ? 0.5 : 10;
        if (r_.chance(0.5)) p.lineweight = weights[r_.below(5)];
        f_.head("LINE", layer(), frame::modelspace, "AcDbLine", p);
        xy a = somewhere();
        point(s_, 10, a);
        point(s_, 11, a + xy{r_.range(-2000, 2000), r_.range(-2000, 2000)});
    }

    // A block of a hatch and lines whose linetype and colour are those of
    // the insert.
    void block(int i) {
        handle record = f_.record(static_cast<std::size_t>(i));
        f_.blockbegin("HATCHED_" + std::to_string(i), record, 0, 0, false);
        stats ignored;
        hatch("0", record, i % 3 == 0 ? fill::solid : i % 3 == 1 ? fill::pattern : fill::gradient, ignored);
        props byblock;
        byblock.linetype = "ByBlock";
        byblock.color = 0;
        byblock.lineweight = -2;
        f_.head("LINE", "0", record, "AcDbLine", byblock);
        point(s_, 10, {-1600, 0});
        point(s_, 11, {1600, 0});
        f_.blockend(record);
    }

    void insert(stats& st) {
        props p;
        p.linetype = r_.chance(0.5) ? "DASHED" : "CENTER";
        p.color = 1 + r_.below(7);
        p.lineweight = 35;
        f_.head("INSERT", layer(), frame::modelspace, "AcDbBlockReference", p);
        s_.text(2, ("HATCHED_" + std::to_string(r_.below(blocks_))).c_str());
        point(s_, 10, somewhere());
        double sx = r_.chance(0.7) ? 1 : 0.5, sy = r_.chance(0.8) ? sx : 2;
        if (r_.chance(0.2)) sx = -sx;
        s_.real(41, sx);
        s_.real(42, sy);
        s_.real(43, 1);
        s_.real(50, std::floor(r_.range(0, 360)));
        ++st.inserts;
    }

    options o_;
    rng r_;
    sink s_;
    frame f_;
    std::vector<layerdef> layers_;
    int blocks_;
    int cur_ = 2;
};

}  // namespace

stats generatehatch(FILE* out, const options& o) {
    hatchpreset p(out, o);
    return p.run();
}

}  // namespace dxfgen
