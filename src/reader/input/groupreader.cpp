#include "reader/input/groupreader.h"

#include <cstdio>
#include <cstring>

#include "reader/input/streamaccess.h"

namespace ostra {

groupreader::groupreader(FILE* stream)
    : stream_(stream), data_(nullptr), size_(0), lines_(stream), memory_(nullptr, 0), messages_(stdout) {}

groupreader::groupreader(const char* data, std::size_t size)
    : stream_(nullptr), data_(data), size_(size), lines_(nullptr), memory_(data, size), messages_(stdout) {}

groupreader::result groupreader::start() {
    if (stream_) {
        form_ = streamisbinary() ? binary : streamtext;
        if (form_ == binary) binary_.open(stream_);
    } else if (size_ >= binarysentinelsize && std::memcmp(data_, binarysentinel, binarysentinelsize) == 0) {
        form_ = binary;
        binary_.open(data_ + binarysentinelsize, data_ + size_);
    } else {
        form_ = memorytext;
    }
    return read();
}

// Only a stream that begins with 'A' is looked at further: in the stream's
// buffer where it holds the sentinel's length, otherwise by taking bytes
// while they match, which the line reader gets back if they stop matching.
bool groupreader::streamisbinary() {
    int c = OSTRA_GETC(stream_);
    if (c == EOF) return false;
    std::ungetc(c, stream_);
    if (c != binarysentinel[0]) return false;
#if OSTRA_DIRECT
    if (stream_->_IO_read_end - stream_->_IO_read_ptr >= binarysentinelsize) {
        if (std::memcmp(stream_->_IO_read_ptr, binarysentinel, binarysentinelsize) != 0) return false;
        stream_->_IO_read_ptr += binarysentinelsize;
        return true;
    }
#endif
    char taken[binarysentinelsize];
    int n = 0;
    while (n < binarysentinelsize && (c = OSTRA_GETC(stream_)) != EOF) {
        if (c != static_cast<unsigned char>(binarysentinel[n])) {
            std::ungetc(c, stream_);
            break;
        }
        taken[n++] = static_cast<char>(c);
    }
    if (n == binarysentinelsize) return true;
    lines_.unread(taken, n);
    return false;
}

long groupreader::linecount() const {
    switch (form_) {
    case streamtext: return lines_.count();
    case memorytext: return memory_.count();
    case binary: return binary_.offset();
    case undecided: break;
    }
    return 0;
}

std::size_t groupreader::memoryoffset() const {
    if (stream_) return 0;
    switch (form_) {
    case memorytext: return memory_.offset();
    case binary: return static_cast<std::size_t>(binary_.offset());
    default: return 0;
    }
}

void groupreader::diagnose() const {
    if (!messages_) return;
    std::fprintf(messages_, "numerical group code expected\n");
    std::fprintf(messages_, "%ld: %s", linecount(), value_);
}

}  // namespace ostra
