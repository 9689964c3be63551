// The standard 256-entry colour index palette of DXF drawings.
#ifndef OSTRA_SUPPORT_PALETTE_H
#define OSTRA_SUPPORT_PALETTE_H

namespace ostra {

// The colour of index aci (1 to 255) as 0xRRGGBB; -1 for any other index.
int palettecolor(int aci);

}  // namespace ostra

#endif
