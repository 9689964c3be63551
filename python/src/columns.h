// The columns of one kind of geometry as the reading fills them: one buffer
// per column, all grown together a row at a time. A buffer is an anonymous
// mapping grown by mremap, so growing never copies what is written and
// only the pages written count in the resident set; at the end each buffer
// is handed to numpy as it stands.
#ifndef OSTRA_PYTHON_COLUMNS_H
#define OSTRA_PYTHON_COLUMNS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrapy {

// Memory of one column: mapped at the first reserve, grown by doubling.
class growbuffer {
public:
    growbuffer() = default;
    ~growbuffer();
    growbuffer(growbuffer&& o) noexcept;
    growbuffer& operator=(growbuffer&&) = delete;
    growbuffer(const growbuffer&) = delete;
    growbuffer& operator=(const growbuffer&) = delete;

    // Room for at least bytes; false (the buffer as it was) when the
    // memory cannot be had.
    bool reserve(std::size_t bytes);
    char* data() const { return data_; }
    // Brings the pages of bytes from to to into memory now (as writing
    // them would, with fewer faults).
    void populate(std::size_t from, std::size_t to);
    // Hands the mapping over, cut to the used bytes: the caller unmaps it
    // with unmap(). The buffer is empty after.
    char* release(std::size_t used, std::size_t& mapped);
    static void unmap(char* data, std::size_t mapped);

private:
    char* data_ = nullptr;
    std::size_t mapped_ = 0;
};

// The numpy element types of the columns.
enum class element { float64, int64, int32, uint32, int16, boolean };
std::size_t elementsize(element e);
// Its numpy name: "float64", "int32", ...
const char* elementname(element e);

// A column: its name, element type and values per row (3 for a point).
struct columnspec {
    const char* name;
    element type;
    int width;
};
// The bytes of one row of a column.
std::size_t rowbytes(const columnspec& s);

class table {
public:
    explicit table(std::vector<columnspec> specs);

    // Room for one more row in every column; false when memory ran out.
    bool addrow() { return rows_ < ready_ || advance(); }
    // The place of column c's values in the row being added.
    template <class T>
    T* at(int c) {
        return reinterpret_cast<T*>(buffers_[c].data()) + rows_ * static_cast<std::size_t>(specs_[c].width);
    }
    // The row being added is complete.
    void commit() { ++rows_; }

    std::size_t rows() const { return rows_; }
    const std::vector<columnspec>& specs() const { return specs_; }
    growbuffer& buffer(int c) { return buffers_[c]; }

private:
    bool advance();
    bool grow();

    std::vector<columnspec> specs_;
    std::vector<growbuffer> buffers_;
    std::size_t widest_ = 1;  // the bytes of a row of the widest column
    std::size_t rows_ = 0, ready_ = 0, capacity_ = 0;
};

}  // namespace ostrapy

#endif
