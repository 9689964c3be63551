// A deterministic set of line segments for the writer benchmarks, and the
// plain fprintf loop that writes the same bytes as ostra::writer.
#ifndef OSTRA_BENCH_SEGMENTS_H
#define OSTRA_BENCH_SEGMENTS_H

#include <cstdint>
#include <cstdio>
#include <vector>

#include <brevo/geometry.h>

namespace benchsegments {

inline std::vector<brevo::geometry> make(std::size_t n, std::uint64_t seed = 7) {
    std::uint64_t s = seed;
    auto unit = [&s]() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
    };
    std::vector<brevo::geometry> v;
    v.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        brevo::point a(unit() * 10000 - 5000, unit() * 10000 - 5000, 0);
        brevo::point b(a.x + unit() * 100 - 50, a.y + unit() * 100 - 50, unit() < 0.1 ? unit() * 10 : 0);
        v.emplace_back(brevo::lineseg(a, b));
    }
    return v;
}

// The same bytes as ostra::writer gives for the segments, with one fprintf
// per segment. Returns false when a write failed.
inline bool writefprintf(FILE* f, const std::vector<brevo::geometry>& v) {
    std::fputs("  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n"
               "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n"
               "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
               "  0\nSECTION\n  2\nENTITIES\n",
               f);
    for (const brevo::geometry& g : v) {
        const brevo::lineseg* s = g.lns();
        brevo::point a = s->start(), b = s->end();
        std::fprintf(f,
                     "  0\nLINE\n  8\n0\n  10\n%.6f\n  20\n%.6f\n  30\n%.6f\n"
                     "  11\n%.6f\n  21\n%.6f\n  31\n%.6f\n",
                     a.x, a.y, a.z, b.x, b.y, b.z);
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", f);
    return !std::ferror(f);
}

}  // namespace benchsegments

#endif
