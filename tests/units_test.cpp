// The units an $INSUNITS code names, and the LAYER table walked in file order.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <ostra/reader.h>
#include <ostra/units.h>

#include "testutil.h"

namespace {

TEST(Units, EveryCodeOfTheFormat) {
    struct known {
        int code;
        const char* name;
        double metres;
    };
    // Sizes from the units' definitions, worked out by hand.
    const known all[] = {
        {0, "unitless", 0},          {1, "inches", 0.0254},          {2, "feet", 12 * 0.0254},
        {3, "miles", 5280 * 0.3048}, {4, "millimeters", 0.001},      {5, "centimeters", 0.01},
        {6, "meters", 1},            {7, "kilometers", 1000},        {8, "microinches", 0.0254e-6},
        {9, "mils", 0.0254e-3},      {10, "yards", 3 * 0.3048},      {11, "angstroms", 1e-10},
        {12, "nanometers", 1e-9},    {13, "microns", 1e-6},          {14, "decimeters", 0.1},
        {15, "decameters", 10},      {16, "hectometers", 100},       {17, "gigameters", 1e9},
        {18, "astronomical units", 1.495978707e11},
        {19, "light years", 299792458.0 * 86400 * 365.25},
        {20, "parsecs", 1.495978707e11 * 648000 / 3.14159265358979323846},
    };
    for (const known& k : all) {
        double m = -1;
        const char* name = ostra::unitname(k.code, m);
        ASSERT_NE(name, nullptr) << k.code;
        EXPECT_STREQ(name, k.name);
        EXPECT_STREQ(ostra::unitname(k.code), k.name);
        EXPECT_NEAR(m, k.metres, k.metres * 1e-12) << k.code;
    }
    for (int code : {-1, 21, 1000}) {
        double m = 42;
        EXPECT_EQ(ostra::unitname(code, m), nullptr);
        EXPECT_EQ(m, 42);
    }
}

// Entries in file order, a duplicate name once (the first), entries no
// entity uses included; the enumeration of layers met lists only used ones.
TEST(LayerEntries, WalkedInFileOrder) {
    const std::string text = testutil::dxf({
        "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER",
        "0", "LAYER", "2", "Walls", "62", "1", "70", "0",
        "0", "LAYER", "2", "Unused", "62", "-3", "70", "1",
        "0", "LAYER", "2", "Walls", "62", "5", "70", "4",
        "0", "LAYER", "2", "G\xc3\xb6", "62", "7", "70", "4",
        "0", "ENDTAB", "0", "ENDSEC",
        "0", "SECTION", "2", "ENTITIES",
        "0", "LINE", "8", "Walls", "10", "0", "20", "0", "11", "1", "21", "0",
        "0", "ENDSEC", "0", "EOF"});
    for (bool exact : {false, true}) {
        testutil::memstream m(text);
        ostra::reader r(m.get());
        r.setexact(exact);
        int aci = 99, flags = 99;
        EXPECT_EQ(r.firstlayerentry(aci, flags), nullptr);  // not read yet
        EXPECT_EQ(aci, 99);
        brevo::geometry g;
        while (r.next(g)) {
        }
        std::vector<std::string> got;
        for (const char* n = r.firstlayerentry(aci, flags); n; n = r.nextlayerentry(aci, flags))
            got.push_back(std::string(n) + ":" + std::to_string(aci) + ":" + std::to_string(flags));
        EXPECT_EQ(got, (std::vector<std::string>{"Walls:1:0", "Unused:-3:1", "G\xc3\xb6:7:4"}));
        EXPECT_EQ(r.nextlayerentry(aci, flags), nullptr);
        EXPECT_EQ(aci, 7);  // left alone at the end
        EXPECT_EQ(r.numlayer(), 1);
    }
}

}  // namespace
