// A deterministic generator of ASCII DXF drawings for the benchmarks: a given
// size and mix of LINE, ARC, CIRCLE, polylines, block definitions and INSERT
// records on many layers, in presets that look like the files that older and
// newer writers produce; two presets carry text and filled areas instead.
#ifndef OSTRA_BENCH_DXFGEN_H
#define OSTRA_BENCH_DXFGEN_H

#include <cstdint>
#include <cstdio>

namespace dxfgen {

enum class preset {
    // Old-form polylines (POLYLINE, VERTEX..., SEQEND), handles (group 5),
    // coordinates with at most 6 decimals.
    r12,
    // LWPOLYLINE, subclass markers (group 100), handles (5) and owners (330),
    // coordinates with 16 significant digits.
    r2000,
    // As r2000, with most entities SPLINE records: cubic, clamped, some
    // rational, some closed and periodic, some given by fit points only.
    splines,
    // An R2000 drawing of words: TEXT in every alignment and rotation,
    // MTEXT with formatting codes and chunks of 250 chars, INSERT records
    // followed by ATTRIB records of blocks that hold ATTDEF records, and
    // DIMENSION records whose blocks hold lines, arrows and the measurement.
    text,
    // An R2010 drawing of areas: HATCH records with solid, pattern and
    // gradient fills, islands under each hatch style, polyline and edge
    // paths; SOLID, TRACE, WIPEOUT and wide LWPOLYLINE records.
    hatch,
};

struct options {
    preset kind = preset::r12;
    double megabytes = 10;     // target size in MB (10^6 bytes); the ENTITIES section grows until it is reached
    int layers = 64;           // layer names used by the entities
    int blocks = 0;            // block definitions in the BLOCKS section
    int blockentities = 6;     // entities per block definition
    long long inserts = -1;    // INSERT records in ENTITIES; -1: 2 % of the entities when blocks > 0
    bool padded = true;        // code lines right-justified ("  0", " 10")
    bool crlf = false;         // lines end in CR LF
    std::uint64_t seed = 1;
};

struct stats {
    long long bytes = 0;
    long long lines = 0;
    long long entities = 0;  // records in ENTITIES (VERTEX and SEQEND not counted)
    long long vertices = 0;
    long long inserts = 0;
    long long blocks = 0;
    long long texts = 0;   // TEXT, MTEXT, ATTRIB (the text preset, dimensions' measurements not counted)
    long long areas = 0;   // HATCH, SOLID, TRACE, WIPEOUT and wide polylines (the hatch preset)
    long long dimensions = 0;
};

// Writes the drawing to out. The same options give the same bytes.
stats generate(FILE* out, const options& o);

// Parses "r12", "r2000", "splines", "text" or "hatch"; false for anything else.
bool parsepreset(const char* name, preset& p);

}  // namespace dxfgen

#endif
