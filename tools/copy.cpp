// copy: the drawing's geometry written again with ostra::writer.
#include <cstdio>
#include <map>
#include <string>

#include <ostra/palette.h>
#include <ostra/writer.h>

#include "commands.h"
#include "curve.h"
#include "drawing.h"
#include "output.h"

namespace tool {

namespace {

// The colour index a geometry is written with: its own, or for a true
// colour the index nearest to it.
int aciof(ostra::reader& r) {
    const int aci = r.currentaci();
    return aci > 0 ? aci : ostra::nearestaci(r.currentcolor());
}

void report(FILE* to, const input& in, const output& out, bool extended,
            std::map<std::string, unsigned long long>& written, std::map<std::string, unsigned long long>& refused) {
    if (extended) {
        std::fprintf(to, "%s: wrote %llu point, %llu line, %llu arc, %llu circle, %llu ellipse (as arcs)\n",
                     out.name().c_str(), written["point"], written["line"], written["arc"], written["circle"],
                     written["ellipse"]);
        if (refused["ellipse"] > 0)
            std::fprintf(to, "%s: not written (numbers that are not finite): %llu ellipse\n", in.name().c_str(),
                         refused["ellipse"]);
        return;
    }
    std::fprintf(to, "%s: wrote %llu line, %llu circle\n", out.name().c_str(), written["line"], written["circle"]);
    std::fprintf(to, "%s: not written (the writer writes lines and circles only): %llu point, %llu arc, %llu ellipse\n",
                 in.name().c_str(), refused["point"], refused["arc"], refused["ellipse"]);
}

}  // namespace

int runcopy(const options& o) {
    input in;
    if (!openinput(in, o.files[0])) return unreadable;
    output out;
    if (!out.open(o.output)) return unreadable;
    const bool extended = !o.simpleoutput;
    std::map<std::string, unsigned long long> written, refused;
    bool offered = false, writefailed = false;
    readoutcome read;
    {
        ostra::writer w(out.get());
        w.setextended(extended);
        read = readdrawing(in, o, [&](const brevo::geometry& g, ostra::reader& r) {
            offered = true;
            w.setlayer("0");  // for a layer name the writer does not take
            w.setlayer(r.currentlayer());
            w.setcolor(aciof(r));
            // The writer refuses what it cannot write without writing
            // anything; a failed write leaves the stream in its error state.
            const bool saved = w.save(g);
            if (!saved && std::ferror(out.get())) {
                writefailed = true;
                return false;
            }
            ++(saved ? written : refused)[kindname(g)];
            return true;
        });
        if (read.status != unreadable && !writefailed) {
            // The writer writes the sections with the first geometry offered
            // to it, refused or not; an empty drawing still needs them.
            if (!offered) w.save(brevo::geometry());
            writefailed = !w.finish();
        }
    }
    if (writefailed || (read.status != unreadable && !out.close())) {
        const int status = outputerror(out.name());
        out.discard();
        return status;
    }
    if (read.status == unreadable) {
        out.discard();
        return unreadable;
    }
    // With the drawing on standard output, the report goes to standard error.
    report(out.tostdout() ? stderr : stdout, in, out, extended, written, refused);
    return finishoutput(read.status);
}

}  // namespace tool
