// The curved geometry kinds in one form, and the bounding box of geometry.
//
// Arcs, circles and elliptic arcs are all the points
//     p(t) = c + a cos t + b sin t,  t from t0 to t1 (degrees),
// with t1 < t0 for an arc that runs clockwise about its normal. The SVG
// output and the extents both work on this form.
#ifndef OSTRA_TOOL_CURVE_H
#define OSTRA_TOOL_CURVE_H

#include <brevo/geometry.h>

namespace tool {

struct trigcurve {
    brevo::point c;
    brevo::vector a, b;
    double t0 = 0, t1 = 0;

    brevo::point at(double t) const;
};

// The arc, circle or ellipse in g as a trigcurve; false for other kinds.
// A sweep beyond a full turn is cut to one.
bool totrigcurve(const brevo::geometry& g, trigcurve& out);

// The kind of g as the reports name it: "point", "line", "arc", "circle" or
// "ellipse" ("other" for a geometry of none of them).
const char* kindname(const brevo::geometry& g);

// True when every number that places g is finite.
bool finite(const brevo::geometry& g);

class box {
public:
    bool empty() const { return empty_; }
    const brevo::point& min() const { return min_; }
    const brevo::point& max() const { return max_; }

    void add(const brevo::point& p);
    // Adds the curve's true extent: its end points and every point where a
    // coordinate is extreme.
    void add(const trigcurve& k);
    // Adds a geometry of any kind; geometry that is not finite is left out
    // and false returned.
    bool add(const brevo::geometry& g);

private:
    bool empty_ = true;
    brevo::point min_, max_;
};

}  // namespace tool

#endif
