// stats: what a drawing holds and how reading it went.
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "commands.h"
#include "curve.h"
#include "drawing.h"
#include "format.h"
#include "output.h"
#include "report.h"

namespace tool {

namespace {

const char* const kinds[] = {"point", "line", "arc", "circle", "ellipse"};

// What stats gathers from one drawing.
struct gathered {
    std::map<std::string, unsigned long long> kinds;
    unsigned long long total = 0, notfinite = 0;
    long long texts = -1;  // the texts read (items with a text); -1 when texts are not read
    long lastitem = 0;
    int layers = 0, blocks = 0;
    box extents;
    std::string acadver, insunits, codepage;
    bool headerextents = false;
    brevo::point extmin, extmax;
    skippedcounts passed;
    double seconds = 0;
};

double number(const char* s) { return s ? std::strtod(s, nullptr) : 0; }

void fromheader(ostra::reader& r, gathered& g) {
    auto text = [&](const char* name) { const char* v = r.header(name); return v ? std::string(v) : std::string(); };
    g.acadver = text("$ACADVER");
    g.insunits = text("$INSUNITS");
    g.codepage = text("$DWGCODEPAGE");
    g.headerextents = r.header("$EXTMIN") && r.header("$EXTMAX");
    g.extmin = brevo::point(number(r.header("$EXTMIN", 10)), number(r.header("$EXTMIN", 20)), number(r.header("$EXTMIN", 30)));
    g.extmax = brevo::point(number(r.header("$EXTMAX", 10)), number(r.header("$EXTMAX", 20)), number(r.header("$EXTMAX", 30)));
    g.layers = r.numlayer();
    g.blocks = r.numblock();
    g.passed = skipped(r);
}

std::string jsoncounts(const std::vector<std::pair<std::string, int>>& counts) {
    std::string s;
    for (const auto& c : counts) s += (s.empty() ? "" : ",") + jsonstring(c.first) + ':' + std::to_string(c.second);
    return '{' + s + '}';
}

std::string jsonreport(const gathered& g, const input& in, const readoutcome& out, bool exact) {
    std::string s = "{\"file\":" + jsonstring(in.name()) + ",\"status\":" + jsonstring(out.why) +
                    ",\"reading\":" + jsonstring(exact ? "exact" : "simple");
    s += ",\"format\":" + jsonstring(g.acadver) + ",\"version\":" + jsonstring(versionname(g.acadver));
    s += ",\"units\":" + jsonstring(unitname(g.insunits)) + ",\"unitcode\":" + jsonstring(g.insunits);
    s += ",\"codepage\":" + jsonstring(g.codepage) + ",\"counts\":{";
    for (const char* k : kinds) s += std::string(k == kinds[0] ? "" : ",") + '"' + k + "\":" + std::to_string(g.kinds.at(k));
    s += "},\"geometries\":" + std::to_string(g.total) + ",\"notfinite\":" + std::to_string(g.notfinite);
    if (g.texts >= 0) s += ",\"texts\":" + std::to_string(g.texts);
    s += ",\"layers\":" + std::to_string(g.layers) + ",\"blocks\":" + std::to_string(g.blocks);
    s += ",\"extents\":" + (g.extents.empty() ? std::string("null")
                                               : "{\"min\":" + jsonarray(g.extents.min()) +
                                                     ",\"max\":" + jsonarray(g.extents.max()) + '}');
    s += ",\"headerextents\":" + (g.headerextents ? "{\"min\":" + jsonarray(g.extmin) + ",\"max\":" +
                                                        jsonarray(g.extmax) + '}'
                                                  : std::string("null"));
    s += ",\"skipped\":" + jsoncounts(g.passed.records) + ",\"hidden\":" + jsoncounts(g.passed.hidden);
    s += ",\"lines\":" + std::to_string(in.lines()) + ",\"bytes\":" + std::to_string(in.bytes());
    return s + ",\"seconds\":" + jsonnumber(g.seconds) + '}';
}

// The record of a drawing that could not be read: its name and the error.
std::string jsonerror(const input& in, const std::string& error) {
    return "{\"file\":" + jsonstring(in.name()) + ",\"status\":\"unreadable\",\"error\":" + jsonstring(error) + '}';
}

void plainreport(const gathered& g, const input& in, const readoutcome& out, bool exact) {
    // The header's texts are the drawing's: printed so that none of their
    // bytes reaches a terminal raw.
    std::string version = versionname(g.acadver), units = unitname(g.insunits);
    const std::string acadver = printable(g.acadver), insunits = printable(g.insunits);
    emit("status: " + out.why);
    emit(std::string("reading: ") + (exact ? "exact" : "simple"));
    emit("format: " + (acadver.empty() ? "-" : acadver + (version.empty() ? "" : " (" + version + ")")));
    emit("units: " + (insunits.empty() ? "-" : (units.empty() ? "" : units + ' ') + '(' + insunits + ')'));
    emit("code page: " + (g.codepage.empty() ? "-" : printable(g.codepage)));
    for (const char* k : kinds) emit(std::string(k) + ": " + std::to_string(g.kinds.at(k)));
    emit("geometries: " + std::to_string(g.total));
    if (g.texts >= 0) emit("texts: " + std::to_string(g.texts));
    if (g.notfinite > 0) emit("not finite: " + std::to_string(g.notfinite));
    emit("layers: " + std::to_string(g.layers));
    emit("blocks: " + std::to_string(g.blocks));
    if (g.extents.empty()) {
        emit("extents: none");
    } else {
        emit("extents: " + fixed6(g.extents.min()) + "  " + fixed6(g.extents.max()));
        emit("size: " + fixed6(g.extents.max() - g.extents.min()));
    }
    if (g.headerextents) emit("header extents: " + fixed6(g.extmin) + "  " + fixed6(g.extmax));
    emit("skipped: " + (g.passed.records.empty() ? "none" : printable(listcounts(g.passed.records))));
    emit("hidden: " + (g.passed.hidden.empty() ? "none" : printable(listcounts(g.passed.hidden))));
    emit("text lines: " + std::to_string(in.lines()));
    emit("bytes: " + std::to_string(in.bytes()));
    char buf[96];
    std::snprintf(buf, sizeof buf, "time: %.6f s", g.seconds);
    emit(buf);
    std::snprintf(buf, sizeof buf, "throughput: %.1f MB/s",
                  static_cast<double>(in.bytes()) / 1e6 / (g.seconds > 1e-9 ? g.seconds : 1e-9));
    emit(buf);
}

}  // namespace

int runstats(const options& o) {
    int status = complete;
    for (std::size_t i = 0; i < o.files.size(); ++i) {
        input in;
        std::string error;
        if (!openinput(in, o.files[i], &error)) {
            status = worse(status, unreadable);
            if (o.json) emit(jsonerror(in, error));
            continue;
        }
        gathered g;
        for (const char* k : kinds) g.kinds[k] = 0;
        if (!o.text.empty() && o.text != "none") g.texts = 0;
        const auto started = std::chrono::steady_clock::now();
        readoutcome out = readdrawing(
            in, o,
            [&](const brevo::geometry& geo, ostra::reader& r) {
                if (r.currenttext() && r.currentitem() != g.lastitem) {
                    g.lastitem = r.currentitem();
                    ++g.texts;
                }
                ++g.kinds[kindname(geo)];
                ++g.total;
                if (!g.extents.add(geo)) ++g.notfinite;
                return true;
            },
            [&](ostra::reader& r) { fromheader(r, g); });
        g.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        status = worse(status, out.status);
        if (out.status == unreadable) {
            if (o.json) emit(jsonerror(in, out.why));
            continue;
        }
        if (o.json) {
            emit(jsonreport(g, in, out, !o.simple));
        } else {
            heading(o, in.name(), i == 0);
            plainreport(g, in, out, !o.simple);
        }
    }
    return finishoutput(status);
}

}  // namespace tool
