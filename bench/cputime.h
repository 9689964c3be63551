// The CPU time of the process, next to the wall clock, for the timing
// programs: on a busy machine it varies less.
#ifndef OSTRA_BENCH_CPUTIME_H
#define OSTRA_BENCH_CPUTIME_H

#include <time.h>

inline double cpuseconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

#endif
