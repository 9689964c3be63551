// Runs the reader over an input drawing and tells how reading ended: read
// to its EOF record, stopped early with a warning on standard error (what
// was read still counts), or nothing readable with a one-line error.
#ifndef OSTRA_TOOL_DRAWING_H
#define OSTRA_TOOL_DRAWING_H

#include <functional>
#include <string>
#include <vector>

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
    std::string why;        // how reading ended, for reports: "complete", "stopped early: ...";
                            // for an unreadable drawing the error
};

// The names of a --layers filter: split at the commas, blanks around each
// name taken away, empty names left out.
std::vector<std::string> filternames(const std::string& layers);

// Sets r up for the options: the exact reading unless simple, names in
// UTF-8, the layer filter, no messages of the reader's own.
void configure(ostra::reader& r, const options& o);

// Reads in with the options' reading and layer filter (see configure). A
// drawing read to its end whose layers include no layer a filter name names
// gets a warning on standard error.
readoutcome readdrawing(input& in, const options& o, const eachgeometry& each, const afterreading& after = {});

// Opens the file for reading (see input::open for twice); prints the error
// and returns false when it cannot be opened, with the error (without the
// name) in error when it is given.
bool openinput(input& in, const std::string& file, std::string* error = nullptr, bool twice = false);

}  // namespace tool

#endif
