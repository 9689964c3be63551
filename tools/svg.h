// The drawing as an SVG picture: one path element per geometry (a circle
// element per point), one group per layer, in the drawing's colours, y
// pointing up as in the drawing.
#ifndef OSTRA_TOOL_SVG_H
#define OSTRA_TOOL_SVG_H

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/text.h>

#include "curve.h"

namespace tool {

// One geometry of the picture with its layer. Kept in a deque, which grows
// without moving its items: the picture is drawn from pointers to them.
// A text drawn as SVG text: font size 1 in its own frame, which the
// transform places (x along the baseline, y down, a capital letter about
// 0.72 high scaled to the text's height).
struct svgtext {
    std::string content;  // lines separated by '\n'
    double matrix[6] = {1, 0, 0, 1, 0, 0};
    const char* anchor = "start";       // text-anchor
    const char* baseline = "auto";      // dominant-baseline
    double firstline = 0;               // the first line's offset, in lines: MTEXT blocks above their point
};
svgtext makesvgtext(const ostra::textinfo& t, bool mtext);

struct svgitem {
    brevo::geometry g;
    std::size_t layer = 0;  // index into the layer names
    int color = 0;          // 0xRRGGBB
    std::shared_ptr<const svgtext> text;  // a point that is a text's anchor: the text drawn there
};

// The path data of a geometry seen from above (z dropped, y negated). Arcs
// become arc commands; a turn of more than 350 degrees or of about 180 is
// drawn in two halves, since an arc command whose end points nearly coincide
// or lie nearly opposite is ill-conditioned.
std::string svgpath(const brevo::geometry& g);

// A valid, unique XML id for a layer: the name itself when it is one,
// otherwise "layer-" and the name with every character that cannot stand in
// an id replaced by "_"; a number is appended when the id is taken.
std::string svglayerid(const std::string& name, std::set<std::string>& used);

// The colour a stroke is drawn in: the geometry's own, except that white
// and colours near it are drawn black on the white background.
std::string svgcolor(int color);

// Writes the picture: viewBox fitted to extents (xy) with a margin, width
// pixels wide, stroke width 0.2 % of the larger extent, points as dots of
// twice that. Each layer's group strokes in its most frequent colour; a path
// of another colour says its own. written(n) is called as items are written.
// Returns false when a write fails.
bool writesvg(FILE* out, const std::vector<std::string>& layers, const std::deque<svgitem>& items,
              const box& extents, long width, const std::function<void(std::size_t)>& written = {});

}  // namespace tool

#endif
