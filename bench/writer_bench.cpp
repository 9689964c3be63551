// Writer benchmarks: a million line segments through ostra::writer, and the
// plain fprintf("%.6f") loop that writes the same bytes, both to /dev/null.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include <ostra/writer.h>

#include "segments.h"

namespace {

const std::vector<brevo::geometry>& segments() {
    static const std::vector<brevo::geometry> v = benchsegments::make(1000000);
    return v;
}

FILE* devnull() {
    static FILE* f = std::fopen("/dev/null", "wb");
    if (!f) std::abort();
    return f;
}

void writer(benchmark::State& state) {
    const auto& v = segments();
    FILE* f = devnull();
    for (auto _ : state) {
        ostra::writer w(f);
        for (const brevo::geometry& g : v) w.save(g);
        w.finish();
        std::fflush(f);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.size()));
}

void fprintfloop(benchmark::State& state) {
    const auto& v = segments();
    FILE* f = devnull();
    for (auto _ : state) {
        benchsegments::writefprintf(f, v);
        std::fflush(f);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.size()));
}

}  // namespace

BENCHMARK(writer)->Unit(benchmark::kMillisecond);
BENCHMARK(fprintfloop)->Unit(benchmark::kMillisecond);
