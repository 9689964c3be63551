#include "dxfgen.h"

#include "dxfpresets.h"
#include "dxfsink.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace dxfgen {

namespace {

const char* const layerwords[] = {"WALL", "DOOR", "WINDOW", "DIM", "TEXT", "HATCH", "GRID", "AXIS",
                                  "FURN", "ELEC", "PLUMB", "ROOF", "STAIR", "COLUMN", "BEAM", "SITE"};

class generator {
public:
    generator(FILE* f, const options& o) : o_(o), r_(o.seed), s_(f, o.kind == preset::r2000, o.padded, o.crlf) {
        int nl = o.layers < 1 ? 1 : o.layers;
        for (int i = 0; i < nl; ++i) {
            char b[64];
            std::snprintf(b, sizeof b, "%s-%s-%02d", i % 3 == 0 ? "A" : (i % 3 == 1 ? "S" : "M"),
                          layerwords[i % 16], i / 16);
            layers_.emplace_back(b);
        }
        for (int i = 0; i < o.blocks; ++i) {
            char b[64];
            std::snprintf(b, sizeof b, "BLK_%s_%d", layerwords[i % 16], i);
            blocknames_.emplace_back(b);
        }
    }

    stats run() {
        stats st;
        long long target = static_cast<long long>(o_.megabytes * 1e6);
        header();
        tables();
        blocks(st);
        section("ENTITIES");
        long long start = s_.bytes();
        long long inserts = o_.inserts;
        if (inserts < 0) inserts = 0;  // decided below once the entity size is known
        bool autoinserts = o_.inserts < 0 && o_.blocks > 0;
        long long span = target - start;
        if (span < 1) span = 1;
        while (s_.bytes() < target || st.inserts < inserts) {
            // Inserts spread evenly over the section by bytes written.
            long long due = inserts == 0 ? 0
                                         : static_cast<long long>(static_cast<double>(inserts) *
                                                                  static_cast<double>(s_.bytes() - start) /
                                                                  static_cast<double>(span));
            if (!blocknames_.empty() && st.inserts < inserts && (due > st.inserts || s_.bytes() >= target)) {
                insert(blocknames_[static_cast<std::size_t>(r_.below(o_.blocks))].c_str(), false);
                ++st.inserts;
                ++st.entities;
                continue;
            }
            if (autoinserts && st.entities == 1000) {
                // 2 % of the entities, from the size of the first thousand.
                double perentity = static_cast<double>(s_.bytes() - start) / 1000.0;
                inserts = static_cast<long long>(0.02 * static_cast<double>(span) / perentity);
                if (inserts < 1) inserts = 1;
            }
            entity(false, st);
            ++st.entities;
        }
        endsec();
        if (o_.kind == preset::r2000) objects();
        s_.text(0, "EOF");
        s_.flush();
        st.bytes = s_.bytes();
        st.lines = s_.lines();
        return st;
    }

private:
    double coord() { return r_.range(-5000, 5000); }
    const char* layer() {
        // Neighbouring entities mostly share a layer.
        if (r_.chance(0.3)) curlayer_ = r_.below(static_cast<int>(layers_.size()));
        return layers_[static_cast<std::size_t>(curlayer_)].c_str();
    }
    void section(const char* name) {
        s_.text(0, "SECTION");
        s_.text(2, name);
    }
    void endsec() { s_.text(0, "ENDSEC"); }
    bool modern() const { return o_.kind != preset::r12; }

    // The common head of an entity: name, handle, owner, layer, subclass.
    void head(const char* name, const char* lay, const char* subclass, bool inblock) {
        s_.text(0, name);
        s_.handle(5, ++handle_);
        if (modern()) {
            s_.handle(330, inblock ? 0x1Full + 2 : 0x1Full);
            s_.text(100, "AcDbEntity");
        }
        s_.text(8, lay);
        if (r_.chance(0.2)) s_.integer(62, 1 + r_.below(255));
        if (modern() && subclass) s_.text(100, subclass);
    }

    void header() {
        section("HEADER");
        s_.text(9, "$INSBASE");
        s_.real(10, 0);
        s_.real(20, 0);
        s_.real(30, 0);
        s_.text(9, "$EXTMIN");
        s_.real(10, -5000);
        s_.real(20, -5000);
        s_.real(30, 0);
        s_.text(9, "$EXTMAX");
        s_.real(10, 5000);
        s_.real(20, 5000);
        s_.real(30, 0);
        s_.text(9, "$LTSCALE");
        s_.real(40, 1);
        s_.text(9, "$HANDSEED");
        s_.handle(5, 0xFFFFF);
        endsec();
    }

    void tables() {
        section("TABLES");
        s_.text(0, "TABLE");
        s_.text(2, "LAYER");
        if (modern()) {
            s_.handle(5, 2);
            s_.handle(330, 0);
            s_.text(100, "AcDbSymbolTable");
        }
        s_.integer(70, static_cast<long long>(layers_.size()));
        for (const std::string& l : layers_) {
            s_.text(0, "LAYER");
            if (modern()) {
                s_.handle(5, ++handle_);
                s_.handle(330, 2);
                s_.text(100, "AcDbSymbolTableRecord");
                s_.text(100, "AcDbLayerTableRecord");
            }
            s_.text(2, l.c_str());
            s_.integer(70, 0);
            s_.integer(62, 1 + r_.below(255));
            s_.text(6, "CONTINUOUS");
        }
        s_.text(0, "ENDTAB");
        endsec();
    }

    void blocks(stats& st) {
        section("BLOCKS");
        if (modern()) {
            // The two layout blocks that newer files always carry, empty.
            emptyblock("*Model_Space");
            emptyblock("*Paper_Space");
        }
        for (int i = 0; i < o_.blocks; ++i) {
            const char* name = blocknames_[static_cast<std::size_t>(i)].c_str();
            blockbegin(name, r_.range(-10, 10), r_.range(-10, 10));
            stats ignored;
            for (int k = 0; k < o_.blockentities; ++k) entity(true, ignored);
            // Some blocks nest an earlier one.
            if (i > 0 && r_.chance(0.1)) insert(blocknames_[static_cast<std::size_t>(r_.below(i))].c_str(), true);
            blockend();
            ++st.blocks;
        }
        endsec();
    }
    void blockbegin(const char* name, double x, double y) {
        s_.text(0, "BLOCK");
        s_.handle(5, ++handle_);
        if (modern()) {
            s_.handle(330, 0x1Full + 2);
            s_.text(100, "AcDbEntity");
        }
        s_.text(8, "0");
        if (modern()) s_.text(100, "AcDbBlockBegin");
        s_.text(2, name);
        s_.integer(70, 0);
        s_.real(10, x);
        s_.real(20, y);
        s_.real(30, 0);
        if (modern()) {
            s_.text(3, name);
            s_.text(1, "");
        }
    }
    void blockend() {
        s_.text(0, "ENDBLK");
        s_.handle(5, ++handle_);
        if (modern()) {
            s_.handle(330, 0x1Full + 2);
            s_.text(100, "AcDbEntity");
        }
        s_.text(8, "0");
        if (modern()) s_.text(100, "AcDbBlockEnd");
    }
    void emptyblock(const char* name) {
        blockbegin(name, 0, 0);
        blockend();
    }

    void objects() {
        section("OBJECTS");
        for (int i = 0; i < 8; ++i) {
            s_.text(0, "DICTIONARY");
            s_.handle(5, 0xC + static_cast<unsigned long long>(i));
            s_.handle(330, i == 0 ? 0 : 0xC);
            s_.text(100, "AcDbDictionary");
            s_.integer(281, 1);
            s_.text(3, "ENTRY");
            s_.handle(350, 0x100 + static_cast<unsigned long long>(i));
        }
        endsec();
    }

    void entity(bool inblock, stats& st) {
        double k = r_.unit();
        // A block's entities stay near its base point.
        double scale = inblock ? 0.002 : 1;
        const char* lay = inblock ? layers_[static_cast<std::size_t>(r_.below(static_cast<int>(layers_.size())))].c_str()
                                  : layer();
        // The spline preset: half the entities splines, the rest the usual mix.
        if (o_.kind == preset::splines) {
            if (k < 0.5) return spline(lay, inblock);
            k = (k - 0.5) * 2;
        }
        if (k < 0.40) {
            head("LINE", lay, "AcDbLine", inblock);
            double x = coord() * scale, y = coord() * scale;
            s_.real(10, x);
            s_.real(20, y);
            s_.real(30, 0);
            s_.real(11, x + r_.range(-50, 50));
            s_.real(21, y + r_.range(-50, 50));
            s_.real(31, 0);
        } else if (k < 0.55) {
            head("ARC", lay, "AcDbCircle", inblock);
            s_.real(10, coord() * scale);
            s_.real(20, coord() * scale);
            s_.real(30, 0);
            s_.real(40, r_.range(0.5, 100));
            if (modern()) s_.text(100, "AcDbArc");
            s_.real(50, r_.range(0, 360));
            s_.real(51, r_.range(0, 360));
        } else if (k < 0.70) {
            head("CIRCLE", lay, "AcDbCircle", inblock);
            s_.real(10, coord() * scale);
            s_.real(20, coord() * scale);
            s_.real(30, 0);
            s_.real(40, r_.range(0.5, 100));
        } else {
            polyline(lay, inblock, st);
        }
    }

    void polyline(const char* lay, bool inblock, stats& st) {
        int n = 3 + r_.below(10);
        bool closed = r_.chance(0.3);
        double x = coord() * (inblock ? 0.002 : 1), y = coord() * (inblock ? 0.002 : 1);
        st.vertices += n;
        if (modern()) {
            head("LWPOLYLINE", lay, "AcDbPolyline", inblock);
            s_.integer(90, n);
            s_.integer(70, closed ? 1 : 0);
            s_.real(43, 0);
            for (int i = 0; i < n; ++i) {
                s_.real(10, x);
                s_.real(20, y);
                x += r_.range(-20, 20);
                y += r_.range(-20, 20);
            }
            return;
        }
        head("POLYLINE", lay, nullptr, inblock);
        s_.integer(66, 1);
        s_.real(10, 0);
        s_.real(20, 0);
        s_.real(30, 0);
        s_.integer(70, closed ? 1 : 0);
        for (int i = 0; i < n; ++i) {
            head("VERTEX", lay, nullptr, inblock);
            s_.real(10, x);
            s_.real(20, y);
            s_.real(30, 0);
            x += r_.range(-20, 20);
            y += r_.range(-20, 20);
        }
        head("SEQEND", lay, nullptr, inblock);
    }

    // A cubic SPLINE: control points of a random walk with a clamped knot
    // vector, a fifth rational, a tenth closed and periodic (unclamped,
    // uniform knots), a fifth given by fit points only.
    void spline(const char* lay, bool inblock) {
        head("SPLINE", lay, "AcDbSpline", inblock);
        s_.real(210, 0);
        s_.real(220, 0);
        s_.real(230, 1);
        double scale = inblock ? 0.002 : 1;
        double x = coord() * scale, y = coord() * scale;
        int n = 6 + r_.below(25);
        double kind = r_.unit();
        bool fit = kind < 0.2, rational = kind >= 0.2 && kind < 0.4, periodic = kind >= 0.4 && kind < 0.5;
        s_.integer(70, 8 | (rational ? 4 : 0) | (periodic ? 3 : 0));
        s_.integer(71, 3);
        s_.integer(72, fit ? 0 : n + 4);
        s_.integer(73, fit ? 0 : n);
        s_.integer(74, fit ? n : 0);
        s_.real(42, 1e-10);
        s_.real(43, 1e-10);
        if (fit) s_.real(44, 1e-10);
        for (int i = 0; !fit && i < n + 4; ++i) {
            double knot = periodic ? i : i < 4 ? 0 : i >= n ? n - 3 : i - 3;
            s_.real(40, knot);
        }
        // A periodic spline closes by repeating its first three points.
        double first[3][2];
        for (int i = 0; i < n; ++i) {
            if (periodic && i < 3) first[i][0] = x, first[i][1] = y;
            if (periodic && i >= n - 3) x = first[i - (n - 3)][0], y = first[i - (n - 3)][1];
            s_.real(fit ? 11 : 10, x);
            s_.real(fit ? 21 : 20, y);
            s_.real(fit ? 31 : 30, 0);
            if (rational) s_.real(41, r_.range(0.5, 2));
            x += r_.range(-30, 30) * scale;
            y += r_.range(-30, 30) * scale;
        }
    }

    void insert(const char* name, bool inblock) {
        const char* lay = inblock ? "0" : layer();
        head("INSERT", lay, "AcDbBlockReference", inblock);
        s_.text(2, name);
        s_.real(10, inblock ? r_.range(-5, 5) : coord());
        s_.real(20, inblock ? r_.range(-5, 5) : coord());
        s_.real(30, 0);
        double sx = r_.chance(0.5) ? 1 : r_.range(0.5, 2);
        double sy = r_.chance(0.9) ? sx : r_.range(0.5, 2);
        s_.real(41, sx);
        s_.real(42, sy);
        s_.real(43, 1);
        s_.real(50, r_.chance(0.5) ? 0 : r_.range(0, 360));
    }

    options o_;
    rng r_;
    sink s_;
    std::vector<std::string> layers_;
    std::vector<std::string> blocknames_;
    int curlayer_ = 0;
    unsigned long long handle_ = 0x100;
};

}  // namespace

stats generate(FILE* out, const options& o) {
    if (o.kind == preset::text) return generatetext(out, o);
    if (o.kind == preset::hatch) return generatehatch(out, o);
    generator g(out, o);
    return g.run();
}

bool parsepreset(const char* name, preset& p) {
    if (std::strcmp(name, "r12") == 0) {
        p = preset::r12;
        return true;
    }
    if (std::strcmp(name, "r2000") == 0) {
        p = preset::r2000;
        return true;
    }
    if (std::strcmp(name, "splines") == 0) {
        p = preset::splines;
        return true;
    }
    if (std::strcmp(name, "text") == 0) {
        p = preset::text;
        return true;
    }
    if (std::strcmp(name, "hatch") == 0) {
        p = preset::hatch;
        return true;
    }
    return false;
}

}  // namespace dxfgen
