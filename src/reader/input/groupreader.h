// Layer 1, input: bytes become lines and groups (a stream, memory, the binary form).
//
// Group pairing: a code and its value make one group, from text lines (a
// code line and a value line) or from the binary form, read from a stream
// or from memory.
#ifndef OSTRA_READER_GROUPREADER_H
#define OSTRA_READER_GROUPREADER_H

#include <cstddef>
#include <cstdio>

#include "reader/input/binaryreader.h"
#include "reader/input/linereader.h"
#include "reader/input/memlinereader.h"

namespace ostra {

class groupreader {
public:
    enum result { ok, endofstream, malformed };
    // At least padding chars from the start of a value may be read.
    static constexpr int padding = 32;
    static_assert(linereader::padding >= padding && binaryreader::padding >= padding, "values are padded");

    explicit groupreader(FILE* stream);
    // Reads the bytes [data, data + size), which must stay valid.
    groupreader(const char* data, std::size_t size);

    // Reads one group. Which form the input has is told at the first read,
    // from its first bytes; then each group costs a test or three of the
    // form.
    // A code line must hold only digits and blanks (an empty line is code
    // 0); otherwise the diagnostic is printed to the message stream and the
    // value line is left unread. Codes too large for an int read as the
    // largest int, which no slot holds. A binary code of no known type is
    // malformed too, and ends reading: every later read is the end.
    result read() {
        // Tested in this order: a stream of text, the common case, first.
        if (form_ == streamtext) return fromlines(lines_);
        if (form_ == memorytext) return fromlines(memory_);
        if (form_ == binary) return frombinary();
        return start();
    }
    int code() const { return code_; }
    const char* value() const { return value_; }
    int valuelength() const { return length_; }
    // Whether the value is a number as it stands (a double of the binary
    // form), which value() does not spell; number() is then the value.
    bool isnumber() const { return isnumber_; }
    double number() const { return binary_.number(); }
    // The lines read so far; for the binary form, the bytes.
    long linecount() const;
    // The stream read, or null when reading from memory.
    FILE* linestream() const { return stream_; }
    // The bytes of memory read so far; 0 for a stream.
    std::size_t memoryoffset() const;
    // Where the diagnostic goes: standard output unless set; null for nowhere.
    void setmessages(FILE* stream) { messages_ = stream; }
    // Text read by the CR rule when the first line ends with a lone CR (see
    // linereader); before the first read.
    void allowcr(bool allow) {
        lines_.allowcr(allow);
        memory_.allowcr(allow);
    }

private:
    enum form { undecided, streamtext, memorytext, binary };

    template <class lines>
    result fromlines(lines& l) {
        linereader::coderesult r = l.readgroup(code_);
        value_ = l.text();
        length_ = l.length();
        switch (r) {
        case linereader::codeok: return ok;
        case linereader::notacode: diagnose(); return malformed;
        case linereader::endofstream: break;
        }
        return endofstream;
    }
    result frombinary() {
        binaryreader::result r = binary_.read();
        code_ = binary_.code();
        value_ = binary_.text();
        length_ = binary_.length();
        isnumber_ = binary_.isnumber();
        switch (r) {
        case binaryreader::ok: return ok;
        case binaryreader::badcode: diagnose(); return malformed;
        case binaryreader::endofstream: break;
        }
        return endofstream;
    }
    // Tells the form from the first bytes, then reads the first group.
    result start();
    // Whether the stream begins with the binary sentinel; if not, what was
    // taken from it to tell is given back to the line reader.
    bool streamisbinary();
    // Prints the diagnostic for the code just read.
    void diagnose() const;

    form form_ = undecided;
    FILE* stream_;
    const char* data_;
    std::size_t size_;
    linereader lines_;
    memlinereader memory_;
    binaryreader binary_;
    FILE* messages_;
    int code_ = 0;
    const char* value_ = "";
    int length_ = 0;
    bool isnumber_ = false;
};

}  // namespace ostra

#endif
