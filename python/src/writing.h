// Writing tables of geometry (the columns of a Drawing) to a DXF file with
// ostra::writer, in its extended mode or its plain one.
#ifndef OSTRA_PYTHON_WRITING_H
#define OSTRA_PYTHON_WRITING_H

#include <string>
#include <vector>

#include <pybind11/pybind11.h>

namespace ostrapy {

namespace py = pybind11;

// A LAYER entry to write: colour index (negative: off), flags, linetype
// ("" for CONTINUOUS).
struct entryspec {
    std::string name;
    int aci = 7, flags = 0;
    std::string linetype;
};

// A header variable's group to write: name, group code, value text.
struct headerspec {
    std::string name;
    int code = 0;
    std::string value;
};

// Writes the tables (kind name to a dict of column name to array, the
// columns a reading gives, checked by the caller) to the file at path, kind
// by kind in the order of the reading's kinds. Extended: the header groups
// in their order, the LAYER entries in theirs (the first of several under
// one name; a colour index outside 1..255 as 7, flags beyond frozen, frozen
// in new viewports and locked dropped, a linetype the writer does not take
// as CONTINUOUS), every entity on its layer (an index into layers) in its
// colour index (aci; 0, a true colour alone, as the nearest index).
// Plain: segments and circles only, none of the rest.
// Returns the count written of each kind and "refused", the geometries the
// writer refused. Raises OSError when the file cannot be opened or written
// (a regular file is removed then).
py::dict writedrawing(const py::object& path, bool simple, const std::vector<std::string>& layers,
                      const std::vector<entryspec>& entries, const std::vector<headerspec>& header,
                      const py::dict& tables);

}  // namespace ostrapy

#endif
