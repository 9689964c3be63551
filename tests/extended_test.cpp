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
const std::string continuousentry =
    "  0\nLTYPE\n  2\nCONTINUOUS\n  70\n0\n  3\nSolid line\n  72\n65\n  73\n0\n  40\n0.000000\n";
const std::string continuoustable = "  0\nTABLE\n  2\nLTYPE\n  70\n1\n" + continuousentry + "  0\nENDTAB\n";

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
        "  0\nSECTION\n  2\nTABLES\n" + continuoustable + "  0\nTABLE\n  2\nLAYER\n  70\n2\n"
        "  0\nLAYER\n  2\nCUT\n  70\n0\n  62\n1\n  6\nCONTINUOUS\n"
        "  0\nLAYER\n  2\ndim lines\n  70\n0\n  62\n255\n  6\nCONTINUOUS\n"
        "  0\nENDTAB\n  0\nENDSEC\n";
    EXPECT_EQ(text, head + tables + toentities +
                        "  0\nPOINT\n  8\n0\n  10\n0.000000\n  20\n0.000000\n  30\n0.000000\n" + closing);
}

TEST(ExtendedRecords, HeaderVariablesAndFullLayerEntries) {
    const std::string text = written(
        [](ostra::writer& w) {
            w.setextended(true);
            EXPECT_TRUE(w.addheader("$ACADVER", 1, "AC1021"));
            EXPECT_TRUE(w.addheader("$EXTMIN", 10, "-1.5"));
            EXPECT_TRUE(w.addheader("$EXTMIN", 20, "2"));
            EXPECT_TRUE(w.addheader("$INSUNITS", 70, "4"));
            EXPECT_TRUE(w.addlayer("OFF", -3, 0, "DASHED"));
            EXPECT_TRUE(w.addlayer("ICE", 5, 1 | 4, "Continuous"));  // CONTINUOUS has its entry
            EXPECT_TRUE(w.addlayer("AGAIN", 6, 2, "dashed"));        // DASHED has one too
            EXPECT_TRUE(w.addlayer("PLAIN", 7, 0, ""));
        },
        {geometry(point(0, 0, 0))});
    const std::string header =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1021\n  9\n$EXTMIN\n  10\n-1.5\n  20\n2\n"
        "  9\n$INSUNITS\n  70\n4\n  0\nENDSEC\n";
    const std::string tables =
        "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLTYPE\n  70\n2\n" + continuousentry +
        "  0\nLTYPE\n  2\nDASHED\n  70\n0\n  3\n\n  72\n65\n  73\n0\n  40\n0.000000\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nLAYER\n  70\n4\n"
        "  0\nLAYER\n  2\nOFF\n  70\n0\n  62\n-3\n  6\nDASHED\n"
        "  0\nLAYER\n  2\nICE\n  70\n5\n  62\n5\n  6\nContinuous\n"
        "  0\nLAYER\n  2\nAGAIN\n  70\n2\n  62\n6\n  6\ndashed\n"
        "  0\nLAYER\n  2\nPLAIN\n  70\n0\n  62\n7\n  6\nCONTINUOUS\n"
        "  0\nENDTAB\n  0\nENDSEC\n";
    EXPECT_EQ(text, header + tables + toentities +
                        "  0\nPOINT\n  8\n0\n  10\n0.000000\n  20\n0.000000\n  30\n0.000000\n" + closing);

    // The reader takes back what the header and the entries say.
    testutil::memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    geometry g;
    ASSERT_TRUE(r.next(g));
    EXPECT_STREQ(r.header("$INSUNITS"), "4");
    EXPECT_STREQ(r.header("$EXTMIN", 20), "2");
    int aci = 0, flags = 0;
    const char* linetype = nullptr;
    ASSERT_TRUE(r.layerinfo("OFF", aci, flags, linetype));
    EXPECT_EQ(aci, -3);
    EXPECT_STREQ(linetype, "DASHED");
    ASSERT_TRUE(r.layerinfo("ICE", aci, flags, linetype));
    EXPECT_EQ(flags, 5);
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
    const std::string name255(255, 'n'), name256(256, 'n');
    const std::string text = written(
        [&](ostra::writer& w) {
            w.setextended(true);
            EXPECT_TRUE(w.setlayer("A"));
            for (const char* bad : {static_cast<const char*>(nullptr), "", "a\nb", "a\rb", " a", "a\t", name256.c_str()})
                EXPECT_FALSE(w.setlayer(bad));
            w.setcolor(7);
            w.setcolor(-1);
            w.setcolor(257);
            EXPECT_FALSE(w.addlayer(nullptr, 1));
            EXPECT_FALSE(w.addlayer("", 1));
            EXPECT_FALSE(w.addlayer(name256.c_str(), 1));
            EXPECT_FALSE(w.addlayer("x\n", 1));
            EXPECT_FALSE(w.addlayer("B", 0));  // an entry's colour is 1..255
            EXPECT_FALSE(w.addlayer("B", 256));
            EXPECT_TRUE(w.addlayer(name255.c_str(), 2));
            EXPECT_TRUE(w.addlayer("Cut", 3));
            EXPECT_FALSE(w.addlayer("CUT", 4));  // the same name in other case
        },
        {geometry(point(0, 0, 0))});
    EXPECT_NE(text.find("  70\n2\n"), std::string::npos);  // two entries
    EXPECT_NE(text.find("  2\n" + name255 + "\n"), std::string::npos);
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

TEST(ExtendedArguments, BadHeaderVariablesAndEntriesAreRefused) {
    const std::string name80 = "$" + std::string(79, 'N'), type256(256, 't');
    const std::string text = written(
        [&](ostra::writer& w) {
            w.setextended(true);
            for (const char* bad : {static_cast<const char*>(nullptr), "", "ACADVER", "$", "$A B", "$A\tB",
                                    "$A\x1b", name80.c_str()})
                EXPECT_FALSE(w.addheader(bad, 1, "x")) << (bad ? bad : "null");
            EXPECT_TRUE(w.addheader("$A", 1, ""));
            for (int code : {0, 9, 999, -1, 1072}) EXPECT_FALSE(w.addheader("$B", code, "1")) << code;
            EXPECT_FALSE(w.addheader("$B", 1, nullptr));
            EXPECT_FALSE(w.addheader("$B", 1, "a\nb"));
            EXPECT_FALSE(w.addheader("$B", 1, "a\rb"));
            EXPECT_FALSE(w.addheader("$a", 1, "again"));  // $A has code 1
            EXPECT_TRUE(w.addheader("$a", 2, "more"));    // the last variable, in other case
            EXPECT_TRUE(w.addheader("$B", 1, "b"));
            EXPECT_FALSE(w.addheader("$A", 3, "late"));   // not the last one any more
            EXPECT_FALSE(w.addlayer("L", 0, 0, nullptr));
            EXPECT_FALSE(w.addlayer("L", -256, 0, nullptr));
            EXPECT_FALSE(w.addlayer("L", 1, -1, nullptr));
            EXPECT_FALSE(w.addlayer("L", 1, 128, nullptr));
            for (const char* bad : {"ByLayer", "BYBLOCK", " DASHED", "DA\nSHED", type256.c_str()})
                EXPECT_FALSE(w.addlayer("L", 1, 0, bad)) << bad;
            EXPECT_FALSE(w.addlayer("M", -1));  // the short form takes 1..255 only
            EXPECT_TRUE(w.addlayer("L", -255, 127, nullptr));
            EXPECT_FALSE(w.addlayer("l", 1, 0, nullptr));
        },
        {geometry(point(0, 0, 0))});
    EXPECT_EQ(text.substr(0, text.find("  0\nENDSEC\n")),
              "  0\nSECTION\n  2\nHEADER\n  9\n$A\n  1\n\n  2\nmore\n  9\n$B\n  1\nb\n");
    EXPECT_NE(text.find("  0\nTABLE\n  2\nLTYPE\n  70\n1\n"), std::string::npos);
    EXPECT_NE(text.find("  0\nLAYER\n  2\nL\n  70\n127\n  62\n-255\n  6\nCONTINUOUS\n  0\nENDTAB\n"),
              std::string::npos);
    FILE* f = std::fopen("/dev/null", "w");
    ASSERT_NE(f, nullptr);
    {
        ostra::writer w(f);
        w.setextended(true);
        ASSERT_TRUE(w.save(geometry(point(0, 0, 0))));
        EXPECT_FALSE(w.addheader("$LATE", 1, "x"));
        EXPECT_FALSE(w.addlayer("LATE", 1, 0, nullptr));
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
        ASSERT_TRUE(a.addheader("$A", 1, "a"));
        b = a;
        EXPECT_TRUE(b.addheader("$B", 1, "b"));
        EXPECT_TRUE(a.addheader("$A", 2, "a"));  // $A is still a's last variable
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
                      EXPECT_TRUE(w.addlayer("OFF", -3, 1, "DASHED"));
                      EXPECT_TRUE(w.addheader("$INSUNITS", 70, "4"));
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
    // The exact reading keeps names whole, up to 255 chars.
    const std::string name255(255, 'L');
    std::vector<std::string> names = {"A", "dim lines", name255, "0", "A"};
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
