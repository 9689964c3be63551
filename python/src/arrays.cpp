#include "arrays.h"

#include <pybind11/numpy.h>

namespace ostrapy {

namespace {

py::dtype dtypeof(element e) { return py::dtype(elementname(e)); }

// The mapping a capsule owns, unmapped when the last array over it goes.
struct mapping {
    char* data;
    std::size_t size;
};

py::array column(table& t, int c) {
    const columnspec& s = t.specs()[static_cast<std::size_t>(c)];
    const auto rows = static_cast<py::ssize_t>(t.rows());
    std::vector<py::ssize_t> shape{rows};
    if (s.width > 1) shape.push_back(s.width);
    if (rows == 0) return py::array(dtypeof(s.type), shape);
    std::size_t size = 0;
    char* data = t.buffer(c).release(t.rows() * rowbytes(s), size);
    auto* owned = new mapping{data, size};
    py::capsule owner(owned, [](void* p) {
        auto* m = static_cast<mapping*>(p);
        growbuffer::unmap(m->data, m->size);
        delete m;
    });
    const auto item = static_cast<py::ssize_t>(elementsize(s.type));
    std::vector<py::ssize_t> strides{item * s.width};
    if (s.width > 1) strides.push_back(item);
    return py::array(dtypeof(s.type), shape, strides, data, owner);
}

}  // namespace

py::dict tablearrays(drawingtables& tables) {
    py::dict out;
    for (int k = 0; k < kindcount; ++k) {
        table& t = tables.of(k);
        py::dict columns;
        for (std::size_t c = 0; c < t.specs().size(); ++c)
            columns[t.specs()[c].name] = column(t, static_cast<int>(c));
        out[kindname(k)] = columns;
    }
    return out;
}

}  // namespace ostrapy
