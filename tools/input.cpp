#include "input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <limits>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "format.h"

namespace tool {

namespace {

// The first bytes of a drawing in the binary form of DXF.
const char binarysignature[] = "AutoCAD Binary DXF";

// Progress appears only for reading that takes a while, and is redrawn a
// few times a second.
constexpr std::chrono::milliseconds progressdelay(500);
constexpr std::chrono::milliseconds progressinterval(100);

}  // namespace

input::~input() {
    close();
}

bool input::open(const std::string& path, std::string& error, bool twice) {
    close();
    if (path == "-") {
        name_ = "<stdin>";
        fd_ = STDIN_FILENO;
        ownfd_ = false;
    } else {
        name_ = path;
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) {
            error = std::string("cannot open: ") + std::strerror(errno);
            return false;
        }
        ownfd_ = true;
    }
    struct stat st;
    if (fstat(fd_, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = std::string("cannot read: ") + std::strerror(EISDIR);
            close();
            return false;
        }
        regular_ = S_ISREG(st.st_mode);
        dev_ = st.st_dev;
        ino_ = st.st_ino;
        if (regular_) size_ = static_cast<std::uint64_t>(st.st_size);
    }
    showprogress_ = isatty(STDERR_FILENO) == 1;
    started_ = lastshown_ = std::chrono::steady_clock::now();
    if (ownfd_ && size_ > 0 && map()) return true;
    if (twice) {
        if (!spool(error)) return false;
        if (size_ > 0 && map()) return true;
    }

    // Peek until the signature could be told or the input ends; a pipe may
    // deliver the first bytes in several pieces.
    const std::size_t want = sizeof binarysignature - 1;
    while (peeklen_ < want) {
        const ssize_t n = ::read(fd_, peek_ + peeklen_, sizeof peek_ - peeklen_);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            readerror_ = errno;
            break;
        }
        if (n == 0) break;
        peeklen_ += static_cast<std::size_t>(n);
    }

    cookie_io_functions_t io = {};
    io.read = &input::readhook;
    stream_ = fopencookie(this, "r", io);
    if (!stream_) {
        error = std::string("cannot read: ") + std::strerror(errno);
        close();
        return false;
    }
    // Large chunks keep the per-read bookkeeping out of the way. The buffer
    // is given: without one the C library keeps its own size (a few KiB)
    // whatever size is asked for.
    if (!streambuf_) streambuf_.reset(new char[streambufsize]);
    std::setvbuf(stream_, streambuf_.get(), _IOFBF, streambufsize);
    return true;
}

bool input::map() {
    if (size_ > std::numeric_limits<std::size_t>::max()) return false;
    void* p = mmap(nullptr, static_cast<std::size_t>(size_), PROT_READ, MAP_PRIVATE, fd_, 0);
    if (p == MAP_FAILED) return false;
    mapped_ = static_cast<const char*>(p);
    // Read front to back: the kernel reads ahead and may drop what was
    // passed; the will-need starts reading a file that is not cached yet.
    madvise(p, static_cast<std::size_t>(size_), MADV_SEQUENTIAL);
    madvise(p, static_cast<std::size_t>(size_), MADV_WILLNEED);
    return true;
}

bool input::spool(std::string& error) {
    spool_ = std::tmpfile();
    if (!spool_) {
        error = std::string("cannot make a temporary copy: ") + std::strerror(errno);
        close();
        return false;
    }
    const int to = fileno(spool_);
    std::uint64_t total = 0;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readerror_ = errno;
        if (n <= 0) break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buf + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) {
                error = std::string("cannot make a temporary copy: ") + std::strerror(errno);
                close();
                return false;
            }
            done += w;
        }
        total += static_cast<std::uint64_t>(n);
    }
    if (ownfd_) ::close(fd_);
    fd_ = to;
    ownfd_ = true;  // mapped like an opened file; spool_ closes it
    size_ = total;
    if (lseek(fd_, 0, SEEK_SET) == 0) return true;
    error = std::string("cannot read the temporary copy: ") + std::strerror(errno);
    close();
    return false;
}

bool input::rewind() {
    if (!mapped_) return false;
    released_ = 0;
    geometries_ = 0;
    bytes_ = newlines_ = 0;
    last_ = '\n';
    content_ = 0;
    linehascontent_ = false;
    counted_ = false;
    started_ = lastshown_ = std::chrono::steady_clock::now();
    return true;
}

std::string input::tail() const {
    if (!mapped_) return std::string(tail_, taillen_);
    const std::size_t n = std::min<std::size_t>(sizeof tail_, static_cast<std::size_t>(size_));
    return std::string(mapped_ + size_ - n, n);
}

ostra::reader input::makereader() const {
    if (mapped_) return ostra::reader(mapped_, static_cast<std::size_t>(size_));
    return ostra::reader(stream_);
}

// The whole pages before the reader's offset are given back a few
// megabytes at a time, so that a large file does not fill memory.
void input::release(std::size_t offset) {
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t upto = offset / page * page;
    if (upto >= released_ + (std::size_t(4) << 20)) {
        // Their lines are counted first, while they are at hand.
        count(mapped_ + released_, upto - released_);
        madvise(const_cast<char*>(mapped_) + released_, upto - released_, MADV_DONTNEED);
        released_ = upto;
    }
    bytes_ = offset;
    if (showprogress_) progress();
}

bool input::binary() const {
    const std::size_t n = sizeof binarysignature - 1;
    if (mapped_) return size_ >= n && std::memcmp(mapped_, binarysignature, n) == 0;
    return peeklen_ >= n && std::memcmp(peek_, binarysignature, n) == 0;
}

// The lines of the part not given back yet (once).
void input::countmapped() const {
    if (counted_) return;
    counted_ = true;
    count(mapped_ + released_, static_cast<std::size_t>(size_) - released_);
}

std::uint64_t input::lines() const {
    if (mapped_) countmapped();
    const std::uint64_t seen = mapped_ ? size_ : bytes_;
    return newlines_ + (seen > 0 && last_ != '\n' ? 1 : 0);
}

int input::contentlines() const {
    if (mapped_) countmapped();
    return content_ + (linehascontent_ && content_ < 2 ? 1 : 0);
}

void input::close() {
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (mapped_) {
        munmap(const_cast<char*>(mapped_), static_cast<std::size_t>(size_));
        mapped_ = nullptr;
    }
    if (ownfd_ && fd_ >= 0 && !(spool_ && fd_ == fileno(spool_))) ::close(fd_);
    if (spool_) {
        std::fclose(spool_);
        spool_ = nullptr;
    }
    fd_ = -1;
    ownfd_ = false;
    if (progressshown_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        progressshown_ = false;
    }
}

ssize_t input::readhook(void* cookie, char* buf, std::size_t size) {
    return static_cast<input*>(cookie)->read(buf, size);
}

ssize_t input::read(char* buf, std::size_t size) {
    std::size_t n = 0;
    if (peekpos_ < peeklen_) {
        n = std::min(size, peeklen_ - peekpos_);
        std::memcpy(buf, peek_ + peekpos_, n);
        peekpos_ += n;
    } else if (readerror_ == 0) {
        ssize_t r;
        do {
            r = ::read(fd_, buf, size);
        } while (r < 0 && errno == EINTR);
        if (r < 0) {
            readerror_ = errno;
            return -1;
        }
        n = static_cast<std::size_t>(r);
    }
    bytes_ += n;
    count(buf, n);
    if (showprogress_) progress();
    return static_cast<ssize_t>(n);
}

void input::count(const char* buf, std::size_t n) const {
    if (n == 0) return;
    const char* end = buf + n;
    for (const char* p = buf; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) {
        ++newlines_;
    }
    last_ = buf[n - 1];
    if (n >= sizeof tail_) {
        std::memcpy(tail_, end - sizeof tail_, sizeof tail_);
        taillen_ = sizeof tail_;
    } else {
        const std::size_t keep = std::min(taillen_, sizeof tail_ - n);
        std::memmove(tail_, tail_ + taillen_ - keep, keep);
        std::memcpy(tail_ + keep, buf, n);
        taillen_ = keep + n;
    }
    // Telling whether the stream holds two lines of content needs a look at
    // the bytes only until it does.
    for (const char* p = buf; p < end && content_ < 2; ++p) {
        if (*p == '\n') {
            if (linehascontent_) ++content_;
            linehascontent_ = false;
        } else if (*p != ' ' && *p != '\t' && *p != '\r') {
            linehascontent_ = true;
        }
    }
}

void input::progress() {
    const auto now = std::chrono::steady_clock::now();
    if (now - started_ < progressdelay || now - lastshown_ < progressinterval) return;
    lastshown_ = now;
    const double mb = static_cast<double>(bytes_) / 1e6;
    if (size_ > 0) {
        const double total = static_cast<double>(size_) / 1e6;
        std::fprintf(stderr, "\r\033[K%s: %.1f of %.1f MB read (%.0f%%)", printable(name_).c_str(), mb, total,
                     100.0 * static_cast<double>(bytes_) / static_cast<double>(size_));
    } else {
        std::fprintf(stderr, "\r\033[K%s: %.1f MB read", printable(name_).c_str(), mb);
    }
    std::fflush(stderr);
    progressshown_ = true;
}

}  // namespace tool
