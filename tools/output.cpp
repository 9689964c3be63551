#include "output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "format.h"
#include "input.h"
#include "options.h"

namespace tool {

namespace {

// The temporary file being written, removed when a signal ends the tool
// before it is complete. A plain buffer: the handler may only read it.
char pending[PATH_MAX + 16];

void removepending(int sig) {
    if (pending[0]) unlink(pending);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void watchsignals() {
    static bool watching = false;
    if (watching) return;
    watching = true;
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        if (std::signal(sig, removepending) == SIG_IGN) std::signal(sig, SIG_IGN);
}

void cannot(const std::string& path, const char* what, int error) {
    std::fprintf(stderr, "ostra: %s: %s: %s\n", printable(path).c_str(), what, std::strerror(error));
}

// The folder a path names its file in.
std::string folderof(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int worse(int a, int b) {
    // From best to worst: complete, stopped early, unreadable, usage.
    auto rank = [](int s) { return s == complete ? 0 : s == stoppedearly ? 1 : s == unreadable ? 2 : 3; };
    return rank(a) >= rank(b) ? a : b;
}

bool emit(const std::string& line) { return std::fputs(line.c_str(), stdout) >= 0 && std::fputc('\n', stdout) != EOF; }

int outputerror(const std::string& name) {
    std::fprintf(stderr, "ostra: %s: write failed: %s\n", printable(name).c_str(), std::strerror(errno));
    return unreadable;
}

int finishoutput(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return outputerror("standard output");
    return status;
}

bool output::open(const std::string& path, const input& from) {
    path_ = path;
    struct stat st;
    const bool exists = path == "-" ? fstat(STDOUT_FILENO, &st) == 0 : stat(path.c_str(), &st) == 0;
    const int staterror = exists ? 0 : errno;
    if (exists && from.is(st)) {
        std::fprintf(stderr, "ostra: %s: is the input drawing %s; refusing to write over it\n",
                     printable(path == "-" ? std::string("standard output") : path).c_str(),
                     printable(from.name()).c_str());
        return false;
    }
    if (path == "-") {
        file_ = stdout;
        return true;
    }
    if (exists && S_ISDIR(st.st_mode)) {
        cannot(path, "cannot create", EISDIR);
        return false;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        // A device, pipe or socket: written in place, as nothing can replace it.
        file_ = std::fopen(path.c_str(), "w");
        if (!file_) cannot(path, "cannot create", errno);
        return file_ != nullptr;
    }
    if (!exists && staterror != ENOENT) {
        cannot(path, "cannot create", staterror);
        return false;
    }
    if (!exists) {
        const mode_t mask = umask(0);
        umask(mask);
        return opentemporary(path, 0666 & ~mask, false);
    }
    // An existing file is replaced only where it could be written; a
    // symbolic link stays one, its target is replaced.
    if (access(path.c_str(), W_OK) != 0) {
        cannot(path, "cannot create", errno);
        return false;
    }
    char* real = realpath(path.c_str(), nullptr);
    const std::string target = real ? real : path;
    std::free(real);
    return opentemporary(target, st.st_mode & 07777, true);
}

bool output::opentemporary(const std::string& target, unsigned mode, bool replacing) {
    std::string name = folderof(target) + "/.ostra-XXXXXX";
    if (name.size() >= sizeof pending) {
        cannot(path_, "cannot create", ENAMETOOLONG);
        return false;
    }
    const int fd = mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0) {
        cannot(path_, replacing ? "cannot create a temporary file beside it" : "cannot create", errno);
        return false;
    }
    watchsignals();
    std::memcpy(pending, name.c_str(), name.size() + 1);
    fchmod(fd, static_cast<mode_t>(mode));
    file_ = fdopen(fd, "w");
    if (!file_) {
        const int error = errno;
        ::close(fd);
        unlink(name.c_str());
        pending[0] = '\0';
        cannot(path_, "cannot create", error);
        return false;
    }
    target_ = target;
    temporary_ = name;
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
    if (temporary_.empty()) return ok;
    if (ok) ok = std::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        const int saved = errno;
        unlink(temporary_.c_str());
        errno = saved;
    }
    temporary_.clear();
    pending[0] = '\0';
    return ok;
}

void output::discard() {
    if (file_ && !tostdout()) std::fclose(file_);
    file_ = nullptr;
    if (temporary_.empty()) return;
    unlink(temporary_.c_str());
    temporary_.clear();
    pending[0] = '\0';
}

}  // namespace tool
