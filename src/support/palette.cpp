#include "support/palette.h"

namespace ostra {

namespace {

// Indices 1 to 9 name colours of their own; 250 to 255 are greys.
constexpr int named[10] = {-1, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFFFFFF, 0x808080, 0xC0C0C0};
constexpr int greys[6] = {0x333333, 0x505050, 0x696969, 0x828282, 0xBEBEBE, 0xFFFFFF};

// Indices 10 to 249 run through 24 hues, 15 degrees apart starting at red,
// ten shades each: the even shades at full saturation, the odd ones half
// way to white, each pair darker than the one before (full, 65 %, 50 %,
// 30 %, 15 % brightness). A channel is the exact value of its share,
// truncated once: 255 x brightness x share, the share in eighths.
constexpr int hueshade(int aci) {
    int hue = (aci - 10) / 10, shade = aci % 10;
    // The channels' shares of the hue at full saturation, in quarters: one
    // at 4, one rising or falling by a quarter from hue to hue, one at 0.
    int sector = hue / 4, up = hue % 4, down = 4 - up;
    int share[3] = {0, 0, 0};
    switch (sector) {
    case 0: share[0] = 4, share[1] = up, share[2] = 0; break;       // red to yellow
    case 1: share[0] = down, share[1] = 4, share[2] = 0; break;     // yellow to green
    case 2: share[0] = 0, share[1] = 4, share[2] = up; break;       // green to cyan
    case 3: share[0] = 0, share[1] = down, share[2] = 4; break;     // cyan to blue
    case 4: share[0] = up, share[1] = 0, share[2] = 4; break;       // blue to magenta
    default: share[0] = 4, share[1] = 0, share[2] = down; break;    // magenta to red
    }
    const int brightness[5] = {100, 65, 50, 30, 15};
    int color = 0;
    for (int q : share) {
        // In eighths: 2q at full saturation, 4 + q half way to white.
        int eighths = shade % 2 ? 4 + q : 2 * q;
        color = color << 8 | 255 * brightness[shade / 2] * eighths / 800;
    }
    return color;
}

// The colour of every index, worked out once when the program is built.
struct colourtable {
    int colour[256];
};

constexpr colourtable maketable() {
    colourtable t{};
    t.colour[0] = -1;
    for (int aci = 1; aci <= 255; ++aci)
        t.colour[aci] = aci < 10 ? named[aci] : aci >= 250 ? greys[aci - 250] : hueshade(aci);
    return t;
}

constexpr colourtable table = maketable();

}  // namespace

int palettecolor(int aci) { return aci < 1 || aci > 255 ? -1 : table.colour[aci]; }

// By the squared distance of the channels; the lowest index wins a tie.
int nearestaci(int color) {
    const int r = color >> 16 & 0xFF, g = color >> 8 & 0xFF, b = color & 0xFF;
    int best = 7;
    long bestdistance = -1;
    for (int aci = 1; aci <= 255; ++aci) {
        const int c = table.colour[aci];
        const long dr = (c >> 16 & 0xFF) - r, dg = (c >> 8 & 0xFF) - g, db = (c & 0xFF) - b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestdistance < 0 || d < bestdistance) best = aci, bestdistance = d;
    }
    return best;
}

}  // namespace ostra
