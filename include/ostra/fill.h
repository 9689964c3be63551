// ostra::fillinfo: what the reader tells about an area beside the geometry
// that bounds or fills it (reader::currentfill), and the hatch modes a host
// asks for (reader::sethatch).
#ifndef OSTRA_FILL_H
#define OSTRA_FILL_H

namespace ostra {

// What the reader gives of HATCH and MPOLYGON records, or-ed together:
// nothing (the default: they are counted as skipped), their boundary loops,
// the pattern lines a CAD program draws inside them.
enum hatchmode { nohatch = 0, hatchboundaries = 1, hatchpatterns = 2 };

struct fillinfo {
    // Which boundary loop of the area the geometry belongs to: 0, 1, ...;
    // -1 for a pattern line of a hatch.
    int loop = 0;
    // An outer loop (else a hole), by the nesting of the loops under the
    // hatch style.
    bool outer = true;
    // Filled solid: a solid hatch, a gradient, SOLID, TRACE, WIPEOUT.
    bool solid = false;
    // The pattern name ("SOLID", "ANSI31", ...), "" for none.
    const char* pattern = "";
    // A WIPEOUT: the area covers what was drawn before it with the
    // background colour.
    bool wipeout = false;
    // A gradient fill, and its two colours as 0xRRGGBB (-1 where the
    // drawing gives none; a one-colour gradient has only the first).
    bool gradient = false;
    int gradientcolor1 = -1;
    int gradientcolor2 = -1;
    // The hatch style (75): 0 odd parity, 1 outermost, 2 ignore.
    int style = 0;
    // Whether the loop takes part in the fill under that style (a deeper
    // island under "outermost" does not).
    bool filled = true;
    // The number of loops of the area.
    int loops = 1;
};

}  // namespace ostra

#endif
