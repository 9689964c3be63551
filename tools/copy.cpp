// copy: the drawing's geometry written again with ostra::writer.
//
// The extended copy says what its names are in and carries the units, the
// extents and the LAYER entries over. The LAYER table comes before the
// entities, so a first reading finds the layers the geometry is on; the
// second one writes it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include <ostra/palette.h>
#include <ostra/writer.h>

#include "commands.h"
#include "curve.h"
#include "drawing.h"
#include "format.h"
#include "output.h"

namespace tool {

namespace {

// The colour index a geometry is written with: its own, or for a true
// colour the index nearest to it.
int aciof(ostra::reader& r) {
    const int aci = r.currentaci();
    return aci > 0 ? aci : ostra::nearestaci(r.currentcolor());
}

// The layers the geometry of the drawing is on, in order of first use: the
// first reading, which says nothing (the second one reports).
std::vector<std::string> layersused(input& in, const options& o) {
    std::vector<std::string> names;
    if (in.empty()) return names;
    std::unordered_set<std::string> seen;
    ostra::reader r = in.makereader();
    configure(r, o);
    brevo::geometry g;
    std::string last;
    while (r.next(g)) {
        in.passed(r);
        const char* layer = r.currentlayer();
        if (!layer || (!names.empty() && last == layer)) continue;
        last = layer;
        if (seen.insert(last).second) names.push_back(last);
    }
    return names;
}

bool isnumber(const char* text, bool integer) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    if (integer) {
        const long v = std::strtol(text, &end, 10);
        return *end == '\0' && errno == 0 && v >= -32768 && v <= 32767;
    }
    const double v = std::strtod(text, &end);
    return *end == '\0' && v - v == 0;  // finite
}

// The header and the LAYER entries of the copy. Its names are in UTF-8, as
// the reader hands them out, so it says R2007 (AC1021), the first version
// whose names are UTF-8, and keeps the drawing's code page for what a CAD
// program derives from it. Units and extents are carried over as the
// drawing has them, each layer's colour (off as a negative one), flags
// (frozen, frozen in new viewports, locked) and linetype from its entry.
void describe(ostra::writer& w, ostra::reader& r, const std::vector<std::string>& layers) {
    w.addheader("$ACADVER", 1, "AC1021");
    const char* codepage = r.header("$DWGCODEPAGE");
    if (!codepage || !*codepage || !w.addheader("$DWGCODEPAGE", 3, codepage)) w.addheader("$DWGCODEPAGE", 3, "ANSI_1252");
    if (isnumber(r.header("$INSUNITS"), true)) w.addheader("$INSUNITS", 70, r.header("$INSUNITS"));
    // A point needs its x and y at least.
    for (const char* var : {"$EXTMIN", "$EXTMAX"}) {
        if (!isnumber(r.header(var, 10), false) || !isnumber(r.header(var, 20), false)) continue;
        for (int code : {10, 20, 30})
            if (isnumber(r.header(var, code), false)) w.addheader(var, code, r.header(var, code));
    }
    for (const std::string& name : layers) {
        int aci = 7, flags = 0;
        const char* linetype = nullptr;
        if (!r.layerinfo(name.c_str(), aci, flags, linetype)) continue;
        const int index = aci < 0 ? -aci : aci;
        const int colour = index >= 1 && index <= 255 ? aci : 7;
        // The xref bits of 70 tie a layer to a drawing the copy does not
        // carry; a linetype the writer does not take becomes CONTINUOUS.
        if (!w.addlayer(name.c_str(), colour, flags & 7, linetype)) w.addlayer(name.c_str(), colour, flags & 7, nullptr);
    }
}

struct tally {
    std::map<std::string, unsigned long long> written, refused;
    unsigned long long onzero = 0;  // geometries whose layer the writer did not take
};

void report(FILE* to, const input& in, const output& out, bool extended, tally& t) {
    const std::string from = printable(in.name()), name = printable(out.name());
    if (extended) {
        std::fprintf(to, "%s: wrote %llu point, %llu line, %llu arc, %llu circle, %llu ellipse (as arcs)\n",
                     name.c_str(), t.written["point"], t.written["line"], t.written["arc"], t.written["circle"],
                     t.written["ellipse"]);
        if (t.refused["ellipse"] > 0)
            std::fprintf(to, "%s: not written (numbers that are not finite): %llu ellipse\n", from.c_str(),
                         t.refused["ellipse"]);
        if (t.onzero > 0)
            std::fprintf(stderr, "%s: warning: %llu geometries on layers whose names the writer does not take "
                                 "(too long, a line break, a blank at either end) written on layer 0\n",
                         name.c_str(), t.onzero);
        return;
    }
    std::fprintf(to, "%s: wrote %llu line, %llu circle\n", name.c_str(), t.written["line"], t.written["circle"]);
    std::fprintf(to, "%s: not written (the writer writes lines and circles only): %llu point, %llu arc, %llu ellipse\n",
                 from.c_str(), t.refused["point"], t.refused["arc"], t.refused["ellipse"]);
}

}  // namespace

int runcopy(const options& o) {
    const bool extended = !o.simpleoutput;
    input in;
    if (!openinput(in, o.files[0], nullptr, extended)) return unreadable;
    output out;
    if (!out.open(o.output, in)) return unreadable;
    std::vector<std::string> layers;
    if (extended && in.rewind()) {
        layers = layersused(in, o);
        in.rewind();
    }
    tally t;
    bool offered = false, described = false, writefailed = false;
    readoutcome read;
    {
        ostra::writer w(out.get());
        w.setextended(extended);
        auto setup = [&](ostra::reader& r) {
            if (extended && !described) describe(w, r, layers);
            described = true;
        };
        read = readdrawing(
            in, o,
            [&](const brevo::geometry& g, ostra::reader& r) {
                setup(r);
                offered = true;
                if (!w.setlayer(r.currentlayer())) {
                    w.setlayer("0");
                    if (extended) ++t.onzero;
                }
                w.setcolor(aciof(r));
                // The writer refuses what it cannot write without writing
                // anything; a failed write leaves the stream in its error state.
                const bool saved = w.save(g);
                if (!saved && std::ferror(out.get())) {
                    writefailed = true;
                    return false;
                }
                ++(saved ? t.written : t.refused)[kindname(g)];
                return true;
            },
            setup);
        if (read.status != unreadable && !writefailed) {
            // The writer writes the sections with the first geometry offered
            // to it, refused or not; an empty drawing still needs them.
            if (!offered) w.save(brevo::geometry());
            writefailed = !w.finish();
        }
    }
    if (read.status == unreadable) return unreadable;
    if (writefailed || !out.close()) return outputerror(out.name());
    // With the drawing on standard output, the report goes to standard error.
    report(out.tostdout() ? stderr : stdout, in, out, extended, t);
    return finishoutput(read.status);
}

}  // namespace tool
