// Reads a whole drawing with ostra::reader and builds every geometry.
// usage: readdxf FILE; prints the counts, a checksum of the coordinates and
// the wall-clock and CPU seconds of the loop.
#include <chrono>
#include <cstdio>

#include <ostra/reader.h>

#include "cputime.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: readdxf FILE\n");
        return 2;
    }
    FILE* f = std::fopen(argv[1], "r");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    long long n = 0, segs = 0, arcs = 0, circles = 0, other = 0;
    double sum = 0;
    auto t0 = std::chrono::steady_clock::now();
    double c0 = cpuseconds();
    {
        ostra::reader r(f);
        brevo::geometry g;
        while (r.next(g)) {
            ++n;
            if (const brevo::lineseg* s = g.lns()) {
                ++segs;
                sum += s->start().x + s->end().y;
            } else if (const brevo::arc* a = g.ar()) {
                ++arcs;
                sum += a->center().x;
            } else if (const brevo::circle* c = g.cr()) {
                ++circles;
                sum += c->radius();
            } else {
                ++other;
            }
        }
    }
    auto t1 = std::chrono::steady_clock::now();
    double c1 = cpuseconds();
    std::fclose(f);
    std::printf("geometries %lld segments %lld arcs %lld circles %lld other %lld sum %.17g\n", n, segs, arcs,
                circles, other, sum);
    std::printf("seconds %.6f\n", std::chrono::duration<double>(t1 - t0).count());
    std::printf("cpu %.6f\n", c1 - c0);
    return 0;
}
