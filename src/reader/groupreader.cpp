#include "reader/groupreader.h"

#include <climits>
#include <cstdio>

namespace ostra {

groupreader::result groupreader::read() {
    if (!lines_.read()) return endofstream;
    const char* p = lines_.text();
    // The trimmed line may still hold inner blanks ("10 20" is code 10).
    for (const char* q = p; *q; ++q) {
        char c = *q;
        if (!((c >= '0' && c <= '9') || c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            std::printf("numerical group code expected\n");
            std::printf("%d: %s", lines_.count(), p);
            return malformed;
        }
    }
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > INT_MAX) {
            v = INT_MAX;
            break;
        }
    }
    code_ = static_cast<int>(v);
    if (!lines_.read()) return endofstream;
    return ok;
}

}  // namespace ostra
