// The standard colour index palette: every index against the table's
// defining rule, worked out here in another way (hue, saturation and value
// in floating point), and a few entries checked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include <ostra/palette.h>

namespace {

// Indices 10 to 249: hue (aci - 10) / 10 x 15 degrees; value 255 times 1,
// 0.65, 0.5, 0.3 or 0.15 by the shade's pair; saturation 1 for even shades,
// 0.5 for odd ones. Each channel is the exact value truncated.
int fromhsv(int aci) {
    const double levels[5] = {1, 0.65, 0.5, 0.3, 0.15};
    double hue = (aci - 10) / 10 * 15.0, v = 255 * levels[aci % 10 / 2], s = aci % 2 ? 0.5 : 1;
    double c = v * s, h = hue / 60, x = c * (1 - std::fabs(std::fmod(h, 2) - 1)), m = v - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0: r = c, g = x; break;
    case 1: r = x, g = c; break;
    case 2: g = c, b = x; break;
    case 3: g = x, b = c; break;
    case 4: r = x, b = c; break;
    default: r = c, b = x; break;
    }
    // Exact values are multiples of 1/32 (255 x 0.05 in eighths): never
    // within 1e-6 below an integer unless they are one.
    auto channel = [](double u) { return static_cast<int>(std::floor(u + 1e-6)); };
    return channel(r + m) << 16 | channel(g + m) << 8 | channel(b + m);
}

TEST(Palette, EveryHueShadeFollowsTheRule) {
    for (int aci = 10; aci <= 249; ++aci) EXPECT_EQ(ostra::palettecolor(aci), fromhsv(aci)) << "index " << aci;
}

TEST(Palette, EntriesCheckedByHand) {
    // 22: hue 15, value 165.75: red 165, green a quarter of it, 41.44.
    EXPECT_EQ(ostra::palettecolor(22), 0xA52900);
    // 26: value 76.5, green 19.125.
    EXPECT_EQ(ostra::palettecolor(26), 0x4C1300);
    // 23: half way to white: green 165.75 x 0.625 = 103.6, blue 82.9.
    EXPECT_EQ(ostra::palettecolor(23), 0xA56752);
    // 43: hue 45, green 165.75 x 0.875 = 145.03.
    EXPECT_EQ(ostra::palettecolor(43), 0xA59152);
    EXPECT_EQ(ostra::palettecolor(10), 0xFF0000);
    EXPECT_EQ(ostra::palettecolor(11), 0xFF7F7F);
    EXPECT_EQ(ostra::palettecolor(12), 0xA50000);
    EXPECT_EQ(ostra::palettecolor(20), 0xFF3F00);
    EXPECT_EQ(ostra::palettecolor(249), 0x261317);  // hue 345: blue 38.25 x 0.625 = 23.9, green 19.1
    // The first nine and the greys.
    const int named[10] = {-1, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFFFFFF, 0x808080, 0xC0C0C0};
    for (int aci = 1; aci <= 9; ++aci) EXPECT_EQ(ostra::palettecolor(aci), named[aci]) << "index " << aci;
    const int greys[6] = {0x333333, 0x505050, 0x696969, 0x828282, 0xBEBEBE, 0xFFFFFF};
    for (int aci = 250; aci <= 255; ++aci) EXPECT_EQ(ostra::palettecolor(aci), greys[aci - 250]) << "index " << aci;
    EXPECT_EQ(ostra::palettecolor(0), -1);
    EXPECT_EQ(ostra::palettecolor(256), -1);
    // The nearest index of an entry's own colour is that entry (the first
    // one, where the table repeats a colour).
    EXPECT_EQ(ostra::nearestaci(0xA52900), 22);
    EXPECT_EQ(ostra::nearestaci(0x4C1300), 26);
    EXPECT_EQ(ostra::nearestaci(0xFF0000), 1);
}

}  // namespace
