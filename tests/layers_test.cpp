// The layer table, the layer filter and currentlayer().
#include <gtest/gtest.h>

#include <string>

#include "testutil.h"

using testutil::entities;
using testutil::memstream;
using testutil::readall;
using V = std::vector<std::string>;

namespace {

std::vector<std::string> lineon(const std::string& layer, const char* x) {
    return {"0", "LINE", "8", layer, "10", x};
}

std::string threelayers() {
    std::vector<std::string> p;
    for (auto l : {"A", "AB", "B", "A", "A"}) {
        auto r = lineon(l, "1");
        p.insert(p.end(), r.begin(), r.end());
    }
    p.insert(p.end(), {"0", "CIRCLE", "40", "1"});  // no group 8: the empty layer
    p.insert(p.end(), {"0", "X"});
    return entities(p);
}

// The layers of the geometries read with the filter, in order.
V layersread(const char* filter, const std::string& text, V* table = nullptr) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setlayerfilter(filter);
    V got;
    brevo::geometry g;
    while (r.next(g)) got.push_back(r.currentlayer());
    if (table) {
        int n = -1;
        for (const char* l = r.firstlayer(n); l; l = r.nextlayer(n))
            table->push_back(std::string(l) + ":" + std::to_string(n));
    }
    return got;
}

TEST(LayersFilter, ListItemsMatchWholeNames) {
    V table;
    EXPECT_EQ(layersread("A,B", threelayers(), &table), (V{"A", "B", "A", "A"}));
    // AB did not pass, but is registered and counted like every candidate.
    EXPECT_EQ(table, (V{"A:2", "AB:0", "B:0", ":0"}));
    EXPECT_EQ(layersread("A, B", threelayers()), (V{"A", "A", "A"}));  // the blank is part of the name
    EXPECT_EQ(layersread("B,,X", threelayers()), (V{"B", ""}));        // ",," names the empty layer
    EXPECT_EQ(layersread(nullptr, threelayers()).size(), 6u);
    EXPECT_EQ(layersread("", threelayers()).size(), 6u);
}

TEST(LayersFilter, RemovingTheFilterAndAVeryLongList) {
    memstream m(threelayers());
    ostra::reader r(m.get());
    r.setlayerfilter("B");
    r.setlayerfilter("");
    EXPECT_EQ(readall(r).size(), 6u);
    memstream m2(threelayers());
    ostra::reader r2(m2.get());
    r2.setlayerfilter("B");
    r2.setlayerfilter(nullptr);
    EXPECT_EQ(readall(r2).size(), 6u);
    // A list far longer than any fixed field: the name at its end still counts.
    std::string list;
    for (int i = 0; i < 500; ++i) list += "LAYER" + std::to_string(i) + ",";
    list += "AB";
    EXPECT_EQ(layersread(list.c_str(), threelayers()), V{"AB"});
}

TEST(LayersTable, EnumerationEndsAndStaysEndedUntilRestarted) {
    memstream m(threelayers());
    ostra::reader r(m.get());
    EXPECT_EQ(r.firstlayer(), nullptr);
    readall(r);
    EXPECT_EQ(r.numlayer(), 4);
    int n = 42;
    EXPECT_STREQ(r.firstlayer(n), "A");
    EXPECT_EQ(n, 2);
    r.nextlayer();
    r.nextlayer();
    EXPECT_STREQ(r.nextlayer(n), "");
    n = 42;
    EXPECT_EQ(r.nextlayer(n), nullptr);
    EXPECT_EQ(n, 42);
    EXPECT_EQ(r.nextlayer(), nullptr);
    EXPECT_STREQ(r.firstlayer(), "A");
}

TEST(LayersTable, NoCapOnTheNumberOfLayers) {
    std::vector<std::string> p;
    for (int i = 0; i < 250; ++i) {
        auto l = lineon("L" + std::to_string(i), "1");
        p.insert(p.end(), l.begin(), l.end());
    }
    p.insert(p.end(), {"0", "X"});
    memstream m(entities(p));
    ostra::reader r(m.get());
    r.setlayerfilter("L249");
    EXPECT_EQ(readall(r).size(), 1u);
    EXPECT_EQ(r.numlayer(), 250);
    int count = 0, n = -1;
    for (const char* l = r.firstlayer(n); l; l = r.nextlayer(n)) {
        EXPECT_EQ(std::string(l), "L" + std::to_string(count));
        EXPECT_EQ(n, 0);
        ++count;
    }
    EXPECT_EQ(count, 250);
}

TEST(LayersTable, OnlyCandidatesRegister) {
    // LAYER table records and entities read before ENTITIES are not counted.
    std::string text = testutil::dxf({"0", "SECTION", "2", "TABLES", "0", "LAYER", "2", "WALLS", "0",
                                      "ENDSEC", "0", "SECTION", "2", "HEADER", "0", "LINE", "8", "PRE",
                                      "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES", "0", "LINE", "8",
                                      "IN", "0", "ENDSEC"});
    memstream m(text);
    ostra::reader r(m.get());
    readall(r);
    EXPECT_EQ(r.numlayer(), 1);
    EXPECT_STREQ(r.firstlayer(), "IN");
}

TEST(LayersCurrent, NamesTheLayerOfTheGeometryLastReturned) {
    memstream m(entities({"0", "LINE", "8", "ONE", "0", "LWPOLYLINE", "8", "TWO", "10", "0", "20", "0",
                          "10", "1", "20", "0", "10", "2", "20", "0", "0", "CIRCLE", "8", "THREE", "0", "X"}));
    ostra::reader r(m.get());
    EXPECT_EQ(r.currentlayer(), nullptr);
    brevo::geometry g;
    V got;
    while (r.next(g)) got.push_back(r.currentlayer());
    EXPECT_EQ(got, (V{"ONE", "TWO", "TWO", "THREE"}));
    EXPECT_EQ(r.currentlayer(), nullptr);  // the last call returned nothing
}

}  // namespace
