#include "sources.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrapy {

namespace {

// Stream buffers large enough that the per-read work does not matter.
constexpr std::size_t streambuffer = std::size_t(1) << 16;
// The passed pages of a mapped file go back a few megabytes at a time.
constexpr std::size_t releasestep = std::size_t(4) << 20;

[[noreturn]] void oserror(int error, const py::object& path) {
    errno = error;
    PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, path.ptr());
    throw py::error_already_set();
}

}  // namespace

source::source(const std::string& kind, const py::object& obj, pathreading how) {
    if (kind == "path") {
        openpath(obj, how);
    } else if (kind == "buffer") {
        if (PyObject_GetBuffer(obj.ptr(), &view_, PyBUF_SIMPLE) != 0) {
            PyErr_Clear();
            throw py::value_error("the drawing's bytes must be one contiguous buffer");
        }
        viewed_ = true;
        data_ = static_cast<const char*>(view_.buf);
        size_ = static_cast<std::size_t>(view_.len);
    } else {
        openfile(obj);
    }
}

source::~source() {
    if (stream_) std::fclose(stream_);
    if (mapped_) munmap(mapped_, size_);
    if (viewed_) PyBuffer_Release(&view_);
}

void source::openpath(const py::object& path, pathreading how) {
    const std::string name = py::isinstance<py::bytes>(path) ? std::string(py::bytes(path)) : path.cast<std::string>();
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) oserror(errno, path);
    struct stat st;
    const int e = fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    if (e != 0) {
        ::close(fd);
        oserror(e, path);
    }
    const bool regular = S_ISREG(st.st_mode) && st.st_size > 0;
    if (regular && how == pathreading::mapped) {
        void* p = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (p != MAP_FAILED) {
            ::close(fd);
            mapped_ = static_cast<char*>(p);
            // Read front to back, and read ahead now when not cached yet.
            madvise(p, static_cast<std::size_t>(st.st_size), MADV_SEQUENTIAL);
            madvise(p, static_cast<std::size_t>(st.st_size), MADV_WILLNEED);
            data_ = mapped_;
            size_ = static_cast<std::size_t>(st.st_size);
            return;
        }
    }
    if (regular && how == pathreading::whole) {
        whole_.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < whole_.size()) {
            const ssize_t n = ::read(fd, whole_.data() + got, whole_.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        whole_.resize(got);
        data_ = whole_.data();
        size_ = got;
        return;
    }
    // Anything else (a pipe, a device, an empty file) is read as a stream.
    stream_ = fdopen(fd, "rb");
    if (!stream_) {
        const int e = errno;
        ::close(fd);
        oserror(e, path);
    }
    givebuffer();
}

void source::openfile(const py::object& file) {
    file_ = file;
    if (py::hasattr(file, "readinto")) readinto_ = file.attr("readinto");
    cookie_io_functions_t io = {};
    io.read = &source::readhook;
    stream_ = fopencookie(this, "r", io);
    if (!stream_) throw std::bad_alloc();
    givebuffer();
}

// Large chunks keep the per-read bookkeeping out of the way. The buffer is
// given: without one the C library keeps its own size (a few KiB) whatever
// size is asked for.
void source::givebuffer() {
    streambuf_.reset(new char[streambuffer]);
    std::setvbuf(stream_, streambuf_.get(), _IOFBF, streambuffer);
}

std::unique_ptr<ostra::reader> source::makereader() {
    if (stream_) return std::make_unique<ostra::reader>(stream_);
    return std::make_unique<ostra::reader>(data_, size_);
}

void source::passed(std::size_t offset) {
    if (!mapped_) return;
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t upto = offset / page * page;
    if (upto < released_ + releasestep) return;
    madvise(mapped_ + released_, upto - released_, MADV_DONTNEED);
    released_ = upto;
}

void source::rethrow() {
    if (error_) {
        std::exception_ptr e = error_;
        error_ = nullptr;
        std::rethrow_exception(e);
    }
}

ssize_t source::readhook(void* cookie, char* buf, std::size_t size) {
    return static_cast<source*>(cookie)->readfile(buf, size);
}

// Called by the stream, with or without the GIL. A Python error ends the
// stream (a read error) and is kept for rethrow(); nothing is read after it.
ssize_t source::readfile(char* buf, std::size_t size) {
    if (error_) return -1;
    py::gil_scoped_acquire gil;
    try {
        if (readinto_) {
            py::memoryview view = py::memoryview::from_memory(buf, static_cast<ssize_t>(size));
            py::object n = readinto_(view);
            view.attr("release")();
            if (n.is_none()) return 0;
            const ssize_t got = n.cast<ssize_t>();
            if (got < 0 || static_cast<std::size_t>(got) > size)
                throw py::value_error("readinto() returned an impossible count");
            return got;
        }
        py::object data = file_.attr("read")(size);
        if (!PyBytes_Check(data.ptr()) && !PyByteArray_Check(data.ptr()))
            throw py::type_error("the file object's read() must return bytes: open the file in binary mode");
        const bool isbytes = PyBytes_Check(data.ptr());
        const char* bytes = isbytes ? PyBytes_AS_STRING(data.ptr()) : PyByteArray_AS_STRING(data.ptr());
        const Py_ssize_t n = isbytes ? PyBytes_GET_SIZE(data.ptr()) : PyByteArray_GET_SIZE(data.ptr());
        if (static_cast<std::size_t>(n) > size) throw py::value_error("read() returned more bytes than asked for");
        std::memcpy(buf, bytes, static_cast<std::size_t>(n));
        return static_cast<ssize_t>(n);
    } catch (...) {
        error_ = std::current_exception();
        return -1;
    }
}

}  // namespace ostrapy
