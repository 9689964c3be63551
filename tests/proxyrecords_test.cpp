// Proxy graphics read as geometry when the host asks: an ACAD_PROXY_ENTITY
// and an entity of a kind not known, each primitive, and a cut stream.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "proxystream.h"
#include "testutil.h"

using S = std::vector<std::string>;

namespace {

// The bytes as 310 chunks of at most 16 bytes, after a 92 giving their size.
S chunks(const std::vector<unsigned char>& b) {
    S p = {"92", std::to_string(b.size())};
    static const char* hex = "0123456789ABCDEF";
    for (std::size_t i = 0; i < b.size(); i += 16) {
        std::string c;
        for (std::size_t k = i; k < b.size() && k < i + 16; ++k) {
            c += hex[b[k] >> 4];
            c += hex[b[k] & 15];
        }
        p.insert(p.end(), {"310", c});
    }
    return p;
}

S record(const char* name, const std::vector<unsigned char>& graphics) {
    S p = {"0", name, "8", "W", "100", "AcDbEntity", "90", "499", "91", "1"};
    testutil::add(p, chunks(graphics));
    // Entity data after 93: no graphics.
    testutil::add(p, {"93", "32", "310", "0200000007000000"});
    return p;
}

struct result {
    S shapes;
    S records;
    std::vector<long> items;
    int skipped = 0;
};

result readproxies(const S& entities, bool proxies = true) {
    testutil::memstream m(testutil::entities(entities));
    ostra::reader r(m.get());
    r.setexact(true);
    r.setproxies(proxies);
    result out;
    brevo::geometry g;
    while (r.next(g)) {
        out.shapes.push_back(testutil::describe(g));
        out.records.push_back(r.currentrecord());
        out.items.push_back(r.currentitem());
    }
    int n = 0;
    for (const char* s = r.firstskipped(n); s; s = r.nextskipped(n))
        if (std::string(s) == "*proxygraphics") out.skipped = n;
    return out;
}

proxytest::stream primitives() {
    proxytest::stream s;
    s.begin(6).rl(3).pt(0, 0, 0).pt(2, 0, 0).pt(2, 1, 0).end();        // polyline
    s.begin(7).rl(3).pt(5, 0, 0).pt(6, 0, 0).pt(5, 1, 0).end();        // polygon
    s.begin(2).pt(0, 5, 0).rd(1).pt(0, 0, 1).end();                     // circle
    s.begin(4).pt(0, 0, 0).rd(2).pt(0, 0, 1).pt(1, 0, 0).rd(proxytest::pi / 2).rl(0).end();  // arc
    s.begin(8).rl(2).rl(2).pt(0, 0, 1).pt(1, 0, 1).pt(0, 1, 1).pt(1, 1, 1).end();          // mesh
    return s;
}

TEST(ProxyRecords, EveryPrimitiveOfAProxyEntity) {
    result r = readproxies(record("ACAD_PROXY_ENTITY", primitives().data()));
    EXPECT_EQ(r.shapes, (S{"line (0,0,0) (2,0,0)", "line (2,0,0) (2,1,0)",
                           "line (5,0,0) (6,0,0)", "line (6,0,0) (5,1,0)", "line (5,1,0) (5,0,0)",
                           "circle c(0,5,0) r1", "arc c(0,0,0) n(0,0,1) s(2,0,0) a90",
                           "line (0,0,1) (1,0,1)", "line (0,0,1) (0,1,1)", "line (1,0,1) (1,1,1)",
                           "line (0,1,1) (1,1,1)"}));
    EXPECT_EQ(r.records.front(), "ACAD_PROXY_ENTITY");
    EXPECT_EQ(r.items.front(), r.items.back());
    EXPECT_EQ(r.skipped, 0);
}

TEST(ProxyRecords, AnEntityNotKnownDrawsItsGraphics) {
    result r = readproxies(record("AEC_WALL", primitives().data()));
    ASSERT_EQ(r.shapes.size(), 11u);
    EXPECT_EQ(r.records.front(), "AEC_WALL");
    // Not asked for: nothing, as before.
    EXPECT_TRUE(readproxies(record("AEC_WALL", primitives().data()), false).shapes.empty());
    EXPECT_TRUE(readproxies(record("ACAD_PROXY_ENTITY", primitives().data()), false).shapes.empty());
}

TEST(ProxyRecords, ACutStreamGivesWhatCameBefore) {
    std::vector<unsigned char> b = primitives().data();
    // Cut inside the polygon: the polyline stands, the fault counts.
    b.resize(8 + 8 + 4 + 72 + 20);
    result r = readproxies(record("ACAD_PROXY_ENTITY", b));
    EXPECT_EQ(r.shapes, (S{"line (0,0,0) (2,0,0)", "line (2,0,0) (2,1,0)"}));
    EXPECT_GE(r.skipped, 1);
    // A chunk that is no hex ends the bytes there.
    S bad = {"0", "ACAD_PROXY_ENTITY", "8", "W", "92", "40", "310", "ZZ"};
    EXPECT_TRUE(readproxies(bad).shapes.empty());
}

}  // namespace
