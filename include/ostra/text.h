// ostra::textinfo: what the reader tells of a text (TEXT, MTEXT, ATTRIB,
// ATTDEF, the text of dimensions, leaders and tables) beside the geometry
// it delivers for it.
#ifndef OSTRA_TEXT_H
#define OSTRA_TEXT_H

#include <brevo/types.h>

namespace ostra {

// How texts are read: not at all (counted as skipped by record name, the
// default), as one point geometry each at its anchor, or as the strokes of
// its glyphs in the built-in single-stroke font.
enum textmode { notext = 0, textitems = 1, textstrokes = 2 };

// A text as placed in the world. The texts live as long as the geometry
// they came with is the last one delivered.
struct textinfo {
    const char* content = "";  // UTF-8 plain text, lines separated by '\n'
    const char* raw = "";      // the stored text in UTF-8, codes kept
    const char* tag = "";      // ATTRIB/ATTDEF tag, else ""
    const char* style = "";    // the text style's name (group 7), "" for none
    brevo::point anchor;       // the alignment point, world coordinates
    // One text height along the baseline (width factor applied) and up
    // (oblique applied: the direction a glyph's vertical strokes take), world.
    brevo::vector xaxis, yaxis;
    double height = 0;         // world
    // TEXT's 72 and 73 (ATTRIB and ATTDEF: 74); MTEXT: the attachment 1-9
    // as column (0 left, 1 center, 2 right) and row (3 top, 2 middle, 1
    // bottom, as TEXT's 73 counts them).
    int halign = 0, valign = 0;
    double width = 0;          // MTEXT reference width, world; 0 for none
    brevo::point second;       // aligned and fit text: the second alignment point; else the anchor
    double linespacing = 1;    // MTEXT line spacing factor (44); 1 for other texts
    double rotation = 0;       // degrees from the world x axis to xaxis, in the xy plane
};

}  // namespace ostra

#endif
