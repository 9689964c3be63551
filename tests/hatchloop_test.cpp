// Hatch boundary loops: a polyline path with bulges and an edge path of
// every edge type flattened (point counts from the angle steps and the
// spline halvings, every point on its curve, every chord within the
// tolerance), clockwise arcs and ellipses by their mirrored angles, the
// pieces a host gets, and the point cap.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "support/loopflatten.h"

using ostra::hatchedge;
using ostra::hatchloop;
using ostra::hatchpiece;
using ostra::point2;

namespace {

const double tol = 0.01;

double dist(point2 a, point2 b) { return ostra::length(a - b); }

hatchedge line(point2 a, point2 b) {
    hatchedge e;
    e.kind = ostra::edgeline;
    e.start = a;
    e.end = b;
    return e;
}

hatchedge arc(point2 c, double r, double s, double e, bool ccw) {
    hatchedge h;
    h.kind = ostra::edgearc;
    h.centre = c;
    h.radius = r;
    h.startangle = s;
    h.endangle = e;
    h.ccw = ccw;
    return h;
}

hatchedge ellipse(point2 c, point2 major, double ratio, double s, double e, bool ccw) {
    hatchedge h = arc(c, 0, s, e, ccw);
    h.kind = ostra::edgeellipse;
    h.majoraxis = major;
    h.ratio = ratio;
    return h;
}

// The rectangle [0, 10]^2 with its right side bulging out by a half circle
// (bulge 1) and its left side bulging in by a clockwise half circle (-1).
hatchloop bulgeloop() {
    hatchloop l;
    l.polyline = true;
    l.vertices = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    l.bulges = {0, 1, 0, -1};
    return l;
}

// A line, a quadratic spline dipping to y = -2.5, a counterclockwise half
// circle on the right, a half ellipse over the top and a clockwise half
// circle on the left (stored 270 to 90 with 73 = 0: from 90 degrees
// clockwise to -90, through (5, 5)).
hatchloop edgeloop() {
    hatchloop l;
    l.edges.push_back(line({0, 0}, {10, 0}));
    ostra::splinedata d;
    d.degree = 2;
    d.control = {{10, 0, 0}, {15, -5, 0}, {20, 0, 0}};
    d.knots = {0, 0, 0, 1, 1, 1};
    l.splines.push_back(d);
    hatchedge s;
    s.kind = ostra::edgespline;
    s.spline = 0;
    l.edges.push_back(s);
    l.edges.push_back(arc({20, 5}, 5, 270, 90, true));
    l.edges.push_back(ellipse({10, 10}, {10, 0}, 0.5, 0, 180, true));
    l.edges.push_back(arc({0, 5}, 5, 270, 90, false));
    return l;
}

// Every chord of the polygon runs within the tolerance of the curve that
// distance() measures (the distance of a point to the curve), and every
// vertex lies on it.
void expectclose(const std::vector<point2>& p, const std::function<double(point2)>& distance) {
    for (std::size_t i = 0; i < p.size(); ++i) {
        point2 a = p[i], b = p[(i + 1) % p.size()];
        EXPECT_LT(distance(a), 1e-9) << i;
        for (double t : {0.25, 0.5, 0.75}) EXPECT_LE(distance(a + (b - a) * t), tol * 1.0001) << i;
    }
}

double todisc(point2 p, point2 c, double r) { return std::fabs(dist(p, c) - r); }

}  // namespace

TEST(HatchLoop, PolylineWithBulges) {
    std::vector<point2> p;
    ostra::flattenresult r = ostra::flattenloop(bulgeloop(), tol, p);
    // A half circle of radius 5 at 0.01 takes 25 steps (4 asin(sqrt(0.001))
    // = 7.249 degrees): 24 inner points on each bulge.
    ASSERT_EQ(p.size(), 4u + 24 + 24);
    EXPECT_FALSE(r.coarsened);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[1].x, 10);
    EXPECT_EQ(p[26].x, 10);
    EXPECT_EQ(p[26].y, 10);
    expectclose(p, [](point2 q) {
        if (q.x > 10 - 1e-12) return todisc(q, {10, 5}, 5);  // the outward bulge
        if (q.y < 1e-12 || q.y > 10 - 1e-12) return 0.0;     // bottom and top
        return todisc(q, {0, 5}, 5);                          // the inward one
    });
    // The right bulge reaches out to x = 15, the left one in to x = 5.
    double most = 0, inner = 0;
    for (const point2& q : p) {
        most = std::max(most, q.x);
        if (q.x < 10) inner = std::max(inner, q.x);
    }
    EXPECT_NEAR(most, 15, tol);
    EXPECT_NEAR(inner, 5, tol);
    EXPECT_NEAR(ostra::defaultlooptolerance(bulgeloop()), 0.01, 1e-15);
}

TEST(HatchLoop, EdgePathOfEveryKind) {
    std::vector<point2> p;
    ostra::flattenresult r = ostra::flattenloop(edgeloop(), tol, p);
    // Line: 2 points. Spline: its middle control point lies 5 h^2 off the
    // chord of a piece of parameter length h, so 32 pieces (5 / 1024 <=
    // 0.01 < 5 / 256 times the slope's cosine): 32 more points. Right half
    // circle: 25 steps; half ellipse of major radius 10: 36 steps (5.125
    // degrees); left half circle: 25 steps, its last point the first one.
    EXPECT_EQ(p.size(), 2u + 32 + 25 + 36 + 24);
    EXPECT_EQ(r.badedges, 0);
    // The spline's middle is a vertex: the de Casteljau point at 1/2.
    bool middle = false;
    for (const point2& q : p) middle = middle || dist(q, {15, -2.5}) < 1e-12;
    EXPECT_TRUE(middle);
    expectclose(p, [](point2 q) {
        if (q.y <= 0 && q.x >= 10) {  // the parabola y = (x - 10)(x - 20) / 10: its height over the slope
            double slope = (2 * q.x - 30) / 10;
            return std::fabs(q.y - (q.x - 10) * (q.x - 20) / 10) / std::sqrt(1 + slope * slope);
        }
        if (q.y <= 0) return std::fabs(q.y);
        if (q.x >= 20) return todisc(q, {20, 5}, 5);
        if (q.y >= 10) {
            // Seen as the unit circle, the ellipse's distances shrink by 1/5
            // to 1/10: ten times the circle's distance bounds the true one.
            double e = std::sqrt((q.x - 10) * (q.x - 10) / 100 + (q.y - 10) * (q.y - 10) / 25);
            return std::fabs(e - 1) * 10;
        }
        return todisc(q, {0, 5}, 5);
    });
    // The clockwise arc runs inwards, through (5, 5).
    double inner = 0;
    for (const point2& q : p) {
        if (q.x < 10 && q.y > 0 && q.y < 10) inner = std::max(inner, q.x);
    }
    EXPECT_NEAR(inner, 5, tol);
    EXPECT_TRUE(p.back() != p.front());  // (0, 0) is not repeated at the end
    EXPECT_NEAR(dist(p.back(), {0, 5}), 5, 1e-12);
}

TEST(HatchLoop, PiecesKeepArcsAndEllipses) {
    std::vector<hatchpiece> pieces;
    ostra::looppieces(edgeloop(), tol, pieces);
    ASSERT_EQ(pieces.size(), 1u + 32 + 3);
    EXPECT_EQ(pieces[0].kind, ostra::pieceline);
    for (int i = 1; i <= 32; ++i) EXPECT_EQ(pieces[static_cast<std::size_t>(i)].kind, ostra::pieceline);
    EXPECT_EQ(dist(pieces[32].end, {20, 0}), 0);
    const hatchpiece& right = pieces[33];
    EXPECT_EQ(right.kind, ostra::piecearc);
    EXPECT_EQ(right.radius, 5);
    EXPECT_EQ(right.startangle, 270);
    EXPECT_EQ(right.sweep, 180);
    EXPECT_FALSE(right.reversed);
    EXPECT_EQ(dist(right.start, {20, 0}), 0);
    EXPECT_EQ(dist(right.end, {20, 10}), 0);
    const hatchpiece& top = pieces[34];
    EXPECT_EQ(top.kind, ostra::pieceellipse);
    EXPECT_EQ(top.majoraxis.x, 10);
    EXPECT_EQ(top.ratio, 0.5);
    EXPECT_EQ(top.startangle, 0);
    EXPECT_EQ(top.sweep, 180);
    EXPECT_EQ(dist(top.end, {0, 10}), 0);
    // The clockwise arc: as an ARC it runs counterclockwise from 270 over
    // 0 to 90, and the loop runs through it the other way.
    const hatchpiece& left = pieces[35];
    EXPECT_EQ(left.kind, ostra::piecearc);
    EXPECT_EQ(left.startangle, 270);
    EXPECT_EQ(left.sweep, 180);
    EXPECT_TRUE(left.reversed);
    EXPECT_EQ(dist(left.start, {0, 10}), 0);
    EXPECT_EQ(dist(left.end, {0, 0}), 0);

    ostra::looppieces(bulgeloop(), tol, pieces);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[1].kind, ostra::piecearc);
    EXPECT_NEAR(pieces[1].centre.x, 10, 1e-12);
    EXPECT_NEAR(pieces[1].centre.y, 5, 1e-12);
    EXPECT_NEAR(pieces[1].radius, 5, 1e-12);
    EXPECT_NEAR(pieces[1].startangle, 270, 1e-12);
    EXPECT_NEAR(pieces[1].sweep, 180, 1e-12);
    EXPECT_NEAR(pieces[3].centre.x, 0, 1e-12);
    EXPECT_NEAR(pieces[3].startangle, 270, 1e-12);
    EXPECT_TRUE(pieces[3].reversed);
    EXPECT_EQ(dist(pieces[3].end, {0, 0}), 0);  // bulge pieces end on the vertices exactly
}

TEST(HatchLoop, ArcAngles) {
    ostra::arcform f;
    // 50 = 270, 51 = 360 clockwise: from 90 degrees clockwise to 0.
    ASSERT_TRUE(ostra::edgearcform(arc({0, 0}, 1, 270, 360, false), f));
    EXPECT_EQ(f.t0, -270);
    EXPECT_EQ(f.sweep, -90);
    point2 mid = ostra::arcpoint(f, f.t0 + f.sweep / 2);
    EXPECT_NEAR(mid.x, std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(mid.y, std::sqrt(0.5), 1e-15);
    // Equal angles and a difference of a full turn or more: a circle.
    ASSERT_TRUE(ostra::edgearcform(arc({0, 0}, 1, 30, 30, true), f));
    EXPECT_EQ(f.sweep, 360);
    ASSERT_TRUE(ostra::edgearcform(arc({0, 0}, 1, 0, 720, true), f));
    EXPECT_EQ(f.sweep, 360);
    ASSERT_TRUE(ostra::edgearcform(arc({0, 0}, 1, 350, 10, true), f));
    EXPECT_EQ(f.sweep, 20);
    EXPECT_FALSE(ostra::edgearcform(arc({0, 0}, NAN, 0, 90, true), f));
    EXPECT_FALSE(ostra::edgearcform(arc({0, 0}, 1, 0, INFINITY, true), f));

    // A clockwise ellipse runs its parameters the mirrored way too; a ratio
    // above 1 swaps the axes and one below 0 turns the parameters round,
    // without moving a point.
    for (double ratio : {0.5, 2.0, -0.5}) {
        ASSERT_TRUE(ostra::edgearcform(ellipse({1, 1}, {2, 0}, ratio, 270, 360, false), f));
        point2 b = point2{0, 2} * ratio;
        for (double t : {0.0, 0.3, 1.0}) {
            double a = (90 - 90 * t) * 3.14159265358979323846 / 180;  // 90 degrees down to 0
            point2 want = point2{1, 1} + point2{2, 0} * std::cos(a) + b * std::sin(a);
            EXPECT_LT(dist(ostra::arcpoint(f, f.t0 + f.sweep * t), want), 1e-14) << ratio << " " << t;
        }
        hatchpiece piece = ostra::arcpiece(f);
        EXPECT_LE(piece.ratio, 1);
        EXPECT_GT(piece.ratio, 0);
    }
}

TEST(HatchLoop, BadValuesAndDegenerateLoops) {
    hatchloop l = bulgeloop();
    l.vertices[2].x = NAN;
    l.bulges[0] = INFINITY;
    std::vector<point2> p;
    ostra::flattenresult r = ostra::flattenloop(l, tol, p);
    EXPECT_EQ(r.badedges, 2);
    for (const point2& q : p) EXPECT_TRUE(ostra::finite(q));
    l = edgeloop();
    l.edges[1].spline = 7;           // no such spline
    l.edges[2].kind = 9;             // no such edge type
    l.edges[3].majoraxis.y = NAN;
    r = ostra::flattenloop(l, tol, p);
    EXPECT_EQ(r.badedges, 3);
    EXPECT_EQ(p.size(), 2u + 25);  // the line and the left arc, whose end is the first point
    std::vector<hatchpiece> pieces;
    r = ostra::looppieces(l, tol, pieces);
    EXPECT_EQ(r.badedges, 3);
    EXPECT_EQ(pieces.size(), 2u);
    // An empty loop and a one-point loop flatten to what they are; a
    // tolerance that is not usable becomes the default.
    r = ostra::flattenloop(hatchloop(), -1, p);
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(r.tolerance, 0.01);
    l = hatchloop();
    l.polyline = true;
    l.vertices = {{3, 4}};
    ostra::flattenloop(l, NAN, p);
    EXPECT_EQ(p.size(), 1u);
}

TEST(HatchLoop, PointCap) {
    // A circle of radius 1000 at 1e-9 needs 2.2 million steps: flattened
    // again at 1.6e-8, a quarter as many.
    hatchloop l;
    l.edges.push_back(arc({0, 0}, 1000, 0, 360, true));
    std::vector<point2> p;
    ostra::flattenresult r = ostra::flattenloop(l, 1e-9, p);
    EXPECT_TRUE(r.coarsened);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(r.tolerance, 16e-9);
    EXPECT_LE(p.size(), ostra::maxlooppoints);
    EXPECT_GT(p.size(), ostra::maxlooppoints / 2);
    // Straight sides cannot be coarsened: a polyline of more vertices than
    // the cap is cut there.
    l = hatchloop();
    l.polyline = true;
    for (std::size_t i = 0; i < ostra::maxlooppoints + 10; ++i) l.vertices.push_back({static_cast<double>(i), i % 2 ? 1.0 : 0.0});
    r = ostra::flattenloop(l, tol, p);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(p.size(), ostra::maxlooppoints);
    // A tolerance far below rounding is raised to 2^-44 of the largest
    // coordinate.
    l = hatchloop();
    l.polyline = true;
    l.vertices = {{0, 0}, {-1048576, 0}, {0, 1}};
    r = ostra::flattenloop(l, 1e-300, p);
    EXPECT_EQ(r.tolerance, std::ldexp(1.0, -24));
    EXPECT_FALSE(r.coarsened);
}
