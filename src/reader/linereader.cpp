#include "reader/linereader.h"

#include <cstring>

// The caller holds the stream's lock for the duration of a next() call, so
// the unlocked variants are safe and spare a lock per line.
#if defined(__GLIBC__)
#define OSTRA_FGETS fgets_unlocked
#define OSTRA_GETC getc_unlocked
#else
#define OSTRA_FGETS fgets
#define OSTRA_GETC getc
#endif

namespace ostra {

namespace {
inline bool istrim(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

linereader::linereader(FILE* stream) : stream_(stream), text_(buf_) { buf_[0] = '\0'; }

bool linereader::read() {
    ++count_;
    // A sentinel in the last place tells whether fgets filled the buffer: it
    // then holds the terminating NUL. Only then can a rest of the line remain
    // (unless the last char taken was the newline).
    buf_[bufsize - 1] = 'x';
    if (!OSTRA_FGETS(buf_, bufsize, stream_)) {
        buf_[0] = '\0';
        text_ = buf_;
        length_ = 0;
        return false;
    }
    if (buf_[bufsize - 1] == '\0' && buf_[bufsize - 2] != '\n') {
        int c;
        while ((c = OSTRA_GETC(stream_)) != EOF && c != '\n') {
        }
    }
    char* p = buf_;
    if (first_) {
        first_ = false;
        if (p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF') p += 3;
    }
    // Text after an embedded NUL is not part of the line.
    char* e = p + std::strlen(p);
    while (p < e && istrim(*p)) ++p;
    while (e > p && istrim(e[-1])) --e;
    *e = '\0';
    text_ = p;
    length_ = static_cast<int>(e - p);
    return true;
}

}  // namespace ostra
