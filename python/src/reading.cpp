#include "reading.h"

#include <cstring>
#include <unordered_map>

#include <ostra/palette.h>

#include "arrays.h"
#include "tables.h"

namespace ostrapy {

void configure(ostra::reader& r, const readoptions& o) {
    r.setmessages(nullptr);
    r.setutf8(true);
    r.setexact(o.exact);
    r.setpaperspace(o.paperspace);
    if (o.flattening > 0) r.setflattening(o.flattening);
    if (o.filter) r.setlayerfilter(o.layers.c_str());
    if (o.limit > 0) r.setlimit(o.limit);
}

const char* statusname(int status) {
    static const char* const names[statuscount] = {"reading",       "endofdrawing", "endofstream",
                                                   "malformedcode", "outofmemory",  "limitreached"};
    return status >= 0 && status < statuscount ? names[status] : "unknown";
}

namespace {

std::vector<layerentry> layertable(ostra::reader& r) {
    std::vector<layerentry> out;
    layerentry e;
    for (const char* name = r.firstlayerentry(e.aci, e.flags); name; name = r.nextlayerentry(e.aci, e.flags)) {
        e.name = name;
        int aci = 0, flags = 0;
        const char* linetype = nullptr;
        e.linetype = r.layerinfo(name, aci, flags, linetype) && linetype ? linetype : "";
        out.push_back(e);
    }
    return out;
}

}  // namespace

listings takelistings(ostra::reader& r) {
    listings l;
    l.status = r.status();
    l.line = r.line();
    if (const char* bad = r.badline()) {
        l.malformed = true;
        l.badline = bad;
    }
    int n = 0;
    for (const char* name = r.firstlayer(n); name; name = r.nextlayer(n)) l.layers.emplace_back(name, n);
    for (const char* name = r.firstblock(n); name; name = r.nextblock(n)) l.blocks.emplace_back(name, n);
    for (const char* name = r.firstskipped(n); name; name = r.nextskipped(n)) {
        if (name[0] == '*')
            l.hidden.emplace_back(name + 1, n);
        else
            l.skipped.emplace_back(name, n);
    }
    l.header = headervalues(r);
    l.table = layertable(r);
    return l;
}

py::dict countsdict(const counts& c) {
    py::dict d;
    for (const auto& e : c) d[py::str(e.first)] = e.second;
    return d;
}

void putlistings(py::dict& out, const listings& l, const std::vector<std::string>& layers) {
    out["status"] = statusname(l.status);
    out["line"] = l.line;
    out["badline"] = l.malformed ? py::object(py::str(l.badline)) : py::object(py::none());
    py::list names;
    for (const std::string& name : layers) names.append(py::str(name));
    out["layers"] = names;
    out["blocks"] = countsdict(l.blocks);
    out["skipped"] = countsdict(l.skipped);
    out["hidden"] = countsdict(l.hidden);
    py::dict header;
    for (const headervalue& h : l.header) {
        py::list groups;
        for (const auto& g : h.groups) groups.append(py::make_tuple(g.first, py::str(g.second)));
        header[py::str(h.name)] = py::tuple(groups);
    }
    out["header"] = header;
    py::list table;
    for (const layerentry& e : l.table) {
        const int colour = ostra::palettecolor(e.aci < 0 ? -e.aci : e.aci);
        table.append(py::make_tuple(py::str(e.name), colour, e.aci, e.flags, py::str(e.linetype)));
    }
    out["layer_table"] = table;
}

namespace {

// The layer names of the drawing: the reader's listing, in the order of
// first use, then any name the geometry came with that the listing lacks.
// order gives each index of the tables its place in the result.
std::vector<std::string> layerorder(const listings& l, const drawingtables& t, std::vector<std::int32_t>& order) {
    std::vector<std::string> names;
    std::unordered_map<std::string, std::int32_t> place;
    auto add = [&](const std::string& name) {
        auto it = place.find(name);
        if (it != place.end()) return it->second;
        names.push_back(name);
        return place[name] = static_cast<std::int32_t>(names.size() - 1);
    };
    for (const auto& e : l.layers) add(e.first);
    order.clear();
    for (const std::string& name : t.layernames()) order.push_back(add(name));
    return names;
}

}  // namespace

py::dict readdrawing(const std::string& kind, const py::object& obj, const readoptions& o, pathreading how) {
    source src(kind, obj, how);
    drawingtables tables;
    listings l;
    {
        py::gil_scoped_release nogil;
        std::unique_ptr<ostra::reader> r = src.makereader();
        configure(*r, o);
        brevo::geometry g;
        bool full = false;
        std::size_t n = 0;
        while (r->next(g)) {
            if (!tables.add(g, *r)) {
                full = true;
                break;
            }
            if ((++n & 1023) == 0) src.passed(r->offset());
        }
        l = takelistings(*r);
        // The tables could not grow: reading stopped there as it stops when
        // the reader's own memory runs out, with what was read kept.
        if (full) l.status = ostra::outofmemory;
    }
    src.rethrow();
    std::vector<std::int32_t> order;
    const std::vector<std::string> layers = layerorder(l, tables, order);
    tables.renumber(order);
    py::dict out;
    putlistings(out, l, layers);
    out["tables"] = tablearrays(tables);
    return out;
}

}  // namespace ostrapy
