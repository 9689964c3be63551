// POINT records: read in the exact reading only, at their world location,
// placed by inserts like every block entity.
#include <gtest/gtest.h>

#include <string>

#include "testutil.h"

using testutil::dxf;
using testutil::entities;
using testutil::memstream;
using testutil::readall;
using S = std::vector<std::string>;

namespace {

// Every geometry of the exact reading, each followed by its layer and block.
S readexact(const std::string& text, S* layers = nullptr) {
    return testutil::readexact(text, [&](ostra::reader& r, const brevo::geometry&) {
        if (!layers) return;
        std::string where = r.currentlayer() ? r.currentlayer() : "null";
        if (r.currentblock()) where += std::string("/") + r.currentblock();
        layers->push_back(where);
    });
}

// The layers the reader registered, with their counts.
S layercounts(const std::string& text, bool exact) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(exact);
    testutil::readall(r);
    S out;
    int n = 0;
    for (const char* name = r.firstlayer(n); name; name = r.nextlayer(n)) out.push_back(name + (":" + std::to_string(n)));
    return out;
}

const S point1 = {"0", "POINT", "8", "P", "10", "1.5", "20", "-2", "30", "7"};

TEST(PointRecord, WorldLocationWhateverTheExtrusion) {
    S tilted = {"0", "POINT", "8", "Q", "10", "3", "20", "4", "30", "5", "210", "0", "220", "0", "230", "-1"};
    S sideways = {"0", "POINT", "10", "1", "20", "0", "30", "0", "210", "1", "220", "1", "230", "0"};
    S partial = {"0", "POINT", "20", "9"};  // absent coordinates are 0
    S all = point1;
    for (const S* p : {&tilted, &sideways, &partial}) all.insert(all.end(), p->begin(), p->end());
    S layers;
    EXPECT_EQ(readexact(entities(all), &layers),
              (S{"point (1.5,-2,7)", "point (3,4,5)", "point (1,0,0)", "point (0,9,0)"}));
    EXPECT_EQ(layers, (S{"P", "Q", "", ""}));  // no group 8: no name
}

TEST(PointRecord, DefaultReadingIsUnchanged) {
    S all = point1;
    S line = {"0", "LINE", "8", "L", "11", "1"};
    all.insert(all.end(), line.begin(), line.end());
    all.insert(all.end(), point1.begin(), point1.end());
    const std::string text = entities(all);
    EXPECT_EQ(readall(text), S{"line (0,0,0) (1,0,0)"});
    // The default reading neither delivers nor counts the points' layer.
    EXPECT_EQ(layercounts(text, false), S{"L:0"});
    EXPECT_EQ(layercounts(text, true), (S{"P:1", "L:0"}));
}

std::string blockdrawing(const S& body, const S& ents) {
    S p = {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "10", "1", "20", "0", "30", "0"};
    p.insert(p.end(), body.begin(), body.end());
    p.insert(p.end(), {"0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    p.insert(p.end(), ents.begin(), ents.end());
    p.insert(p.end(), {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

TEST(PointInBlock, PlacedByTheInsert) {
    // Base point (1, 0); the point (2, 1, 0) sits 1 right and 1 up of it.
    const S body = {"0", "POINT", "8", "BP", "10", "2", "20", "1", "30", "0"};
    // Turned a quarter, scaled 2, inserted at (10, 0, 3): (10 - 2, 2, 3).
    S turned = {"0", "INSERT", "2", "B", "10", "10", "20", "0", "30", "3", "41", "2", "42", "2", "43", "2",
                "50", "90"};
    // Mirrored by the extrusion: the insertion point and the offset flip in x.
    S mirrored = {"0", "INSERT", "2", "B", "10", "5", "20", "0", "230", "-1"};
    // A 2 x 1 array with column spacing 4.
    S array = {"0", "INSERT", "2", "B", "70", "2", "44", "4"};
    S ents = turned;
    for (const S* p : {&mirrored, &array}) ents.insert(ents.end(), p->begin(), p->end());
    S layers;
    EXPECT_EQ(readexact(blockdrawing(body, ents), &layers),
              (S{"point (8,2,3)", "point (-6,1,0)", "point (1,1,0)", "point (5,1,0)"}));
    EXPECT_EQ(layers, (S{"BP/B", "BP/B", "BP/B", "BP/B"}));
    // The default reading stores nothing for the block and skips its inserts.
    EXPECT_EQ(readall(blockdrawing(body, ents)), S{});
}

}  // namespace
