// The header variables a drawing's HEADER section may hold, by the names
// and group codes the format defines for them, and what a reader read of
// them. The reader looks variables up by name only, so these names are
// what d.header can list; a variable of another name is still there for
// Reader.header(name).
#ifndef OSTRA_PYTHON_HEADERNAMES_H
#define OSTRA_PYTHON_HEADERNAMES_H

#include <string>
#include <utility>
#include <vector>

#include <ostra/reader.h>

namespace ostrapy {

struct headervalue {
    std::string name;
    // The groups read, by code; code -1 for a value whose code is not the
    // one the format gives the variable (its first group's text then).
    std::vector<std::pair<int, std::string>> groups;
};

// The variables of the standard names that the reader has read, in the
// order of the names.
std::vector<headervalue> headervalues(ostra::reader& r);

}  // namespace ostrapy

#endif
