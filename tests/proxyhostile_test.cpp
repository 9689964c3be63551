// Proxy graphics that are not what they say: primitives whose data does
// not fit or make sense, sizes and counts that lie, a stream cut at every
// byte, and random bytes behind a valid header. Every stream is decoded from
// a copy of exactly its bytes, so that a read beyond them shows under
// AddressSanitizer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "proxystream.h"

using namespace proxytest;

TEST(ProxyGraphics, BadPrimitivesAreSkipped) {
    stream s;
    s.begin(6).rl(1000000).pt(0, 0, 0).end();            // more points than bytes
    s.begin(6).rl(1).pt(0, 0, 0).end();                  // one point
    s.begin(7).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();      // a polygon of two
    s.begin(6).rl(2).pt(0, 0, 0).pt(NAN, 0, 0).end();    // not finite
    s.begin(3).pt(0, 0, 0).pt(1, 1, 1).pt(2, 2, 2).end();  // on a line
    s.begin(4).pt(0, 0, 0).rd(1).pt(0, 0, 1).pt(1, 0, 0).rd(0).end();  // no sweep
    s.begin(8).rl(0x10000).rl(0x10000).end();            // rows x columns beyond the bytes
    s.begin(9).rl(2).pt(0, 0, 0).pt(1, 0, 0).rl(3).rl(2).rl(0).rl(2).end();  // index 2 of 2 points
    s.begin(9).rl(2).pt(0, 0, 0).pt(1, 0, 0).rl(2).rl(5).rl(0).end();        // a count beyond the list
    s.begin(9).rl(2).pt(0, 0, 0).pt(1, 0, 0).rl(2).rl(static_cast<std::uint32_t>(INT32_MIN)).rl(0).end();
    s.begin(10).pt(0, 0, 0).pt(0, 0, 1).pt(1, 0, 0).rd(1).rd(1).rd(0).bytes({'A', 'B', 'C', 'D'}).end();  // no NUL
    s.begin(36).pt(0, 0, 0).pt(0, 0, 1).pt(1, 0, 0).rd(1).rd(1).rd(0).bytes({'A', 0, 'B', 0}).end();
    s.begin(11).pt(0, 0, 0).pt(0, 0, 1).pt(1, 0, 0).tv("X").rl(0).end();  // cut after the text
    s.begin(29).rd(1).end();                             // a matrix of one number
    s.begin(24).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();      // still read
    recorder r;
    proxyresult res = decode(s.data(), r);
    EXPECT_EQ(res.bad, 15u);
    EXPECT_EQ(res.decoded, 1u);
    EXPECT_FALSE(res.fault);
    ASSERT_EQ(r.calls.size(), 1u);
}

TEST(ProxyGraphics, SizesThatLie) {
    stream s;
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();
    s.begin(6).rl(2).pt(0, 0, 0).pt(1, 0, 0).end();
    std::vector<unsigned char> good = s.data();
    recorder r;
    auto put = [](std::vector<unsigned char>& d, std::size_t at, std::uint32_t v) { std::memcpy(&d[at], &v, 4); };
    std::size_t second = s.ends()[0];
    for (std::uint32_t size : {0u, 7u, 1000u, 0xfffffff0u}) {
        std::vector<unsigned char> d = good;
        put(d, second, size);  // the second primitive's size
        r.calls.clear();
        proxyresult res = decode(d, r);
        EXPECT_TRUE(res.fault) << size;
        EXPECT_EQ(res.faultat, second);
        EXPECT_EQ(r.calls.size(), 1u);  // the first stands
    }
    // More primitives declared than the bytes hold: a fault at the end.
    std::vector<unsigned char> d = good;
    put(d, 4, 1000);
    r.calls.clear();
    proxyresult res = decode(d, r);
    EXPECT_TRUE(res.fault);
    EXPECT_EQ(res.faultat, good.size());
    EXPECT_EQ(r.calls.size(), 2u);
    // A total size beyond the bytes is a cut; a smaller one ends the stream.
    d = good;
    put(d, 0, 0xffffffffu);
    res = decode(d, r);
    EXPECT_TRUE(res.cut);
    d = good;
    put(d, 0, static_cast<std::uint32_t>(second));
    r.calls.clear();
    res = decode(d, r);
    EXPECT_TRUE(res.fault);
    EXPECT_EQ(r.calls.size(), 1u);
    // Too short for a header; no bytes at all.
    res = decode(std::vector<unsigned char>(good.begin(), good.begin() + 7), r);
    EXPECT_TRUE(res.fault);
    res = decode({}, r);
    EXPECT_TRUE(res.fault);
}

TEST(ProxyGraphics, CutAtEveryByte) {
    stream s = mixed();
    std::vector<unsigned char> full = s.data();
    recorder whole;
    proxyresult all = decode(full, whole);
    ASSERT_EQ(all.decoded, 9u);
    ASSERT_FALSE(all.fault);
    ASSERT_EQ(whole.calls.size(), 8u);  // circle, polyline, text, arc, shell and three pieces of the lwpolyline
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        recorder r;
        proxyresult res = decode(std::vector<unsigned char>(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)), r);
        std::uint32_t complete = 0;
        for (std::size_t e : s.ends()) complete += e <= cut;
        EXPECT_TRUE(res.fault) << cut;
        EXPECT_EQ(res.decoded, complete) << cut;
        EXPECT_EQ(res.cut, cut >= 8) << cut;
        ASSERT_LE(r.calls.size(), whole.calls.size());
        for (std::size_t i = 0; i < r.calls.size(); ++i) EXPECT_EQ(r.calls[i].kind, whole.calls[i].kind) << cut;
    }
}

TEST(ProxyGraphics, RandomBytesBehindAHeader) {
    std::mt19937 rng(26);
    std::vector<unsigned char> typical = mixed().data();
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> d = typical;
        // Flip a few bytes, or fill the body with noise.
        if (round % 2) {
            for (int k = 0; k < 4; ++k) d[8 + rng() % (d.size() - 8)] = static_cast<unsigned char>(rng());
        } else {
            d.resize(8 + rng() % 400);
            for (std::size_t i = 8; i < d.size(); ++i) d[i] = static_cast<unsigned char>(rng() % 4 ? rng() % 40 : rng());
        }
        recorder r;
        proxyresult res = decode(d, r);
        EXPECT_LE(res.decoded + res.bad + res.unknown, d.size() / 8);
    }
}

TEST(ProxyGraphics, RandomPrimitivesWithTrueSizes) {
    // Well-formed sizes around random data of every type: each decoder
    // meets counts, texts and values of all kinds within its own bounds.
    std::mt19937 rng(2026);
    for (int round = 0; round < 3000; ++round) {
        stream s;
        int n = 1 + static_cast<int>(rng() % 6);
        for (int k = 0; k < n; ++k) {
            s.begin(1 + rng() % 40);
            std::size_t words = rng() % 40;
            for (std::size_t w = 0; w < words; ++w) {
                switch (rng() % 4) {
                case 0: s.rl(rng() % 8); break;
                case 1: s.rl(static_cast<std::uint32_t>(rng())); break;
                case 2: s.rd(static_cast<double>(rng() % 200) - 100); break;
                default: s.rl(0); break;
                }
            }
            s.end();
        }
        recorder r;
        proxyresult res = decode(s.data(), r);
        EXPECT_FALSE(res.fault);
        EXPECT_EQ(res.decoded + res.bad + res.unknown, static_cast<std::uint32_t>(n));
    }
}
