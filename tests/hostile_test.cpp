// Bad and hostile input: what the reader returns, prints and keeps for files
// that are empty, binary, random, truncated, oversized, deeply nested or
// exploding, and for extreme numbers through the reader and the writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define OSTRA_HOSTILE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSTRA_HOSTILE_ASAN 1
#endif
#endif
#ifdef OSTRA_HOSTILE_ASAN
// From the sanitizer runtime (declared here: not every compiler ships the
// header that declares it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include <ostra/writer.h>

#include "testutil.h"

using testutil::describe;
using testutil::dxf;
using testutil::entities;
using testutil::memstream;
using testutil::readall;
using S = std::vector<std::string>;

namespace {

using clock_type = std::chrono::steady_clock;

double seconds(clock_type::time_point t0) { return std::chrono::duration<double>(clock_type::now() - t0).count(); }

// The bytes the process holds on the heap right now.
std::size_t heapinuse() {
#ifdef OSTRA_HOSTILE_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

// What reading a text prints to standard output, and the geometries.
struct outcome {
    S geometries;
    std::string printed;
};

outcome readprinted(const std::string& text) {
    testing::internal::CaptureStdout();
    outcome o;
    o.geometries = readall(text);
    o.printed = testing::internal::GetCapturedStdout();
    return o;
}

S blockdef(const std::string& name, const S& body) {
    S p = {"0", "BLOCK", "8", "0", "2", name, "70", "0", "10", "0", "20", "0", "30", "0"};
    p.insert(p.end(), body.begin(), body.end());
    p.insert(p.end(), {"0", "ENDBLK"});
    return p;
}

S insert(const std::string& name, const std::string& x, const std::string& y, const S& extra = {}) {
    S p = {"0", "INSERT", "8", "INS", "2", name, "10", x, "20", y, "30", "0"};
    p.insert(p.end(), extra.begin(), extra.end());
    return p;
}

S seg(const std::string& x0, const std::string& y0, const std::string& x1, const std::string& y1,
      const std::string& layer = "L") {
    return {"0", "LINE", "8", layer, "10", x0, "20", y0, "30", "0", "11", x1, "21", y1, "31", "0"};
}

void append(S& to, const S& more) { to.insert(to.end(), more.begin(), more.end()); }

std::string drawing(const std::vector<S>& blocks, const std::vector<S>& ents) {
    S p = {"0", "SECTION", "2", "BLOCKS"};
    for (const auto& b : blocks) append(p, b);
    append(p, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    for (const auto& e : ents) append(p, e);
    append(p, {"0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

// ---------------------------------------------------------------------------
// Files that hold no drawing at all.

TEST(HostileNoDrawing, EmptyAndBlankFilesEndQuietly) {
    for (const std::string& text : S{"", " ", "\n", "\n\n\n\n", "  \t \r\n \r\n\t\n", std::string(5000, '\n')}) {
        memstream m(text);
        ostra::reader r(m.get());
        brevo::geometry g;
        testing::internal::CaptureStdout();
        EXPECT_EQ(r.next(g), nullptr);
        EXPECT_TRUE(g.invalid());
        EXPECT_EQ(r.next(g), nullptr);  // and stays at the end
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(r.numlayer(), 0);
        EXPECT_EQ(r.numblock(), 0);
        EXPECT_EQ(r.currentlayer(), nullptr);
        EXPECT_EQ(r.currentblock(), nullptr);
    }
}

// Random bytes behind the binary sentinel are read as binary groups: reading
// ends (at a code of no known type, which cannot be read past, or at the
// end), and whatever is returned is valid.
TEST(HostileNoDrawing, RandomBytesBehindTheBinarySentinelEnd) {
    std::mt19937 rng(20240601);
    for (int round = 0; round < 300; ++round) {
        std::string text("AutoCAD Binary DXF\r\n\x1a\0", 22);
        int n = static_cast<int>(rng() % 3000);
        for (int i = 0; i < n; ++i) text += static_cast<char>(rng() & 0xff);
        memstream m(text);
        ostra::reader r(m.get());
        r.setmessages(nullptr);
        brevo::geometry g;
        while (r.next(g)) EXPECT_FALSE(g.invalid());
        ostra::readstatus s = r.status();
        EXPECT_TRUE(s == ostra::endofstream || s == ostra::malformedcode || s == ostra::endofdrawing);
        EXPECT_LE(r.line(), static_cast<long>(text.size()));
        // A host that reads on after a malformed code is not kept waiting.
        if (s == ostra::malformedcode) {
            EXPECT_EQ(r.next(g), nullptr);
            EXPECT_EQ(r.status(), ostra::endofstream);
        }
    }
}

// A text that only begins like the binary sentinel stays text: its first
// line is a malformed code line, and reading goes on after it.
TEST(HostileNoDrawing, TextBeginningLikeTheBinarySentinelIsText) {
    const std::string drawing = entities({"0", "LINE", "11", "1", "0", "X"});
    const std::pair<std::string, std::string> starts[] = {{"AutoCAD Binary DXF\r\n", "AutoCAD Binary DXF"},
                                                          {"AutoCAD Binary DXF\r\n\x1a\n", "AutoCAD Binary DXF"},
                                                          {"AutoCAD Binary\n", "AutoCAD Binary"}};
    for (const auto& [start, firstline] : starts) {
        for (int buffering : {-1, 0, 1, 7}) {
            memstream m(start + drawing);
            if (buffering == 0) std::setvbuf(m.get(), nullptr, _IONBF, 0);
            if (buffering > 0) std::setvbuf(m.get(), nullptr, _IOFBF, static_cast<std::size_t>(buffering));
            ostra::reader r(m.get());
            testing::internal::CaptureStdout();
            EXPECT_EQ(r.next(), nullptr);
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "numerical group code expected\n1: " + firstline);
            EXPECT_EQ(r.status(), ostra::malformedcode);
            r.setmessages(nullptr);
            // The byte after the sentinel's newline makes a malformed line of its own.
            S got = readall(r);
            if (r.status() == ostra::malformedcode) got = readall(r);
            EXPECT_EQ(got, S{"line (0,0,0) (1,0,0)"}) << buffering;
            EXPECT_EQ(r.status(), ostra::endofdrawing);
        }
    }
}

// Random bytes, and random sequences of the format's own tokens (which get
// far deeper into the reader): every read ends, every geometry returned is
// valid and has a layer. The memory checkers of the sanitizer build do the
// rest.
TEST(HostileNoDrawing, RandomBytesAndTokenSoupEnd) {
    std::mt19937 rng(12345);
    const char* codes[] = {"0", "  0", "0", "2", "8", "9", "10", "20", "30", "11", "21", "31", "40",
                           "41", "42", "43", "44", "45", "50", "51", "66", "70", "71", "90", "999", ""};
    const char* values[] = {"SECTION", "ENDSEC", "BLOCKS", "ENTITIES", "BLOCK", "ENDBLK", "INSERT",
                            "LINE", "ARC", "CIRCLE", "POLYLINE", "VERTEX", "SEQEND", "LWPOLYLINE",
                            "LAYER", "A", "B", "C", "0", "1", "-1", "2.5", "3", "32767", "1e308",
                            "-1e308", "", " ", "x"};
    const std::size_t ncodes = sizeof codes / sizeof codes[0], nvalues = sizeof values / sizeof values[0];
    int produced = 0;
    testing::internal::CaptureStdout();
    for (int round = 0; round < 300; ++round) {
        std::string text;
        if (round % 3 == 0) {
            for (int i = 0; i < 3000; ++i) text += static_cast<char>(rng() & 0xff);
        } else {
            text = "0\nSECTION\n2\n";
            text += round % 3 == 1 ? "BLOCKS\n" : "ENTITIES\n";
            for (int i = 0; i < 300; ++i) {
                text += codes[rng() % ncodes];
                text += rng() % 8 ? "\n" : "\r\n";
                text += values[rng() % nvalues];
                text += '\n';
            }
        }
        memstream m(text);
        ostra::reader r(m.get());
        brevo::geometry g;
        for (int n = 0; n < 20000 && r.next(g); ++n) {
            ASSERT_FALSE(g.invalid());
            ASSERT_NE(r.currentlayer(), nullptr);
            ++produced;
        }
    }
    testing::internal::GetCapturedStdout();
    EXPECT_GT(produced, 0);  // the soup did reach the producers
}

// ---------------------------------------------------------------------------
// Lines: NUL bytes, overlong lines and lines around the 511-char cut.

TEST(HostileLines, NulEndsTheTextOfItsLine) {
    using namespace std::string_literals;
    // In a value: "5\0junk" is 5. In a code line: "11\0xyz" is code 11 (the
    // letters after the NUL are not seen). A line starting with NUL is empty:
    // as a code line that is code 0.
    std::string text = "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n5\0junk\n20\n1\n11\0xyz\n7\n21\n2\n"s +
                       "\0\nCIRCLE\n40\n3\0\0\n0\nEOF\n"s;
    outcome o = readprinted(text);
    EXPECT_EQ(o.geometries, (S{"line (5,1,0) (7,2,0)", "circle c(0,0,0) r3"}));
    EXPECT_EQ(o.printed, "");
    // A record name cut by a NUL is another name: "LI\0NE" is "LI".
    EXPECT_EQ(readall(entities({"0", "LI\0NE"s, "10", "1", "0", "CIRCLE", "40", "1"})), S{"circle c(0,0,0) r1"});
}

TEST(HostileLines, MegabyteLinesAreCutAndReadingGoesOn) {
    const std::string huge(1 << 20, 'A');
    // A 1 MB layer name: 79 chars of it are the name; the groups after it
    // are read as usual.
    std::string text = entities({"0", "LINE", "8", huge, "10", "1", "11", "2", "0", "CIRCLE", "8", huge, "40", "4"});
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(describe(g), "line (1,0,0) (2,0,0)");
    EXPECT_EQ(std::string(r.currentlayer()), huge.substr(0, 79));
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(describe(g), "circle c(0,0,0) r4");
    EXPECT_EQ(r.numlayer(), 1);
    EXPECT_EQ(r.next(g), nullptr);

    // A 1 MB code line of digits is a code too large for a slot: its group
    // is dropped. A 1 MB line of blanks is an empty line: code 0.
    EXPECT_EQ(readall(entities({"0", "CIRCLE", std::string(1 << 20, '9'), "5", "40", "2"})),
              S{"circle c(0,0,0) r2"});
    EXPECT_EQ(readall(entities({"0", "CIRCLE", "40", "2", std::string(1 << 20, ' '), "LINE", "11", "1"})),
              (S{"circle c(0,0,0) r2", "line (0,0,0) (1,0,0)"}));
    // A 1 MB last line without a newline.
    std::string tail = "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n6\n0\n" + huge;
    EXPECT_EQ(readall(tail), S{"circle c(0,0,0) r6"});
}

TEST(HostileLines, ValuesAroundTheLineCut) {
    // Value lines of n chars: the number at their start is read, and the
    // line after them is the next code line whatever n is.
    for (std::size_t n : {78u, 79u, 80u, 510u, 511u, 512u, 513u, 600u, 1023u, 1024u, 4097u}) {
        std::string v = "2.5" + std::string(n - 3, '0');
        S got = readall(entities({"0", "CIRCLE", "40", v, "10", "7", "0", "LINE", "11", "1" + std::string(n - 1, ' ')}));
        EXPECT_EQ(got, (S{"circle c(7,0,0) r2.5", "line (0,0,0) (1,0,0)"})) << n;
    }
    // The digits of a long number beyond char 79 are not part of the value.
    std::string big = "1" + std::string(100, '0');
    S got = readall(entities({"0", "CIRCLE", "40", big}));
    EXPECT_EQ(got, S{"circle c(0,0,0) r1e+78"});
}

// ---------------------------------------------------------------------------
// Group codes.

TEST(HostileCodes, HugeCodesAreDroppedNotWrapped) {
    // 4294967306 is 2^32 + 10: a code that wrapped would move the start point.
    for (const char* code : {"99999999999", "4294967306", "2147483648", "1100", "00000000000000000000000001100"}) {
        EXPECT_EQ(readall(entities({"0", "LINE", "10", "1", code, "99", "11", "2"})),
                  S{"line (1,0,0) (2,0,0)"})
            << code;
    }
    // Leading zeros and inner blanks: "0010" is 10, "11 99" is 11.
    EXPECT_EQ(readall(entities({"0", "LINE", "0010", "3", "11 99", "4"})), S{"line (3,0,0) (4,0,0)"});
}

TEST(HostileCodes, NonNumericCodeEndsTheReadKeepingWhatCameBefore) {
    for (const char* bad : {"-5", "+5", "1e3", "0x10", "ten", "1.5"}) {
        std::string text = entities({"0", "CIRCLE", "40", "1", "0", "LINE", "10", "1", bad, "2", "0", "CIRCLE", "40", "9"});
        memstream m(text);
        ostra::reader r(m.get());
        brevo::geometry g;
        testing::internal::CaptureStdout();
        ASSERT_TRUE(r.next(g)) << bad;
        EXPECT_EQ(describe(g), "circle c(0,0,0) r1");
        EXPECT_EQ(r.next(g), nullptr);  // the LINE never ends: nothing more
        EXPECT_TRUE(g.invalid());
        // Line 13 of the text: SECTION's four lines, CIRCLE's four, LINE's four.
        EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string("numerical group code expected\n13: ") + bad)
            << bad;
        // What was read stays: the layer and its use.
        EXPECT_EQ(r.numlayer(), 1);
    }
}

// ---------------------------------------------------------------------------
// A drawing cut at every byte.
//
// A record is emitted only when the group 0 after it has been read whole
// (code line and value line, the value possibly cut), and every group of a
// record lies before that group 0. So a cut anywhere, even inside a number,
// cannot change a geometry that is emitted: it can only stop the reading
// before one. (An LWPOLYLINE segment is emitted when the group 10 of the
// vertex after its end is read; its points come from groups before that.)
// Hence: the geometries read from every prefix are exactly the first m of
// the whole file's, m grows with the prefix, nothing is printed, and the
// whole file gives all of them.
TEST(HostileTruncation, EveryPrefixGivesAPrefixOfTheResult) {
    S p = {"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  9", "$EXTMIN",
           " 10", "-1.5", " 20", "-2.25", "  0", "ENDSEC",
           "  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER", "  0", "LAYER",
           "  2", "WALLS", " 70", "0", "  0", "ENDTAB", "  0", "ENDSEC",
           "  0", "SECTION", "  2", "BLOCKS"};
    append(p, {"  0", "BLOCK", "  2", "INNER", " 10", "1", " 20", "1", " 30", "0"});
    append(p, {"  0", "LINE", "  8", "IN", " 10", "1", " 20", "1", " 11", "3.75", " 21", "1"});
    append(p, {"  0", "ENDBLK", "  0", "BLOCK", "  2", "OUTER", " 10", "0", " 20", "0"});
    append(p, {"  0", "INSERT", "  2", "INNER", " 10", "10", " 20", "0", " 50", "90"});
    append(p, {"  0", "CIRCLE", "  8", "OUT", " 10", "0.125", " 20", "0", " 40", "12.5"});
    append(p, {"  0", "ENDBLK", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"});
    append(p, {"  0", "LINE", "  8", "WALLS", " 10", "12345.678", " 20", "-0.001", " 30", "0", " 11", "99999",
               " 21", "1e3", " 31", "0"});
    append(p, {"  0", "ARC", "  8", "A", " 10", "5", " 20", "5", " 40", "2.5", " 50", "45", " 51", "135"});
    append(p, {"  0", "POLYLINE", "  8", "P", " 66", "1", " 70", "1", "  0", "VERTEX", " 10", "0", " 20", "0",
               "  0", "VERTEX", " 10", "40", " 20", "0", "  0", "VERTEX", " 10", "40", " 20", "30", "  0",
               "SEQEND"});
    append(p, {"  0", "LWPOLYLINE", "  8", "W", " 90", "3", " 10", "100", " 20", "200", " 10", "110", " 20",
               "200", " 10", "110", " 20", "215.5"});
    append(p, {"  0", "INSERT", "  8", "I", "  2", "OUTER", " 10", "1000", " 20", "0", " 41", "2", " 42", "2",
               " 70", "2", " 71", "2", " 44", "500", " 45", "700"});
    append(p, {"  0", "CIRCLE", "  8", "C", " 10", "-7", " 20", "-8", " 40", "0.5", "  0", "ENDSEC", "  0", "EOF"});
    const std::string text = dxf(p);

    // The drawing is complete once the EOF record's value is.
    const std::size_t complete = text.size() - 1;
    for (bool exact : {false, true}) {
        memstream whole(text);
        ostra::reader all(whole.get());
        all.setexact(exact);
        const S full = readall(all);
        // 1 line, 1 arc, 2 polyline segments and the closing one, 2 lwpolyline
        // segments, 2 x 2 cells of OUTER (a line from INNER and a circle
        // each), 1 circle.
        ASSERT_EQ(full.size(), 1u + 1u + 3u + 2u + 8u + 1u);
        testing::internal::CaptureStdout();
        std::size_t last = 0;
        for (std::size_t k = 0; k <= text.size(); ++k) {
            memstream m(text.substr(0, k));
            ostra::reader r(m.get());
            r.setexact(exact);
            S got = readall(r);
            ASSERT_LE(got.size(), full.size()) << k;
            ASSERT_TRUE(std::equal(got.begin(), got.end(), full.begin())) << "prefix of " << k << " bytes";
            ASSERT_GE(got.size(), last) << k;
            ASSERT_EQ(r.status(), k >= complete ? ostra::endofdrawing : ostra::endofstream) << k;
            last = got.size();
        }
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(last, full.size());
    }
}

// ---------------------------------------------------------------------------
// Large tables.

TEST(HostileTables, HundredThousandLayers) {
    const int n = 100000;
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < n; ++i) text += "0\nCIRCLE\n8\nlayer" + std::to_string(i) + "\n40\n1\n";
    text += "0\nENDSEC\n";
    auto t0 = clock_type::now();
    memstream m(text);
    ostra::reader r(m.get());
    r.setlayerfilter("layer99999,layer7");
    EXPECT_EQ(readall(r), (S{"circle c(0,0,0) r1", "circle c(0,0,0) r1"}));
    EXPECT_EQ(r.numlayer(), n);
    int count = -1, i = 0;
    bool inorder = true;
    for (const char* s = r.firstlayer(count); s; s = r.nextlayer(count), ++i)
        inorder = inorder && s == "layer" + std::to_string(i) && count == 0;
    EXPECT_EQ(i, n);
    EXPECT_TRUE(inorder);
    EXPECT_LT(seconds(t0), 20.0);  // a quadratic table would take minutes
}

TEST(HostileTables, HundredThousandBlocksEnumerated) {
    const int n = 100000;
    std::string text = "0\nSECTION\n2\nBLOCKS\n";
    for (int i = 0; i < n; ++i) {
        text += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n";
        for (int j = 0; j < i % 3; ++j) text += "0\nCIRCLE\n40\n1\n";
        text += "0\nENDBLK\n";
    }
    text += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB99998\n0\nENDSEC\n";
    auto t0 = clock_type::now();
    memstream m(text);
    ostra::reader r(m.get());
    EXPECT_EQ(readall(r).size(), 2u);
    EXPECT_EQ(r.numblock(), n);
    int count = -1, i = 0;
    bool inorder = true;
    for (const char* s = r.firstblock(count); s; s = r.nextblock(count), ++i)
        inorder = inorder && s == "B" + std::to_string(i) && count == i % 3;
    EXPECT_EQ(i, n);
    EXPECT_TRUE(inorder);
    EXPECT_LT(seconds(t0), 20.0);
}

// The block enumeration is a cursor that a host may leave at the end, read
// on, and continue: blocks defined meanwhile come next. The block table
// holds 64 names to a chunk; an enumeration that ended exactly at a full
// chunk once lost every block after it.
TEST(HostileTables, BlockEnumerationFollowsBlocksReadLater) {
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    const int n = 200;
    for (int i = 0; i < n; ++i) text += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n0\nENDBLK\n0\nCIRCLE\n40\n1\n";
    text += "0\nENDSEC\n";
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    S seen;
    bool started = false;
    while (r.next(g)) {
        const char* s = started ? r.nextblock() : r.firstblock();
        started = true;
        for (; s; s = r.nextblock()) seen.push_back(s);
    }
    for (const char* s = r.nextblock(); s; s = r.nextblock()) seen.push_back(s);
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], "B" + std::to_string(i));
}

// ---------------------------------------------------------------------------
// Nesting: loops, depth, explosions and cells that yield nothing.

TEST(HostileNesting, SelfInsertionDeliversTheBlockOnce) {
    S body = seg("0", "0", "1", "0");
    append(body, insert("S", "5", "0", {"70", "32767", "71", "32767", "44", "1", "45", "1"}));
    append(body, seg("0", "1", "1", "1"));
    auto t0 = clock_type::now();
    EXPECT_EQ(readall(drawing({blockdef("S", body)}, {insert("S", "0", "0")})),
              (S{"line (0,0,0) (1,0,0)", "line (0,1,0) (1,1,0)"}));
    EXPECT_LT(seconds(t0), 5.0);
}

// B0 .. B999: each holds a line at its own height and inserts the next one
// one unit to the right. 32 frames deep the nesting is cut: B0 delivers the
// lines of B0 .. B31, each moved right by its depth; B968 delivers the last 32.
// A chain whose only geometry is at the bottom delivers it from 32 levels
// above and nothing from 33.
TEST(HostileNesting, ThousandDeepIsCutAtThirtyTwo) {
    std::vector<S> blocks;
    for (int i = 0; i < 1000; ++i) {
        std::string y = std::to_string(i);
        S body = seg("0", y, "1", y);
        if (i < 999) append(body, insert("B" + std::to_string(i + 1), "1", "0"));
        blocks.push_back(blockdef("B" + std::to_string(i), body));
    }
    for (int i = 0; i < 1000; ++i)
        blocks.push_back(blockdef("C" + std::to_string(i),
                                  i < 999 ? insert("C" + std::to_string(i + 1), "0", "0") : seg("0", "0", "2", "0")));
    std::string text = drawing(blocks, {insert("B0", "0", "0"), insert("B968", "0", "0"), insert("C968", "0", "0"),
                                        insert("C967", "0", "0")});
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    S expected, blocknames, got;
    for (int i = 0; i < 32; ++i) {
        std::string d = std::to_string(i), y = std::to_string(i), e = std::to_string(i + 1);
        expected.push_back("line (" + d + "," + y + ",0) (" + e + "," + y + ",0)");
    }
    for (int i = 968; i < 1000; ++i) {
        std::string d = std::to_string(i - 968), y = std::to_string(i), e = std::to_string(i - 967);
        expected.push_back("line (" + d + "," + y + ",0) (" + e + "," + y + ",0)");
    }
    expected.push_back("line (0,0,0) (2,0,0)");
    while (r.next(g)) {
        got.push_back(describe(g));
        blocknames.push_back(r.currentblock() ? r.currentblock() : "null");
    }
    EXPECT_EQ(got, expected);
    ASSERT_EQ(blocknames.size(), 65u);
    EXPECT_EQ(blocknames[0], "B0");
    EXPECT_EQ(blocknames[31], "B31");
    EXPECT_EQ(blocknames[32], "B968");
    EXPECT_EQ(blocknames[63], "B999");
    EXPECT_EQ(blocknames[64], "C999");
}

// L0 is a line of length 0.5; Lk inserts L(k-1) ten times, at 0, 10^(k-1),
// ..., 9 * 10^(k-1) on x. L9 expands to 10^9 lines, the j-th of which starts
// at x = j. The first million come in order, and reading them does not grow
// the heap: the expansion streams.
TEST(HostileNesting, BillionLaughsStreams) {
    std::vector<S> blocks = {blockdef("L0", seg("0", "0", "0.5", "0"))};
    for (int k = 1; k <= 9; ++k) {
        S body;
        long step = 1;
        for (int i = 1; i < k; ++i) step *= 10;
        for (int i = 0; i < 10; ++i) append(body, insert("L" + std::to_string(k - 1), std::to_string(i * step), "0"));
        blocks.push_back(blockdef("L" + std::to_string(k), body));
    }
    std::string text = drawing(blocks, {insert("L9", "0", "0")});
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    const std::size_t before = heapinuse();
    auto t0 = clock_type::now();
    long wrong = 0;
    const long total = 1000000;
    for (long j = 1; j < total; ++j) {
        if (!r.next(g)) break;
        const brevo::lineseg* s = g.lns();
        if (!s || s->start().x != static_cast<double>(j) || s->end().x != static_cast<double>(j) + 0.5) ++wrong;
    }
    const std::size_t after = heapinuse();
    EXPECT_EQ(wrong, 0);
    EXPECT_LT(after, before + 64 * 1024) << "the heap grew by " << (after - before) << " bytes";
    EXPECT_LT(seconds(t0), 60.0);
    EXPECT_STREQ(r.currentblock(), "L0");
}

// Arrays of 32767 x 32767 cells of blocks that deliver nothing, for every
// reason there is: an empty block inserted, the block itself, a ring of
// two, geometry only beyond the depth limit, and geometry only through a
// block already being expanded. Each INSERT is over at once (walking the
// cells took minutes each). The geometry after them still comes.
TEST(HostileNesting, HugeArraysOfNothingEndAtOnce) {
    const S huge = {"70", "32767", "71", "32767", "44", "1", "45", "1"};
    std::vector<S> blocks = {blockdef("EMPTY", {}), blockdef("HOLLOW", insert("EMPTY", "0", "0")),
                             blockdef("SELF", insert("SELF", "0", "0")), blockdef("RING1", insert("RING2", "0", "0")),
                             blockdef("RING2", insert("RING1", "0", "0"))};
    // D0 .. D40 with the line in D40: from D0 it is 41 frames down.
    for (int i = 0; i < 40; ++i) blocks.push_back(blockdef("D" + std::to_string(i), insert("D" + std::to_string(i + 1), "0", "0")));
    blocks.push_back(blockdef("D40", seg("0", "0", "1", "0")));
    // OUTER: a line, then a huge array of BACK, which only inserts OUTER.
    S outer = seg("5", "5", "6", "5");
    append(outer, insert("BACK", "0", "0", huge));
    blocks.push_back(blockdef("OUTER", outer));
    blocks.push_back(blockdef("BACK", insert("OUTER", "0", "0")));
    // A lattice 20 levels deep, two blocks a level, each inserting both of
    // the next level twice; the last level inserts TOP, which holds the only
    // line. Walked, it is 4^20 frames of nothing below TOP.
    S top = seg("9", "9", "9", "10");
    append(top, insert("X0", "0", "0", huge));
    blocks.push_back(blockdef("TOP", top));
    for (int i = 0; i < 20; ++i) {
        S body;
        if (i < 19) {
            for (const char* n : {"X", "Y", "X", "Y"}) append(body, insert(n + std::to_string(i + 1), "0", "0"));
        } else {
            body = insert("TOP", "0", "0");
        }
        blocks.push_back(blockdef("X" + std::to_string(i), body));
        blocks.push_back(blockdef("Y" + std::to_string(i), body));
    }
    std::vector<S> ents;
    for (const char* n : {"EMPTY", "HOLLOW", "SELF", "RING1", "D0"}) ents.push_back(insert(n, "0", "0", huge));
    for (const char* n : {"D9", "OUTER", "TOP"}) ents.push_back(insert(n, "0", "0"));
    ents.push_back({"0", "CIRCLE", "8", "C", "40", "1"});
    auto t0 = clock_type::now();
    EXPECT_EQ(readall(drawing(blocks, ents)), (S{"line (0,0,0) (1,0,0)", "line (5,5,0) (6,5,0)",
                                                 "line (9,9,0) (9,10,0)", "circle c(0,0,0) r1"}));
    EXPECT_LT(seconds(t0), 10.0);

    // A huge array of a block that does deliver streams cell by cell.
    memstream m(drawing(blocks, {insert("D9", "0", "0", huge)}));
    ostra::reader r(m.get());
    brevo::geometry g;
    S first;
    for (int i = 0; i < 3 && r.next(g); ++i) first.push_back(describe(g));
    EXPECT_EQ(first, (S{"line (0,0,0) (1,0,0)", "line (1,0,0) (2,0,0)", "line (2,0,0) (3,0,0)"}));
    EXPECT_STREQ(r.currentblock(), "D40");
}

// ---------------------------------------------------------------------------
// Extreme numbers.

const double inf = HUGE_VAL;

TEST(HostileNumbers, ExtremeCoordinatesAreReadAsTheyStand) {
    S got;
    memstream m(entities({"0", "LINE", "10", "1e308", "20", "-1e308", "30", "nan", "11", "inf", "21", "-1e400", "31",
                          "1e400", "0", "CIRCLE", "10", "1e-400", "20", "-nan", "30", "4.9e-324", "40", "1e400"}));
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    ASSERT_TRUE(g.lns());
    brevo::point a = g.lns()->start(), b = g.lns()->end();
    EXPECT_EQ(a.x, 1e308);
    EXPECT_EQ(a.y, -1e308);
    EXPECT_TRUE(std::isnan(a.z));
    EXPECT_TRUE(a.valid());  // a nan read is a coordinate, not the invalid mark
    EXPECT_EQ(b.x, inf);
    EXPECT_EQ(b.y, -inf);
    EXPECT_EQ(b.z, inf);
    ASSERT_TRUE(r.next(g));
    ASSERT_TRUE(g.cr());
    brevo::point c = g.cr()->center();
    EXPECT_EQ(c.x, 0.0);
    EXPECT_TRUE(std::isnan(c.y));
    EXPECT_EQ(c.z, 4.9e-324);
    EXPECT_EQ(g.cr()->radius(), inf);
    EXPECT_EQ(r.next(g), nullptr);
}

TEST(HostileNumbers, ExtremeScalesAndSpacingsInInserts) {
    // A finite scale whose products overflow: inf where the product is,
    // exact values elsewhere, in every cell (the second one 1e308 further).
    S got = readall(drawing({blockdef("B", seg("10", "1", "-10", "2"))},
                            {insert("B", "0", "0", {"41", "1e308", "70", "2", "44", "1e308"})}));
    EXPECT_EQ(got, (S{"line (inf,1,0) (-inf,2,0)", "line (inf,1,0) (-inf,2,0)"}));
    // Non-finite ones (an infinite scale makes 0 * inf = nan in the composed
    // transformation, so everything turns nan): the entities still come, one
    // per cell.
    for (const S& extra : std::vector<S>{{"41", "inf", "70", "2"},
                                         {"42", "-1e400", "70", "2"},
                                         {"43", "nan", "71", "2"},
                                         {"44", "nan", "45", "inf", "70", "2"}}) {
        got = readall(drawing({blockdef("B", seg("1e308", "0", "-1e308", "1"))}, {insert("B", "1e308", "nan", extra)}));
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0].substr(0, 5), "line ");
    }
}

std::string written(const std::vector<brevo::geometry>& gs) {
    char* buf = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    {
        ostra::writer w(f);
        for (const auto& g : gs) EXPECT_TRUE(w.save(g));
        EXPECT_TRUE(w.finish());
    }
    std::fclose(f);
    std::string text(buf, size);
    std::free(buf);
    return text;
}

TEST(HostileNumbers, NonFiniteValuesSurviveTheWriter) {
    const double nan = std::nan("");
    std::vector<brevo::geometry> gs = {
        brevo::geometry(brevo::lineseg(brevo::point(nan, inf, -inf), brevo::point(-nan, 0, -0.0))),
        brevo::geometry(brevo::circle(brevo::point(1e300, -1e300, 5e-324), brevo::vector(0, 0, 1), inf))};
    std::string text = written(gs);
    for (const char* v : {"\nnan\n", "\ninf\n", "\n-inf\n", "\n-nan\n", "\n-0.000000\n", "\n0.000000\n"})
        EXPECT_NE(text.find(v), std::string::npos) << v;
    EXPECT_NE(text.find("\n1e+300\n"), std::string::npos);

    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    ASSERT_TRUE(g.lns());
    EXPECT_TRUE(std::isnan(g.lns()->start().x));
    EXPECT_EQ(g.lns()->start().y, inf);
    EXPECT_EQ(g.lns()->start().z, -inf);
    EXPECT_TRUE(std::isnan(g.lns()->end().x));
    ASSERT_TRUE(r.next(g));
    ASSERT_TRUE(g.cr());
    EXPECT_EQ(g.cr()->radius(), inf);
    EXPECT_EQ(r.next(g), nullptr);
}

// ---------------------------------------------------------------------------
// Faults found by fuzzing and by these tests, kept as regression tests.

// An ARC with a start or end angle of nan, inf or 1e400, or an INSERT with
// such a rotation, once made the sine of the angle convert nan to an integer
// (undefined behaviour; the sanitizer build aborted). Such an angle now has a
// nan sine and the geometry is delivered with nan coordinates.
TEST(HostileFaults, NonFiniteAnglesGiveNanGeometry) {
    for (const char* a : {"nan", "inf", "-inf", "1e400"}) {
        EXPECT_EQ(readall(entities({"0", "ARC", "40", "1", "50", a, "51", "90"})).size(), 1u) << a;
        EXPECT_EQ(readall(entities({"0", "ARC", "40", "1", "50", "0", "51", a})).size(), 1u) << a;
        EXPECT_EQ(readall(drawing({blockdef("B", seg("0", "0", "1", "0"))}, {insert("B", "0", "0", {"50", a})})).size(),
                  1u)
            << a;
    }
}

// An ARC with finite angles beyond about 3e16 degrees once came back with
// its start off its circle (radius 0.97 for 1): the cosine of such an angle
// was the sine of the angle itself. 1e20 degrees is 280 modulo 360: the
// start is that of an ARC at 280, bit for bit, in both readings, and the end
// of a sweep of -1e20 lies on the circle too (the exact reading takes the
// sweep modulo 360: 80).
TEST(HostileFaults, HugeArcAnglesStayOnTheCircle) {
    for (bool exact : {false, true}) {
        auto arcof = [exact](const char* a0, const char* a1) {
            memstream m(entities({"0", "ARC", "10", "3", "20", "4", "40", "1", "50", a0, "51", a1}));
            ostra::reader r(m.get());
            r.setexact(exact);
            brevo::geometry g;
            r.next(g);
            return g;
        };
        brevo::geometry huge = arcof("1e20", "1e20"), plain = arcof("280", "280"), back = arcof("0", "-1e20");
        ASSERT_TRUE(huge.ar() && plain.ar() && back.ar()) << exact;
        EXPECT_EQ(huge.ar()->start().x, plain.ar()->start().x) << exact;
        EXPECT_EQ(huge.ar()->start().y, plain.ar()->start().y) << exact;
        EXPECT_EQ(back.ar()->sweep(), exact ? 80 : -1e20);
        EXPECT_NEAR((back.ar()->end() - back.ar()->center()).length(), 1, 1e-15) << exact;
    }
}

// Coordinates of 1e72 and above once came out of the writer as %.6f text of
// more than 79 chars, which a reader cuts, so 1e308 read back as 1e78.
TEST(HostileFaults, HugeWrittenCoordinatesReadBack) {
    std::vector<brevo::geometry> gs = {
        brevo::geometry(brevo::lineseg(brevo::point(1e308, -1e300, 1e72), brevo::point(-1.5e100, 0, 0)))};
    memstream m(written(gs));
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    ASSERT_TRUE(g.lns());
    EXPECT_EQ(g.lns()->start().x, 1e308);
    EXPECT_EQ(g.lns()->start().y, -1e300);
    EXPECT_EQ(g.lns()->start().z, 1e72);
    EXPECT_EQ(g.lns()->end().x, -1.5e100);
}

}  // namespace
