// The extension module ostra._ostra: the reading into columns, the
// streaming reader and its geometry objects, and the writer. The package
// ostra (python/ostra) checks the arguments and builds the Drawing.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <ostra/units.h>
#include <ostra/version.h>

#include "reading.h"
#include "streaming.h"
#include "tables.h"
#include "writing.h"

namespace py = pybind11;
using namespace ostrapy;

namespace {

readoptions options(bool exact, const py::object& layers, double flattening, bool paperspace, long limit) {
    readoptions o;
    o.limit = limit;
    o.exact = exact;
    o.filter = !layers.is_none();
    if (o.filter) o.layers = layers.cast<std::string>();
    o.flattening = flattening;
    o.paperspace = paperspace;
    return o;
}

pathreading howof(const std::string& how) {
    if (how == "map") return pathreading::mapped;
    if (how == "stream") return pathreading::stream;
    if (how == "whole") return pathreading::whole;
    throw py::value_error("how must be map, stream or whole");
}

py::tuple xyz(const brevo::point& p) { return py::make_tuple(p.x, p.y, p.z); }
py::tuple xyz(const brevo::vector& v) { return py::make_tuple(v.x, v.y, v.z); }

// A property of one kind of geometry: for another kind, AttributeError.
template <class T, class F>
std::function<py::object(const item&)> of(const char* kind, const T* (brevo::geometry::*get)() const, F value) {
    return [kind, get, value](const item& i) -> py::object {
        const T* g = (i.g.*get)();
        if (!g) throw py::attribute_error(std::string("a ") + itemkind(i) + " has no such attribute (" + kind + "s have)");
        return value(*g);
    };
}

void bindgeometry(py::module_& m) {
    using G = brevo::geometry;
    py::class_<item>(m, "Geometry", "One geometry of a drawing, as ostra.Reader yields it.")
        .def_property_readonly("kind", [](const item& i) { return itemkind(i); })
        .def_property_readonly("start", of("segment", &G::lns, [](const brevo::lineseg& s) { return xyz(s.start()); }))
        .def_property_readonly("end", of("segment", &G::lns, [](const brevo::lineseg& s) { return xyz(s.end()); }))
        .def_property_readonly("location", of("point", &G::pt, [](const brevo::point& p) { return xyz(p); }))
        .def_property_readonly("center", [](const item& i) -> py::object {
            if (const brevo::arc* a = i.g.ar()) return xyz(a->center());
            if (const brevo::circle* c = i.g.cr()) return xyz(c->center());
            if (const brevo::ellipse* e = i.g.el()) return xyz(e->center());
            throw py::attribute_error(std::string("a ") + itemkind(i) + " has no center");
        })
        .def_property_readonly("normal", [](const item& i) -> py::object {
            if (const brevo::arc* a = i.g.ar()) return xyz(a->normal());
            if (const brevo::circle* c = i.g.cr()) return xyz(c->normal());
            if (const brevo::ellipse* e = i.g.el()) return xyz(e->normal());
            throw py::attribute_error(std::string("a ") + itemkind(i) + " has no normal");
        })
        .def_property_readonly("radius", [](const item& i) -> py::object {
            if (const brevo::arc* a = i.g.ar()) return py::float_(a->radius());
            if (const brevo::circle* c = i.g.cr()) return py::float_(c->radius());
            throw py::attribute_error(std::string("a ") + itemkind(i) + " has no radius");
        })
        .def_property_readonly("start_angle", of("arc", &G::ar, [](const brevo::arc& a) { return py::float_(startangle(a)); }))
        .def_property_readonly("sweep", of("arc", &G::ar, [](const brevo::arc& a) { return py::float_(a.sweep()); }))
        .def_property_readonly("major", of("ellipse", &G::el, [](const brevo::ellipse& e) { return xyz(e.majoraxis()); }))
        .def_property_readonly("ratio", of("ellipse", &G::el, [](const brevo::ellipse& e) { return py::float_(e.ratio()); }))
        .def_property_readonly("start_param", of("ellipse", &G::el, [](const brevo::ellipse& e) { return py::float_(e.startparam()); }))
        .def_property_readonly("end_param", of("ellipse", &G::el, [](const brevo::ellipse& e) { return py::float_(e.endparam()); }))
        .def_readonly("layer", &item::layer)
        .def_readonly("block", &item::block)
        .def_readonly("record", &item::record)
        .def_readonly("handle", &item::handle)
        .def_readonly("color", &item::color)
        .def_readonly("aci", &item::aci)
        .def_readonly("item", &item::itemnumber)
        .def_readonly("piece", &item::piece)
        .def_readonly("closed", &item::closed)
        .def("__repr__", [](const item& i) {
            return "<ostra.Geometry " + std::string(itemkind(i)) + " layer=" + py::repr(i.layer).cast<std::string>() +
                   " record=" + i.record.cast<std::string>() + ">";
        });
}

void bindreader(py::module_& m) {
    py::class_<streamreader>(m, "_Reader")
        .def(py::init([](const std::string& kind, const py::object& obj, bool exact, const py::object& layers,
                         double flattening, bool paperspace, long limit) {
                 return new streamreader(kind, obj, options(exact, layers, flattening, paperspace, limit));
             }),
             py::arg("kind"), py::arg("source"), py::arg("exact"), py::arg("layers"), py::arg("flattening"),
             py::arg("paperspace"), py::arg("limit"))
        .def("__next__", &streamreader::next)
        .def("close", &streamreader::close)
        .def_property_readonly("status", [](const streamreader& r) { return statusname(r.status()); })
        .def_property_readonly("line", &streamreader::line)
        .def("_listings", [](streamreader& r) {
            py::dict out;
            listings l = r.current();
            std::vector<std::string> names;
            for (const auto& e : l.layers) names.push_back(e.first);
            putlistings(out, l, names);
            out["layer_uses"] = countsdict(l.layers);
            return out;
        })
        .def("header", &streamreader::header, py::arg("name"), py::arg("code") = py::none());
}

}  // namespace

PYBIND11_MODULE(_ostra, m) {
    m.doc() = "The ostra DXF reader and writer, the part in C++; use the package ostra.";
    m.attr("version") = ostra::version();
    py::list statuses, kinds;
    for (int s = 0; s < statuscount; ++s) statuses.append(statusname(s));
    for (int k = 0; k < kindcount; ++k) kinds.append(kindname(k));
    m.attr("statusnames") = py::tuple(statuses);
    m.attr("kindnames") = py::tuple(kinds);
    py::dict columns;
    for (int k = 0; k < kindcount; ++k) {
        py::list names;
        for (const columnspec& s : kindcolumns(k)) names.append(py::make_tuple(s.name, s.width, elementname(s.type)));
        columns[kindname(k)] = py::tuple(names);
    }
    m.attr("columns") = columns;

    m.def(
        "read",
        [](const std::string& kind, const py::object& obj, bool exact, const py::object& layers, double flattening,
           bool paperspace, long limit, const std::string& how) {
            return readdrawing(kind, obj, options(exact, layers, flattening, paperspace, limit), howof(how));
        },
        py::arg("kind"), py::arg("source"), py::arg("exact"), py::arg("layers"), py::arg("flattening"),
        py::arg("paperspace"), py::arg("limit") = 0, py::arg("how") = "map");
    m.def(
        "unitname",
        [](int code) -> py::object {
            double metres = 0;
            const char* name = ostra::unitname(code, metres);
            if (!name) return py::none();
            return py::make_tuple(py::str(name), metres);
        },
        py::arg("code"), "The name of an $INSUNITS code's units and their length in metres, or None.");
    m.def(
        "write",
        [](const py::object& path, bool simple, const std::vector<std::string>& layers, const py::list& entries,
           const py::list& header, const py::dict& tables) {
            std::vector<entryspec> e;
            for (const py::handle& t : entries) {
                const py::tuple v = t.cast<py::tuple>();
                e.push_back({v[0].cast<std::string>(), v[1].cast<int>(), v[2].cast<int>(), v[3].cast<std::string>()});
            }
            std::vector<headerspec> h;
            for (const py::handle& t : header) {
                const py::tuple v = t.cast<py::tuple>();
                h.push_back({v[0].cast<std::string>(), v[1].cast<int>(), v[2].cast<std::string>()});
            }
            return writedrawing(path, simple, layers, e, h, tables);
        },
        py::arg("path"), py::arg("simple"), py::arg("layers"), py::arg("entries"), py::arg("header"),
        py::arg("tables"));
    bindgeometry(m);
    bindreader(m);
}
