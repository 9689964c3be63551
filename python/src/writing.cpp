#include "writing.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <ostra/palette.h>
#include <ostra/writer.h>

#include "tables.h"

namespace ostrapy {

namespace {

template <class T>
using carray = py::array_t<T, py::array::c_style | py::array::forcecast>;

// One kind's columns, held while the writing runs without the GIL.
struct kindarrays {
    int kind = 0;
    std::vector<carray<double>> geometry;  // in the order of kindcolumns()
    carray<std::int32_t> layer;
    carray<std::uint32_t> color;
    carray<std::int16_t> aci;
    std::size_t rows = 0;
};

brevo::point point(const carray<double>& a, std::size_t i) {
    const double* v = a.data() + 3 * i;
    return brevo::point(v[0], v[1], v[2]);
}

brevo::vector vector(const carray<double>& a, std::size_t i) {
    const double* v = a.data() + 3 * i;
    return brevo::vector(v[0], v[1], v[2]);
}

double scalar(const carray<double>& a, std::size_t i) { return a.data()[i]; }

brevo::geometry make(const kindarrays& a, std::size_t i) {
    const std::vector<carray<double>>& g = a.geometry;
    switch (a.kind) {
    case segments: return brevo::lineseg(point(g[0], i), point(g[1], i));
    case arcs: {
        const brevo::point c = point(g[0], i);
        const brevo::vector n = vector(g[1], i);
        return brevo::arc(c, n, startpoint(c, n, scalar(g[2], i), scalar(g[3], i)), scalar(g[4], i));
    }
    case circles: return brevo::circle(point(g[0], i), vector(g[1], i), scalar(g[2], i));
    case ellipses:
        return brevo::ellipse(point(g[0], i), vector(g[1], i), vector(g[2], i), scalar(g[3], i), scalar(g[4], i),
                              scalar(g[5], i));
    default: return brevo::geometry(point(g[0], i));
    }
}

std::vector<kindarrays> takearrays(const py::dict& tables) {
    std::vector<kindarrays> out;
    for (int k = 0; k < kindcount; ++k) {
        if (!tables.contains(kindname(k))) continue;
        const py::dict columns = tables[kindname(k)];
        kindarrays a;
        a.kind = k;
        // The geometry columns, the layer and the colour; the writer has no
        // use for any other.
        for (const columnspec& s : kindcolumns(k)) {
            const std::string name = s.name;
            if (name == "layer")
                a.layer = columns[s.name].cast<carray<std::int32_t>>();
            else if (name == "color")
                a.color = columns[s.name].cast<carray<std::uint32_t>>();
            else if (name == "aci")
                a.aci = columns[s.name].cast<carray<std::int16_t>>();
            else if (s.type == element::float64)
                a.geometry.push_back(columns[s.name].cast<carray<double>>());
        }
        a.rows = static_cast<std::size_t>(a.layer.size());
        out.push_back(std::move(a));
    }
    return out;
}

struct outcome {
    std::size_t written[kindcount] = {};
    std::size_t refused = 0;
    int error = 0;
};

// What the extended writer writes before the entities. A header group the
// writer refuses is left out; so is a second entry of a name differing only
// in case, whose geometry still goes on the first.
void describe(ostra::writer& w, const std::vector<entryspec>& entries, const std::vector<headerspec>& header) {
    for (const headerspec& h : header) w.addheader(h.name.c_str(), h.code, h.value.c_str());
    for (const entryspec& e : entries) {
        const int index = e.aci < 0 ? -e.aci : e.aci;
        const int colour = index >= 1 && index <= 255 ? e.aci : 7;
        const char* linetype = e.linetype.empty() ? nullptr : e.linetype.c_str();
        if (!w.addlayer(e.name.c_str(), colour, e.flags & 7, linetype))
            w.addlayer(e.name.c_str(), colour, e.flags & 7, nullptr);
    }
}

void writeall(FILE* f, bool simple, const std::vector<std::string>& layers, const std::vector<entryspec>& entries,
              const std::vector<headerspec>& header, const std::vector<kindarrays>& kinds, outcome& out) {
    ostra::writer w(f);
    if (!simple) {
        w.setextended(true);
        describe(w, entries, header);
    }
    std::int32_t layer = -1;
    int colour = 256;
    for (const kindarrays& a : kinds) {
        for (std::size_t i = 0; i < a.rows; ++i) {
            if (!simple) {
                const std::int32_t l = a.layer.data()[i];
                if (l != layer) w.setlayer(layers[static_cast<std::size_t>(l)].c_str());
                layer = l;
                const int aci = a.aci.data()[i];
                const int c = aci == 0 ? ostra::nearestaci(static_cast<int>(a.color.data()[i])) : aci;
                if (c != colour) w.setcolor(c);
                colour = c;
            }
            if (w.save(make(a, i))) {
                ++out.written[a.kind];
            } else if (std::ferror(f)) {
                out.error = errno ? errno : EIO;
                return;
            } else {
                ++out.refused;
            }
        }
    }
    if (!w.finish()) out.error = errno ? errno : EIO;
}

}  // namespace

py::dict writedrawing(const py::object& path, bool simple, const std::vector<std::string>& layers,
                      const std::vector<entryspec>& entries, const std::vector<headerspec>& header,
                      const py::dict& tables) {
    const std::string name = py::isinstance<py::bytes>(path) ? std::string(py::bytes(path)) : path.cast<std::string>();
    const std::vector<kindarrays> kinds = takearrays(tables);
    outcome out;
    {
        py::gil_scoped_release nogil;
        FILE* f = std::fopen(name.c_str(), "w");
        if (!f) {
            out.error = errno;
        } else {
            errno = 0;
            writeall(f, simple, layers, entries, header, kinds, out);
            if (std::fclose(f) != 0 && !out.error) out.error = errno ? errno : EIO;
            // A partly written file is removed; a device is left as it is.
            struct stat st;
            if (out.error && stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(name.c_str());
        }
    }
    if (out.error) {
        errno = out.error;
        PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, path.ptr());
        throw py::error_already_set();
    }
    py::dict result;
    for (int k = 0; k < kindcount; ++k) result[kindname(k)] = out.written[k];
    result["refused"] = out.refused;
    return result;
}

}  // namespace ostrapy
