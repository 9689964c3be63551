// Binary DXF: the value type of every group code, the embedded object's
// string (101) and the extended data's chunk (1004), drawings of the later
// versions read as their text form reads, and the converter's code width by
// the drawing's version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binarybytes.h"
#include "dxfbinary.h"
#include "reader/input/binarytypes.h"
#include "testutil.h"

using dxfbinary::codewidth;
using testutil::dxf;
using testutil::groups;
using testutil::samebothways;
using testutil::tobinary;
using testutil::withoutlines;
using S = std::vector<std::string>;
using namespace std::string_literals;

namespace {

// The code ranges of the format and their value types, gaps included.
struct range {
    int first, last;
    ostra::valuetype type;
};
const range formatranges[] = {
    {0, 9, ostra::stringtype},       {10, 39, ostra::realtype},        {40, 59, ostra::realtype},
    {60, 79, ostra::int16type},      {80, 89, ostra::badtype},         {90, 99, ostra::int32type},
    {100, 102, ostra::stringtype},   {103, 104, ostra::badtype},       {105, 105, ostra::stringtype},
    {106, 109, ostra::badtype},      {110, 149, ostra::realtype},      {150, 159, ostra::badtype},
    {160, 169, ostra::int64type},    {170, 179, ostra::int16type},     {180, 209, ostra::badtype},
    {210, 239, ostra::realtype},     {240, 269, ostra::badtype},       {270, 289, ostra::int16type},
    {290, 299, ostra::booleantype},  {300, 309, ostra::stringtype},    {310, 319, ostra::chunktype},
    {320, 369, ostra::stringtype},   {370, 389, ostra::int16type},     {390, 399, ostra::stringtype},
    {400, 409, ostra::int16type},    {410, 419, ostra::stringtype},    {420, 429, ostra::int32type},
    {430, 439, ostra::stringtype},   {440, 459, ostra::int32type},     {460, 469, ostra::realtype},
    {470, 481, ostra::stringtype},   {482, 998, ostra::badtype},       {999, 1003, ostra::stringtype},
    {1004, 1004, ostra::chunktype},  {1005, 1009, ostra::stringtype},  {1010, 1059, ostra::realtype},
    {1060, 1070, ostra::int16type},  {1071, 1071, ostra::int32type},   {1072, 65535, ostra::badtype},
};

TEST(BinaryTypes, EveryCodeHasTheTypeOfItsRange) {
    int next = 0;
    for (const range& r : formatranges) {
        ASSERT_EQ(r.first, next);  // the list covers every code once
        for (int c = r.first; c <= r.last; ++c) ASSERT_EQ(ostra::valuetypeof(c), r.type) << c;
        next = r.last + 1;
    }
    for (int c : {-1, 65536, 1 << 30}) EXPECT_EQ(ostra::valuetypeof(c), ostra::badtype) << c;
}

// 101 is a string; 1004 a length byte and as many bytes. The chunk here,
// read up to a NUL, would end after its length byte and leave 00 2E, code
// 11776, as the next code; the bytes after the two groups read on.
TEST(BinaryGroups, EmbeddedObjectStringAndExtendedDataChunk) {
    // The longest chunk, of every byte value but the last: 00 01 ... FE.
    const char* hex = "0123456789ABCDEF";
    std::string every, everyhex;
    for (int b = 0; b < 255; ++b) {
        every += static_cast<char>(b);
        everyhex += hex[b >> 4];
        everyhex += hex[b & 15];
    }
    for (codewidth w : {codewidth::one, codewidth::two}) {
        groups g(w);
        g.text(0, "MTEXT").text(101, "Embedded Object").integer(70, 1, 2).real(10, 2.5)
            .chunk(1004, std::string("\x00\x00\x2E\x00\xFF", 5)).text(1000, "after").chunk(1004, "")
            .chunk(1004, every).integer(1070, -3, 2).text(0, "EOF");
        const std::vector<testutil::group> want = {
            {0, "MTEXT", false, 0}, {101, "Embedded Object", false, 0}, {70, "1", false, 0},
            {10, "", true, 2.5},    {1004, "00002E00FF", false, 0},     {1000, "after", false, 0},
            {1004, "", false, 0},   {1004, everyhex, false, 0},         {1070, "-3", false, 0},
            {0, "EOF", false, 0}};
        const std::string& bytes = g.bytes();
        testutil::memstream m(bytes);
        ostra::groupreader fromstream(m.get());
        ostra::groupreader frommemory(bytes.data(), bytes.size());
        for (ostra::groupreader* r : {&fromstream, &frommemory}) {
            std::vector<testutil::group> got = testutil::groupsof(*r);
            ASSERT_EQ(got.size(), want.size());
            for (std::size_t i = 0; i < want.size(); ++i) {
                EXPECT_EQ(got[i].code, want[i].code) << i;
                EXPECT_EQ(got[i].value, want[i].value) << i;
                EXPECT_EQ(got[i].v, want[i].v) << i;
            }
            EXPECT_EQ(r->linecount(), static_cast<long>(bytes.size()));
        }
    }
}

// A drawing as a CAD program of the later versions writes it: an MTEXT with
// an embedded object, extended data with chunks, a block, and an OBJECTS
// section whose records carry embedded objects too.
std::string laterdrawing(const char* version) {
    S p = {"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", version, "9", "$INSUNITS", "70", "4",
           "0", "ENDSEC", "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "70", "2",
           "0", "LAYER", "2", "WALLS", "70", "0", "62", "1", "6", "CONTINUOUS",
           "0", "LAYER", "2", "NOTES", "70", "0", "62", "3", "6", "CONTINUOUS", "0", "ENDTAB", "0", "ENDSEC"};
    const S mtext = {"0", "MTEXT", "5", "2F", "100", "AcDbEntity", "8", "NOTES", "100", "AcDbMText", "10", "5",
                     "20", "5", "40", "2.5", "71", "1", "1", "A note", "73", "1", "44", "1",
                     "101", "Embedded Object", "70", "1", "10", "1", "20", "0", "11", "5", "21", "5", "40",
                     "0", "41", "0", "42", "25", "43", "2.5", "71", "2", "72", "1", "46", "0"};
    const S xdata = {"1001", "APPNAME", "1002", "{", "1000", "kept", "1004", "00002E00FF", "1070", "7",
                     "1040", "1.5", "1010", "1", "1020", "2", "1030", "3", "1071", "100000", "1005", "2F",
                     "1002", "}", "1004", "0A0D1A"};
    const S line = {"0", "LINE", "5", "30", "100", "AcDbEntity", "8", "WALLS", "100", "AcDbLine",
                    "10", "0", "20", "0", "30", "0", "11", "10", "21", "0", "31", "0"};
    testutil::add(p, {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "8", "0", "2", "B", "70", "0", "10", "0",
                      "20", "0", "30", "0"});
    testutil::add(p, mtext);
    testutil::add(p, line);
    testutil::add(p, xdata);
    testutil::add(p, {"0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    testutil::add(p, mtext);
    testutil::add(p, line);
    testutil::add(p, xdata);
    testutil::add(p, {"0", "INSERT", "8", "WALLS", "2", "B", "10", "20", "20", "0", "0", "CIRCLE", "8",
                      "NOTES", "10", "1", "20", "2", "40", "3"});
    testutil::add(p, xdata);
    testutil::add(p, {"0", "ENDSEC", "0", "SECTION", "2", "OBJECTS", "0", "DICTIONARY", "5", "C", "330", "0",
                      "100", "AcDbDictionary", "281", "1", "3", "NOTES", "350", "E", "0", "XRECORD", "5", "E",
                      "330", "C", "100", "AcDbXrecord", "280", "1", "101", "Embedded Object", "1", "text",
                      "10", "1", "20", "2", "30", "3", "310", "0102", "1004", "FF00", "0", "ENDSEC", "0",
                      "EOF"});
    return dxf(p);
}

TEST(BinaryDrawings, MtextExtendedDataAndObjectsAsInTheTextForm) {
    const std::string text = laterdrawing("AC1032");
    for (bool exact : {false, true}) {
        testutil::reading t = samebothways(text, exact);
        ASSERT_EQ(t.geometries.size(), 3u);  // the line, the block's line placed by the insert, the circle
        EXPECT_EQ(t.record[t.geometries.size()].substr(0, 9), "status 1 ");  // endofdrawing
        for (codewidth w : {codewidth::one, codewidth::two, codewidth::byversion}) {
            testutil::reading b = samebothways(tobinary(text, w), exact);
            EXPECT_EQ(withoutlines(b.record), withoutlines(t.record));
            EXPECT_EQ(b.printed, "");
        }
    }
}

// The converter writes two-byte codes for a drawing from R13 on ($ACADVER
// AC1012 or later) and one-byte codes, as such drawings are written, for an
// older one and for one that does not say its version.
TEST(BinaryConverter, CodeWidthByTheDrawingsVersion) {
    const std::string head = "\0SECTION\0\x02HEADER\0\x09$ACADVER\0\x01"s;
    for (const char* v : {"AC1009", "AC1006", "AC1002", "AC2.10", "R12"}) {
        const std::string text = laterdrawing(v);
        const std::string b = tobinary(text, codewidth::byversion);
        EXPECT_EQ(b.substr(22, head.size()), head) << v;
        EXPECT_EQ(b, tobinary(text, codewidth::one)) << v;
        // The extended data's chunk behind the escape of its code, 1004.
        EXPECT_NE(b.find("\xFF\xEC\x03\x05\x00\x00\x2E\x00\xFF"s), std::string::npos) << v;
        EXPECT_EQ(withoutlines(samebothways(b).record), withoutlines(samebothways(text).record)) << v;
    }
    for (const char* v : {"AC1012", "AC1015", "AC1032"}) {
        const std::string text = laterdrawing(v);
        EXPECT_EQ(tobinary(text, codewidth::byversion), tobinary(text, codewidth::two)) << v;
    }
    const std::string noheader = testutil::entities({"0", "LINE", "10", "1", "11", "2"});
    EXPECT_EQ(tobinary(noheader, codewidth::byversion), tobinary(noheader, codewidth::one));
}

}  // namespace
