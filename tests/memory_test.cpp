// Reading from memory: every drawing of the suite and every awkward text
// reads as it does from a stream holding the same bytes, and no byte beyond
// the buffer's end is ever touched.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "generated.h"
#include "testutil.h"

using testutil::dxf;
using testutil::entities;
using testutil::samebothways;
using S = std::vector<std::string>;

namespace {

std::string slurp(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The sample drawings and the fuzzer's seeds.
std::vector<std::filesystem::path> drawings() {
    std::vector<std::filesystem::path> all;
    for (const char* dir : {OSTRA_EXAMPLES_DIR, OSTRA_CORPUS_DIR})
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.path().extension() == ".dxf") all.push_back(e.path());
    return all;
}

std::string generated(dxfgen::preset kind, bool crlf) { return testutil::generated(kind, 0.2, 5, crlf); }

// Texts at the edges of the line layer: blanks of every kind, NULs, the
// 511-char cut, a byte-order mark, a last line without newline, malformed
// code lines, the EOF record with bytes after it.
S awkward() {
    const std::string line = entities({"0", "LINE", "8", "L", "10", "1", "20", "2", "11", "3", "0", "X"});
    return {
        line,
        "\xEF\xBB\xBF" + line,
        "\xEF\xBB",
        "\xEF\xBB\xBF",
        "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n 10\r\n1.5\r\n  0\r\nEOF\r\n",
        entities({"0", "LINE", "999", std::string(510, 'x'), "10", "3", "0", "X"}),
        entities({"0", "LINE", "999", std::string(511, 'x'), "10", "3", "0", "X"}),
        entities({"0", "LINE", "999", std::string(512, 'x'), "10", "3", "0", "X"}),
        entities({"0", "LINE", "8", std::string(3000, 'L'), "10", "3", "0", "X"}),
        entities({"0", "LINE", "10", std::string("4\0junk", 6), "11", "5", "0", "X"}),
        entities({"0", "LINE", std::string("1\0" "0", 3), "7", "0", "X"}),
        dxf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1", "0", "EOF"}) + "\x1a junk after\n-5\n",
        dxf({"0", "SECTION", "2", "ENTITIES", "0", "CIRCLE", "40", "2", "0", "LINE", "-1", "x", "11", "1", "0",
             "EOF"}),
        "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n2\n0\nEOF",  // no newline at the end
        "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n2\n0\nX\n10",
        "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n2\n0\n",
        std::string(100, '\n') + line,
        std::string(70, ' ') + "0\n" + line,
        "",
        "\n",
        "x",
        "  \t ",
        std::string("\0\0\0", 3),
        "99999999999999999999\nA\n0\nEOF\n",
    };
}

TEST(MemoryReading, SampleDrawingsAndSeedsReadAsFromAStream) {
    std::vector<std::filesystem::path> all = drawings();
    ASSERT_GE(all.size(), 10u);
    for (const auto& p : all)
        for (bool exact : {false, true}) {
            SCOPED_TRACE(p.string());
            samebothways(slurp(p), exact);
        }
}

TEST(MemoryReading, GeneratedDrawingsReadAsFromAStream) {
    for (dxfgen::preset kind : {dxfgen::preset::r12, dxfgen::preset::r2000})
        for (bool crlf : {false, true})
            for (bool exact : {false, true}) samebothways(generated(kind, crlf), exact);
}

TEST(MemoryReading, AwkwardTextsReadAsFromAStream) {
    for (const std::string& text : awkward())
        for (bool exact : {false, true}) {
            SCOPED_TRACE(text.substr(0, 40));
            samebothways(text, exact);
        }
}

// Every prefix of a drawing: a cut anywhere, in a code line, a value line or
// between the CR and LF of a line end.
TEST(MemoryReading, EveryPrefixReadsAsFromAStream) {
    const std::string text = "\xEF\xBB\xBF" + dxf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "8", "A", "10",
                                                   " 1.25 ", "20", "2", "11", "3\r", "0", "CIRCLE", "40", "1e3",
                                                   "0", "EOF"});
    for (std::size_t k = 0; k <= text.size(); ++k) samebothways(text.substr(0, k));
}

TEST(MemoryReading, EmptyAndNullBuffers) {
    for (const char* data : {"", static_cast<const char*>(nullptr)}) {
        ostra::reader r(data, 0);
        brevo::geometry g;
        EXPECT_EQ(r.next(g), nullptr);
        EXPECT_EQ(r.status(), ostra::endofstream);
        EXPECT_EQ(r.line(), 0);  // no line, as for an empty stream
        EXPECT_EQ(r.offset(), 0u);
    }
    // A null pointer with a size is no input at all, like a null stream.
    ostra::reader none(nullptr, 10);
    EXPECT_EQ(none.next(), nullptr);
    EXPECT_EQ(none.status(), ostra::endofstream);
    EXPECT_EQ(none.line(), 0);
}

TEST(MemoryReading, NothingAfterTheEofRecordIsTaken) {
    const std::string drawing = entities({"0", "LINE", "10", "1", "0", "LINE", "11", "2"});
    const std::string tail = "\x1a\n0\nLINE\n10\n5\n";
    const std::string both = drawing + tail;
    ostra::reader t(both.data(), both.size());
    EXPECT_EQ(testutil::readall(t).size(), 2u);
    EXPECT_EQ(t.status(), ostra::endofdrawing);
    EXPECT_EQ(t.offset(), drawing.size());
    // A last line without a newline ends the drawing all the same.
    const std::string cut = drawing.substr(0, drawing.size() - 1);
    ostra::reader c(cut.data(), cut.size());
    EXPECT_EQ(testutil::readall(c).size(), 2u);
    EXPECT_EQ(c.status(), ostra::endofdrawing);
    EXPECT_EQ(c.offset(), cut.size());
}

// The bytes end right before a page that may not be read: the reader must
// find every line end, however close, without looking past the end.
TEST(MemoryReading, NeverReadsPastTheEnd) {
    const long page = sysconf(_SC_PAGESIZE);
    char* two = static_cast<char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(two, MAP_FAILED);
    ASSERT_EQ(mprotect(two + page, page, PROT_NONE), 0);
    S texts = awkward();
    texts.push_back(generated(dxfgen::preset::r12, false).substr(0, 3000));
    for (const std::string& text : texts) {
        for (std::size_t cut = 0; cut <= std::min<std::size_t>(text.size(), 200); ++cut) {
            std::size_t n = text.size() - cut;
            if (n > static_cast<std::size_t>(page)) continue;
            char* at = two + page - n;
            std::memcpy(at, text.data(), n);
            ostra::reader r(at, n);
            r.setmessages(nullptr);
            testutil::readfully(r);
        }
    }
    munmap(two, 2 * page);
}

}  // namespace
