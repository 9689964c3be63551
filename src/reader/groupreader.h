// Group pairing: a code line and a value line make one group.
#ifndef OSTRA_READER_GROUPREADER_H
#define OSTRA_READER_GROUPREADER_H

#include "reader/linereader.h"

namespace ostra {

class groupreader {
public:
    enum result { ok, endofstream, malformed };

    explicit groupreader(FILE* stream) : lines_(stream), messages_(stdout) {}

    // Reads one group. A code line must hold only digits and blanks (an empty
    // line is code 0); otherwise the diagnostic is printed to the message
    // stream and the value line is left unread. Codes too large for an int
    // read as the largest int, which no slot holds.
    result read() {
        switch (lines_.readgroup(code_)) {
        case linereader::codeok: return ok;
        case linereader::notacode: diagnose(); return malformed;
        case linereader::endofstream: break;
        }
        return endofstream;
    }
    int code() const { return code_; }
    const char* value() const { return lines_.text(); }
    int valuelength() const { return lines_.length(); }
    long linecount() const { return lines_.count(); }
    FILE* linestream() const { return lines_.stream(); }
    // Where the diagnostic goes: standard output unless set; null for nowhere.
    void setmessages(FILE* stream) { messages_ = stream; }

private:
    // Prints the diagnostic for the code line just read.
    void diagnose() const;

    linereader lines_;
    FILE* messages_;
    int code_ = 0;
};

}  // namespace ostra

#endif
