// Drawings read with the exact reading, written in the extended mode and
// read again: the same geometry on the same layers, segments, arcs,
// circles and points within 1e-6 relative and ellipses within their
// tolerance. Over the sample drawings, the generator's presets and a
// drawing of every kind made here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <ostra/writer.h>

#include "curvecheck.h"
#include "dxfgen.h"
#include "testutil.h"

namespace {

using brevo::geometry;
using brevo::point;

struct item {
    geometry g;
    std::string layer;
};

std::vector<item> readexact(const std::string& text) {
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    std::vector<item> out;
    geometry g;
    while (r.next(g)) out.push_back({g, r.currentlayer()});
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    return out;
}

// Each geometry on its layer ("0" for a name the writer does not take).
std::string writeextended(const std::vector<item>& items) {
    char* buf = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    {
        ostra::writer w(f);
        w.setextended(true);
        for (const item& i : items) {
            w.setlayer("0");
            w.setlayer(i.layer.c_str());
            EXPECT_TRUE(w.save(i.g));
        }
        EXPECT_TRUE(w.finish());
    }
    std::fclose(f);
    std::string text(buf, size);
    std::free(buf);
    return text;
}

double size(const point& p) { return std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}); }

// The largest difference between two points, relative to their size
// (at least 1).
double off(const point& a, const point& b) {
    const double d = std::max({std::fabs(a.x - b.x), std::fabs(a.y - b.y), std::fabs(a.z - b.z)});
    return d / std::max({1.0, size(a), size(b)});
}

// The relative difference of two geometries of the same kind; 1 for kinds
// that differ.
double difference(const geometry& a, const geometry& b) {
    if (a.pt() && b.pt()) return off(*a.pt(), *b.pt());
    if (a.lns() && b.lns()) return std::max(off(a.lns()->start(), b.lns()->start()), off(a.lns()->end(), b.lns()->end()));
    if (a.ar() && b.ar()) return testutil::arcdifference(*a.ar(), *b.ar());
    if (a.cr() && b.cr()) return testutil::circledifference(*a.cr(), *b.cr());
    return 1;
}

struct tally {
    std::size_t geometries = 0, ellipses = 0, pieces = 0;
    double worst = 0;          // relative, of everything but ellipses
    double worstellipse = 0;   // in units of each ellipse's tolerance
};

// Checks the second reading against the first. The pieces of an ellipse
// are as many as a file with the ellipse alone holds.
tally compare(const std::vector<item>& first, const std::vector<item>& second) {
    tally t;
    std::size_t j = 0;
    for (const item& a : first) {
        ++t.geometries;
        if (const brevo::ellipse* e = a.g.el()) {
            const std::size_t n = readexact(writeextended({a})).size();
            if (j + n > second.size()) break;
            std::vector<geometry> chain;
            for (std::size_t k = j; k < j + n; ++k) {
                chain.push_back(second[k].g);
                EXPECT_EQ(second[k].layer, a.layer);
            }
            const testutil::chainfit fit = testutil::measurechain(*e, chain);
            const double tol = std::min(0.01, 2 * std::hypot(e->majoraxis().length(), e->minoraxis().length()) / 1000);
            EXPECT_TRUE(fit.pieces);
            t.worstellipse = std::max(t.worstellipse, std::max({fit.fromellipse, fit.fromchain, fit.gap}) / tol);
            ++t.ellipses;
            t.pieces += n;
            j += n;
            continue;
        }
        if (j >= second.size()) break;
        EXPECT_EQ(second[j].layer, a.layer);
        const double d = difference(a.g, second[j].g);
        EXPECT_LE(d, 1e-6) << testutil::describe(a.g) << " vs " << testutil::describe(second[j].g);
        t.worst = std::max(t.worst, d);
        ++j;
    }
    EXPECT_EQ(t.geometries, first.size());
    EXPECT_EQ(j, second.size());
    return t;
}

tally roundtrip(const std::string& text) {
    const std::vector<item> first = readexact(text);
    EXPECT_FALSE(first.empty());
    const tally t = compare(first, readexact(writeextended(first)));
    EXPECT_LE(t.worstellipse, 1.0);
    std::printf("%zu geometries, %zu ellipses as %zu pieces; worst %.3g relative, ellipses %.3g of the tolerance\n",
                t.geometries, t.ellipses, t.pieces, t.worst, t.worstellipse);
    return t;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(RoundTrip, SampleDrawings) {
    std::size_t ellipses = 0;
    for (const char* name :
         {"part.dxf", "plan.dxf", "flange.dxf", "floorplan.dxf", "titleblock.dxf", "section.dxf"}) {
        SCOPED_TRACE(name);
        const std::string text = slurp(std::string(OSTRA_EXAMPLES) + "/" + name);
        ASSERT_FALSE(text.empty());
        ellipses += roundtrip(text).ellipses;
    }
    EXPECT_GT(ellipses, 0u);  // the flange's stretched inserts
}

TEST(RoundTrip, GeneratorPresets) {
    for (dxfgen::preset kind : {dxfgen::preset::r12, dxfgen::preset::r2000}) {
        dxfgen::options o;
        o.kind = kind;
        o.megabytes = 0.25;
        o.layers = 12;
        o.blocks = 20;
        o.inserts = 300;
        char* buf = nullptr;
        std::size_t size = 0;
        FILE* f = open_memstream(&buf, &size);
        dxfgen::generate(f, o);
        std::fclose(f);
        const std::string text(buf, size);
        std::free(buf);
        EXPECT_GT(roundtrip(text).ellipses, 0u);
    }
}

// The presets of text and areas: what the reader makes of them so far
// (lines, polylines, circles, points, SOLID and TRACE outlines, inserts).
TEST(RoundTrip, PresetsOfTextAndAreas) {
    for (dxfgen::preset kind : {dxfgen::preset::text, dxfgen::preset::hatch}) {
        dxfgen::options o;
        o.kind = kind;
        o.megabytes = 0.25;
        o.layers = 12;
        char* buf = nullptr;
        std::size_t size = 0;
        FILE* f = open_memstream(&buf, &size);
        dxfgen::generate(f, o);
        std::fclose(f);
        const std::string text(buf, size);
        std::free(buf);
        EXPECT_GT(roundtrip(text).geometries, 200u);
    }
}

// Points, arcs placed by a tilted extrusion, a mirrored and stretched
// insert, an ELLIPSE record and bulges: everything the exact reading makes.
TEST(RoundTrip, EveryKind) {
    const std::string text = testutil::dxf(
        {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "10", "1", "20", "0", "30", "0",
         "0", "ARC", "8", "BA", "10", "0", "20", "0", "40", "2", "50", "10", "51", "300",
         "0", "CIRCLE", "8", "BC", "10", "3", "20", "1", "40", "0.5",
         "0", "POINT", "8", "BP", "10", "2", "20", "2", "30", "1", "0", "ENDBLK", "0", "ENDSEC",
         "0", "SECTION", "2", "ENTITIES",
         "0", "POINT", "8", "P", "10", "0.123456", "20", "-7", "30", "1e-3",
         "0", "ARC", "8", "T", "10", "1", "20", "2", "30", "3", "40", "4", "50", "200", "51", "100",
         "210", "0.6", "220", "0", "230", "0.8",
         "0", "CIRCLE", "8", "T", "10", "1", "20", "2", "30", "3", "40", "4", "210", "1", "220", "1", "230", "1",
         "0", "INSERT", "8", "I", "2", "B", "10", "50", "20", "5", "41", "-1", "42", "1", "50", "30",
         "0", "INSERT", "8", "I", "2", "B", "10", "-50", "20", "5", "41", "2", "42", "0.5", "230", "-1",
         "0", "ELLIPSE", "8", "E", "10", "5", "20", "5", "30", "0", "11", "8", "21", "6", "31", "0", "40", "0.3",
         "41", "1", "42", "5",
         "0", "LWPOLYLINE", "8", "L", "70", "1", "10", "0", "20", "0", "42", "0.5", "10", "10", "20", "0",
         "10", "10", "20", "10", "42", "-1",
         "0", "ENDSEC", "0", "EOF"});
    const tally t = roundtrip(text);
    EXPECT_EQ(t.geometries, 13u);
    EXPECT_GE(t.ellipses, 3u);
}

}  // namespace
