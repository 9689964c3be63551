#include "output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "options.h"

namespace tool {

int worse(int a, int b) {
    // From best to worst: complete, stopped early, unreadable, usage.
    auto rank = [](int s) { return s == complete ? 0 : s == stoppedearly ? 1 : s == unreadable ? 2 : 3; };
    return rank(a) >= rank(b) ? a : b;
}

bool emit(const std::string& line) { return std::fputs(line.c_str(), stdout) >= 0 && std::fputc('\n', stdout) != EOF; }

int outputerror(const std::string& name) {
    std::fprintf(stderr, "ostra: %s: write failed: %s\n", name.c_str(), std::strerror(errno));
    return unreadable;
}

int finishoutput(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return outputerror("standard output");
    return status;
}

bool output::open(const std::string& path) {
    path_ = path;
    if (path == "-") {
        file_ = stdout;
        return true;
    }
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        std::fprintf(stderr, "ostra: %s: cannot create: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    struct stat st;
    regular_ = fstat(fileno(file_), &st) == 0 && S_ISREG(st.st_mode);
    return true;
}

bool output::close() {
    if (!file_) return true;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    if (!tostdout()) {
        const int saved = errno;
        ok = std::fclose(file_) == 0 && ok;
        if (!ok && errno == 0) errno = saved;
    }
    file_ = nullptr;
    return ok;
}

void output::discard() {
    close();
    if (regular_) std::remove(path_.c_str());
}

}  // namespace tool
