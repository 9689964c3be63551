// Why reading stopped: status(), line() and badline(), the EOF record as
// the end of the drawing, and where the diagnostic goes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "testutil.h"

using testutil::dxf;
using testutil::entities;
using testutil::memstream;
using testutil::readall;
using S = std::vector<std::string>;

namespace {

// Reads to the end with the messages silenced; the geometries described.
S readquiet(ostra::reader& r) {
    r.setmessages(nullptr);
    return readall(r);
}

const S twolines = {"0", "LINE", "8", "A", "10", "1", "11", "2", "0", "LINE", "8", "B", "10", "3", "11", "4"};

TEST(StatusEnd, CompleteDrawingEndsAtItsEofRecord) {
    memstream m(entities(twolines));
    ostra::reader r(m.get());
    EXPECT_EQ(r.status(), ostra::reading);
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(r.status(), ostra::reading);
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    EXPECT_EQ(r.status(), ostra::reader::endofdrawing);  // both spellings
    EXPECT_EQ(r.line(), 24);                             // the EOF record's value line
    EXPECT_EQ(r.badline(), nullptr);
    EXPECT_EQ(r.currentlayer(), nullptr);
    // It stays at the end.
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    EXPECT_EQ(r.line(), 24);
}

TEST(StatusEnd, StreamWithoutEofRecordEndsAsCut) {
    for (const std::string& text : {std::string(), dxf({"0", "SECTION", "2", "ENTITIES", "0", "ENDSEC"}),
                                    dxf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1", "0"})}) {
        memstream m(text);
        ostra::reader r(m.get());
        S got = readquiet(r);
        EXPECT_EQ(r.status(), ostra::endofstream) << text;
        EXPECT_EQ(r.badline(), nullptr);
        // The LINE whose record never ended is not delivered.
        EXPECT_TRUE(got.empty());
    }
    ostra::reader none(nullptr);
    EXPECT_EQ(none.next(), nullptr);
    EXPECT_EQ(none.status(), ostra::endofstream);
    EXPECT_EQ(none.line(), 0);
}

// A record ended by the EOF record itself is still delivered, and so are the
// entities of an INSERT just before it; then the drawing ends.
TEST(StatusEnd, WhatEndsAtTheEofRecordIsDeliveredFirst) {
    std::string text = dxf({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "0", "LINE", "10", "1", "11",
                            "2", "0", "CIRCLE", "40", "3", "0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2",
                            "ENTITIES", "0", "LINE", "11", "5", "0", "INSERT", "2", "B", "0", "EOF"});
    for (bool exact : {false, true}) {
        memstream m(text);
        ostra::reader r(m.get());
        r.setexact(exact);
        EXPECT_EQ(readall(r), (S{"line (0,0,0) (5,0,0)", "line (1,0,0) (2,0,0)", "circle c(0,0,0) r3"}));
        EXPECT_EQ(r.status(), ostra::endofdrawing);
    }
}

TEST(StatusMalformed, StatusLineAndTextOfTheBadLine) {
    memstream m(dxf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1", "0", "LINE", "\t 1e3 ", "7", "x",
                     "0", "CIRCLE", "40", "2", "0", "EOF"}));
    ostra::reader r(m.get());
    r.setmessages(nullptr);
    brevo::geometry g;
    ASSERT_TRUE(r.next(g));  // the first LINE, ended by the second
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(r.status(), ostra::malformedcode);
    EXPECT_EQ(r.line(), 11);
    ASSERT_NE(r.badline(), nullptr);
    EXPECT_STREQ(r.badline(), "1e3");
    // Reading goes on at the line after the bad one ("7" is a code).
    ASSERT_TRUE(r.next(g));
    EXPECT_EQ(r.status(), ostra::reading);
    EXPECT_EQ(r.badline(), nullptr);
    EXPECT_EQ(testutil::describe(g), "line (0,0,0) (0,0,0)");
    EXPECT_TRUE(r.next(g));  // the CIRCLE
    EXPECT_EQ(r.next(g), nullptr);
    EXPECT_EQ(r.status(), ostra::endofdrawing);
}

// ---------------------------------------------------------------------------
// Nothing after the EOF record is read.

TEST(StatusAfterEof, TrailingBytesStayUnreadForTheHost) {
    const std::string drawing = entities(twolines);
    const std::vector<std::string> tails = {"\x1a", "junk\n", "\x1a\n\x1a\x1a", std::string("\0\xff\xfe", 3),
                                            "-5\nX\n", std::string(100000, '@')};
    for (const std::string& tail : tails) {
        memstream m(drawing + tail);
        ostra::reader r(m.get());
        testing::internal::CaptureStdout();
        S got = readall(r);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(got.size(), 2u);
        EXPECT_EQ(r.status(), ostra::endofdrawing);
        // The stream stands right behind the EOF value line.
        EXPECT_EQ(std::ftell(m.get()), static_cast<long>(drawing.size()));
        std::string rest;
        for (int c; (c = std::fgetc(m.get())) != EOF;) rest += static_cast<char>(c);
        EXPECT_EQ(rest, tail);
    }
}

TEST(StatusAfterEof, SecondDrawingInTheSameStreamIsReadByASecondReader) {
    const std::string one = entities({"0", "LINE", "10", "1", "11", "2"});
    const std::string two = entities({"0", "CIRCLE", "10", "5", "40", "1", "0", "CIRCLE", "40", "2"});
    memstream m(one + two);
    {
        ostra::reader r(m.get());
        EXPECT_EQ(readall(r), S{"line (1,0,0) (2,0,0)"});
        EXPECT_EQ(r.status(), ostra::endofdrawing);
    }
    ostra::reader r(m.get());
    EXPECT_EQ(readall(r), (S{"circle c(5,0,0) r1", "circle c(0,0,0) r2"}));
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    EXPECT_EQ(r.line(), 18);  // counted afresh
}

TEST(StatusAfterEof, OnlyARecordNamedEofByGroupZeroEnds) {
    // Group 9 "EOF" (a header variable position), a layer named EOF and a
    // lower-case eof are no end.
    std::string text = dxf({"0", "SECTION", "2", "ENTITIES", "9", "EOF", "0", "LINE", "8", "EOF", "11", "1", "0",
                            "eof", "0", "LINE", "11", "2", "0", "EOF", "0", "LINE", "11", "3", "0", "EOF"});
    memstream m(text);
    ostra::reader r(m.get());
    EXPECT_EQ(readall(r), (S{"line (0,0,0) (1,0,0)", "line (0,0,0) (2,0,0)"}));
    EXPECT_EQ(r.status(), ostra::endofdrawing);
}

// ---------------------------------------------------------------------------
// Where the diagnostic goes.

TEST(StatusMessages, DiagnosticGoesWhereTheHostSays) {
    const std::string text = dxf({"0", "SECTION", "2", "ENTITIES", "-1", "X"});
    {
        // Redirected: the same text, nothing on standard output.
        memstream m(text);
        ostra::reader r(m.get());
        FILE* messages = std::tmpfile();
        ASSERT_NE(messages, nullptr);
        r.setmessages(messages);
        testing::internal::CaptureStdout();
        EXPECT_EQ(r.next(), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        std::rewind(messages);
        char buf[128] = {};
        std::size_t n = std::fread(buf, 1, sizeof buf - 1, messages);
        std::fclose(messages);
        EXPECT_EQ(std::string(buf, n), "numerical group code expected\n5: -1");
        EXPECT_EQ(r.status(), ostra::malformedcode);
    }
    {
        // Silenced; the status still tells.
        memstream m(text);
        ostra::reader r(m.get());
        r.setmessages(nullptr);
        testing::internal::CaptureStdout();
        EXPECT_EQ(r.next(), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(r.status(), ostra::malformedcode);
        EXPECT_STREQ(r.badline(), "-1");
        // And back to standard output, the default.
        r.setmessages(stdout);
        testing::internal::CaptureStdout();
        EXPECT_EQ(r.next(), nullptr);  // "X" is no code either
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "numerical group code expected\n6: X");
    }
}

}  // namespace
