// Line reading: one text line at a time from a C stream, trimmed.
#ifndef OSTRA_READER_LINEREADER_H
#define OSTRA_READER_LINEREADER_H

#include <cstdio>

#include "reader/input/linescan.h"

// With glibc and SSE2 the common group is taken from the stream's buffer in
// the header, where the group layer reads it (see linereader.cpp for the
// stream's get area).
#if defined(__GLIBC__) && OSTRA_SIMD_AVAILABLE
#define OSTRA_INLINE_GROUP 1
#else
#define OSTRA_INLINE_GROUP 0
#endif

namespace ostra {

// Reads lines with the semantics of fgets into a 512-char buffer, but a
// longer line is not split: its first 511 chars are the line's text and the
// rest of it, up to its newline, is read and dropped. Text after an embedded
// NUL is not part of the line. Leading and trailing blanks (space, tab, CR,
// LF) are trimmed. A UTF-8 byte-order mark opening the first line is
// skipped. The stream is consumed only up to the end of the line last read,
// so the host may go on reading it afterwards.
//
// With allowcr(true) a drawing whose first line ends with a lone CR (as old
// Mac programs write them) is read by the CR rule: a line ends at LF, at
// CR LF or at a lone CR, with the same cut, NUL and trimming rules. That
// rule takes the general path for every line; other drawings are read as
// without it.
class linereader {
public:
    static constexpr int bufsize = 512;

    explicit linereader(FILE* stream);

    // Reads the next line. Returns false at the end of the stream or on a
    // read error. The text stays valid until the next call.
    bool read();

    // Reads the next line as a group code: only digits and blanks (space,
    // tab, CR, LF) make a code; its value is the run of digits after the
    // leading blanks (an empty line is 0, "10 20" is 10), and values too
    // large for an int read as the largest int. On codeok the code is stored
    // in code and text() is left alone; on notacode text() holds the trimmed
    // line as read() gives it; on endofstream as read() leaves it.
    enum coderesult { codeok, notacode, endofstream };
    coderesult readcode(int& code);

    // Reads a group: a code line as readcode() reads it and, when it is a
    // code, the value line after it as read() reads it; text() is then the
    // value. On endofstream after a code the code is stored all the same.
    // Both lines are mostly found and classified at once, inline.
    coderesult readgroup(int& code);

    // The text; at least padding chars from its start may always be read
    // (chars after its NUL have no meaning), so that short texts can be
    // copied in one fixed-size move.
    static constexpr int padding = 32;
    const char* text() const { return text_; }
    int length() const { return length_; }
    // Number of lines read so far (a read that finds the end of the stream
    // reads no line).
    long count() const { return count_; }
    FILE* stream() const { return stream_; }

    // Gives back the first n (at most 24) bytes of the stream, which the
    // caller has taken from it before the first read: they are read before
    // the stream's own.
    void unread(const char* bytes, int n);
    // Whether a first line that ends with a lone CR turns on the CR rule;
    // off at first. Only before the first line is read.
    void allowcr(bool allow) {
        if (count_ == 0) crlines_ = allow;
    }

private:
    // The general path: fgets, the rest of an overlong line dropped, the
    // byte-order mark, trimming.
    bool readslow();
    // The general path by the CR rule.
    bool readcr();
    int nextbyte();
    bool fill();
    template <bool trim>
#if defined(__GNUC__)
    __attribute__((always_inline))
#endif
    bool accept(char* b, char* e, char* next, int lines);
    // readgroup() line by line; kept apart so that the fast path stays small.
#if defined(__GNUC__)
    __attribute__((noinline))
#endif
    coderesult readgroupslow(int& code);

    FILE* stream_;
    char* text_;
    int length_ = 0;
    long count_ = 0;
    bool first_ = true;    // the fast paths wait: the first line, bytes given back, the CR rule
    bool crlines_ = false;  // the CR rule: for the first line when allowed, then for good after a lone CR
    char held_[24];
    int heldnext_ = 0, heldend_ = 0;
    char buf_[bufsize + padding];
};

// Both lines within the first 32 bytes of the stream's buffer, the code
// line within the first 16 and neither cut by a NUL: found, classified and
// converted at once; everything else goes the general way.
inline linereader::coderesult linereader::readgroup(int& code) {
#if OSTRA_INLINE_GROUP
    using namespace linescan;
    char* p = stream_->_IO_read_ptr;
    if (!first_ && stream_->_IO_read_end - p >= 32) {
        __m128i v0 = load(p), v1 = load(p + 16);
        unsigned nls = newlinebits(v0) | newlinebits(v1) << 16;
        unsigned nuls = nulbits(v0) | nulbits(v1) << 16;
        unsigned k1 = static_cast<unsigned>(__builtin_ctz(nls | 0x80000000u));
        unsigned rest = nls & (nls - 1);
        unsigned k2 = static_cast<unsigned>(__builtin_ctz(rest | 0x80000000u));
        if (rest && k1 < 16 && (nuls & ((2u << k2) - 1)) == 0) {
            unsigned blanks = blankbits(v0) | blankbits(v1) << 16;
            unsigned before = (1u << k1) - 1;
            unsigned digits = digitbits(v0) & before;
            if ((digits | (blanks & before)) == before) {
                code = codeof(p, k1, digits);
                // The value: the non-blank chars between the two newlines.
                store(buf_, v0);
                store(buf_ + 16, v1);
                unsigned keep = ~blanks & ((1u << k2) - 1) & ~((2u << k1) - 1);
                char* e = buf_ + endbit(keep);
                *e = '\0';
                text_ = buf_ + firstbit(keep);
                length_ = static_cast<int>(e - text_);
                count_ += 2;
                stream_->_IO_read_ptr = p + k2 + 1;
                return codeok;
            }
        }
    }
#endif
    return readgroupslow(code);
}

}  // namespace ostra

#endif
