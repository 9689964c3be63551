// The standard 256-entry colour index palette of DXF drawings; the
// declarations are public (ostra/palette.h).
#ifndef OSTRA_SUPPORT_PALETTE_H
#define OSTRA_SUPPORT_PALETTE_H

#include <ostra/palette.h>

#endif
