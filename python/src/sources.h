// Where a drawing is read from: a file named by its path, bytes of a Python
// object that supports the buffer protocol (read in place), or a Python
// binary file object (read through a C stream that calls its readinto).
// Opening and closing need the GIL; the reader a source makes may run
// without it.
#ifndef OSTRA_PYTHON_SOURCES_H
#define OSTRA_PYTHON_SOURCES_H

#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include <pybind11/pybind11.h>

#include <ostra/reader.h>

namespace ostrapy {

namespace py = pybind11;

// How a file named by its path is read: mapped into memory (the pages
// passed given back as reading goes on), through a C stream, or read whole
// into memory first.
enum class pathreading { mapped, stream, whole };

class source {
public:
    // kind is "path" (obj a str or bytes path), "buffer" or "file". Raises
    // OSError (FileNotFoundError, IsADirectoryError, ...) for a path that
    // cannot be opened, ValueError for a buffer that is not contiguous.
    source(const std::string& kind, const py::object& obj, pathreading how = pathreading::mapped);
    ~source();
    source(const source&) = delete;
    source& operator=(const source&) = delete;

    std::unique_ptr<ostra::reader> makereader();
    // The reader stands at offset (of a reader from memory): a mapped file
    // gives back the pages before it now and then.
    void passed(std::size_t offset);
    // Raises what the file object's read raised, if it did.
    void rethrow();

private:
    void openpath(const py::object& path, pathreading how);
    void openfile(const py::object& file);
    void givebuffer();
    static ssize_t readhook(void* cookie, char* buf, std::size_t size);
    ssize_t readfile(char* buf, std::size_t size);

    // Bytes in memory: a mapping, a copy, or a Python buffer.
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    char* mapped_ = nullptr;
    std::size_t released_ = 0;
    std::vector<char> whole_;
    Py_buffer view_{};
    bool viewed_ = false;
    // Or a stream: of a file, or over a Python file object.
    FILE* stream_ = nullptr;
    std::unique_ptr<char[]> streambuf_;  // the stream's buffer, which outlives it
    py::object file_, readinto_;
    std::exception_ptr error_;
};

}  // namespace ostrapy

#endif
