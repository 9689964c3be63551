// One record of the written file, composed in a buffer and written with a
// single fwrite: group codes right-aligned as "  NN", numbers as
// formatfixed6 prints them, integers in plain decimal.
#ifndef OSTRA_WRITER_RECORD_H
#define OSTRA_WRITER_RECORD_H

#include <cstddef>
#include <cstdio>
#include <cstring>

#include <brevo/types.h>

#include "support/number.h"

namespace ostra {

// Writes all of text; false when fwrite takes less, or when the stream
// carries an error from an earlier buffered write.
inline bool writeall(FILE* stream, const char* text, std::size_t size) {
    if (!stream) return false;
    return std::fwrite(text, 1, size, stream) == size && !std::ferror(stream);
}

// v as it reads back from the text a record holds for it.
double printed(double v);

class record {
public:
    // Room for the head, a layer name of 255 chars, a colour and ten numbers.
    static constexpr std::size_t numbergroup = 7 + formatcapacity + 1;
    static constexpr std::size_t capacity = 512 + 10 * numbergroup;

    explicit record(const char* head) { text(head); }

    // Raw text; what would not fit is left out (the records composed here
    // never come near the capacity).
    void text(const char* t) { raw(t, std::strlen(t)); }
    // A group whose code line is code (with its newline) and whose value is
    // the text v.
    void group(const char* code, const char* v) {
        text(code);
        text(v);
        raw("\n", 1);
    }
    void number(const char* code, double v) {
        text(code);
        if (size_ + formatcapacity + 1 > capacity) return;
        size_ += formatfixed6(v, buf_ + size_);
        buf_[size_++] = '\n';
    }
    void integer(const char* code, int v);
    void point(const char* x, const char* y, const char* z, const brevo::point& p) {
        number(x, p.x);
        number(y, p.y);
        number(z, p.z);
    }
    bool writeto(FILE* stream) const { return writeall(stream, buf_, size_); }

private:
    void raw(const char* t, std::size_t n) {
        if (n > capacity - size_) n = capacity - size_;
        std::memcpy(buf_ + size_, t, n);
        size_ += n;
    }

    char buf_[capacity];
    std::size_t size_ = 0;
};

inline void record::integer(const char* code, int v) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", v);  // no locale touches %d
    group(code, digits);
}

}  // namespace ostra

#endif
