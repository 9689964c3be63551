// Reader benchmarks: a whole generated drawing read from a file with every
// geometry built, next to the bare fgets loop on the same file, and the line
// and group layers alone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include <ostra/reader.h>

#include "dxfgen.h"
#include "reader/input/groupreader.h"
#include "reader/input/linereader.h"

namespace {

struct drawing {
    FILE* f = nullptr;
    long long bytes = 0;
};

// One temporary file per kind of drawing, made at first use and kept for the
// run (tmpfile removes it at exit).
const drawing& get(const std::string& name) {
    static std::map<std::string, drawing> made;
    auto it = made.find(name);
    if (it != made.end()) return it->second;
    dxfgen::options o;
    o.megabytes = 8;
    if (name == "r12") {
        o.kind = dxfgen::preset::r12;
    } else if (name == "r2000") {
        o.kind = dxfgen::preset::r2000;
    } else if (name == "r12blocks") {
        o.kind = dxfgen::preset::r12;
        o.blocks = 10000;
        o.inserts = 10000;
    }
    drawing d;
    d.f = std::tmpfile();
    if (!d.f) std::abort();
    d.bytes = dxfgen::generate(d.f, o).bytes;
    std::fflush(d.f);
    return made.emplace(name, d).first->second;
}

void readwhole(benchmark::State& state, const char* name) {
    const drawing& d = get(name);
    long long n = 0;
    for (auto _ : state) {
        std::rewind(d.f);
        ostra::reader r(d.f);
        brevo::geometry g;
        while (r.next(g)) ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * d.bytes);
    state.counters["geometries"] = static_cast<double>(n) / static_cast<double>(state.iterations());
}

char* trim(char* p) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    char* e = p + std::strlen(p);
    while (e > p && (e[-1] == ' ' || e[-1] == '\t' || e[-1] == '\r' || e[-1] == '\n')) --e;
    *e = '\0';
    return p;
}

// fgets, trim, atoi of every code line: the floor the reader is held to.
void bareloop(benchmark::State& state, const char* name) {
    const drawing& d = get(name);
    char buf[512];
    for (auto _ : state) {
        std::rewind(d.f);
        long long lines = 0, sum = 0;
        while (std::fgets(buf, sizeof buf, d.f)) {
            char* t = trim(buf);
            if ((lines & 1) == 0) sum += std::atoi(t);
            ++lines;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * d.bytes);
}

void linesonly(benchmark::State& state, const char* name) {
    const drawing& d = get(name);
    for (auto _ : state) {
        std::rewind(d.f);
        ostra::linereader l(d.f);
        long long len = 0;
        while (l.read()) len += l.length();
        benchmark::DoNotOptimize(len);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * d.bytes);
}

void groupsonly(benchmark::State& state, const char* name) {
    const drawing& d = get(name);
    for (auto _ : state) {
        std::rewind(d.f);
        ostra::groupreader gr(d.f);
        long long sum = 0;
        while (gr.read() == ostra::groupreader::ok) sum += gr.code() + gr.valuelength();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * d.bytes);
}

}  // namespace

BENCHMARK_CAPTURE(readwhole, r12, "r12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readwhole, r2000, "r2000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readwhole, r12blocks, "r12blocks")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareloop, r12, "r12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareloop, r2000, "r2000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(linesonly, r12, "r12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(linesonly, r2000, "r2000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupsonly, r12, "r12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupsonly, r2000, "r2000")->Unit(benchmark::kMillisecond);
