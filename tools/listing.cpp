// list, layers and blocks.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "commands.h"
#include "curve.h"
#include "drawing.h"
#include "format.h"
#include "output.h"

namespace tool {

namespace {

// A colour as #RRGGBB.
std::string hexcolour(int rgb) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(rgb) & 0xFFFFFFu);
    return buf;
}

std::string plainline(const brevo::geometry& g, ostra::reader& r) {
    const char* layer = r.currentlayer();
    const char* block = r.currentblock();
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
    const char* handle = r.currenthandle();
    s += " colour " + hexcolour(r.currentcolor()) + " record " + plainname(r.currentrecord()) + " handle " +
         (handle && *handle ? plainname(handle) : std::string("-")) + " item " + std::to_string(r.currentitem());
    return s;
}

std::string jsonline(const brevo::geometry& g, ostra::reader& r, const std::string& file) {
    const char* layer = r.currentlayer();
    const char* block = r.currentblock();
    std::string s = "{";
    if (!file.empty()) s += "\"file\":" + jsonstring(file) + ',';
    s += "\"kind\":" + jsonstring(kindname(g));
    if (const brevo::point* p = g.pt()) {
        s += ",\"at\":" + jsonarray(*p);
    } else if (const brevo::lineseg* l = g.lns()) {
        s += ",\"start\":" + jsonarray(l->start()) + ",\"end\":" + jsonarray(l->end());
    } else if (const brevo::arc* a = g.ar()) {
        s += ",\"center\":" + jsonarray(a->center()) + ",\"radius\":" + jsonnumber(a->radius()) +
             ",\"start\":" + jsonarray(a->start()) + ",\"end\":" + jsonarray(a->end()) +
             ",\"sweep\":" + jsonnumber(a->sweep()) + ",\"normal\":" + jsonarray(a->normal());
    } else if (const brevo::circle* c = g.cr()) {
        s += ",\"center\":" + jsonarray(c->center()) + ",\"radius\":" + jsonnumber(c->radius()) +
             ",\"normal\":" + jsonarray(c->normal());
    } else if (const brevo::ellipse* e = g.el()) {
        s += ",\"center\":" + jsonarray(e->center()) + ",\"major\":" + jsonarray(e->majoraxis()) +
             ",\"minor\":" + jsonarray(e->minoraxis()) + ",\"ratio\":" + jsonnumber(e->ratio()) +
             ",\"startparam\":" + jsonnumber(e->startparam()) + ",\"endparam\":" + jsonnumber(e->endparam()) +
             ",\"normal\":" + jsonarray(e->normal()) + ",\"start\":" + jsonarray(e->start()) + ",\"end\":" + jsonarray(e->end());
    }
    s += ",\"layer\":" + (layer ? jsonstring(layer) : std::string("null"));
    s += ",\"block\":" + (block ? jsonstring(block) : std::string("null"));
    int aci = 0;
    const int rgb = r.currentcolor(aci);
    s += ",\"colour\":" + jsonstring(hexcolour(rgb)) + ",\"aci\":" + std::to_string(aci);
    s += ",\"record\":" + jsonstring(r.currentrecord()) + ",\"handle\":" + jsonstring(r.currenthandle());
    s += ",\"item\":" + std::to_string(r.currentitem()) + ",\"piece\":" + std::to_string(r.currentpiece()) +
         ",\"closed\":" + (r.currentclosed() ? "true" : "false");
    return s + '}';
}

// A layer's state from its LAYER entry: on, off, frozen, locked, joined by
// commas; "-" for a layer without an entry.
std::string layerstate(bool known, int aci, int flags) {
    if (!known) return "-";
    std::string s = aci < 0 ? "off" : "on";
    if (flags & 1) s += ",frozen";
    if (flags & 4) s += ",locked";
    return s;
}

// Reads each file, then lists a table of the reader's with list(r, file).
template <class L>
int eachfile(const options& o, const eachgeometry& each, L list) {
    int status = complete;
    for (std::size_t i = 0; i < o.files.size(); ++i) {
        input in;
        if (!openinput(in, o.files[i])) {
            status = worse(status, unreadable);
            continue;
        }
        if (!o.json) heading(o, in.name(), i == 0);
        readoutcome r = readdrawing(in, o, each, [&](ostra::reader& rd) { list(rd, in.name()); });
        status = worse(status, r.status);
    }
    return finishoutput(status);
}

}  // namespace

void heading(const options& o, const std::string& file, bool first) {
    if (!o.several()) return;
    if (!first) emit("");
    emit(plainname(file) + ':');
}

int runlist(const options& o) {
    int status = complete;
    bool written = true;
    for (std::size_t i = 0; i < o.files.size() && written; ++i) {
        input in;
        if (!openinput(in, o.files[i])) {
            status = worse(status, unreadable);
            continue;
        }
        if (!o.json) heading(o, in.name(), i == 0);
        const std::string file = o.several() ? in.name() : std::string();
        readoutcome r = readdrawing(in, o, [&](const brevo::geometry& g, ostra::reader& rd) {
            written = emit(o.json ? jsonline(g, rd, file) : plainline(g, rd));
            return written;
        });
        status = worse(status, r.status);
    }
    if (!written) return outputerror("standard output");
    return finishoutput(status);
}

int runlayers(const options& o) {
    std::map<std::string, unsigned long long> delivered;
    auto count = [&](const brevo::geometry&, ostra::reader& r) {
        if (const char* name = r.currentlayer()) ++delivered[name];
        return true;
    };
    return eachfile(o, count, [&](ostra::reader& r, const std::string& file) {
        std::string doc;
        int uses = 0, aci = 0, flags = 0;
        // The layers met, or with --table the LAYER table's entries.
        auto first = [&]() { return o.table ? r.firstlayerentry(aci, flags) : r.firstlayer(uses); };
        auto next = [&]() { return o.table ? r.nextlayerentry(aci, flags) : r.nextlayer(uses); };
        for (const char* name = first(); name; name = next()) {
            const char* linetype = "";
            bool known = r.layerinfo(name, aci, flags, linetype);
            unsigned long long n = delivered[name];
            if (o.json) {
                doc += std::string(doc.empty() ? "" : ",") + "{\"name\":" + jsonstring(name) +
                       ",\"geometries\":" + std::to_string(n) +
                       ",\"colour\":" + (known ? std::to_string(aci < 0 ? -aci : aci) : "null") +
                       ",\"state\":" + jsonstring(layerstate(known, aci, flags)) +
                       ",\"linetype\":" + (known ? jsonstring(linetype) : "null") +
                       (o.counts && !o.table ? ",\"uses\":" + std::to_string(uses) : "") + '}';
                continue;
            }
            std::string row = std::to_string(n) + '\t' + plainname(name) + '\t' +
                              (known ? std::to_string(aci < 0 ? -aci : aci) : "-") + '\t' +
                              layerstate(known, aci, flags) + '\t' + (known && *linetype ? plainname(linetype) : "-");
            if (o.counts && !o.table) row += '\t' + std::to_string(uses);
            emit(row);
        }
        if (o.json) emit("{\"file\":" + jsonstring(file) + ",\"layers\":[" + doc + "]}");
        delivered.clear();
    });
}

int runblocks(const options& o) {
    auto none = [](const brevo::geometry&, ostra::reader&) { return true; };
    return eachfile(o, none, [&](ostra::reader& r, const std::string& file) {
        std::string doc;
        int count = 0;
        for (const char* name = r.firstblock(count); name; name = r.nextblock(count)) {
            if (o.json)
                doc += std::string(doc.empty() ? "" : ",") + "{\"name\":" + jsonstring(name) +
                       ",\"entities\":" + std::to_string(count) + '}';
            else
                emit(std::to_string(count) + '\t' + plainname(name));
        }
        if (o.json) emit("{\"file\":" + jsonstring(file) + ",\"blocks\":[" + doc + "]}");
    });
}

}  // namespace tool
