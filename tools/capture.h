// Keeps what the library prints to standard output while a drawing is read
// apart from the tool's own output, and makes sense of it afterwards.
//
// The reader reports a malformed group-code line with printf on standard
// output. The tool writes its own output to a duplicate of the original
// standard output (see toolout()) and points descriptor 1 at a temporary
// file while the reader runs, so the diagnostic can neither interleave with
// listings nor break JSON Lines; the tool turns it into a one-line error on
// standard error.
#ifndef OSTRA_TOOL_CAPTURE_H
#define OSTRA_TOOL_CAPTURE_H

#include <cstdio>
#include <string>

namespace tool {

// The stream the tool writes its results to: a duplicate of descriptor 1 as
// it was at the first call. Null when descriptor 1 is closed.
FILE* toolout();

class stdoutcapture {
public:
    // Redirects descriptor 1 to a temporary file (to standard error when no
    // temporary file can be made).
    stdoutcapture();
    // Restores descriptor 1 if finish() has not.
    ~stdoutcapture();
    stdoutcapture(const stdoutcapture&) = delete;
    stdoutcapture& operator=(const stdoutcapture&) = delete;

    // Restores descriptor 1 and returns what was printed meanwhile.
    std::string finish();

private:
    int saved_ = -1;
    FILE* file_ = nullptr;
};

// The reader's diagnostic for a malformed group-code line, taken apart.
struct diagnostic {
    bool found = false;
    long line = 0;          // the line number it names
    std::string message;    // "numerical group code expected"
    std::string text;       // the offending line
    std::string rest;       // anything else that was printed
};

diagnostic parsediagnostic(const std::string& captured);

}  // namespace tool

#endif
