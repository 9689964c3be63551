// Line reading and group pairing: code-line validation and its diagnostic,
// trimming, value length, dropped codes, line handling, end of stream.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "reader/records/grouptable.h"
#include "testutil.h"

using testutil::entities;
using testutil::memstream;
using testutil::readall;

namespace {

// Reads the whole stream and returns what the library printed to stdout.
std::string diagnosticof(ostra::reader& r, std::vector<std::string>* got = nullptr) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    std::vector<std::string> all = readall(r);
    std::fflush(stdout);
    if (got) *got = all;
    return testing::internal::GetCapturedStdout();
}

TEST(GroupsCodeLine, RightJustifiedAndEmptyCodeLinesAreGroupZero) {
    std::string text = "  0\nSECTION\n  2\nENTITIES\n\nLINE\n 10\n1\n 20\n2\n 11\n3\n 21\n4\n\t0\r\nENDSEC\n";
    EXPECT_EQ(readall(text), std::vector<std::string>{"line (1,2,0) (3,4,0)"});
}

TEST(GroupsCodeLine, InnerBlankEndsTheCode) {
    // "10 20" is code 10, as atoi reads it.
    std::string text = entities({"0", "LINE", "10 20", "7", "0", "X"});
    EXPECT_EQ(readall(text), std::vector<std::string>{"line (7,0,0) (0,0,0)"});
}

TEST(GroupsCodeLine, BadCodeLinePrintsTheDiagnosticWithItsLineNumber) {
    // Line 7 holds " -1 " (a minus sign).
    memstream m("0\nSECTION\n2\nENTITIES\n0\nLINE\n -1 \n5\n0\nX\n");
    ostra::reader r(m.get());
    brevo::geometry g;
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    EXPECT_EQ(r.next(g), nullptr);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "numerical group code expected\n7: -1");
    EXPECT_TRUE(g.invalid());
    // The value line was not consumed: "5" (line 8) is read as the next code
    // line, "0" as its value, and "X" (line 10) is the next bad code line.
    std::string rest = diagnosticof(r);
    EXPECT_EQ(rest, "numerical group code expected\n10: X");
}

TEST(GroupsCodeLine, HugeCodesAreDroppedAndNotMistakenForSmallOnes) {
    // 4294967296 would wrap to 0 in a plain int conversion.
    std::string text = entities({"0", "LINE", "4294967296", "CIRCLE", "99999999999", "x", "1100",
                                 "y", "10", "1", "0", "X"});
    EXPECT_EQ(readall(text), std::vector<std::string>{"line (1,0,0) (0,0,0)"});
    ostra::grouptable t;
    t.store(1100, "abc", 3);
    t.store(-5, "abc", 3);
    EXPECT_STREQ(t.get(1100), "");
    EXPECT_STREQ(t.get(-5), "");
    EXPECT_FALSE(t.carried(1100));
}

TEST(GroupsValue, ValuesAreTrimmedAndCutTo79Chars) {
    std::string longname(100, 'n');
    memstream m(entities({"0", "LINE", "8", "  " + longname + " \r", "10", "\t 2.5 ", "0", "X"}));
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(testutil::describe(g), "line (2.5,0,0) (0,0,0)");
    EXPECT_EQ(std::string(r.currentlayer()), std::string(79, 'n'));
}

TEST(GroupsLine, OverlongLineIsOneLineAndDoesNotShiftThePairs) {
    // A 600-char value: its first 511 chars are the text and the rest of the
    // physical line is dropped, so the groups after it keep their pairing.
    std::string big(600, '7');
    std::string text = entities({"0", "LINE", "999", big, "10", "1", "0", "LINE", "11", "2", "0", "X"});
    EXPECT_EQ(readall(text),
              (std::vector<std::string>{"line (1,0,0) (0,0,0)", "line (0,0,0) (2,0,0)"}));
    // It also counts as one line in the diagnostic's numbering.
    memstream m("0\n" + std::string(600, 'A') + "\n?\n");
    ostra::reader r(m.get());
    EXPECT_EQ(diagnosticof(r), "numerical group code expected\n3: ?");
}

TEST(GroupsLine, LineOfExactly511CharsThenNewline) {
    std::string v(510, '1');
    std::string text = entities({"0", "LINE", "999", v, "10", "3", "0", "X"});
    EXPECT_EQ(readall(text), std::vector<std::string>{"line (3,0,0) (0,0,0)"});
}

TEST(GroupsLine, ByteOrderMarkBeforeTheFirstLineIsSkipped) {
    std::string text = "\xEF\xBB\xBF" + entities({"0", "LINE", "10", "1", "0", "X"});
    memstream m(text);
    ostra::reader r(m.get());
    std::vector<std::string> got;
    EXPECT_EQ(diagnosticof(r, &got), "");
    EXPECT_EQ(got, std::vector<std::string>{"line (1,0,0) (0,0,0)"});
}

TEST(GroupsEnd, StreamEndingMidPairReturnsNullWithoutMessage) {
    memstream m(entities({"0", "LINE", "10", "1", "0", "X"}) + " 10\n");
    ostra::reader r(m.get());
    std::vector<std::string> got;
    EXPECT_EQ(diagnosticof(r, &got), "");
    EXPECT_EQ(got.size(), 1u);
    brevo::geometry g;
    EXPECT_EQ(r.next(g), nullptr);  // stays at the end
    EXPECT_EQ(r.next(g), nullptr);
}

TEST(GroupsReaders, EachReaderCountsItsOwnLines) {
    memstream a("0\nSECTION\n0\nX\n?\n");
    ostra::reader ra(a.get());
    brevo::geometry g;
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    ra.next(g);  // reads up to line 4 and stops... at the bad line 5
    memstream b("0\nA\n");
    ostra::reader rb(b.get());  // a second reader does not reset the first
    rb.next(g);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "numerical group code expected\n5: ?");
}

TEST(GroupsReaders, NullStreamGivesNothing) {
    ostra::reader r(nullptr);
    brevo::geometry g;
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(r.next(), nullptr);
    EXPECT_EQ(r.numlayer(), 0);
    EXPECT_EQ(r.firstlayer(), nullptr);
    EXPECT_EQ(r.numblock(), 0);
    EXPECT_EQ(r.firstblock(), nullptr);
}

}  // namespace
