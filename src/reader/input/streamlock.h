// Holds a stream's lock for one next() call, so that lines are read without
// a lock per call. While the process has a single thread nobody can contend
// for the stream, and the lock is skipped, as the C library's own stream
// functions skip theirs then.
#ifndef OSTRA_READER_STREAMLOCK_H
#define OSTRA_READER_STREAMLOCK_H

#include <cstdio>

#if defined(__has_include)
#if __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#define OSTRA_HAVE_SINGLE_THREADED 1
#endif
#endif
#ifndef OSTRA_HAVE_SINGLE_THREADED
#define OSTRA_HAVE_SINGLE_THREADED 0
#endif

namespace ostra {

class streamlock {
public:
    explicit streamlock(FILE* f) : f_(singlethreaded() ? nullptr : f) {
        if (f_) flockfile(f_);
    }
    ~streamlock() {
        if (f_) funlockfile(f_);
    }
    streamlock(const streamlock&) = delete;
    streamlock& operator=(const streamlock&) = delete;

private:
    static bool singlethreaded() {
#if OSTRA_HAVE_SINGLE_THREADED
        return __libc_single_threaded != 0;
#else
        return false;
#endif
    }
    FILE* f_;
};

}  // namespace ostra

#endif
