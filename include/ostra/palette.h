// The standard 256-entry colour index palette of DXF drawings.
#ifndef OSTRA_PALETTE_H
#define OSTRA_PALETTE_H

namespace ostra {

// The colour of index aci (1 to 255) as 0xRRGGBB; -1 for any other index.
int palettecolor(int aci);
// The index (1 to 255) whose colour lies nearest to color (0xRRGGBB).
int nearestaci(int color);

}  // namespace ostra

#endif
