// ostra: lists, measures, draws and copies DXF drawings (text or binary) with
// the ostra reader and writer.
#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include <ostra/version.h>

#include "capture.h"
#include "commands.h"
#include "drawing.h"

namespace {

const char* const footer =
    "FILE may be - for standard input.\n"
    "\n"
    "Exit status: 0 on success, 1 when a drawing cannot be read (missing file,\n"
    "not DXF, malformed group code) or a result cannot be written, 2 for bad\n"
    "usage.\n"
    "\n"
    "Errors are one line on standard error, as FILE:LINE: message. The reader's\n"
    "own diagnostic for a malformed group-code line, which it prints to\n"
    "standard output, is kept out of the tool's output and reported that way.\n"
    "Progress shows on standard error while a long read runs, only when\n"
    "standard error is a terminal.";

}  // namespace

int main(int argc, char** argv) {
    // The output stream is set up before any reading redirects descriptor 1.
    if (!tool::toolout()) {
        std::fprintf(stderr, "ostra: standard output is not open\n");
        return 1;
    }

    CLI::App app{"Reads DXF drawings, text or binary: lists their geometry, layers and blocks, measures them,\n"
                 "draws them as SVG and copies their lines and circles.",
                 "ostra"};
    app.set_version_flag("--version", std::string(ostra::version()), "Print the library version and exit");
    app.require_subcommand(1);
    app.footer(footer);

    std::string file, output, layers;
    bool json = false, exact = false, simple = false;
    const char* const exacthelp = "Read exactly: polyline bulges as arcs, closing pieces, extrusion directions, ellipses";
    const char* const layershelp = "Only geometry on these layers (comma-separated names)";

    CLI::App* list = app.add_subcommand("list", "One line per geometry in reading order: kind, coordinates, "
                                                "layer and (when inserted) block");
    list->add_option("FILE", file, "The drawing")->required();
    list->add_option("--layers", layers, layershelp);
    list->add_flag("--json", json, "JSON Lines: one object per geometry");

    CLI::App* layerscmd = app.add_subcommand(
        "layers", "The layers in order of first use, each with the number of entities the reader counted on it "
                  "(tab-separated)");
    layerscmd->add_option("FILE", file, "The drawing")->required();

    CLI::App* blocks = app.add_subcommand(
        "blocks", "The blocks in order of definition, each with the number of entities in it (tab-separated)");
    blocks->add_option("FILE", file, "The drawing")->required();

    CLI::App* stats = app.add_subcommand("stats", "Counts per kind, layers, blocks, extents, lines read, time "
                                                  "and throughput");
    stats->add_option("FILE", file, "The drawing")->required();
    stats->add_option("--layers", layers, layershelp);

    CLI::App* svg = app.add_subcommand("svg", "Draws the drawing as SVG, seen from above, one group per layer");
    svg->add_option("FILE", file, "The drawing")->required();
    svg->add_option("-o,--output", output, "The SVG file to write (- for standard output)")->required();
    svg->add_option("--layers", layers, layershelp);
    svg->add_flag("--simple", simple, "Read in the default (simple) mode instead of the exact one");

    CLI::App* copy = app.add_subcommand(
        "copy", "Writes the drawing's lines and circles to a new DXF file and reports what it could not write");
    copy->add_option("IN", file, "The drawing to read")->required();
    copy->add_option("OUT", output, "The DXF file to write (- for standard output; the report then goes to "
                                    "standard error)")
        ->required();
    copy->add_option("--layers", layers, layershelp);

    for (CLI::App* sub : {list, layerscmd, blocks, stats, svg, copy}) sub->footer(footer);
    for (CLI::App* sub : {list, layerscmd, blocks, stats, svg, copy}) sub->add_flag("--exact", exact, exacthelp);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }

    // svg draws what a CAD program draws unless asked for the simple reading.
    tool::exactreading = exact || (svg->parsed() && !simple);
    if (list->parsed()) return tool::runlist(file, layers, json);
    if (layerscmd->parsed()) return tool::runlayers(file);
    if (blocks->parsed()) return tool::runblocks(file);
    if (stats->parsed()) return tool::runstats(file, layers);
    if (svg->parsed()) return tool::runsvg(file, output, layers);
    if (copy->parsed()) return tool::runcopy(file, output, layers);
    return 2;
}
