// Writes a million (or N) line segments with ostra::writer or with a plain
// fprintf loop that writes the same bytes.
// usage: writesegs ostra|fprintf [N] [OUTPUT]   (OUTPUT defaults to /dev/null)
// Prints the wall-clock and CPU seconds of the writing alone (the segments
// are made before).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <ostra/writer.h>

#include "cputime.h"
#include "segments.h"

int main(int argc, char** argv) {
    if (argc < 2 || (std::strcmp(argv[1], "ostra") != 0 && std::strcmp(argv[1], "fprintf") != 0)) {
        std::fprintf(stderr, "usage: writesegs ostra|fprintf [N] [OUTPUT]\n");
        return 2;
    }
    bool useostra = std::strcmp(argv[1], "ostra") == 0;
    std::size_t n = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1000000;
    const char* output = argc > 3 ? argv[3] : "/dev/null";
    std::vector<brevo::geometry> segs = benchsegments::make(n);
    FILE* f = std::fopen(output, "wb");
    if (!f) {
        std::perror(output);
        return 1;
    }
    bool ok = true;
    auto t0 = std::chrono::steady_clock::now();
    double c0 = cpuseconds();
    if (useostra) {
        ostra::writer w(f);
        for (const brevo::geometry& g : segs) ok = w.save(g) && ok;
        ok = w.finish() && ok;
    } else {
        ok = benchsegments::writefprintf(f, segs);
    }
    ok = std::fflush(f) == 0 && ok;
    auto t1 = std::chrono::steady_clock::now();
    double c1 = cpuseconds();
    std::fclose(f);
    if (!ok) {
        std::fprintf(stderr, "writesegs: a write failed\n");
        return 1;
    }
    std::printf("segments %zu\n", n);
    std::printf("seconds %.6f\n", std::chrono::duration<double>(t1 - t0).count());
    std::printf("cpu %.6f\n", c1 - c0);
    return 0;
}
