// Helpers for tests: drawings held in strings, read through memory streams.
#ifndef OSTRA_TESTS_TESTUTIL_H
#define OSTRA_TESTS_TESTUTIL_H

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/reader.h>

namespace testutil {

// A read-only memory stream over a copy of the text; closed on destruction.
class memstream {
public:
    explicit memstream(std::string text) : text_(std::move(text)) {
        // fmemopen refuses a size of 0; an empty file is a stream at its end.
        f_ = text_.empty() ? std::fopen("/dev/null", "r")
                           : fmemopen(const_cast<char*>(text_.data()), text_.size(), "r");
    }
    ~memstream() {
        if (f_) std::fclose(f_);
    }
    memstream(const memstream&) = delete;
    memstream& operator=(const memstream&) = delete;
    FILE* get() const { return f_; }

private:
    std::string text_;
    FILE* f_;
};

// The device that is always full, opened unbuffered so that each write
// reaches it; null where there is no such device (a test then skips). A
// missing device is never created as a plain file.
FILE* openfulldevice();

// Appends the group pairs more to to.
inline void add(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// Group pairs as DXF text: {"0", "LINE", "8", "0", ...}.
inline std::string dxf(const std::vector<std::string>& pairs) {
    std::string s;
    for (const auto& p : pairs) {
        s += p;
        s += '\n';
    }
    return s;
}

// A drawing whose ENTITIES section holds the given group pairs.
inline std::string entities(const std::vector<std::string>& pairs) {
    std::vector<std::string> all = {"0", "SECTION", "2", "ENTITIES"};
    all.insert(all.end(), pairs.begin(), pairs.end());
    all.insert(all.end(), {"0", "ENDSEC", "0", "EOF"});
    return dxf(all);
}

// One geometry as a short text, for comparing whole results.
std::string describe(const brevo::geometry& g);

// Every geometry the reader returns, described.
std::vector<std::string> readall(ostra::reader& r);
// The same for a text, which is read both from a stream and from memory: the
// two readings must agree in everything (see samebothways), and the
// stream's diagnostics are printed to standard output.
std::vector<std::string> readall(const std::string& text);
// The same in the exact reading.
std::vector<std::string> readexact(const std::string& text);
// The same from a stream, with each geometry handed to each as well, while
// the reader can still be asked about it.
using eachgeometry = std::function<void(ostra::reader& r, const brevo::geometry& g)>;
std::vector<std::string> readexact(const std::string& text, const eachgeometry& each);

// Everything a reading shows, exactly: each geometry (numbers in
// hexadecimal) with its layer and block, the status, line and bad line
// wherever reading stopped (it reads on after a malformed code, a few
// times), what was printed, and the layers and blocks with their counts.
struct reading {
    std::vector<std::string> geometries;  // described as describe() does
    std::vector<std::string> record;      // everything, exactly
    std::string printed;                  // the diagnostics
};
reading readfully(ostra::reader& r);
// Reads the bytes from a stream and from memory, in the default or the
// exact reading, and reports a test failure where the two differ (the
// memory reader's offset is compared with the stream's position). Returns
// the stream's reading.
reading samebothways(const std::string& bytes, bool exact = false);

}  // namespace testutil

#endif
