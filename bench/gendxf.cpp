// Writes a generated drawing: gendxf [options] OUTPUT ("-" for stdout).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dxfgen.h"

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: gendxf [--preset r12|r2000|splines|text|hatch] [--mb N] [--layers N] [--blocks N]\n"
                 "              [--block-entities N] [--inserts N] [--plain-codes] [--crlf] [--seed N] OUTPUT\n"
                 "  --preset      r12: old-form polylines, 6 decimals (default); r2000: LWPOLYLINE,\n"
                 "                subclass markers, 16 digits; splines: r2000 with half the entities SPLINE;\n"
                 "                text: an R2000 drawing of TEXT in every alignment, MTEXT with formatting\n"
                 "                codes and 250-char chunks, INSERT with ATTRIB records of blocks with\n"
                 "                ATTDEF records (--blocks of them, default 4), DIMENSION records with\n"
                 "                their blocks (one per 12 kB);\n"
                 "                hatch: an R2010 drawing of HATCH records (solid, pattern and gradient\n"
                 "                fills, islands, polyline and edge paths of lines, arcs, elliptic arcs and\n"
                 "                splines), SOLID, TRACE, WIPEOUT, wide LWPOLYLINE, lines of named\n"
                 "                linetypes and inserts of --blocks blocks of hatches (default 3)\n"
                 "  --mb N        target size in MB (10^6 bytes) (default 10)\n"
                 "  --inserts N   INSERT records in ENTITIES (default: 2 %% of the entities if --blocks;\n"
                 "                r12, r2000 and splines only)\n"
                 "  --plain-codes code lines without leading blanks\n"
                 "  --crlf        lines end in CR LF\n");
}

}  // namespace

int main(int argc, char** argv) {
    dxfgen::options o;
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        bool more = i + 1 < argc;
        if (std::strcmp(a, "--preset") == 0 && more) {
            if (!dxfgen::parsepreset(argv[++i], o.kind)) {
                usage();
                return 2;
            }
        } else if (std::strcmp(a, "--mb") == 0 && more) {
            o.megabytes = std::atof(argv[++i]);
        } else if (std::strcmp(a, "--layers") == 0 && more) {
            o.layers = std::atoi(argv[++i]);
        } else if (std::strcmp(a, "--blocks") == 0 && more) {
            o.blocks = std::atoi(argv[++i]);
        } else if (std::strcmp(a, "--block-entities") == 0 && more) {
            o.blockentities = std::atoi(argv[++i]);
        } else if (std::strcmp(a, "--inserts") == 0 && more) {
            o.inserts = std::atoll(argv[++i]);
        } else if (std::strcmp(a, "--seed") == 0 && more) {
            o.seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(a, "--plain-codes") == 0) {
            o.padded = false;
        } else if (std::strcmp(a, "--crlf") == 0) {
            o.crlf = true;
        } else if (a[0] == '-' && a[1] != '\0') {
            usage();
            return 2;
        } else {
            output = a;
        }
    }
    if (!output) {
        usage();
        return 2;
    }
    FILE* f = std::strcmp(output, "-") == 0 ? stdout : std::fopen(output, "wb");
    if (!f) {
        std::perror(output);
        return 1;
    }
    dxfgen::stats s = dxfgen::generate(f, o);
    if (f != stdout && std::fclose(f) != 0) {
        std::perror(output);
        return 1;
    }
    std::fprintf(stderr, "%s: %lld bytes, %lld lines, %lld entities, %lld vertices, %lld blocks, %lld inserts\n",
                 output, s.bytes, s.lines, s.entities, s.vertices, s.blocks, s.inserts);
    if (o.kind == dxfgen::preset::text)
        std::fprintf(stderr, "%s: %lld texts, %lld dimensions\n", output, s.texts, s.dimensions);
    if (o.kind == dxfgen::preset::hatch) std::fprintf(stderr, "%s: %lld areas\n", output, s.areas);
    return 0;
}
