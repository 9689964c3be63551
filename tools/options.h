// What the command line asks of every subcommand.
#ifndef OSTRA_TOOL_OPTIONS_H
#define OSTRA_TOOL_OPTIONS_H

#include <string>
#include <vector>

namespace tool {

// The work limit unless --limit says otherwise: far beyond real drawings,
// short of what a few hundred bytes of nested arrays would make.
constexpr long defaultlimit = 100000000;

struct options {
    std::vector<std::string> files;  // the drawings, in order; "-" for standard input
    std::string output;              // svg and copy: the file to write
    std::string layers;              // the layer filter, comma-separated; empty for none
    bool simple = false;             // the default (simple) reading instead of the exact one
    bool json = false;
    bool counts = false;             // layers: the reader's use counts too
    bool table = false;              // layers: the LAYER table's entries instead of the layers met
    bool simpleoutput = false;       // copy: the plain writer
    long width = 800;                // svg: the picture's width in pixels
    std::string text;                // texts: "none" or "" (not read; svg: as SVG text), "strokes" (their
                                     // glyphs as segments), "items" (points at their anchors)
    long limit = defaultlimit;       // the reader's work limit in geometries made; 0 for none
    bool several() const { return files.size() > 1; }
};

// Exit statuses, from best to worst: the drawing was read to its EOF record;
// reading stopped early (a cut file, a malformed line) but what was read is
// in the output; nothing could be read or a result could not be written;
// bad usage.
enum exitstatus { complete = 0, unreadable = 1, usage = 2, stoppedearly = 3 };

// The worse of two statuses of files read in one call.
int worse(int a, int b);

}  // namespace tool

#endif
