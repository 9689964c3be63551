/* The floor for reading a drawing: fgets every line into 512 bytes, trim it
 * (leading and trailing space, tab, CR, LF), atoi every code line (every
 * other line) and nothing else. Built with BARELOOP_ATOF it also atofs every
 * value line whose code is 10 to 59 (the coordinates).
 *
 * usage: bareloop FILE; prints the counts, the wall-clock seconds of the
 * loop and the CPU seconds of the process in it. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static char* trim(char* p) {
    char* e;
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    e = p + strlen(p);
    while (e > p && (e[-1] == ' ' || e[-1] == '\t' || e[-1] == '\r' || e[-1] == '\n')) --e;
    *e = '\0';
    return p;
}

static double clockof(clockid_t id) {
    struct timespec t;
    clock_gettime(id, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

int main(int argc, char** argv) {
    char buf[512];
    long long lines = 0, codesum = 0;
    double sum = 0;
    int code = 0;
    double t0, t1, c0, c1;
    FILE* f;
    if (argc != 2) {
        fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    f = fopen(argv[1], "r");
    if (!f) {
        perror(argv[1]);
        return 1;
    }
    t0 = clockof(CLOCK_MONOTONIC);
    c0 = clockof(CLOCK_PROCESS_CPUTIME_ID);
    while (fgets(buf, sizeof buf, f)) {
        char* t = trim(buf);
        if ((lines & 1) == 0) {
            code = atoi(t);
            codesum += code;
        }
#ifdef BARELOOP_ATOF
        else if (code >= 10 && code <= 59) {
            sum += atof(t);
        }
#endif
        ++lines;
    }
    t1 = clockof(CLOCK_MONOTONIC);
    c1 = clockof(CLOCK_PROCESS_CPUTIME_ID);
    fclose(f);
    printf("lines %lld codesum %lld sum %.17g\n", lines, codesum, sum);
    printf("seconds %.6f\n", t1 - t0);
    printf("cpu %.6f\n", c1 - c0);
    return 0;
}
