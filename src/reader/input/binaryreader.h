// Group reading in the binary form of DXF: the groups of the text form,
// each a code and a value whose type the code's range decides.
#ifndef OSTRA_READER_BINARYREADER_H
#define OSTRA_READER_BINARYREADER_H

#include <cstddef>
#include <cstdio>

namespace ostra {

// The sentinel that opens a drawing in the binary form.
constexpr char binarysentinel[] = "AutoCAD Binary DXF\r\n\x1a";
constexpr int binarysentinelsize = 22;  // the chars above and a NUL

// Reads the groups that follow the sentinel, from memory or from a stream.
//
// A code takes one byte (255 escaping a two-byte code) in drawings before
// R13 and two bytes from R13 on, little-endian; which one a drawing uses is
// told from its first group (see detectwidth()). A value is a string up to
// its NUL, a little-endian double, a 16-, 32- or 64-bit integer, a one-byte
// boolean or a chunk of bytes after a length byte, by the code's range. The
// reader hands out strings as they stand (their first 511 chars, like a
// text line), integers and booleans as decimal text, chunks as hexadecimal
// text as the text form writes them, and doubles as numbers. A code outside
// the known ranges ends reading: nothing after it can be told apart. A
// value cut by the end of the input is the end of the input.
class binaryreader {
public:
    enum result { ok, endofstream, badcode };
    static constexpr int bufsize = 512;
    static constexpr int padding = 32;

    // Reads the bytes [data, end), which follow the sentinel.
    void open(const char* data, const char* end);
    // Reads from stream, which stands right behind the sentinel.
    void open(FILE* stream);

    // Reads the next group.
    result read();

    int code() const { return code_; }
    // The value's text; "" for a double. At least padding chars from its
    // start may be read.
    const char* text() const { return text_; }
    int length() const { return length_; }
    bool isnumber() const { return isnumber_; }
    double number() const { return number_; }
    // The bytes read so far, the sentinel included.
    long offset() const;

private:
    struct memorybytes;
    struct streambytes;

    template <class bytes>
    result parse(bytes& in);
    template <class bytes>
    bool readcode(bytes& in, int& code);
    void setfixed(int type, const unsigned char* b);
    void setchunk(const unsigned char* b, int n);
    void setstring(const char* s, std::size_t n, bool padded);
    int detectwidth(int b0, int b1) const;
    result readstream();
    void describebadcode();

    const char* start_ = nullptr;
    const char* cur_ = nullptr;
    const char* end_ = nullptr;
    FILE* stream_ = nullptr;
    long streamtaken_ = 0;
    int width_ = 0;  // bytes per code: 1, 2, or 0 before the first group
    bool stopped_ = false;
    int held_[2] = {0, 0};  // bytes taken from the stream to tell the width, read first
    int heldnext_ = 0, heldend_ = 0;

    int code_ = 0;
    const char* text_ = nullptr;
    int length_ = 0;
    bool isnumber_ = false;
    double number_ = 0;
    char buf_[bufsize + padding];
};

}  // namespace ostra

#endif
