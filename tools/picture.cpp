// svg: the drawing as a picture.
#include <chrono>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "commands.h"
#include "curve.h"
#include "drawing.h"
#include "format.h"
#include "output.h"
#include "report.h"
#include "svg.h"

namespace tool {

namespace {

// Progress of writing on a terminal, once writing takes a while.
class writingprogress {
public:
    writingprogress(const std::string& name, std::size_t total)
        : name_(name), total_(total), show_(isatty(STDERR_FILENO) == 1), started_(std::chrono::steady_clock::now()) {}
    ~writingprogress() {
        if (shown_) std::fputs("\r\033[K", stderr);
    }
    writingprogress(const writingprogress&) = delete;
    writingprogress& operator=(const writingprogress&) = delete;

    void operator()(std::size_t done) {
        if (!show_ || std::chrono::steady_clock::now() - started_ < std::chrono::milliseconds(500)) return;
        std::fprintf(stderr, "\r\033[K%s: %zu of %zu geometries written", printable(name_).c_str(), done, total_);
        std::fflush(stderr);
        shown_ = true;
    }

private:
    std::string name_;
    std::size_t total_;
    bool show_, shown_ = false;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace

int runsvg(const options& given) {
    // Texts are drawn as SVG text unless --text says otherwise.
    options o = given;
    if (o.text.empty()) o.text = "items";
    input in;
    if (!openinput(in, o.files[0])) return unreadable;
    // Opened first, so that an output that is the input is refused before
    // the reading; what was not finished is never put in place.
    output out;
    if (!out.open(o.output, in)) return unreadable;
    std::vector<std::string> layernames;
    std::map<std::string, std::size_t> layerindex;
    std::deque<svgitem> items;
    box extents;
    unsigned long long notfinite = 0;
    skippedcounts passed;
    const readoutcome read = readdrawing(
        in, o,
        [&](const brevo::geometry& g, ostra::reader& r) {
            if (!extents.add(g)) {
                ++notfinite;
                return true;
            }
            const std::string name = r.currentlayer() ? r.currentlayer() : "";
            const auto found = layerindex.emplace(name, layernames.size());
            if (found.second) layernames.push_back(name);
            items.emplace_back();
            items.back().g = g;
            items.back().layer = found.first->second;
            items.back().color = r.currentcolor();
            const ostra::textinfo* t = r.currenttext();
            if (t && g.pt()) {
                // Single-line texts align by their own rules, the others as MTEXT does.
                const std::string record = r.currentrecord();
                const bool line = record == "TEXT" || record == "ATTRIB" || record == "ATTDEF";
                items.back().text = std::make_shared<const svgtext>(makesvgtext(*t, !line));
            }
            return true;
        },
        [&](ostra::reader& r) { passed = skipped(r); });
    if (read.status == unreadable) return unreadable;
    in.close();
    const std::string name = printable(in.name());
    if (notfinite > 0)
        std::fprintf(stderr, "%s: %llu geometries with coordinates that are not finite left out\n", name.c_str(),
                     notfinite);
    if (!passed.empty())
        std::fprintf(stderr, "%s: not drawn: %s; hidden: %s\n", name.c_str(),
                     passed.records.empty() ? "nothing" : printable(listcounts(passed.records)).c_str(),
                     passed.hidden.empty() ? "nothing" : printable(listcounts(passed.hidden)).c_str());

    writingprogress progress(out.name(), items.size());
    if (!writesvg(out.get(), layernames, items, extents, o.width, [&](std::size_t n) { progress(n); }) ||
        !out.close())
        return outputerror(out.name());
    return read.status;
}

}  // namespace tool
