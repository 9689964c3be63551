#include "commands.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <vector>

#include <ostra/writer.h>

#include "capture.h"
#include "curve.h"
#include "drawing.h"
#include "format.h"
#include "input.h"
#include "svg.h"

namespace tool {

namespace {

const char* kindname(const brevo::geometry& g) {
    if (g.pt()) return "point";
    if (g.lns()) return "line";
    if (g.ar()) return "arc";
    if (g.cr()) return "circle";
    if (g.el()) return "ellipse";
    return "other";
}

std::string plainline(const brevo::geometry& g, const char* layer, const char* block) {
    std::string s = kindname(g);
    if (const brevo::point* p = g.pt()) {
        s += " at " + fixed6(*p);
    } else if (const brevo::lineseg* l = g.lns()) {
        s += " start " + fixed6(l->start()) + " end " + fixed6(l->end());
    } else if (const brevo::arc* a = g.ar()) {
        s += " center " + fixed6(a->center()) + " radius " + fixed6(a->radius()) + " start " +
             fixed6(a->start()) + " end " + fixed6(a->end()) + " sweep " + fixed6(a->sweep()) + " normal " +
             fixed6(a->normal());
    } else if (const brevo::circle* c = g.cr()) {
        s += " center " + fixed6(c->center()) + " radius " + fixed6(c->radius()) + " normal " +
             fixed6(c->normal());
    } else if (const brevo::ellipse* e = g.el()) {
        s += " center " + fixed6(e->center()) + " major " + fixed6(e->majoraxis()) + " ratio " +
             fixed6(e->ratio()) + " params " + fixed6(e->startparam()) + ' ' + fixed6(e->endparam()) +
             " normal " + fixed6(e->normal());
    }
    if (layer) s += " layer " + plainname(layer);
    if (block) s += " block " + plainname(block);
    return s;
}

std::string json(const brevo::point& p) {
    return jsonarray(p.x, p.y, p.z);
}

std::string json(const brevo::vector& v) {
    return jsonarray(v.x, v.y, v.z);
}

std::string jsonline(const brevo::geometry& g, const char* layer, const char* block) {
    std::string s = "{\"kind\":" + jsonstring(kindname(g));
    if (const brevo::point* p = g.pt()) {
        s += ",\"at\":" + json(*p);
    } else if (const brevo::lineseg* l = g.lns()) {
        s += ",\"start\":" + json(l->start()) + ",\"end\":" + json(l->end());
    } else if (const brevo::arc* a = g.ar()) {
        s += ",\"center\":" + json(a->center()) + ",\"radius\":" + jsonnumber(a->radius()) +
             ",\"start\":" + json(a->start()) + ",\"end\":" + json(a->end()) +
             ",\"sweep\":" + jsonnumber(a->sweep()) + ",\"normal\":" + json(a->normal());
    } else if (const brevo::circle* c = g.cr()) {
        s += ",\"center\":" + json(c->center()) + ",\"radius\":" + jsonnumber(c->radius()) +
             ",\"normal\":" + json(c->normal());
    } else if (const brevo::ellipse* e = g.el()) {
        s += ",\"center\":" + json(e->center()) + ",\"major\":" + json(e->majoraxis()) +
             ",\"minor\":" + json(e->minoraxis()) + ",\"ratio\":" + jsonnumber(e->ratio()) +
             ",\"startparam\":" + jsonnumber(e->startparam()) + ",\"endparam\":" + jsonnumber(e->endparam()) +
             ",\"normal\":" + json(e->normal()) + ",\"start\":" + json(e->start()) + ",\"end\":" + json(e->end());
    }
    s += ",\"layer\":" + (layer ? jsonstring(layer) : std::string("null"));
    s += ",\"block\":" + (block ? jsonstring(block) : std::string("null"));
    return s + '}';
}

// Writes a line of the tool's output; false once the output cannot be
// written (a full disk, a closed pipe).
bool emit(const std::string& line) {
    FILE* out = toolout();
    return std::fputs(line.c_str(), out) >= 0 && std::fputc('\n', out) != EOF;
}

int outputerror(const std::string& name) {
    std::fprintf(stderr, "ostra: %s: write failed: %s\n", name.c_str(), std::strerror(errno));
    return 1;
}

// Flushes the tool's output and reports a failed write.
int finishoutput(int status) {
    if (std::fflush(toolout()) != 0 || std::ferror(toolout())) return outputerror("standard output");
    return status;
}

bool openinput(input& in, const std::string& file) {
    std::string error;
    if (in.open(file, error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

// An output file named on the command line, standard output for "-".
class output {
public:
    bool open(const std::string& path) {
        path_ = path;
        if (path == "-") {
            file_ = toolout();
            return true;
        }
        file_ = std::fopen(path.c_str(), "w");
        if (!file_) std::fprintf(stderr, "ostra: %s: cannot create: %s\n", path.c_str(), std::strerror(errno));
        return file_ != nullptr;
    }
    FILE* get() const { return file_; }
    const std::string& name() const { return path_; }
    bool tostdout() const { return path_ == "-"; }
    // Closes the file; false (with errno set) when a write failed.
    bool close() {
        if (!file_) return true;
        bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
        if (!tostdout()) {
            const int saved = errno;
            ok = std::fclose(file_) == 0 && ok;
            if (!ok && errno == 0) errno = saved;
        }
        file_ = nullptr;
        return ok;
    }
    // Closes and deletes a file that holds no complete result.
    void discard() {
        close();
        if (!tostdout()) std::remove(path_.c_str());
    }

private:
    std::string path_;
    FILE* file_ = nullptr;
};

// Reads the whole drawing for its tables, then lists one of them.
int runlisting(const std::string& file, void (*list)(ostra::reader&)) {
    input in;
    if (!openinput(in, file)) return 1;
    const readstatus st =
        readdrawing(in, "", [](const brevo::geometry&, const char*, const char*) { return true; }, list);
    return finishoutput(st == readstatus::ok ? 0 : 1);
}

}  // namespace

int runlist(const std::string& file, const std::string& layers, bool jsonlines) {
    input in;
    if (!openinput(in, file)) return 1;
    bool written = true;
    const readstatus st = readdrawing(in, layers, [&](const brevo::geometry& g, const char* layer, const char* block) {
        written = emit(jsonlines ? jsonline(g, layer, block) : plainline(g, layer, block));
        return written;
    });
    if (!written) return outputerror("standard output");
    return finishoutput(st == readstatus::ok ? 0 : 1);
}

int runlayers(const std::string& file) {
    return runlisting(file, [](ostra::reader& r) {
        // The reader counts 0 at a layer's first use and 1 more at each
        // later one, so the number of uses is one more.
        int count = 0;
        for (const char* name = r.firstlayer(count); name; name = r.nextlayer(count)) {
            emit(std::to_string(count + 1) + '\t' + plainname(name));
        }
    });
}

int runblocks(const std::string& file) {
    return runlisting(file, [](ostra::reader& r) {
        int count = 0;
        for (const char* name = r.firstblock(count); name; name = r.nextblock(count)) {
            emit(std::to_string(count) + '\t' + plainname(name));
        }
    });
}

int runstats(const std::string& file, const std::string& layers) {
    input in;
    if (!openinput(in, file)) return 1;
    std::map<std::string, unsigned long long> kinds = {
        {"point", 0}, {"line", 0}, {"arc", 0}, {"circle", 0}, {"ellipse", 0}};
    unsigned long long total = 0, notfinite = 0;
    int numlayers = 0, numblocks = 0;
    box extents;
    const auto started = std::chrono::steady_clock::now();
    const readstatus st = readdrawing(
        in, layers,
        [&](const brevo::geometry& g, const char*, const char*) {
            ++kinds[kindname(g)];
            ++total;
            if (!extents.add(g)) ++notfinite;
            return true;
        },
        [&](ostra::reader& r) {
            numlayers = r.numlayer();
            numblocks = r.numblock();
        });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (st != readstatus::ok) return 1;

    for (const char* kind : {"point", "line", "arc", "circle", "ellipse"}) {
        emit(std::string(kind) + ": " + std::to_string(kinds[kind]));
    }
    emit("geometries: " + std::to_string(total));
    if (notfinite > 0) emit("not finite: " + std::to_string(notfinite));
    emit("layers: " + std::to_string(numlayers));
    emit("blocks: " + std::to_string(numblocks));
    if (extents.empty()) {
        emit("extents: none");
    } else {
        emit("extents: " + fixed6(extents.min()) + "  " + fixed6(extents.max()));
        emit("size: " + fixed6(extents.max() - extents.min()));
    }
    emit("text lines: " + std::to_string(in.lines()));
    emit("bytes: " + std::to_string(in.bytes()));
    char buf[96];
    std::snprintf(buf, sizeof buf, "time: %.6f s", seconds);
    emit(buf);
    std::snprintf(buf, sizeof buf, "throughput: %.1f MB/s",
                  static_cast<double>(in.bytes()) / 1e6 / (seconds > 1e-9 ? seconds : 1e-9));
    emit(buf);
    return finishoutput(0);
}

int runsvg(const std::string& file, const std::string& outpath, const std::string& layers) {
    input in;
    if (!openinput(in, file)) return 1;
    std::vector<std::string> layernames;
    std::map<std::string, std::size_t> layerindex;
    std::deque<svgitem> items;
    box extents;
    unsigned long long notfinite = 0;
    const readstatus st = readdrawing(in, layers, [&](const brevo::geometry& g, const char* layer, const char*) {
        if (!extents.add(g)) {
            ++notfinite;
            return true;
        }
        const std::string name = layer ? layer : "";
        const auto found = layerindex.emplace(name, layernames.size());
        if (found.second) layernames.push_back(name);
        items.emplace_back();
        items.back().g = g;
        items.back().layer = found.first->second;
        return true;
    });
    if (st != readstatus::ok) return 1;
    in.close();
    if (notfinite > 0) {
        std::fprintf(stderr, "ostra: %s: %llu geometries with coordinates that are not finite left out\n",
                     in.name().c_str(), notfinite);
    }

    output out;
    if (!out.open(outpath)) return 1;
    if (!writesvg(out.get(), layernames, items, extents) || !out.close()) {
        const int status = outputerror(out.name());
        out.discard();
        return status;
    }
    return 0;
}

int runcopy(const std::string& file, const std::string& outpath, const std::string& layers, bool extended) {
    input in;
    if (!openinput(in, file)) return 1;
    output out;
    if (!out.open(outpath)) return 1;
    // With the drawing on standard output, the report goes to standard error.
    FILE* report = out.tostdout() ? stderr : toolout();

    std::map<std::string, unsigned long long> written, refused;
    bool offered = false, writefailed = false;
    readstatus st;
    {
        ostra::writer w(out.get());
        w.setextended(extended);
        st = readdrawing(in, layers, [&](const brevo::geometry& g, const char* layer, const char*) {
            offered = true;
            // The default mode writes lines and circles, the extended one
            // everything but ellipses with numbers that are not finite.
            const bool writable = extended ? !g.el() || finite(g) : g.lns() || g.cr();
            w.setlayer("0");  // for a layer name the writer does not take
            w.setlayer(layer);
            // The writer refuses other kinds without writing anything, so a
            // refusal of a writable geometry can only be a failed write.
            const bool saved = w.save(g);
            if (writable && !saved) {
                writefailed = true;
                return false;
            }
            ++(writable ? written : refused)[kindname(g)];
            return true;
        });
        if (st == readstatus::ok && !writefailed) {
            // The writer writes the sections with the first geometry offered
            // to it, refused or not; an empty drawing still needs them.
            if (!offered) w.save(brevo::geometry());
            writefailed = !w.finish();
        }
    }
    if (writefailed || (st == readstatus::ok && !out.close())) {
        const int status = outputerror(out.name());
        out.discard();
        return status;
    }
    if (st != readstatus::ok) {
        out.discard();
        return 1;
    }

    if (extended) {
        std::fprintf(report, "%s: wrote %llu point, %llu line, %llu arc, %llu circle, %llu ellipse (as arcs)\n",
                     out.name().c_str(), written["point"], written["line"], written["arc"], written["circle"],
                     written["ellipse"]);
        if (refused["ellipse"] > 0)
            std::fprintf(report, "%s: not written (numbers that are not finite): %llu ellipse\n", in.name().c_str(),
                         refused["ellipse"]);
        return finishoutput(0);
    }
    std::fprintf(report, "%s: wrote %llu line, %llu circle\n", out.name().c_str(), written["line"],
                 written["circle"]);
    std::fprintf(report, "%s: not written (the writer writes lines and circles only): %llu arc, %llu ellipse\n",
                 in.name().c_str(), refused["arc"], refused["ellipse"]);
    return finishoutput(0);
}

}  // namespace tool
