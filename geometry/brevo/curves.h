// The curve kinds a geometry can hold: line segment, circle, circular arc and
// elliptic arc. Angles and ellipse parameters are in degrees.
#ifndef BREVO_CURVES_H
#define BREVO_CURVES_H

#include "types.h"

namespace brevo {

class lineseg {
public:
    lineseg();
    lineseg(const point& s, const point& e);
    point start() const;
    point end() const;

private:
    point s_, e_;
};

class circle {
public:
    circle();
    // Circle about m in the plane with normal n (made unit length) of radius r.
    circle(const point& m, const vector& n, const double& r);
    point center() const;
    vector normal() const;
    double radius() const;

private:
    point m_;
    vector n_;
    double r_;
};

// An arc about m in the plane with normal n, from s over a degrees,
// counterclockwise seen from the tip of n for a > 0.
class arc {
public:
    arc();
    arc(const point& m, const vector& n, const point& s, const double& a);
    point center() const;
    vector normal() const;
    point start() const;
    double sweep() const;  // degrees, exactly as given
    double radius() const;
    point end() const;
    // The point at angle a degrees from the start, along the sweep direction.
    point at(const double& a) const;

private:
    point m_;
    vector n_;
    point s_;
    double a_;
};

// An elliptic arc: the points m + u cos(p) + v sin(p) for the parameter p
// from startparam to endparam (degrees, counterclockwise about the normal),
// where u is the major semi-axis and v = ratio * |u| * (normal x u)/|u|.
// A full ellipse runs from 0 to 360. ratio lies in [0, 1]; ratio 0 is an
// ellipse flattened to a line.
class ellipse {
public:
    ellipse();
    ellipse(const point& m, const vector& n, const vector& major, const double& ratio,
            const double& startparam, const double& endparam);
    point center() const;
    vector normal() const;
    vector majoraxis() const;
    vector minoraxis() const;
    double ratio() const;
    double startparam() const;
    double endparam() const;
    point at(const double& param) const;
    point start() const;
    point end() const;

private:
    point m_;
    vector n_;
    vector u_;
    double ratio_;
    double p0_, p1_;
};

}  // namespace brevo

#endif
