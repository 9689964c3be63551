// Proxy graphics: a hand-built stream for every primitive type, the
// attribute state and model transforms, and the packed LWPOLYLINE from its
// bits.
#include <gtest/gtest.h>

#include <cmath>

#include "proxystream.h"

using namespace proxytest;

TEST(ProxyGraphics, CirclesAndArcs) {
    stream s;
    s.begin(2).pt(1, 2, 3).rd(4).pt(0, 0, 1).end();
    s.begin(3).pt(1, 0, 0).pt(0, 1, 0).pt(-1, 0, 0).end();
    s.begin(4).pt(0, 0, 0).rd(2).pt(0, 0, 1).pt(0, 1, 0).rd(pi / 2).rl(1).end();
    s.begin(4).pt(0, 0, 0).rd(2).pt(0, 0, 1).pt(0, 1, 0).rd(-pi / 2).rl(0).end();
    s.begin(5).pt(1, 0, 0).pt(0, 1, 0).pt(-1, 0, 0).rl(2).end();
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.declared, 5u);
    EXPECT_EQ(res.decoded, 5u);
    EXPECT_FALSE(res.fault);
    ASSERT_EQ(r.calls.size(), 5u);
    double radius, a0, a1;
    EXPECT_EQ(r.calls[0].kind, "circle");
    expectpoint(r.calls[0].arc.centre, 1, 2, 3);
    expectvector(r.calls[0].arc.u, 4, 0, 0);
    expectvector(r.calls[0].arc.v, 0, 4, 0);
    EXPECT_TRUE(r.calls[0].arc.full);
    EXPECT_EQ(r.calls[1].kind, "circle");  // through three points: the unit circle
    expectpoint(r.calls[1].arc.centre, 0, 0, 0);
    ASSERT_TRUE(ostra::arccircle(r.calls[1].arc, radius, a0, a1));
    EXPECT_NEAR(radius, 1, 1e-12);
    expectvector(r.calls[1].arc.normal, 0, 0, 1);
    // From 90 degrees a quarter turn on, a sector.
    EXPECT_EQ(r.calls[2].kind, "arc");
    ASSERT_TRUE(ostra::arccircle(r.calls[2].arc, radius, a0, a1));
    EXPECT_NEAR(radius, 2, 1e-12);
    EXPECT_NEAR(a0, 90, 1e-12);
    EXPECT_NEAR(a1, 180, 1e-12);
    EXPECT_EQ(r.calls[2].arc.arctype, 1);
    // A negative sweep runs clockwise: the normal turns round, and in its
    // object coordinates (x axis -x) the arc runs from 90 to 180.
    const proxyarc& cw = r.calls[3].arc;
    expectvector(cw.normal, 0, 0, -1);
    EXPECT_NEAR(cw.sweep, pi / 2, 1e-15);
    point end = cw.centre + cw.u * std::cos(cw.sweep) + cw.v * std::sin(cw.sweep);
    expectpoint(end, 2, 0, 0);
    ASSERT_TRUE(ostra::arccircle(cw, radius, a0, a1));
    EXPECT_NEAR(a0, 90, 1e-12);
    // Three points: from (1, 0, 0) over (0, 1, 0) to (-1, 0, 0), half a turn.
    EXPECT_EQ(r.calls[4].kind, "arc");
    EXPECT_NEAR(r.calls[4].arc.sweep, pi, 1e-12);
    EXPECT_EQ(r.calls[4].arc.arctype, 2);
    expectvector(r.calls[4].arc.u, 1, 0, 0);
}

TEST(ProxyGraphics, PointListsMeshesShells) {
    stream s;
    s.begin(6).rl(3).pt(0, 0, 0).pt(1, 0, 0).pt(1, 1, 0).end();
    s.begin(20).rl(1).end();
    s.begin(7).rl(4).pt(0, 0, 0).pt(1, 0, 0).pt(1, 1, 0).pt(0, 1, 0).end();
    s.begin(32).rl(2).pt(0, 0, 5).pt(3, 0, 5).pt(0, 0, 1).end();
    s.begin(8).rl(2).rl(3);
    for (int i = 0; i < 6; ++i) s.pt(i % 3, i / 3, 0);
    s.rl(0).rl(0).rl(0).end();  // no edge, face or vertex traits
    s.begin(9).rl(4).pt(0, 0, 0).pt(1, 0, 0).pt(1, 1, 0).pt(0, 1, 0);
    s.rl(8).rl(3).rl(0).rl(1).rl(2).rl(3).rl(0).rl(2).rl(3);
    s.rl(64).rl(1).rl(1).rl(0).rl(1).rl(1).rl(1).rl(0).end();  // edge visibilities: skipped
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.decoded, 6u);
    ASSERT_EQ(r.calls.size(), 5u);
    EXPECT_EQ(r.calls[0].kind, "polyline");
    EXPECT_EQ(r.calls[0].points.size(), 3u);
    EXPECT_FALSE(r.calls[0].state.fill);
    EXPECT_EQ(r.calls[1].kind, "polygon");
    EXPECT_TRUE(r.calls[1].state.fill);
    EXPECT_EQ(r.calls[2].kind, "polyline");
    expectpoint(r.calls[2].points[1], 3, 0, 5);
    EXPECT_EQ(r.calls[3].kind, "mesh");
    EXPECT_EQ(r.calls[3].rows, 2u);
    EXPECT_EQ(r.calls[3].cols, 3u);
    expectpoint(r.calls[3].points[4], 1, 1, 0);
    EXPECT_EQ(r.calls[4].kind, "shell");
    EXPECT_EQ(r.calls[4].points.size(), 4u);
    EXPECT_EQ(r.calls[4].faces, (std::vector<std::int32_t>{3, 0, 1, 2, 3, 0, 2, 3}));
}

TEST(ProxyGraphics, Texts) {
    stream s;
    s.begin(10).pt(1, 2, 0).pt(0, 0, 1).pt(0, 1, 0).rd(2.5).rd(0.8).rd(0.1).tv("ABC").end();
    s.begin(11).pt(0, 0, 0).pt(0, 0, 1).pt(1, 0, 0).tv("HELLO").rl(4).rl(1).rd(3).rd(1).rd(0).rd(1.5);
    s.rl(0).rl(1).rl(0).rl(1).rl(0).tv("txt.shx").tv("").end();
    s.begin(36).pt(0, 0, 0).pt(0, 0, 1).pt(1, 0, 0).rd(1).rd(1).rd(0).tu(u"\u00c4\u20ac\U0001F600").end();
    s.begin(38).pt(0, 0, 0).pt(0, 0, 1).pt(1, 0, 0).tu(u"ok").rl(0xffffffff).rl(0).rd(2).rd(1).rd(0).rd(1).end();
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.decoded, 4u);
    ASSERT_EQ(r.calls.size(), 4u);
    const proxytext& a = r.calls[0].text;
    EXPECT_EQ(r.calls[0].chars, "ABC");
    EXPECT_FALSE(a.utf8);
    expectpoint(a.position, 1, 2, 0);
    expectvector(a.direction, 0, 1, 0);
    EXPECT_EQ(a.height, 2.5);
    EXPECT_EQ(a.widthfactor, 0.8);
    EXPECT_EQ(a.oblique, 0.1);
    // 11: the length cuts the text; its flags and fonts.
    const proxytext& b = r.calls[1].text;
    EXPECT_EQ(r.calls[1].chars, "HELL");
    EXPECT_TRUE(b.raw);
    EXPECT_EQ(b.height, 3);
    EXPECT_EQ(b.tracking, 1.5);
    EXPECT_TRUE(b.upsidedown);
    EXPECT_TRUE(b.underlined);
    EXPECT_FALSE(b.vertical);
    EXPECT_EQ(r.calls[1].font, "txt.shx");
    EXPECT_EQ(r.calls[2].chars, "\xc3\x84\xe2\x82\xac\xf0\x9f\x98\x80");  // a surrogate pair becomes one character
    EXPECT_TRUE(r.calls[2].text.utf8);
    EXPECT_EQ(r.calls[3].chars, "ok");
    EXPECT_EQ(r.calls[3].text.height, 2);
}

TEST(ProxyGraphics, AttributesAndSkippedKinds) {
    stream s;
    s.begin(1).pt(0, 0, 0).pt(1, 1, 1).end();
    s.begin(12).pt(0, 0, 0).pt(1, 0, 0).end();
    s.begin(13).pt(0, 0, 0).pt(1, 0, 0).end();
    s.begin(14).rl(3).end();
    s.begin(16).rl(2).end();
    s.begin(18).rl(5).end();
    s.begin(19).rl(7).end();
    s.begin(22).rl(0xC2FF8000).end();
    s.begin(23).rl(35).end();
    s.begin(24).rd(2.5).end();
    s.begin(25).rd(1.5).end();
    s.begin(99).rl(1).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();
    s.begin(14).rl(256).end();
    s.begin(23).rl(static_cast<std::uint32_t>(-2)).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.skipped, 3u);
    EXPECT_EQ(res.unknown, 1u);
    EXPECT_EQ(res.decoded, 15u);
    ASSERT_EQ(r.calls.size(), 2u);
    const proxystate& a = r.calls[0].state;
    EXPECT_EQ(a.color, 3);
    EXPECT_TRUE(a.hastruecolor);
    EXPECT_EQ(a.truecolor, 0xC2FF8000u);
    EXPECT_EQ(a.layer, 2);
    EXPECT_EQ(a.linetype, 5);
    EXPECT_EQ(a.marker, 7);
    EXPECT_EQ(a.lineweight, 35);
    EXPECT_EQ(a.ltscale, 2.5);
    EXPECT_EQ(a.thickness, 1.5);
    const proxystate& b = r.calls[1].state;
    EXPECT_EQ(b.color, 256);
    EXPECT_FALSE(b.hastruecolor);  // an index after the true colour replaces it
    EXPECT_EQ(b.lineweight, -2);
    EXPECT_EQ(b.layer, 2);
    EXPECT_EQ(proxystate().color, ostra::proxyunset);
}

TEST(ProxyGraphics, ModelTransforms) {
    stream s;
    // Translate by (10, 20, 30) and scale by 2, row by row.
    s.begin(29).rd(2).rd(0).rd(0).rd(10).rd(0).rd(2).rd(0).rd(20).rd(0).rd(0).rd(2).rd(30).rd(0).rd(0).rd(0).rd(1).end();
    s.begin(2).pt(0, 0, 0).rd(1).pt(0, 0, 1).end();
    // Within it a turn by 90 degrees about z, stored column by column.
    s.begin(30).rd(0).rd(1).rd(0).rd(0).rd(-1).rd(0).rd(0).rd(0).rd(0).rd(0).rd(1).rd(0).rd(1).rd(0).rd(0).rd(1).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();
    s.begin(31).end();
    s.begin(31).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();
    // The object coordinate system of the normal (0, 0, -1): x becomes -x.
    s.begin(30).pt(0, 0, -1).end();
    s.begin(6).rl(2).pt(1, 0, 0).pt(1, 1, 0).end();
    s.begin(31).end();
    s.begin(31).end();  // one pop too many
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.bad, 1u);
    ASSERT_EQ(r.calls.size(), 4u);
    expectpoint(r.calls[0].arc.centre, 10, 20, 30);
    expectvector(r.calls[0].arc.u, 2, 0, 0);
    // The turn first (the point (1, 0, 0) plus (1, 0, 0) to (1, 1, 0)), then
    // the outer transform.
    expectpoint(r.calls[1].points[0], 12, 20, 30);
    expectpoint(r.calls[1].points[1], 12, 22, 30);
    expectpoint(r.calls[2].points[1], 1, 0, 0);
    expectpoint(r.calls[3].points[0], -1, 0, 0);
    expectpoint(r.calls[3].points[1], -1, 1, 0);
}

TEST(ProxyGraphics, TransformDepthIsBounded) {
    stream s;
    for (int i = 0; i < ostra::maxproxydepth + 6; ++i)
        s.begin(29).rd(1).rd(0).rd(0).rd(1).rd(0).rd(1).rd(0).rd(0).rd(0).rd(0).rd(1).rd(0).rd(0).rd(0).rd(0).rd(1).end();
    for (int i = 0; i < ostra::maxproxydepth + 6; ++i) s.begin(31).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.bad, 6u);
    ASSERT_EQ(r.calls.size(), 1u);
    expectpoint(r.calls[0].points[0], 0, 0, 0);  // every push undone
}

TEST(ProxyGraphics, PackedLwpolyline) {
    std::vector<unsigned char> lw = lwpolybits();
    stream s;
    s.begin(33).rl(static_cast<std::uint32_t>(lw.size())).bytes(lw).pad().end();
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.decoded, 1u);
    ASSERT_EQ(r.calls.size(), 3u);
    EXPECT_EQ(r.calls[0].kind, "polyline");
    ASSERT_EQ(r.calls[0].points.size(), 2u);
    expectpoint(r.calls[0].points[1], 10, 0, 0);
    EXPECT_EQ(r.calls[1].kind, "arc");  // the half circle round (10, 5), from -90 degrees
    const proxyarc& a = r.calls[1].arc;
    expectpoint(a.centre, 10, 5, 0);
    expectvector(a.u, 0, -5, 0);
    EXPECT_NEAR(a.sweep, pi, 1e-12);
    point mid = a.centre + a.u * std::cos(pi / 2) + a.v * std::sin(pi / 2);
    expectpoint(mid, 15, 5, 0);
    EXPECT_EQ(r.calls[2].kind, "polyline");  // the closing side
    expectpoint(r.calls[2].points[0], 10, 10, 0);
    expectpoint(r.calls[2].points[1], 0, 0, 0);

    // A point count beyond the bits, and bits that run out.
    bits b;
    b.bs(0).bb(0).rc(0xff).rc(0xff).rc(0xff).rc(0x7f);
    stream t;
    t.begin(33).rl(static_cast<std::uint32_t>(b.data().size())).bytes(b.data()).pad().end();
    t.begin(33).rl(static_cast<std::uint32_t>(lw.size() - 3)).bytes(std::vector<unsigned char>(lw.begin(), lw.end() - 3)).pad().end();
    t.begin(33).rl(1000).end();
    res = decode(t.data(), r);
    EXPECT_EQ(res.bad, 3u);
}
