// Runs the reader over an input drawing and turns every way reading can go
// wrong into a one-line "NAME:LINE: message" error on standard error.
#ifndef OSTRA_TOOL_DRAWING_H
#define OSTRA_TOOL_DRAWING_H

#include <functional>
#include <string>

#include <brevo/geometry.h>
#include <ostra/reader.h>

#include "input.h"

namespace tool {

// Called for each geometry in reading order with the reader's current layer
// and block (either may be null); returning false stops reading.
using eachgeometry = std::function<bool(const brevo::geometry& g, const char* layer, const char* block)>;
// Called after the last geometry of a drawing read without error, while the
// reader and its tables are still there.
using afterreading = std::function<void(ostra::reader& r)>;

enum class readstatus {
    ok,        // read to the end
    badinput,  // the error has been printed
    stopped,   // each returned false
};

// Whether drawings are read in the library's exact mode (bulges as arcs,
// closing pieces, extrusion directions, ellipses); set once from the command line.
extern bool exactreading;

// layers is the comma-separated layer filter, empty for none.
readstatus readdrawing(input& in, const std::string& layers, const eachgeometry& each,
                       const afterreading& after = {});

}  // namespace tool

#endif
