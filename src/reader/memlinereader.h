// Line reading from memory: the lines a stream holding the same bytes would
// give, without a stream.
#ifndef OSTRA_READER_MEMLINEREADER_H
#define OSTRA_READER_MEMLINEREADER_H

#include <cstddef>
#include <cstdint>

#include "reader/linereader.h"

namespace ostra {

// Reads the bytes [data, data + size) line by line with exactly the results
// of linereader on a stream that holds them: the same texts (the 511-char
// cut, text after a NUL ignored, the byte-order mark of the first line
// skipped, blanks trimmed), codes, line counts and end. The bytes are only
// read, and never beyond size.
class memlinereader {
public:
    using coderesult = linereader::coderesult;
    static constexpr int bufsize = linereader::bufsize;
    static constexpr int padding = linereader::padding;

    memlinereader(const char* data, std::size_t size);

    // As linereader::read(), readcode() and readgroup().
    bool read();
    coderesult readcode(int& code);
    coderesult readgroup(int& code);

    const char* text() const { return text_; }
    int length() const { return length_; }
    long count() const { return count_; }
    // The bytes taken so far: where a stream would stand.
    std::size_t offset() const { return static_cast<std::size_t>(cur_ - start_); }

private:
    // The general path, one line at a time, for every line.
    bool readslow();
    coderesult readgroupslow(int& code);
    // Bit i set where p[i] is a newline or a NUL, for at least the next two
    // such bytes within 64 bytes of p (which must be 64 or more from the
    // end): the mask of the 64 bytes from where it was last made serves
    // until it holds fewer than two.
    std::uint64_t stops(const char* p);

    const char* start_;
    const char* cur_;
    const char* end_;
    const char* maskbase_;
    std::uint64_t stops_ = 0;  // bit i: maskbase_[i] is a newline or a NUL
    char* text_;
    int length_ = 0;
    long count_ = 0;
    char buf_[bufsize + padding];
};

}  // namespace ostra

#endif
