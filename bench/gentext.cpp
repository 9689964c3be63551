// The text preset: TEXT, MTEXT, attributes and dimensions in an R2000
// drawing (code page ANSI_1252; characters beyond it as \U+ escapes).
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dxfpresets.h"
#include "textcontent.h"

namespace dxfgen {

xy turned(xy p, double deg) {
    double a = deg * 3.14159265358979323846 / 180, c = std::cos(a), s = std::sin(a);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

xy direction(double deg) { return turned({1, 0}, deg); }

void point(sink& s, int first, xy p) {
    s.real(first, p.x);
    s.real(first + 10, p.y);
    s.real(first + 20, 0);
}

namespace {

// The alignments of TEXT: 72 (left, center, right, aligned, middle, fit)
// with 73 (baseline, bottom, middle, top) where 72 allows it.
const int alignments[][2] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {0, 1}, {1, 1},
                             {2, 1}, {0, 2}, {1, 2}, {2, 2}, {0, 3}, {1, 3}, {2, 3}};

// Where the alignment point stands on a line of text, in parts of its
// width and height.
double alongx(int h) { return h == 1 || h == 4 ? 0.5 : h == 2 ? 1 : 0; }
double alongy(int h, int v) { return h == 4 || v == 2 ? 0.5 : v == 3 ? 1 : v == 1 ? -0.2 : 0; }

// The attribute definitions of a block: tag, prompt, default, flags, where,
// height, rotation, 72, 74.
struct attdef {
    const char* tag;
    const char* prompt;
    const char* value;
    int flags;
    xy at;
    double height, rotation;
    int h, v;
};

std::vector<attdef> attdefs(int kind) {
    switch (kind) {
    case 0:
        return {{"NAME", "Room name", "ROOM", 0, {50, 350}, 150, 0, 0, 0},
                {"NUMBER", "Room number", "000", 0, {600, 80}, 100, 0, 1, 0},
                {"AREA", "Area", "0.00 m\\U+00B2", 1, {1150, 80}, 80, 0, 2, 0},
                {"KIND", "", "ROOM", 2, {50, 520}, 60, 0, 0, 0}};
    case 1:
        return {{"NUMBER", "Door number", "D00", 0, {0, 0}, 150, 0, 4, 0},
                {"TYPE", "Door type", "T90", 1, {0, -200}, 80, 0, 1, 3}};
    case 2:
        return {{"TITLE", "Title", "PLAN", 0, {100, 600}, 200, 0, 5, 0},
                {"DATE", "Date", "2024-01-01", 0, {100, 150}, 120, 0, 3, 0},
                {"SCALE", "", "1:50", 2, {2000, 150}, 120, 0, 2, 0},
                {"DRAWN", "Drawn by", "--", 4, {2900, 150}, 100, 0, 2, 1}};
    default:
        return {{"LEVEL", "Level", "+0.00", 0, {0, 400}, 120, 0, 0, 3},
                {"NOTE", "Note", "see plan", 8, {-300, 0}, 80, 90, 1, 2}};
    }
}

class textpreset {
public:
    textpreset(FILE* out, const options& o)
        : o_(o), r_(o.seed), s_(out, true, o.padded, o.crlf), f_(s_, "AC1015"), c_(r_) {
        layers_ = presetlayers(o.layers < 1 ? 1 : o.layers, r_);
        layers_.push_back({"DIMENSIONS", 3, "CONTINUOUS", 18});
        blocks_ = o.blocks > 0 ? o.blocks : 4;
    }

    stats run() {
        stats st;
        long long target = static_cast<long long>(o_.megabytes * 1e6);
        long long dims = target / 12000 < 2 ? 2 : target / 12000;
        std::vector<std::string> names;
        for (int i = 0; i < blocks_; ++i) names.push_back(blockname(i));
        for (long long i = 0; i < dims; ++i) names.push_back(dimensionblock(i));
        f_.header(1);
        f_.classes({});
        f_.tables(layers_, names);
        f_.section("BLOCKS");
        f_.layoutblocks();
        for (int i = 0; i < blocks_; ++i) attributeblock(i);
        for (long long i = 0; i < dims; ++i)
            writedimensionblock(s_, f_, makedimension(o_.seed, i), i, f_.record(static_cast<std::size_t>(blocks_ + i)));
        st.blocks = blocks_ + dims;
        f_.endsec();
        f_.section("ENTITIES");
        long long start = s_.bytes(), span = target - start < 1 ? 1 : target - start;
        while (s_.bytes() < target || st.dimensions < dims) {
            long long due = static_cast<long long>(static_cast<double>(dims) * static_cast<double>(s_.bytes() - start) /
                                                   static_cast<double>(span));
            if (st.dimensions < dims && (due > st.dimensions || s_.bytes() >= target)) {
                writedimension(s_, f_, makedimension(o_.seed, st.dimensions), st.dimensions, "DIMENSIONS");
                ++st.dimensions;
                ++st.entities;
                continue;
            }
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
    std::string blockname(int i) const {
        static const char* const kinds[] = {"TAG_ROOM", "TAG_DOOR", "TITLE", "LEVEL"};
        return std::string(kinds[i % 4]) + "_" + std::to_string(i);
    }
    const char* layer() {
        if (r_.chance(0.3)) cur_ = 2 + r_.below(static_cast<int>(layers_.size()) - 3);
        return layers_[static_cast<std::size_t>(cur_)].name.c_str();
    }
    xy somewhere() { return {r_.range(-5000, 5000), r_.range(-5000, 5000)}; }

    void entity(stats& st) {
        double k = r_.unit();
        if (k < 0.35) {
            text();
            ++st.texts;
        } else if (k < 0.55) {
            mtext();
            ++st.texts;
        } else if (k < 0.65) {
            st.texts += insert();
            ++st.inserts;
        } else if (k < 0.8) {
            f_.head("LINE", layer(), frame::modelspace, "AcDbLine");
            xy a = somewhere();
            point(s_, 10, a);
            point(s_, 11, a + xy{r_.range(-500, 500), r_.range(-500, 500)});
        } else {
            f_.head("LWPOLYLINE", layer(), frame::modelspace, "AcDbPolyline");
            xy a = somewhere(), size{r_.range(500, 3000), r_.range(500, 3000)};
            s_.integer(90, 4);
            s_.integer(70, 1);
            const xy corners[] = {a, a + xy{size.x, 0}, a + size, a + xy{0, size.y}};
            for (xy c : corners) {
                s_.real(10, c.x);
                s_.real(20, c.y);
            }
            st.vertices += 4;
        }
    }

    // The groups of the AcDbText subclass from 10 to 11, shared by TEXT,
    // ATTDEF and ATTRIB (they differ in what follows).
    // middle, when given, runs after group 1 and writes 74 (v) before 11:
    // the order in which the format's table lists the groups of ATTRIB.
    void textbody(xy anchor, double height, const std::string& content, double rotation, int h, int v,
                  double width, double oblique, const char* style, int mirror,
                  const std::function<void()>& middle = nullptr) {
        double w = 0.6 * height * width * static_cast<double>(content.size() < 40 ? content.size() : 40);
        // 10 is where the text starts; 11 the alignment point (aligned and
        // fit: the baseline's end).
        xy first = anchor - turned({w * alongx(h), height * alongy(h, v)}, rotation);
        if (h == 3 || h == 5) first = anchor;
        xy second = h == 3 || h == 5 ? anchor + direction(rotation) * w : anchor;
        point(s_, 10, first);
        s_.real(40, height);
        s_.text(1, content.c_str());
        if (middle) middle();
        if (rotation != 0) s_.real(50, rotation);
        if (width != 1) s_.real(41, width);
        if (oblique != 0) s_.real(51, oblique);
        if (style) s_.text(7, style);
        if (mirror) s_.integer(71, mirror);
        if (h) s_.integer(72, h);
        if (middle && v) s_.integer(74, v);
        if (h || v) point(s_, 11, second);
    }

    void text() {
        const int* a = alignments[r_.below(15)];
        static const double heights[] = {2.5, 3.5, 5, 10, 25, 50, 100, 200};
        double height = heights[r_.below(8)];
        double rotation = r_.chance(0.5) ? 0 : r_.chance(0.4) ? 90 : std::floor(r_.range(0, 360) * 100) / 100;
        double width = r_.chance(0.1) ? std::floor(r_.range(50, 150)) / 100 : 1;
        double oblique = r_.chance(0.05) ? 15 : 0;
        const char* style = r_.chance(0.8) ? nullptr : r_.chance(0.5) ? "NARROW" : "FIXED";
        int mirror = r_.chance(0.05) ? 2 * (1 + r_.below(2)) : 0;
        bool ocs = r_.chance(0.02);
        f_.head("TEXT", layer(), frame::modelspace, nullptr);
        s_.text(100, "AcDbText");
        textbody(somewhere(), height, c_.line(), rotation, a[0], a[1], width, oblique, style, mirror);
        if (ocs) {
            s_.real(210, 0);
            s_.real(220, 0);
            s_.real(230, -1);
        }
        s_.text(100, "AcDbText");
        if (a[1]) s_.integer(73, a[1]);
    }

    void mtext() {
        f_.head("MTEXT", layer(), frame::modelspace, "AcDbMText");
        point(s_, 10, somewhere());
        double height = r_.chance(0.5) ? 2.5 : 50 * (1 + r_.below(4));
        s_.real(40, height);
        s_.real(41, r_.chance(0.3) ? 0 : height * (10 + r_.below(40)));
        s_.integer(71, 1 + r_.below(9));
        s_.integer(72, r_.chance(0.8) ? 1 : 5);
        std::string content = c_.paragraphs(r_.chance(0.15));
        // Chunks of 250 chars in group 3, the rest in group 1.
        std::size_t at = 0;
        for (; content.size() - at >= 250; at += 250) s_.text(3, content.substr(at, 250).c_str());
        s_.text(1, content.substr(at).c_str());
        if (r_.chance(0.2)) s_.text(7, "NARROW");
        double k = r_.unit();
        if (k < 0.3) {
            xy x = direction(std::floor(r_.range(0, 360)));
            s_.real(11, x.x);
            s_.real(21, x.y);
            s_.real(31, 0);
        } else if (k < 0.4) {
            s_.real(50, std::floor(r_.range(0, 360)));  // degrees, as writers put it
        }
        if (r_.chance(0.3)) {
            s_.integer(73, 1 + r_.below(2));
            s_.real(44, r_.chance(0.5) ? 1.5 : 0.75);
        }
    }

    void attributeblock(int i) {
        handle record = f_.record(static_cast<std::size_t>(i));
        f_.blockbegin(blockname(i), record, 0, 0, false);
        int kind = i % 4;
        if (kind == 1) {
            f_.head("CIRCLE", "0", record, "AcDbCircle");
            point(s_, 10, {0, 0});
            s_.real(40, 300);
        } else {
            f_.head("LWPOLYLINE", "0", record, "AcDbPolyline");
            const std::vector<xy> outline = kind == 0   ? std::vector<xy>{{0, 0}, {1200, 0}, {1200, 600}, {0, 600}}
                                            : kind == 2 ? std::vector<xy>{{0, 0}, {3000, 0}, {3000, 1000}, {0, 1000}}
                                                        : std::vector<xy>{{-200, 0}, {200, 0}, {0, 300}};
            s_.integer(90, static_cast<long long>(outline.size()));
            s_.integer(70, 1);
            for (xy p : outline) {
                s_.real(10, p.x);
                s_.real(20, p.y);
            }
        }
        for (const attdef& a : attdefs(kind)) {
            f_.head("ATTDEF", "0", record, "AcDbText");
            textbody(a.at, a.height, a.value, a.rotation, a.h, a.v, 1, 0, nullptr, 0);
            s_.text(100, "AcDbAttributeDefinition");
            s_.text(3, a.prompt);
            s_.text(2, a.tag);
            s_.integer(70, a.flags);
            if (a.v) s_.integer(74, a.v);
        }
        f_.blockend(record);
    }

    // An INSERT with 66 = 1, an ATTRIB for each attribute that is not
    // constant, placed as the insert places its definition, and SEQEND.
    int insert() {
        int b = r_.below(blocks_);
        const char* lay = layer();
        handle ins = f_.head("INSERT", lay, frame::modelspace, "AcDbBlockReference");
        xy at = somewhere();
        double scale = r_.chance(0.5) ? 1 : std::floor(r_.range(50, 200)) / 100;
        double rotation = r_.chance(0.5) ? 0 : std::floor(r_.range(0, 360));
        s_.integer(66, 1);
        s_.text(2, blockname(b).c_str());
        point(s_, 10, at);
        if (scale != 1) {
            s_.real(41, scale);
            s_.real(42, scale);
            s_.real(43, scale);
        }
        if (rotation != 0) s_.real(50, rotation);
        int n = 0;
        for (const attdef& a : attdefs(b % 4)) {
            if (a.flags & 2) continue;
            f_.head("ATTRIB", lay, ins, "AcDbText");
            xy p = at + turned(a.at * scale, rotation);
            auto attribute = [this, &a] {
                s_.text(100, "AcDbAttribute");
                s_.text(2, a.tag);
                s_.integer(70, a.flags);
            };
            // Writers put the placement in the text's part, as TEXT has it;
            // the format's table lists it after the tag. Every other
            // attribute comes in that order.
            if (++n % 2 == 0) {
                textbody(p, a.height * scale, c_.value(a.tag), a.rotation + rotation, a.h, a.v, 1, 0, nullptr, 0,
                         attribute);
                continue;
            }
            textbody(p, a.height * scale, c_.value(a.tag), a.rotation + rotation, a.h, a.v, 1, 0, nullptr, 0);
            attribute();
            if (a.v) s_.integer(74, a.v);
        }
        f_.head("SEQEND", lay, ins, nullptr);
        return n;
    }

    options o_;
    rng r_;
    sink s_;
    frame f_;
    textcontent c_;
    std::vector<layerdef> layers_;
    int blocks_;
    int cur_ = 2;
};

}  // namespace

stats generatetext(FILE* out, const options& o) {
    textpreset p(out, o);
    return p.run();
}

}  // namespace dxfgen
