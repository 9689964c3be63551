// Runs the reader over an input drawing and tells how reading ended: read
// to its EOF record, stopped early with a warning on standard error (what
// was read still counts), or nothing readable with a one-line error.
#ifndef OSTRA_TOOL_DRAWING_H
#define OSTRA_TOOL_DRAWING_H

#include <functional>
#include <string>

#include <brevo/geometry.h>
#include <ostra/reader.h>

#include "input.h"
#include "options.h"

namespace tool {

// Called for each geometry in reading order, with the reader for what it
// says about the geometry; returning false stops reading.
using eachgeometry = std::function<bool(const brevo::geometry& g, ostra::reader& r)>;
// Called after the last geometry while the reader and its tables are there
// (also when reading stopped early).
using afterreading = std::function<void(ostra::reader& r)>;

struct readoutcome {
    int status = complete;  // complete, stoppedearly or unreadable
    bool stopped = false;   // each returned false
    std::string why;        // how reading ended, for reports: "complete", "stopped early: ..."
};

// Reads in with the options' reading (exact unless simple) and layer
// filter, names in UTF-8.
readoutcome readdrawing(input& in, const options& o, const eachgeometry& each, const afterreading& after = {});

// Opens the file for reading; prints the error and returns false when it
// cannot be opened.
bool openinput(input& in, const std::string& file);

}  // namespace tool

#endif
