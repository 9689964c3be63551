// Writing tables of geometry (the columns of a Drawing) to a DXF file with
// ostra::writer, in its extended mode or its plain one.
#ifndef OSTRA_PYTHON_WRITING_H
#define OSTRA_PYTHON_WRITING_H

#include <string>
#include <vector>

#include <pybind11/pybind11.h>

namespace ostrapy {

namespace py = pybind11;

// Writes the tables (kind name to a dict of column name to array, the
// columns a reading gives, checked by the caller) to the file at path, kind
// by kind in the order of the reading's kinds. Extended: a LAYER entry for
// each of layers with the colour index of colors, every entity on its
// layer (an index into layers) in its colour index (aci; 0, a true colour
// alone, as the nearest index). Plain: segments and circles only.
// Returns the count written of each kind and "refused", the geometries the
// writer refused. Raises OSError when the file cannot be opened or written
// (a regular file is removed then).
py::dict writedrawing(const py::object& path, bool simple, const std::vector<std::string>& layers,
                      const std::vector<int>& colors, const py::dict& tables);

}  // namespace ostrapy

#endif
