// The streaming reader: one small object per geometry, for drawings too big
// to hold, with the reader's status, listings and header beside them.
#ifndef OSTRA_PYTHON_STREAMING_H
#define OSTRA_PYTHON_STREAMING_H

#include <memory>
#include <string>
#include <unordered_map>

#include <pybind11/pybind11.h>

#include <brevo/geometry.h>
#include <ostra/reader.h>

#include "reading.h"
#include "sources.h"

namespace ostrapy {

namespace py = pybind11;

// One geometry with what the reader said about it.
struct item {
    brevo::geometry g;
    py::object layer, block, record;
    std::string handle;
    int color = -1, aci = -1;
    // The drawn entity it is a piece of, its place in it, and whether that
    // entity is a closed contour.
    long itemnumber = 0;
    int piece = 0;
    bool closed = false;
};

// Its kind: "segment", "arc", "circle", "ellipse" or "point".
const char* itemkind(const item& i);

class streamreader {
public:
    streamreader(const std::string& kind, const py::object& obj, const readoptions& o);

    // The next geometry; raises StopIteration when reading has ended (and
    // from then on).
    item next();
    // Drops the reader and its source (a mapped file, a buffer held).
    void close();

    int status() const { return reader_ ? reader_->status() : ended_.status; }
    long line() const { return reader_ ? reader_->line() : ended_.line; }
    listings current();
    py::object header(const std::string& name, const py::object& code);

private:
    py::object cached(std::unordered_map<const char*, py::object>& cache, const char* text);

    std::unique_ptr<source> source_;
    std::unique_ptr<ostra::reader> reader_;
    listings ended_;  // what the reader said when it was closed
    bool done_ = false;
    std::size_t count_ = 0;
    // Layer and block names live as long as the reader: their Python
    // strings are made once. Record names are few, kept by their text.
    std::unordered_map<const char*, py::object> layers_, blocks_;
    std::unordered_map<std::string, py::object> records_;
};

}  // namespace ostrapy

#endif
