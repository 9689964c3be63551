// Reading a whole drawing into columns: the options a reader is set up
// with, what it says beside the geometry once reading has ended, and the
// one pass that fills the tables without the GIL.
#ifndef OSTRA_PYTHON_READING_H
#define OSTRA_PYTHON_READING_H

#include <string>
#include <utility>
#include <vector>

#include <pybind11/pybind11.h>

#include <ostra/reader.h>

#include "headernames.h"
#include "sources.h"

namespace ostrapy {

namespace py = pybind11;

struct readoptions {
    bool exact = true;
    bool filter = false;  // layers holds the comma-separated layer names
    std::string layers;
    double flattening = 0;  // 0: the reader's default
    bool paperspace = false;
    long limit = 0;  // the reader's bound on its work; 0 for none
};

// Sets r up: the options, names in UTF-8, no diagnostic on standard output.
void configure(ostra::reader& r, const readoptions& o);

// The status by name: "reading", "endofdrawing", ... (statuscount of them).
constexpr int statuscount = 6;
const char* statusname(int status);

using counts = std::vector<std::pair<std::string, int>>;

// An entry of the LAYER table: its colour index (negative for a layer that
// is off), group 70 flags and linetype ("" when it names none).
struct layerentry {
    std::string name;
    int aci = 7, flags = 0;
    std::string linetype;
};

// What a reader says beside the geometry.
struct listings {
    int status = 0;
    long line = 0;
    bool malformed = false;
    std::string badline;
    counts layers, blocks, skipped, hidden;  // hidden: by reason, without the "*"
    std::vector<layerentry> table;           // the LAYER table, in file order
    std::vector<headervalue> header;
};
listings takelistings(ostra::reader& r);

// The listings as Python values: status, line, badline, layers (names),
// blocks, skipped, hidden (dicts of counts), header (a dict of the
// variables' groups, each a tuple of (code, text) pairs) and layer_table
// (a list of (name, colour 0xRRGGBB, aci, flags, linetype) tuples).
void putlistings(py::dict& out, const listings& l, const std::vector<std::string>& layers);
py::dict countsdict(const counts& c);

// Reads the whole drawing: the dict of putlistings() and "tables", a dict
// of kind name to a dict of column name to numpy array.
py::dict readdrawing(const std::string& kind, const py::object& obj, const readoptions& o, pathreading how);

}  // namespace ostrapy

#endif
