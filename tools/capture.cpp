#include "capture.h"

#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace tool {

namespace {

const char expected[] = "numerical group code expected\n";

// The offending line can be a whole binary file; that much is never needed.
constexpr std::size_t capturelimit = 1 << 16;

}  // namespace

FILE* toolout() {
    static FILE* out = [] {
        std::fflush(stdout);
        const int fd = dup(STDOUT_FILENO);
        return fd < 0 ? nullptr : fdopen(fd, "w");
    }();
    return out;
}

stdoutcapture::stdoutcapture() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    if (saved_ < 0) return;
    file_ = std::tmpfile();
    if (!file_ || dup2(fileno(file_), STDOUT_FILENO) < 0) {
        if (file_) std::fclose(file_);
        file_ = nullptr;
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
}

stdoutcapture::~stdoutcapture() {
    finish();
}

std::string stdoutcapture::finish() {
    std::string text;
    if (saved_ < 0) return text;
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
    saved_ = -1;
    if (file_) {
        std::rewind(file_);
        char buf[4096];
        std::size_t n;
        while (text.size() < capturelimit && (n = std::fread(buf, 1, sizeof buf, file_)) > 0) {
            text.append(buf, n);
        }
        std::fclose(file_);
        file_ = nullptr;
    }
    return text;
}

diagnostic parsediagnostic(const std::string& captured) {
    diagnostic d;
    const std::size_t at = captured.find(expected);
    if (at == std::string::npos) {
        d.rest = captured;
        return d;
    }
    // "numerical group code expected\n" then "%d: %s" without a newline.
    const std::size_t numstart = at + sizeof expected - 1;
    const char* begin = captured.c_str() + numstart;
    char* end = nullptr;
    const long line = std::strtol(begin, &end, 10);
    if (end == begin || std::strncmp(end, ": ", 2) != 0) {
        d.rest = captured;
        return d;
    }
    d.found = true;
    d.line = line;
    d.message.assign(expected, sizeof expected - 2);
    d.text = std::string(end + 2);
    d.rest = captured.substr(0, at);
    return d;
}

}  // namespace tool
