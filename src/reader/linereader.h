// Line reading: one text line at a time from a C stream, trimmed.
#ifndef OSTRA_READER_LINEREADER_H
#define OSTRA_READER_LINEREADER_H

#include <cstdio>

namespace ostra {

// Reads lines with the semantics of fgets into a 512-char buffer, but a
// longer line is not split: its first 511 chars are the line's text and the
// rest of it, up to its newline, is read and dropped. Leading and trailing
// blanks (space, tab, CR, LF) are trimmed. A UTF-8 byte-order mark opening
// the first line is skipped. The stream is consumed only up to the end of the
// line last read, so the host may go on reading it afterwards.
class linereader {
public:
    static constexpr int bufsize = 512;

    explicit linereader(FILE* stream);

    // Reads the next line. Returns false at the end of the stream or on a
    // read error. The text stays valid until the next call.
    bool read();
    const char* text() const { return text_; }
    int length() const { return length_; }
    // Number of lines read so far (counted even when the read fails).
    int count() const { return count_; }
    FILE* stream() const { return stream_; }

private:
    FILE* stream_;
    char* text_;
    int length_ = 0;
    int count_ = 0;
    bool first_ = true;
    char buf_[bufsize];
};

}  // namespace ostra

#endif
