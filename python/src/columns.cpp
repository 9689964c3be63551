#include "columns.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace ostrapy {

namespace {
// The first mapping of a column: a few pages, so that small drawings stay
// small; the rows of the first growth follow from it.
constexpr std::size_t firstbytes = std::size_t(64) << 10;
// The pages the widest column gets ahead of its rows, at most.
constexpr std::size_t stepbytes = std::size_t(256) << 10;
// Huge pages: on the virtual machines measured, the first touch of every
// small page of new memory costs several microseconds, more than writing
// the page's values; a huge page is touched once.
constexpr std::size_t hugebytes = std::size_t(2) << 20;

// A new mapping of size bytes (a multiple of a huge page) beginning on a
// huge page boundary; null when there is no memory for it.
char* alignedmap(std::size_t size) {
    void* p = mmap(nullptr, size + hugebytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    char* raw = static_cast<char*>(p);
    const auto misaligned = reinterpret_cast<std::uintptr_t>(raw) & (hugebytes - 1);
    char* at = raw + (misaligned ? hugebytes - misaligned : 0);
    if (at > raw) munmap(raw, static_cast<std::size_t>(at - raw));
    const std::size_t tail = static_cast<std::size_t>(raw + size + hugebytes - (at + size));
    if (tail > 0) munmap(at + size, tail);
    return at;
}

}  // namespace

growbuffer::~growbuffer() { unmap(data_, mapped_); }

growbuffer::growbuffer(growbuffer&& o) noexcept : data_(o.data_), mapped_(o.mapped_) {
    o.data_ = nullptr;
    o.mapped_ = 0;
}

bool growbuffer::reserve(std::size_t bytes) {
    if (bytes <= mapped_) return true;
    std::size_t size = mapped_ ? mapped_ : firstbytes;
    while (size < bytes) {
        if (size > (std::size_t(-1) >> 2)) return false;
        size *= 2;
    }
    if (size < hugebytes) {
        void* p = data_ ? mremap(data_, mapped_, size, MREMAP_MAYMOVE)
                        : mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return false;
        data_ = static_cast<char*>(p);
        mapped_ = size;
        return true;
    }
    // From a huge page on, the mapping begins on a huge page boundary and
    // asks for huge pages: the values written so far move to its start.
    char* at = alignedmap(size);
    if (!at) return false;
    if (data_ && mremap(data_, mapped_, mapped_, MREMAP_MAYMOVE | MREMAP_FIXED, at) == MAP_FAILED) {
        munmap(at, size);
        return false;
    }
    // After the move, so that the whole mapping is one area again.
    madvise(at, size, MADV_HUGEPAGE);
    data_ = at;
    mapped_ = size;
    return true;
}

// Failing, it leaves the pages to be faulted in one by one as written.
void growbuffer::populate(std::size_t from, std::size_t to) {
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    from = from / page * page;
    to = std::min(mapped_, (to + page - 1) / page * page);
    if (data_ && from < to) madvise(data_ + from, to - from, MADV_POPULATE_WRITE);
}

char* growbuffer::release(std::size_t used, std::size_t& mapped) {
    // The pages beyond the values go back now.
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t keep = (used + page - 1) / page * page;
    if (data_ && keep > 0 && keep < mapped_ && mremap(data_, mapped_, keep, 0) != MAP_FAILED) mapped_ = keep;
    char* d = data_;
    mapped = mapped_;
    data_ = nullptr;
    mapped_ = 0;
    return d;
}

void growbuffer::unmap(char* data, std::size_t mapped) {
    if (data) munmap(data, mapped);
}

std::size_t elementsize(element e) {
    switch (e) {
    case element::float64:
    case element::int64: return 8;
    case element::int32:
    case element::uint32: return 4;
    case element::int16: return 2;
    case element::boolean: return 1;
    }
    return 8;
}

const char* elementname(element e) {
    switch (e) {
    case element::float64: return "float64";
    case element::int64: return "int64";
    case element::int32: return "int32";
    case element::uint32: return "uint32";
    case element::int16: return "int16";
    case element::boolean: return "bool";
    }
    return "float64";
}

std::size_t rowbytes(const columnspec& s) { return elementsize(s.type) * static_cast<std::size_t>(s.width); }

table::table(std::vector<columnspec> specs) : specs_(std::move(specs)), buffers_(specs_.size()) {
    for (const columnspec& s : specs_) widest_ = std::max(widest_, rowbytes(s));
}

// The rows up to ready_ are mapped and their pages in memory: the next rows
// get their pages a step at a time, so that memory is written to without a
// page fault per page, and is never much ahead of the rows.
bool table::advance() {
    if (rows_ == capacity_ && !grow()) return false;
    // As many rows ahead as there are already, up to a step.
    const std::size_t ahead = std::max<std::size_t>(16, std::min(rows_, stepbytes / widest_));
    const std::size_t ready = std::min(capacity_, rows_ + ahead);
    for (std::size_t c = 0; c < specs_.size(); ++c)
        buffers_[c].populate(rows_ * rowbytes(specs_[c]), ready * rowbytes(specs_[c]));
    ready_ = ready;
    return true;
}

// Every column grows to the same number of rows, the widest fixing how
// many: its buffer doubles, the others follow.
bool table::grow() {
    const std::size_t rows = capacity_ ? capacity_ * 2 : firstbytes / widest_;
    for (std::size_t c = 0; c < specs_.size(); ++c)
        if (!buffers_[c].reserve(rows * rowbytes(specs_[c]))) return false;
    capacity_ = rows;
    return true;
}

}  // namespace ostrapy
