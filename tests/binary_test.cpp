// Binary DXF: every value type and both code widths, drawings read as their
// text form reads, a cut at every byte, bad codes and strings, and streams
// with small buffers.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "binarybytes.h"
#include "dxfbinary.h"
#include "generated.h"
#include "testutil.h"

using dxfbinary::codewidth;
using testutil::dxf;
using testutil::entities;
using testutil::group;
using testutil::groups;
using testutil::groupsof;
using testutil::memstream;
using testutil::samebothways;
using testutil::tobinary;
using testutil::withoutlines;
using S = std::vector<std::string>;

namespace {

const std::string& sentinel = testutil::binarysentinel;

std::string slurp(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

std::string generated(dxfgen::preset kind) { return testutil::generated(kind, 0.3, 8); }

TEST(BinaryGroups, EveryValueTypeInBothWidths) {
    const std::string big(600, 'b');
    for (codewidth w : {codewidth::one, codewidth::two}) {
        groups g(w);
        g.text(0, "SECTION").real(10, -1.5).real(1041, 0.1).integer(62, -2, 2).integer(1070, 32767, 2)
            .integer(90, -100000, 4).integer(1071, 2147483647, 4).integer(160, LLONG_MIN, 8)
            .integer(290, 1, 1).integer(291, 255, 1).chunk(310, std::string("\x00\xAB\xFF", 3)).chunk(311, "")
            .text(999, "a comment").text(1000, "").text(5, "1F").text(8, big).text(102, "{ACAD}");
        const std::vector<group> want = {
            {0, "SECTION", false, 0},  {10, "", true, -1.5},         {1041, "", true, 0.1},
            {62, "-2", false, 0},      {1070, "32767", false, 0},    {90, "-100000", false, 0},
            {1071, "2147483647", false, 0}, {160, "-9223372036854775808", false, 0},
            {290, "1", false, 0},      {291, "255", false, 0},       {310, "00ABFF", false, 0},
            {311, "", false, 0},       {999, "a comment", false, 0}, {1000, "", false, 0},
            {5, "1F", false, 0},       {8, big.substr(0, 511), false, 0}, {102, "{ACAD}", false, 0}};
        const std::string& bytes = g.bytes();
        memstream m(bytes);
        ostra::groupreader fromstream(m.get());
        ostra::groupreader frommemory(bytes.data(), bytes.size());
        for (ostra::groupreader* r : {&fromstream, &frommemory}) {
            std::vector<group> got = groupsof(*r);
            ASSERT_EQ(got.size(), want.size());
            for (std::size_t i = 0; i < want.size(); ++i) {
                EXPECT_EQ(got[i].code, want[i].code) << i;
                EXPECT_EQ(got[i].value, want[i].value) << i;
                EXPECT_EQ(got[i].number, want[i].number) << i;
                EXPECT_EQ(got[i].v, want[i].v) << i;
            }
            EXPECT_EQ(r->linecount(), static_cast<long>(bytes.size()));
        }
    }
}

// The width is told from the first group, whatever it is.
TEST(BinaryGroups, CodeWidthToldFromTheFirstGroup) {
    const std::string text = dxf({"999", "made by hand", "0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1",
                                  "11", "2", "0", "ENDSEC", "0", "EOF"});
    const S want = testutil::readall(text);
    ASSERT_EQ(want.size(), 1u);
    for (codewidth w : {codewidth::one, codewidth::two}) {
        EXPECT_EQ(testutil::readall(tobinary(text, w)), want);
        EXPECT_EQ(testutil::readall(tobinary(text.substr(text.find("0\nSECTION")), w)), want);
    }
}

// Every drawing read as its text form reads: the same geometry, layers,
// blocks and end, in both readings, from memory and from a stream.
TEST(BinaryDrawings, ReadAsTheirTextForm) {
    S texts = {generated(dxfgen::preset::r12), generated(dxfgen::preset::r2000)};
    for (const char* dir : {OSTRA_EXAMPLES_DIR, OSTRA_CORPUS_DIR})
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.path().extension() == ".dxf") texts.push_back(slurp(e.path()));
    int converted = 0;
    for (const std::string& text : texts) {
        std::string out, error;
        // Some seeds hold values their codes' types cannot (that is their point).
        if (!dxfbinary::convert(text, codewidth::two, out, error)) continue;
        ++converted;
        for (codewidth w : {codewidth::one, codewidth::two})
            for (bool exact : {false, true}) {
                SCOPED_TRACE(text.substr(0, 60));
                testutil::reading t = samebothways(text, exact);
                testutil::reading b = samebothways(tobinary(text, w), exact);
                EXPECT_EQ(withoutlines(b.record), withoutlines(t.record));
            }
    }
    EXPECT_GE(converted, 12);
}

// What a host asks beside the geometry reads alike: header texts (a double
// as its shortest decimal), colours, records and handles, the LAYER table.
TEST(BinaryDrawings, HeaderColoursAndHandlesAsInTheTextForm) {
    const std::string text = dxf({"0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", "1.5", "20", "-0.25", "9",
                                  "$INSUNITS", "70", "4", "0", "ENDSEC", "0", "SECTION", "2", "TABLES", "0",
                                  "LAYER", "2", "L", "70", "1", "62", "5", "0", "ENDSEC", "0", "SECTION", "2",
                                  "ENTITIES", "0", "LINE", "5", "2A", "8", "L", "62", "3", "11", "1", "0", "LINE",
                                  "8", "L", "420", "65280", "11", "2", "0", "ENDSEC", "0", "EOF"});
    for (const std::string& form : {text, tobinary(text, codewidth::one), tobinary(text, codewidth::two)}) {
        ostra::reader r(form.data(), form.size());
        brevo::geometry g;
        ASSERT_TRUE(r.next(g));
        EXPECT_STREQ(r.header("$EXTMIN"), "1.5");
        EXPECT_STREQ(r.header("$EXTMIN", 20), "-0.25");
        EXPECT_STREQ(r.header("$INSUNITS"), "4");
        EXPECT_EQ(r.currentcolor(), 0x00FF00);
        EXPECT_STREQ(r.currenthandle(), "2A");
        ASSERT_TRUE(r.next(g));
        EXPECT_EQ(r.currentcolor(), 0x00FF00);
        EXPECT_EQ(r.currentaci(), 0);
        int aci = 0, flags = 0;
        EXPECT_TRUE(r.layerinfo("L", aci, flags));
        EXPECT_EQ(aci * 10 + flags, 51);
    }
}

TEST(BinaryDrawings, LayerFilterAsInTheTextForm) {
    const std::string text = generated(dxfgen::preset::r2000);
    const std::string binary = tobinary(text, codewidth::two);
    for (const char* filter : {"A-WALL-00,S-DOOR-00", "M-GRID-00", "nothing"}) {
        memstream a(text), b(binary);
        ostra::reader ra(a.get()), rb(b.get());
        ra.setlayerfilter(filter);
        rb.setlayerfilter(filter);
        EXPECT_EQ(withoutlines(testutil::readfully(rb).record), withoutlines(testutil::readfully(ra).record));
    }
}

// A cut at every byte: the geometries are the first ones of the whole
// drawing, and reading ends with the end of the input (before the sentinel
// is whole, the bytes are text, whose first line is no code).
TEST(BinaryCut, EveryPrefixGivesAPrefixOfTheDrawing) {
    const std::string text = dxf({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "10", "1", "20", "1",
                                  "0", "CIRCLE", "8", "C", "40", "2", "0", "ENDBLK", "0", "ENDSEC", "0",
                                  "SECTION", "2", "ENTITIES", "0", "LINE", "8", "A", "10", "1.5", "11", "2.5",
                                  "0", "LWPOLYLINE", "70", "1", "10", "0", "20", "0", "10", "4", "20", "0", "10",
                                  "4", "20", "3", "0", "INSERT", "2", "B", "10", "5", "0", "ENDSEC", "0", "EOF"});
    for (codewidth w : {codewidth::one, codewidth::two}) {
        const std::string whole = tobinary(text, w);
        const S all = testutil::readall(whole);
        ASSERT_EQ(all.size(), 4u);
        for (std::size_t k = 0; k < whole.size(); ++k) {
            testutil::reading got = samebothways(whole.substr(0, k));
            ASSERT_LE(got.geometries.size(), all.size()) << k;
            EXPECT_TRUE(std::equal(got.geometries.begin(), got.geometries.end(), all.begin())) << k;
            if (k < sentinel.size()) continue;
            std::string end;
            for (const std::string& r : got.record)
                if (r.compare(0, 7, "status ") == 0) end = r;
            EXPECT_EQ(end.substr(0, 9), "status 2 ") << k;  // endofstream
            EXPECT_NE(end.find(" line " + std::to_string(k) + " "), std::string::npos) << k << end;
        }
    }
}

TEST(BinaryBadInput, CodeOfNoKnownTypeEndsReading) {
    for (int bad : {80, 103, 150, 500, 1072, 1100, 65535}) {
        for (codewidth w : {codewidth::one, codewidth::two}) {
            groups g(w);
            g.text(0, "SECTION").text(2, "ENTITIES").text(0, "LINE").real(10, 1).text(0, "CIRCLE").real(40, 2);
            std::size_t at = g.bytes().size();
            g.code(bad).raw(std::string("\0\0\0\0", 4)).text(0, "LINE").text(0, "EOF");
            memstream m(g.bytes());
            for (bool memory : {false, true}) {
                ostra::reader r = memory ? ostra::reader(g.bytes().data(), g.bytes().size()) : ostra::reader(m.get());
                testing::internal::CaptureStdout();
                S got = testutil::readall(r);
                std::string printed = testing::internal::GetCapturedStdout();
                EXPECT_EQ(got, S{"line (1,0,0) (0,0,0)"});  // the CIRCLE's record never ended
                EXPECT_EQ(r.status(), ostra::malformedcode);
                std::string what = "unknown binary group code " + std::to_string(bad);
                ASSERT_NE(r.badline(), nullptr);
                EXPECT_EQ(std::string(r.badline()), what);
                long end = static_cast<long>(at) + (w == codewidth::two || bad >= 255 ? 2 : 1) +
                           (w == codewidth::one && bad >= 255 ? 1 : 0);
                EXPECT_EQ(r.line(), end);
                EXPECT_EQ(printed, "numerical group code expected\n" + std::to_string(end) + ": " + what);
                // Nothing can be read past it.
                EXPECT_EQ(r.next(), nullptr);
                EXPECT_EQ(r.status(), ostra::endofstream);
                EXPECT_EQ(r.line(), end);
            }
        }
    }
}

// A bad first code, or input that ends within the first code: a stream
// must stand where the memory reader does, though two bytes were looked at
// to tell the width.
TEST(BinaryBadInput, BadOrCutFirstCode) {
    for (const std::string& rest : {std::string("\xf1\x00SECTION\x00", 10), std::string("\xf1", 1),
                                    std::string("\x00", 1), std::string("\xff\x07", 2), std::string("\xff\x50\x00", 3),
                                    std::string("\x50\x00", 2)}) {
        testutil::reading got = samebothways(sentinel + rest);
        EXPECT_TRUE(got.geometries.empty());
    }
}

TEST(BinaryBadInput, LongStringsAreCutAndAStringWithoutItsNulIsTheEnd) {
    groups g(codewidth::two);
    g.text(0, "SECTION").text(2, "ENTITIES").text(0, "LINE").text(8, std::string(100, 'n')).real(11, 3);
    g.text(0, "LINE").text(8, std::string(5000, 'm'));
    ostra::reader r(g.bytes().data(), g.bytes().size());
    brevo::geometry out;
    ASSERT_TRUE(r.next(out));
    EXPECT_EQ(std::string(r.currentlayer()), std::string(79, 'n'));
    EXPECT_EQ(r.next(out), nullptr);
    EXPECT_EQ(r.status(), ostra::endofstream);
    EXPECT_EQ(r.line(), static_cast<long>(g.bytes().size()));
}

// From a stream, whatever its buffer: the sentinel is found, groups that
// cross the buffer's end are read a byte at a time, and the stream stands
// right behind the EOF record's value.
TEST(BinaryStream, SmallBuffersAndThePositionAfterTheEofRecord) {
    const std::string text = entities({"0", "LINE", "8", "A", "10", "1", "11", "2", "0", "CIRCLE", "40", "3"});
    const S want = testutil::readall(text);
    const std::string tail = "\x1a trailing bytes";
    for (codewidth w : {codewidth::one, codewidth::two}) {
        const std::string binary = tobinary(text, w);
        for (int buffering : {0, 1, 2, 7, 21, 22, 23, 64}) {
            memstream m(binary + tail);
            std::setvbuf(m.get(), nullptr, buffering ? _IOFBF : _IONBF, static_cast<std::size_t>(buffering));
            ostra::reader r(m.get());
            EXPECT_EQ(testutil::readall(r), want) << buffering;
            EXPECT_EQ(r.status(), ostra::endofdrawing);
            EXPECT_EQ(std::ftell(m.get()), static_cast<long>(binary.size())) << buffering;
            EXPECT_EQ(r.line(), static_cast<long>(binary.size()));
        }
    }
    memstream only(sentinel);
    ostra::reader r(only.get());
    EXPECT_EQ(r.next(), nullptr);
    EXPECT_EQ(r.status(), ostra::endofstream);
    EXPECT_EQ(r.line(), 22);
}

}  // namespace
