#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include <ostra/writer.h>

#include "testutil.h"

namespace {

using brevo::geometry;
using brevo::point;

// Collects everything written to its stream; text() shows what arrived so far.
class capture {
public:
    capture() : f_(open_memstream(&buf_, &size_)) {}
    ~capture() {
        std::fclose(f_);
        std::free(buf_);
    }
    capture(const capture&) = delete;
    capture& operator=(const capture&) = delete;
    FILE* get() const { return f_; }
    std::string text() {
        std::fflush(f_);
        return std::string(buf_, size_);
    }

private:
    char* buf_ = nullptr;
    std::size_t size_ = 0;
    FILE* f_;
};

const std::string skeleton =
    "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nENTITIES\n";
const std::string closing = "  0\nENDSEC\n  0\nEOF\n";

const std::string segmentrecord =
    "  0\nLINE\n  8\n0\n"
    "  10\n0.000000\n  20\n0.000000\n  30\n0.000000\n"
    "  11\n1.000000\n  21\n2.000000\n  31\n3.000000\n";
const std::string circlerecord =
    "  0\nCIRCLE\n  8\n0\n"
    "  10\n-1.500000\n  20\n2.000000\n  30\n0.000000\n  40\n0.250000\n";

geometry segment(double x0, double y0, double z0, double x1, double y1, double z1) {
    return geometry(brevo::lineseg(point(x0, y0, z0), point(x1, y1, z1)));
}
geometry circle(double x, double y, double z, double r) {
    return geometry(brevo::circle(point(x, y, z), brevo::vector(0, 0, 1), r));
}
geometry testsegment() { return segment(0, 0, 0, 1, 2, 3); }
geometry testcircle() { return circle(-1.5, 2, 0, 0.25); }
geometry testarc() {
    return geometry(brevo::arc(point(0, 0, 0), brevo::vector(0, 0, 1), point(1, 0, 0), 90));
}

// The whole file a fresh writer produces for the given geometries.
std::string written(const std::vector<geometry>& gs) {
    capture c;
    {
        ostra::writer w(c.get());
        for (const auto& g : gs) EXPECT_TRUE(w.save(g));
    }
    return c.text();
}

std::string cfixed6(double v) {
    char b[400];
    std::snprintf(b, sizeof b, "%.6f", v);
    return b;
}

}  // namespace

TEST(WriterRecords, ExactBytesOfSegmentAndCircle) {
    EXPECT_EQ(written({testsegment()}), skeleton + segmentrecord + closing);
    EXPECT_EQ(written({testcircle()}), skeleton + circlerecord + closing);
    // Later saves add records only: one set of leading sections per file.
    EXPECT_EQ(written({testsegment(), testcircle()}),
              skeleton + segmentrecord + circlerecord + closing);
}

TEST(WriterRecords, NumbersAsCLocaleFixedSix) {
    EXPECT_EQ(written({segment(1e20, 0.0000004, -0.0000001, 0, 0, 0)}),
              skeleton +
                  "  0\nLINE\n  8\n0\n"
                  "  10\n100000000000000000000.000000\n  20\n0.000000\n  30\n-0.000000\n"
                  "  11\n0.000000\n  21\n0.000000\n  31\n0.000000\n" +
                  closing);

    // Values at the edges of the format, checked against the C library.
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {-0.0, 0.1 + 0.2, 2.0000005, -123456.7890125, 1e-300,
                             -9.99e70, std::nan(""), -std::nan(""), inf, -inf};
    for (double v : values) {
        capture c;
        ostra::writer w(c.get());
        ASSERT_TRUE(w.save(circle(v, 0, 0, v)));
        const std::string n = cfixed6(v);
        EXPECT_EQ(c.text(), skeleton + "  0\nCIRCLE\n  8\n0\n  10\n" + n +
                                "\n  20\n0.000000\n  30\n0.000000\n  40\n" + n + "\n")
            << n;
    }

    // Beyond that (fixed text over 79 chars) the shortest exact form.
    EXPECT_EQ(written({segment(-1.7976931348623157e308, 1e73, 0, 0, 0, 0)}),
              skeleton +
                  "  0\nLINE\n  8\n0\n"
                  "  10\n-1.7976931348623157e+308\n  20\n1e+73\n  30\n0.000000\n"
                  "  11\n0.000000\n  21\n0.000000\n  31\n0.000000\n" +
                  closing);
}

TEST(WriterRecords, SameBytesUnderCommaDecimalLocale) {
    const std::vector<geometry> gs = {segment(0.5, -2.25, 1e20, 3, 4, 5), circle(-1.5, 2, 0, 0.25)};
    const std::string expected = written(gs);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 missing";
    struct restore {
        ~restore() { std::setlocale(LC_ALL, "C"); }
    } guard;
    ASSERT_EQ(cfixed6(0.5), "0,500000");  // the locale is really in effect
    EXPECT_EQ(written(gs), expected);
}

TEST(WriterRecords, RoundTripThroughReader) {
    const std::vector<geometry> gs = {
        segment(0, 0, 0, 1, 2, 3),        circle(-1.5, 2, 0, 0.25),
        segment(-7.125, 8, 1.5, 100, -0.5, 0), circle(10, 20, 30, 4.5),
        segment(3, 3, 3, -3, -3, -3),     circle(0.75, -0.125, 0, 1000)};
    std::vector<std::string> expected;
    for (const auto& g : gs) expected.push_back(testutil::describe(g));
    capture c;
    {
        ostra::writer w(c.get());
        ASSERT_TRUE(w.save(gs.data(), static_cast<int>(gs.size())));
    }
    EXPECT_EQ(testutil::readall(c.text()), expected);
}

TEST(WriterRefusal, NullAndOtherKinds) {
    capture c;
    {
        ostra::writer w(c.get());
        EXPECT_FALSE(w.save(static_cast<const geometry*>(nullptr)));
        EXPECT_EQ(c.text(), "");  // a null geometry does not start the file
        EXPECT_FALSE(w.save(testarc()));
        EXPECT_FALSE(w.save(geometry()));
        EXPECT_EQ(c.text(), skeleton);  // the refused arc still started it
    }
    EXPECT_EQ(c.text(), skeleton + closing);
}

TEST(WriterRefusal, ArraysStopAtFirstRefusal) {
    const geometry gs[] = {testsegment(), testarc(), testcircle()};
    {
        capture c;
        {
            ostra::writer w(c.get());
            EXPECT_FALSE(w.save(gs, 3));
        }
        EXPECT_EQ(c.text(), skeleton + segmentrecord + closing);
    }
    {
        const geometry seg = testsegment(), cir = testcircle();
        const geometry* ps[] = {&seg, nullptr, &cir};
        capture c;
        {
            ostra::writer w(c.get());
            EXPECT_FALSE(w.save(ps, 3));
            EXPECT_TRUE(w.save(ps + 2, 1));
        }
        EXPECT_EQ(c.text(), skeleton + segmentrecord + circlerecord + closing);
    }
}

TEST(WriterRefusal, EmptyArraysWriteNothing) {
    const geometry gs[] = {testsegment()};
    const geometry* ps[] = {&gs[0]};
    capture c;
    {
        ostra::writer w(c.get());
        EXPECT_TRUE(w.save(gs, 0));
        EXPECT_TRUE(w.save(ps, 0));
        EXPECT_TRUE(w.save(gs, -1));
        EXPECT_TRUE(w.save(ps, -5));
    }
    EXPECT_EQ(c.text(), "");  // not even the destructor writes
}

TEST(WriterState, CopyAssignmentSharesStreamAndProgress) {
    capture c, other;
    {
        ostra::writer a(c.get());
        ostra::writer b(other.get());
        ASSERT_TRUE(a.save(testsegment()));
        b = a;
        ASSERT_TRUE(b.save(testcircle()));  // into a's stream, no second skeleton
        EXPECT_TRUE(b.finish());
        a = b;  // a is now finished too and closes nothing more
        EXPECT_FALSE(a.save(testsegment()));
    }
    EXPECT_EQ(c.text(), skeleton + segmentrecord + circlerecord + closing);
    EXPECT_EQ(other.text(), "");

    // An unstarted writer copied over a started one makes it start afresh.
    capture d, e;
    {
        ostra::writer fresh(d.get());
        ostra::writer used(e.get());
        ASSERT_TRUE(used.save(testsegment()));
        used = fresh;
        ASSERT_TRUE(used.save(testcircle()));
        EXPECT_TRUE(used.finish());
        EXPECT_TRUE(fresh.finish());  // fresh never started: nothing to close
    }
    EXPECT_EQ(d.text(), skeleton + circlerecord + closing);
    // The file the assigned-over writer had begun is left open: nothing owns it.
    EXPECT_EQ(e.text(), skeleton + segmentrecord);
}

TEST(WriterState, FinishClosesOnce) {
    capture c;
    {
        ostra::writer w(c.get());
        ASSERT_TRUE(w.save(testsegment()));
        EXPECT_TRUE(w.finish());
        const std::string closed = skeleton + segmentrecord + closing;
        EXPECT_EQ(c.text(), closed);
        EXPECT_TRUE(w.finish());
        EXPECT_FALSE(w.save(testcircle()));
        const geometry gs[] = {testcircle()};
        EXPECT_FALSE(w.save(gs, 1));
        EXPECT_EQ(c.text(), closed);
    }
    EXPECT_EQ(c.text(), skeleton + segmentrecord + closing);

    // Finishing before any save writes nothing and still refuses later saves.
    capture d;
    {
        ostra::writer w(d.get());
        EXPECT_TRUE(w.finish());
        EXPECT_FALSE(w.save(testsegment()));
    }
    EXPECT_EQ(d.text(), "");
}

TEST(WriterState, FailedWritesReturnFalse) {
    FILE* ro = std::fopen("/dev/null", "r");
    ASSERT_NE(ro, nullptr);
    {
        ostra::writer w(ro);
        EXPECT_FALSE(w.save(testsegment()));
        const geometry gs[] = {testsegment(), testcircle()};
        EXPECT_FALSE(w.save(gs, 2));
        EXPECT_FALSE(w.finish());
    }
    std::fclose(ro);

    FILE* full = testutil::openfulldevice();
    if (!full) GTEST_SKIP() << "no /dev/full device";
    {
        ostra::writer w(full);
        EXPECT_FALSE(w.save(testcircle()));
        EXPECT_FALSE(w.save(testcircle()));
        EXPECT_FALSE(w.finish());
    }
    std::fclose(full);
}
