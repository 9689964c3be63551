// The writer's extended mode: every kind of geometry, layers, colours and
// the LAYER table, byte for byte and read back by the exact reading.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <ostra/writer.h>

#include "curvecheck.h"
#include "testutil.h"

namespace {

using brevo::geometry;
using brevo::point;
using brevo::vector;
using S = std::vector<std::string>;

const std::string head = "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n";
const std::string emptytables = "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n";
const std::string toentities = "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
const std::string closing = "  0\nENDSEC\n  0\nEOF\n";

// The whole file a fresh writer produces: setup runs first, then every
// geometry is saved (and must be taken).
std::string written(const std::function<void(ostra::writer&)>& setup, const std::vector<geometry>& gs) {
    char* buf = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    {
        ostra::writer w(f);
        setup(w);
        for (const geometry& g : gs) EXPECT_TRUE(w.save(g));
    }
    std::fclose(f);
    std::string text(buf, size);
    std::free(buf);
    return text;
}

void extended(ostra::writer& w) { w.setextended(true); }

std::vector<geometry> readexact(const std::string& text, S* layers = nullptr) {
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    std::vector<geometry> out;
    geometry g;
    while (r.next(g)) {
        out.push_back(g);
        if (layers) layers->push_back(r.currentlayer());
    }
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    return out;
}

geometry arc(point c, vector n, point s, double sweep) { return geometry(brevo::arc(c, n, s, sweep)); }

TEST(ExtendedRecords, ExactBytesOfEachKind) {
    auto one = [&](const std::function<void(ostra::writer&)>& setup, const geometry& g) {
        const std::string all = written(
            [&](ostra::writer& w) {
                w.setextended(true);
                setup(w);
            },
            {g});
        const std::string frame = head + emptytables + toentities;
        EXPECT_EQ(all.substr(0, frame.size()), frame);
        EXPECT_EQ(all.substr(all.size() - closing.size()), closing);
        return all.substr(frame.size(), all.size() - frame.size() - closing.size());
    };
    EXPECT_EQ(one(
                  [](ostra::writer& w) {
                      w.setlayer("CUT");
                      w.setcolor(1);
                  },
                  geometry(brevo::lineseg(point(0, 0, 0), point(1, 2, 3)))),
              "  0\nLINE\n  8\nCUT\n  62\n1\n  10\n0.000000\n  20\n0.000000\n  30\n0.000000\n"
              "  11\n1.000000\n  21\n2.000000\n  31\n3.000000\n");
    EXPECT_EQ(one([](ostra::writer& w) { w.setlayer("CUT"); }, geometry(point(1.5, -2, 0.25))),
              "  0\nPOINT\n  8\nCUT\n  10\n1.500000\n  20\n-2.000000\n  30\n0.250000\n");
    const point s(1 + 3 * std::cos(M_PI / 6), 2 + 3 * std::sin(M_PI / 6), 0);
    EXPECT_EQ(one([](ostra::writer& w) { w.setcolor(0); }, arc(point(1, 2, 0), vector(0, 0, 1), s, 90)),
              "  0\nARC\n  8\n0\n  62\n0\n  10\n1.000000\n  20\n2.000000\n  30\n0.000000\n  40\n3.000000\n"
              "  50\n30.000000\n  51\n120.000000\n");
    // Normal +y: object x is world -x, object y is world z, elevation world y.
    EXPECT_EQ(one([](ostra::writer&) {}, arc(point(1, 5, 2), vector(0, 1, 0), point(-1, 5, 2), 90)),
              "  0\nARC\n  8\n0\n  10\n-1.000000\n  20\n2.000000\n  30\n5.000000\n  40\n2.000000\n"
              "  50\n0.000000\n  51\n90.000000\n  210\n0.000000\n  220\n1.000000\n  230\n0.000000\n");
    // Normal -z (a mirrored arc): turned over, so it runs from its end.
    EXPECT_EQ(one([](ostra::writer&) {}, arc(point(-5, 0, 0), vector(0, 0, -1), point(-6, 0, 0), 90)),
              "  0\nARC\n  8\n0\n  10\n-5.000000\n  20\n0.000000\n  30\n0.000000\n  40\n1.000000\n"
              "  50\n90.000000\n  51\n180.000000\n");
    EXPECT_EQ(one([](ostra::writer&) {}, geometry(brevo::circle(point(1, 2, 3), vector(0, 0, -1), 4))),
              "  0\nCIRCLE\n  8\n0\n  10\n1.000000\n  20\n2.000000\n  30\n3.000000\n  40\n4.000000\n");
}

TEST(ExtendedRecords, LayerTable) {
    const std::string text = written(
        [](ostra::writer& w) {
            w.setextended(true);
            EXPECT_TRUE(w.addlayer("CUT", 1));
            EXPECT_TRUE(w.addlayer("dim lines", 255));
        },
        {geometry(point(0, 0, 0))});
    const std::string tables =
        "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  70\n2\n"
        "  0\nLAYER\n  2\nCUT\n  70\n0\n  62\n1\n  6\nCONTINUOUS\n"
        "  0\nLAYER\n  2\ndim lines\n  70\n0\n  62\n255\n  6\nCONTINUOUS\n"
        "  0\nENDTAB\n  0\nENDSEC\n";
    EXPECT_EQ(text, head + tables + toentities +
                        "  0\nPOINT\n  8\n0\n  10\n0.000000\n  20\n0.000000\n  30\n0.000000\n" + closing);
}

TEST(ExtendedRecords, FailedWritesReturnFalse) {
    FILE* full = testutil::openfulldevice();
    if (!full) GTEST_SKIP() << "no /dev/full device";
    {
        ostra::writer w(full);
        w.setextended(true);
        ASSERT_TRUE(w.addlayer("A", 1));
        EXPECT_FALSE(w.save(geometry(point(0, 0, 0))));  // the table fails
        EXPECT_FALSE(w.save(geometry(brevo::ellipse(point(), vector(0, 0, 1), vector(5, 0, 0), 0.5, 0, 360))));
        EXPECT_FALSE(w.finish());
    }
    std::fclose(full);
}

TEST(ExtendedArguments, BadValuesAreIgnoredOrRefused) {
    const std::string name79(79, 'n'), name80(80, 'n');
    const std::string text = written(
        [&](ostra::writer& w) {
            w.setextended(true);
            w.setlayer("A");
            for (const char* bad : {static_cast<const char*>(nullptr), "", "a\nb", "a\rb", " a", "a\t", name80.c_str()})
                w.setlayer(bad);
            w.setcolor(7);
            w.setcolor(-1);
            w.setcolor(257);
            EXPECT_FALSE(w.addlayer(nullptr, 1));
            EXPECT_FALSE(w.addlayer("", 1));
            EXPECT_FALSE(w.addlayer(name80.c_str(), 1));
            EXPECT_FALSE(w.addlayer("x\n", 1));
            EXPECT_FALSE(w.addlayer("B", 0));  // an entry's colour is 1..255
            EXPECT_FALSE(w.addlayer("B", 256));
            EXPECT_TRUE(w.addlayer(name79.c_str(), 2));
            EXPECT_TRUE(w.addlayer("Cut", 3));
            EXPECT_FALSE(w.addlayer("CUT", 4));  // the same name in other case
        },
        {geometry(point(0, 0, 0))});
    EXPECT_NE(text.find("  70\n2\n"), std::string::npos);  // two entries
    EXPECT_NE(text.find("  2\n" + name79 + "\n"), std::string::npos);
    EXPECT_NE(text.find("  0\nPOINT\n  8\nA\n  62\n7\n"), std::string::npos);
    // Once the file is begun: no entries, no change of mode.
    FILE* f = std::fopen("/dev/null", "w");
    ASSERT_NE(f, nullptr);
    {
        ostra::writer w(f);
        ASSERT_TRUE(w.save(geometry(brevo::lineseg())));
        EXPECT_FALSE(w.addlayer("LATE", 1));
        w.setextended(true);
        EXPECT_FALSE(w.save(geometry(point(0, 0, 0))));  // still the default mode
        EXPECT_TRUE(w.finish());
        EXPECT_FALSE(w.addlayer("LATER", 1));
    }
    std::fclose(f);
}

TEST(ExtendedArguments, CopiesShareEntriesUntilOneAdds) {
    FILE* f = std::fopen("/dev/null", "w");
    ASSERT_NE(f, nullptr);
    {
        ostra::writer a(f), b(f);
        a.setextended(true);
        ASSERT_TRUE(a.addlayer("A", 1));
        b = a;
        EXPECT_TRUE(b.addlayer("B", 2));
        EXPECT_FALSE(b.addlayer("A", 3));  // the copy has A
        EXPECT_TRUE(a.addlayer("B", 3));   // a never got b's B
    }
    std::fclose(f);
}

TEST(ExtendedArguments, DefaultModeWritesWhatItAlwaysDid) {
    const std::vector<geometry> gs = {geometry(brevo::lineseg(point(1, 2, 3), point(4, 5, 6))),
                                      geometry(brevo::circle(point(1, 1, 1), vector(0, 1, 0), 2))};
    const std::string plain = written([](ostra::writer&) {}, gs);
    EXPECT_EQ(written(
                  [](ostra::writer& w) {
                      w.setlayer("CUT");
                      w.setcolor(3);
                      EXPECT_TRUE(w.addlayer("CUT", 3));
                  },
                  gs),
              plain);
    EXPECT_EQ(plain.find("TABLE\n"), std::string::npos);
}

// A point at distance r from c in the plane with normal n.
point inplane(const point& c, const vector& n, double r) {
    const vector u = (std::fabs(n.unit().x) < 0.9 ? vector(1, 0, 0) : vector(0, 1, 0)).cross(n).unit();
    return c + u * r;
}

TEST(ExtendedReadBack, ArcsAndCirclesInAnyPlaneReadBackInPlace) {
    const vector tilted = vector(0.3, -0.4, 0.8660254037844386).unit();
    const std::vector<vector> normals = {vector(0, 0, 1),      vector(0, 0, -1),        tilted,
                                         tilted * -1,          vector(1e-9, 0, 1),      vector(0, 0.01, 0.99995),
                                         vector(-1, 0, 0),     vector(0.2, 0.7, -0.1)};
    std::vector<geometry> gs;
    for (const vector& n : normals) {
        const point c(10, -20, 5);
        for (double sweep : {90.0, -135.0, 200.0, 360.0, 359.99999}) gs.push_back(arc(c, n, inplane(c, n, 3), sweep));
        gs.push_back(geometry(brevo::circle(point(-1, 2, 0.5), n, 0.75)));
    }
    const std::vector<geometry> back = readexact(written(extended, gs));
    ASSERT_EQ(back.size(), gs.size());
    for (std::size_t i = 0; i < gs.size(); ++i) {
        SCOPED_TRACE(testutil::describe(gs[i]));
        ASSERT_EQ(gs[i].type(), back[i].type());
        EXPECT_LE(gs[i].ar() ? testutil::arcdifference(*gs[i].ar(), *back[i].ar())
                             : testutil::circledifference(*gs[i].cr(), *back[i].cr()),
                  1e-6);
    }
}

TEST(ExtendedReadBack, LayersAndPoints) {
    const std::string name79(79, 'L');
    std::vector<std::string> names = {"A", "dim lines", name79, "0", "A"};
    char* buf = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    {
        ostra::writer w(f);
        w.setextended(true);
        ASSERT_TRUE(w.addlayer("A", 1));
        for (std::size_t i = 0; i < names.size(); ++i) {
            w.setlayer(names[i].c_str());
            ASSERT_TRUE(w.save(geometry(point(static_cast<double>(i), -0.5, 1e-7))));
        }
    }
    std::fclose(f);
    S layers;
    const std::vector<geometry> back = readexact(std::string(buf, size), &layers);
    std::free(buf);
    EXPECT_EQ(layers, names);
    ASSERT_EQ(back.size(), names.size());
    EXPECT_EQ(testutil::describe(back[2]), "point (2,-0.5,0)");  // 1e-7 prints as 0.000000
}

}  // namespace
