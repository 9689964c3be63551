// The geometry stand-in: invalid marks, transformations of every kind.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>

#include <brevo/geometry.h>

#include "testutil.h"

using namespace brevo;
using testutil::describe;

namespace {

trafo rotationz(double a) { return trafo(a, line(point(0, 0, 0), vector(0, 0, 1))); }

TEST(GeometryPoint, InvalidMarkIsNotAnyNaN) {
    point p(1, 2, 3);
    EXPECT_TRUE(p.valid());
    p.setinvalid();
    EXPECT_TRUE(p.invalid());
    EXPECT_FALSE(p.valid());
    point q(std::nan(""), 0, 0);  // a coordinate read as "nan" is still a point
    EXPECT_TRUE(q.valid());
    point c = p;  // the mark survives a bytewise copy
    EXPECT_TRUE(c.invalid());
}

TEST(GeometryTrafo, RotationsByQuarterTurnsAreExact) {
    point p(1, 0, 0);
    p *= rotationz(90);
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 1.0);
    point q(2, 0, 5);
    q *= trafo(-270, line(point(1, 0, 0), vector(0, 0, 2)));  // about an axis through (1,0)
    EXPECT_EQ(q.x, 1.0);
    EXPECT_EQ(q.y, 1.0);
    EXPECT_EQ(q.z, 5.0);
    EXPECT_EQ(sindeg(180), 0.0);
    EXPECT_EQ(cosdeg(-720), 1.0);
    EXPECT_NEAR(sindeg(30), 0.5, 1e-15);
    for (double a : {NAN, INFINITY, -INFINITY}) {
        EXPECT_TRUE(std::isnan(sindeg(a)));
        EXPECT_TRUE(std::isnan(cosdeg(a)));
    }
}

// Angles so large that a + 90 rounds to a neighbour of a (from about 2.5e16
// on): 1e20 is 280 modulo 360 and -1e20 is 80; 180 (2^47 + 1) is 180 modulo
// 360 and 45 * 2^k a whole number of turns for k >= 3.
TEST(GeometryAngles, HugeAnglesKeepTheirValueModulo360) {
    EXPECT_EQ(sindeg(1e20), sindeg(280));
    EXPECT_EQ(cosdeg(1e20), cosdeg(280));
    EXPECT_EQ(sindeg(-1e20), sindeg(80));
    EXPECT_EQ(cosdeg(-1e20), cosdeg(80));
    const double halfturn = 180 * (std::ldexp(1, 47) + 1);
    EXPECT_EQ(sindeg(halfturn), 0.0);
    EXPECT_EQ(cosdeg(halfturn), -1.0);
    for (int k : {60, 1000}) {
        EXPECT_EQ(sindeg(std::ldexp(45, k)), 0.0) << k;
        EXPECT_EQ(cosdeg(std::ldexp(45, k)), 1.0) << k;
        EXPECT_EQ(cosdeg(-std::ldexp(45, k)), 1.0) << k;
    }
    for (double a : {DBL_MAX, -DBL_MAX, 3e16 + 8, 1e300}) {
        EXPECT_NEAR(std::hypot(sindeg(a), cosdeg(a)), 1, 1e-15) << a;
        EXPECT_EQ(sindeg(-a), -sindeg(a)) << a;
        EXPECT_EQ(cosdeg(-a), cosdeg(a)) << a;
    }
}

// Against sine and cosine taken in extended precision: off by at most one
// unit in the last place of 1, for ordinary, large and huge angles.
TEST(GeometryAngles, AccurateToTheLastBits) {
    const long double pi = 3.14159265358979323846264338327950288L;
    for (double a : {30.1, 123.456, -359.999, 359.7, 1e6 + 0.1, 8388600.3, -1e15 - 0.5, 3.3e17, 1e200, -DBL_MAX}) {
        long double r = std::fmod(static_cast<long double>(a), 360.0L) * pi / 180;
        EXPECT_NEAR(sindeg(a), static_cast<double>(std::sin(r)), 0x1p-52) << a;
        EXPECT_NEAR(cosdeg(a), static_cast<double>(std::cos(r)), 0x1p-52) << a;
    }
}

TEST(GeometryTrafo, IdThenOffsetIsATranslationAndCompositionOrder) {
    trafo t(false);
    t.rotatez(45);
    t.id();
    t.offset(10, 5, -1);
    point p(1, 2, 3);
    p *= t;
    EXPECT_EQ(describe(geometry(lineseg(p, p))), "line (11,7,2) (11,7,2)");
    trafo s;
    s.scale(2, 2, 2);
    point q = (t * s).apply(point(1, 0, 0));  // scale first, then translate
    EXPECT_EQ(q.x, 12.0);
}

TEST(GeometryTransform, SegmentsAndCirclesMoveAndTheOperandStays) {
    geometry g(circle(point(1, 1, 0), vector(0, 0, 1), 2));
    trafo t;
    t.scale(3, 3, 3);
    t.offset(1, 0, 0);
    geometry h = g * t;
    EXPECT_EQ(describe(h), "circle c(4,3,0) r6");
    EXPECT_EQ(describe(g), "circle c(1,1,0) r2");
    EXPECT_TRUE(h.isof(geometry::fullcircle));
}

TEST(GeometryTransform, MirrorReversesArcOrientationButKeepsItsPoints) {
    // Quarter arc from (1,0) to (0,1), counterclockwise about +z.
    arc a(point(0, 0, 0), vector(0, 0, 1), point(1, 0, 0), 90);
    trafo m;
    m.scale(-1, 1, 1);
    geometry h = geometry(a) * m;
    ASSERT_TRUE(h.isof(geometry::circulararc));
    point s = h.ar()->start(), e = h.ar()->end(), mid = h.ar()->at(45);
    EXPECT_NEAR(s.x, -1, 1e-12);
    EXPECT_NEAR(s.y, 0, 1e-12);
    EXPECT_NEAR(e.x, 0, 1e-12);
    EXPECT_NEAR(e.y, 1, 1e-12);
    EXPECT_NEAR(mid.x, -std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(mid.y, std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(h.ar()->normal().z, -1, 1e-12);
}

TEST(GeometryTransform, NonUniformScaleMakesAnEllipseThroughTheRightPoints) {
    arc a(point(0, 0, 0), vector(0, 0, 1), point(1, 0, 0), 180);
    trafo t;
    t.scale(1, 3, 1);
    geometry h = geometry(a) * t;
    ASSERT_TRUE(h.isof(geometry::ellipticarc));
    const ellipse* e = h.el();
    EXPECT_NEAR(e->majoraxis().length(), 3, 1e-12);
    EXPECT_NEAR(e->ratio(), 1.0 / 3.0, 1e-12);
    point s = e->start(), m = e->at((e->startparam() + e->endparam()) / 2), f = e->end();
    EXPECT_NEAR(s.x, 1, 1e-12);
    EXPECT_NEAR(s.y, 0, 1e-12);
    EXPECT_NEAR(m.x, 0, 1e-12);
    EXPECT_NEAR(m.y, 3, 1e-12);
    EXPECT_NEAR(f.x, -1, 1e-12);
    EXPECT_NEAR(f.y, 0, 1e-12);
}

TEST(GeometryTransform, ZeroScaleFlattensWithoutBreaking) {
    geometry c(circle(point(0, 0, 0), vector(0, 0, 1), 1));
    trafo flatz;
    flatz.scale(1, 1, 0);
    EXPECT_EQ(describe(c * flatz), "circle c(0,0,0) r1");  // the plane itself is kept
    trafo flatx;
    flatx.scale(0, 1, 1);
    geometry h = c * flatx;
    ASSERT_TRUE(h.isof(geometry::ellipticarc));
    EXPECT_EQ(h.el()->ratio(), 0.0);
    EXPECT_NEAR(h.el()->majoraxis().length(), 1, 1e-12);
    EXPECT_TRUE(std::isfinite(h.el()->normal().length()));
    trafo none;
    none.scale(0, 0, 0);
    geometry p = c * none;
    EXPECT_FALSE(p.invalid());
    EXPECT_TRUE(std::isfinite(p.el() ? p.el()->ratio() : p.cr()->radius()));
}

// The decision whether a placement keeps a circle, and the lengths of the
// axes, hold over the whole range of doubles, where squared lengths would
// overflow (radii or scales above 1.3e154) or underflow.
TEST(GeometryTransform, CircleDecisionOverTheWholeRange) {
    trafo id;
    for (double r : {1e200, DBL_MAX, 1e-200, DBL_TRUE_MIN}) {
        geometry h = geometry(circle(point(1, 2, 3), vector(0, 0, 1), r)) * id;
        ASSERT_TRUE(h.cr()) << r;
        EXPECT_DOUBLE_EQ(h.cr()->radius(), r);
        EXPECT_EQ(h.cr()->normal().z, 1.0);
    }
    // A mirrored arc of radius 1e300: still an arc, its end where it belongs.
    trafo mirror;
    mirror.scale(-1, 1, 1);
    geometry a = geometry(arc(point(0, 0, 0), vector(0, 0, 1), point(1e300, 0, 0), 90)) * mirror;
    ASSERT_TRUE(a.ar());
    EXPECT_EQ(a.ar()->start().x, -1e300);
    EXPECT_DOUBLE_EQ(a.ar()->end().y, 1e300);
    EXPECT_EQ(a.ar()->normal().z, -1.0);

    const geometry unit(circle(point(0, 0, 0), vector(0, 0, 1), 1));
    trafo uniform;
    uniform.scale(1e300, 1e300, 1e300);
    ASSERT_TRUE((unit * uniform).cr());
    EXPECT_DOUBLE_EQ((unit * uniform).cr()->radius(), 1e300);
    // Non-uniform: a huge major axis, or a tiny minor one.
    trafo longy, shortx;
    longy.scale(1, 1e200, 1);
    shortx.scale(1e-200, 1, 1);
    for (const trafo& t : {longy, shortx}) {
        geometry e = unit * t;
        ASSERT_TRUE(e.el());
        EXPECT_DOUBLE_EQ(e.el()->ratio(), 1e-200);
    }
    EXPECT_DOUBLE_EQ((unit * longy).el()->majoraxis().length(), 1e200);
}

TEST(GeometryTransform, PointGeometryMovesLikeItsPoint) {
    geometry g{point(1, 2, 3)};
    ASSERT_TRUE(g.isof(geometry::singlepoint));
    EXPECT_EQ(g.type(), geometry::singlepoint);
    EXPECT_FALSE(g.invalid());
    EXPECT_EQ(g.lns(), nullptr);
    EXPECT_EQ(g.el(), nullptr);
    geometry none;
    EXPECT_EQ(none.pt(), nullptr);
    // Rotated a quarter about z, mirrored in x, then moved: exact numbers.
    trafo t = rotationz(90);
    t.scale(-1, 1, 2);
    t.offset(10, 0, 0);
    geometry h = g * t;
    EXPECT_EQ(describe(h), "point (12,1,6)");
    EXPECT_EQ(describe(g), "point (1,2,3)");
    // A collapsing transformation keeps it a point; nan coordinates stay a
    // valid point geometry.
    trafo flat;
    flat.scale(0, 0, 0);
    EXPECT_EQ(describe(g * flat), "point (0,0,0)");
    geometry n{point(std::nan(""), 0, 0)};
    EXPECT_TRUE((n * t).pt() && std::isnan((n * t).pt()->y));
}

TEST(GeometryValue, CopiesBytewiseAndKnowsItsKind) {
    geometry g(lineseg(point(1, 2, 3), point(4, 5, 6)));
    unsigned char raw[sizeof(geometry)];
    std::memcpy(raw, &g, sizeof g);
    geometry h;
    EXPECT_TRUE(h.invalid());
    std::memcpy(&h, raw, sizeof h);
    EXPECT_EQ(describe(h), "line (1,2,3) (4,5,6)");
    EXPECT_TRUE(h.isof(geometry::linesegment));
    EXPECT_EQ(h.cr(), nullptr);
    EXPECT_EQ(h.ar(), nullptr);
    h.setinvalid();
    EXPECT_TRUE(h.invalid());
    EXPECT_EQ(h.lns(), nullptr);
}

}  // namespace
