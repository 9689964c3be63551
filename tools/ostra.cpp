// ostra: lists, measures, draws and copies DXF drawings with the ostra
// reader and writer.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include <ostra/version.h>

#include "commands.h"
#include "format.h"
#include "options.h"

namespace {

const char* const footer =
    "FILE may be - for standard input. Drawings are read as a CAD program draws them (the exact\n"
    "reading): what it hides (paper space, invisible entities, frozen and off layers) is left out,\n"
    "and inside a block an entity on layer 0 is on the layer of its insert, for --layers too.\n"
    "--simple reads them the library's default (simple) way instead. Names are printed in UTF-8.\n"
    "\n"
    "Exit status: 0 when every drawing was read to its EOF record; 3 when reading stopped early\n"
    "(a cut file, no EOF record, a malformed group-code line, the work limit of --limit): what\n"
    "was read is still reported, and one warning line on standard error says why and at which\n"
    "line; 1 when nothing could be read (missing, unreadable, not DXF) or a result could not be\n"
    "written or was refused; 2 for bad usage. With several files the worst counts: 1 over 3 over 0.\n"
    "\n"
    "svg and copy never write over the input drawing, and replace an existing output file only\n"
    "with a complete result.\n"
    "\n"
    "Results go to standard output. Errors and warnings are one line on standard error, as\n"
    "FILE:LINE: message. Progress shows on standard error while a long read or write runs, only\n"
    "when standard error is a terminal.";

const char* const subcommands[] = {"list", "layers", "blocks", "stats", "svg", "copy", "texts"};

// The first argument, when it is no option, must name a subcommand (or be
// help, see main).
bool unknownsubcommand(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-' || std::strcmp(argv[1], "help") == 0) return false;
    for (const char* s : subcommands)
        if (std::strcmp(argv[1], s) == 0) return false;
    const std::size_t n = sizeof subcommands / sizeof subcommands[0];
    std::string names;
    for (std::size_t i = 0; i < n; ++i) names += std::string(i == 0 ? "" : i + 1 == n ? " and " : ", ") + subcommands[i];
    std::fprintf(stderr, "ostra: unknown subcommand '%s'; the subcommands are %s (ostra --help)\n",
                 tool::printable(argv[1]).c_str(), names.c_str());
    return true;
}

// The options every reading subcommand takes; the drawings go to o.files,
// or the one drawing to single.
void readingoptions(CLI::App* sub, tool::options& o, std::string* single) {
    if (single)
        sub->add_option("FILE", *single, "The drawing")->required();
    else
        sub->add_option("FILE", o.files, "The drawings")->required();
    sub->add_option("--layers", o.layers, "Only geometry on these layers (comma-separated names, UTF-8)");
    CLI::Option* simple = sub->add_flag("--simple", o.simple, "The library's default reading instead of the exact one");
    sub->add_flag("--exact", "The exact reading (the default)")->excludes(simple);
    sub->add_option("--limit", o.limit, "Stop reading once N geometries were made, hidden ones and array cells "
                                         "included (100000000; 0 for no limit)")
        ->check(CLI::NonNegativeNumber);
    sub->add_option("--text", o.text, "Texts: none (not read; the default, but svg draws them as SVG text) or "
                                      "strokes (the segments of their glyphs in the built-in single-stroke font)")
        ->check(CLI::IsMember({"none", "strokes"}));
    sub->footer(footer);
}

// "ostra help [SUBCOMMAND]" is "ostra [SUBCOMMAND] --help".
std::vector<char*> helpasked(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    static char help[] = "--help";
    if (argc >= 2 && std::strcmp(argv[1], "help") == 0) {
        args.erase(args.begin() + 1);
        args.push_back(help);
    }
    return args;
}

// CLI11's message for bad usage, with the arguments it quotes made printable.
std::string failure(const CLI::App* app, const CLI::Error& e) {
    const std::string what = e.what();
    return tool::printable(what) + CLI::FailureMessage::simple(app, e).substr(what.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args = helpasked(argc, argv);
    argc = static_cast<int>(args.size());
    argv = args.data();
    if (unknownsubcommand(argc, argv)) return tool::usage;
    CLI::App app{"Reads DXF drawings (text or binary): lists their geometry, layers and blocks, measures\n"
                 "them, draws them as SVG and copies them.",
                 "ostra"};
    app.set_version_flag("--version", std::string(ostra::version()), "Print the library version and exit");
    app.require_subcommand(1);
    app.footer(footer);
    app.failure_message(failure);
    tool::options o;
    std::string single;

    CLI::App* list = app.add_subcommand("list", "One line per geometry in reading order: kind, coordinates, "
                                                "layer, (when inserted) block, colour as #RRGGBB, record, "
                                                "handle (- for none) and item (the entity it belongs to)");
    readingoptions(list, o, nullptr);
    list->add_flag("--json", o.json, "JSON Lines: one object per geometry");

    CLI::App* layers = app.add_subcommand(
        "layers",
        "The layers in order of first use, tab-separated: the geometries delivered on the layer, its name,\n"
        "colour index, state (on or off, frozen, locked) and linetype from the LAYER table (- without an\n"
        "entry). The geometries are those reported by list (a block's entity on layer 0 counts on its\n"
        "insert's layer). --counts adds the reader's own use count: the uses of the layer it counted while\n"
        "reading (every entity and polyline segment considered, block definitions included, not the\n"
        "entities inserts repeat; 0 at the first use). --table lists the LAYER table's entries instead, in\n"
        "file order, entries without geometry included");
    readingoptions(layers, o, nullptr);
    layers->add_flag("--json", o.json, "One JSON document per drawing");
    CLI::Option* counts = layers->add_flag("--counts", o.counts, "Add the reader's use count of each layer");
    layers->add_flag("--table", o.table, "The LAYER table's entries, in file order, used or not")->excludes(counts);

    CLI::App* blocks = app.add_subcommand(
        "blocks", "The blocks in order of definition, each with the number of entities in it (tab-separated)");
    readingoptions(blocks, o, nullptr);
    blocks->add_flag("--json", o.json, "One JSON document per drawing");

    CLI::App* stats = app.add_subcommand(
        "stats", "How reading went, format version, units, code page, counts per kind, layers, blocks, extents "
                 "(measured and from the header), what was passed over or hidden, lines, time and throughput");
    readingoptions(stats, o, nullptr);
    stats->add_flag("--json", o.json, "One JSON document per drawing");

    CLI::App* svg = app.add_subcommand("svg", "Draws the drawing as SVG in its colours, seen from above, one "
                                              "group per layer, points as dots");
    readingoptions(svg, o, &single);
    svg->add_option("-o,--output", o.output, "The SVG file to write (- for standard output)")->required();
    svg->add_option("--width", o.width, "The picture's width in pixels (800)")->check(CLI::Range(1L, 100000L));

    CLI::App* copy = app.add_subcommand(
        "copy", "Writes the drawing's geometry to a new DXF file (R2007, names in UTF-8), with each geometry's layer "
                "and colour, the layers' entries, the units and extents, and "
                "reports what it could not write");
    readingoptions(copy, o, &single);
    copy->add_option("OUT", o.output, "The DXF file to write (- for standard output; the report then goes to "
                                      "standard error)")
        ->required();
    copy->add_flag("--simple-output", o.simpleoutput, "Only lines and circles on layer 0, as the plain writer "
                                                       "writes them");

    CLI::App* texts = app.add_subcommand(
        "texts", "One line per text in reading order, tab-separated: record, layer, anchor, height, rotation "
                 "and content (quoted and escaped as names are where it needs it)");
    readingoptions(texts, o, nullptr);
    texts->add_flag("--json", o.json, "JSON Lines: one object per text, with its alignment, style, tag and raw text");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : tool::usage;
    }
    if (!single.empty()) o.files.push_back(single);
    if (list->parsed()) return tool::runlist(o);
    if (layers->parsed()) return tool::runlayers(o);
    if (blocks->parsed()) return tool::runblocks(o);
    if (stats->parsed()) return tool::runstats(o);
    if (svg->parsed()) return tool::runsvg(o);
    if (copy->parsed()) return tool::runcopy(o);
    if (texts->parsed()) return tool::runtexts(o);
    return tool::usage;
}
