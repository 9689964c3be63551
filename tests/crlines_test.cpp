// Lines that end with a lone CR: in the exact reading a drawing whose first
// line ends so is read with CR, LF and CR LF as line ends, from a stream and
// from memory alike; the default reading keeps the LF rule.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::add;
using testutil::dxf;
using testutil::samebothways;
using S = std::vector<std::string>;

namespace {

// A drawing with a header, a block, an insert and plain entities, and
// bytes after its EOF record.
std::string lfdrawing(const S& more = {}) {
    S p = {"0", "SECTION", "2", "HEADER", "9", "$INSUNITS", "70", "4", "0", "ENDSEC"};
    add(p, {"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "10", "0", "20", "0", "0", "CIRCLE", "8", "C", "40",
            "2", "0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    add(p, more);
    add(p, {"0", "LINE", "8", "L", "10", "1.5", "20", "2", "11", "3", "21", "4", "0", "INSERT", "2", "B", "10", "5",
            "0", "LWPOLYLINE", "8", "P", "90", "2", "10", "0", "20", "0", "42", "1", "10", "1", "20", "0", "0",
            "ENDSEC", "0", "EOF"});
    return dxf(p) + "junk\n";
}

// The same lines with the ends given in turn (the last one for every line
// after them).
std::string withends(const std::string& lf, const S& ends) {
    std::string out;
    std::size_t k = 0;
    for (char c : lf) {
        if (c != '\n') {
            out += c;
            continue;
        }
        out += ends[k < ends.size() ? k : ends.size() - 1];
        k = ends.size() > 1 ? (k + 1) % ends.size() : 0;
    }
    return out;
}

TEST(CRLines, CROnlyDrawingReadsAsItsLFForm) {
    const std::string lf = lfdrawing(), cr = withends(lf, {"\r"});
    testutil::reading want = samebothways(lf, true);
    // The line, the block's circle and the polyline's one arc.
    ASSERT_EQ(want.geometries.size(), 3u);
    EXPECT_EQ(want.geometries[0], "line (1.5,2,0) (3,4,0)");
    EXPECT_EQ(want.geometries[1], "circle c(5,0,0) r2");
    testutil::reading got = samebothways(cr, true);  // also the memory's offset against the stream's position
    EXPECT_EQ(got.record, want.record);
    // Reading stops right behind the EOF value line's CR.
    ostra::reader r(cr.data(), cr.size());
    r.setexact(true);
    testutil::readall(r);
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    EXPECT_EQ(r.offset(), cr.size() - 5);
    EXPECT_STREQ(r.header("$INSUNITS"), "4");

    // The default reading keeps the LF rule: one line, no code.
    ostra::reader d(cr.data(), cr.size());
    d.setmessages(nullptr);
    EXPECT_EQ(d.next(), nullptr);
    EXPECT_EQ(d.status(), ostra::malformedcode);
    EXPECT_EQ(d.line(), 1);
    EXPECT_EQ(samebothways(cr, false).geometries, S{});
}

TEST(CRLines, MixedEndsReadAsTheLFForm) {
    const std::string lf = lfdrawing();
    testutil::reading want = samebothways(lf, true);
    for (const S& ends : {S{"\r", "\n", "\r\n"}, S{"\r", "\r\n"}, S{"\r", "\r", "\n"}, S{"\r", "\n"}}) {
        testutil::reading got = samebothways(withends(lf, ends), true);
        EXPECT_EQ(got.record, want.record);
    }
    // A first line that ends with LF or CR LF keeps the LF rule: a lone CR
    // further on is inside its line, as in the default reading.
    const std::string later = withends(lfdrawing({"0", "POINT", "8", "A\rB", "10", "7"}), {"\r\n", "\n"});
    testutil::reading exact = samebothways(later, true);
    ASSERT_EQ(exact.geometries.size(), 4u);
    EXPECT_EQ(exact.geometries[0], "point (7,0,0)");
    ostra::reader r(later.data(), later.size());
    r.setexact(true);
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_STREQ(r.currentlayer(), "A\rB");
}

// Values of 510, 511, 512 and 600 chars: the first 511 are kept, the rest
// up to the line end is dropped, whichever end it is.
TEST(CRLines, LongLinesAreCutAt511AsWithLF) {
    S more;
    for (std::size_t n : {510u, 511u, 512u, 600u}) add(more, {"0", "POINT", "8", std::string(n, 'x'), "10", "1"});
    const std::string lf = lfdrawing(more);
    testutil::reading want = samebothways(lf, true);
    ASSERT_EQ(want.geometries.size(), 7u);
    for (const S& ends : {S{"\r"}, S{"\r", "\r\n", "\n"}})
        EXPECT_EQ(samebothways(withends(lf, ends), true).record, want.record);
    // A long first line ended by a lone CR turns the rule on as well.
    const std::string first = std::string(600, ' ') + "0\r" + withends(lf, {"\r"}).substr(2);
    EXPECT_EQ(samebothways(first, true).geometries, want.geometries);
}

// A CR LF split by the end of the stream's buffer is one line end: every
// buffer size from 1 to 40 reads as memory does.
TEST(CRLines, CRLFAcrossAStreamBufferIsOneLineEnd) {
    const std::string text = withends(lfdrawing(), {"\r", "\r\n", "\n", "\r\n", "\r"});
    ostra::reader m(text.data(), text.size());
    m.setexact(true);
    testutil::reading want = testutil::readfully(m);
    ASSERT_EQ(want.geometries.size(), 3u);
    for (int size = 1; size <= 40; ++size) {
        SCOPED_TRACE(size);
        FILE* f = std::tmpfile();
        ASSERT_NE(f, nullptr);
        std::fwrite(text.data(), 1, text.size(), f);
        std::rewind(f);
        std::setvbuf(f, nullptr, _IOFBF, static_cast<std::size_t>(size));
        {
            ostra::reader r(f);
            r.setexact(true);
            EXPECT_EQ(testutil::readfully(r).record, want.record);
        }
        EXPECT_EQ(std::ftell(f), static_cast<long>(m.offset()));
        std::fclose(f);
    }
}

}  // namespace
