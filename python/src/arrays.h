// The tables handed to numpy: every column becomes an array over the
// column's own memory, which a capsule frees with the array; nothing is
// copied.
#ifndef OSTRA_PYTHON_ARRAYS_H
#define OSTRA_PYTHON_ARRAYS_H

#include <pybind11/pybind11.h>

#include "tables.h"

namespace ostrapy {

namespace py = pybind11;

// A dict of kind name to a dict of column name to array: (rows, 3) for
// columns of width 3, (rows,) for the others. The tables' buffers are
// given away.
py::dict tablearrays(drawingtables& tables);

}  // namespace ostrapy

#endif
