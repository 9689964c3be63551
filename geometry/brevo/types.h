// Basic value types of the geometry library: vector, point, line and the
// affine transformation trafo. All are plain values of fixed size that own no
// memory and hold no pointer into themselves, so they may be copied bytewise.
#ifndef BREVO_TYPES_H
#define BREVO_TYPES_H

namespace brevo {

class trafo;

struct vector {
    double x, y, z;

    vector();
    vector(const double& x, const double& y, const double& z);

    // Without overflow or underflow over the whole range of doubles.
    double length() const;
    double dot(const vector& o) const;
    vector cross(const vector& o) const;
    vector operator+(const vector& o) const;
    vector operator-(const vector& o) const;
    vector operator*(const double& f) const;
    // The vector scaled to length 1; the zero vector stays zero.
    vector unit() const;
};

// A point holds exactly three doubles. The invalid mark is a NaN with a
// payload of its own in x, so a coordinate read as "nan" stays a valid point.
struct point {
    double x, y, z;

    point();  // the origin
    point(const double& x, const double& y, const double& z);

    void setinvalid();
    bool invalid() const;
    bool valid() const;

    // Transforms the point in place and returns the transformed point.
    point operator*=(const trafo& t);

    vector operator-(const point& o) const;
    point operator+(const vector& v) const;
};

class line {
public:
    line();
    line(const point& p, const vector& d);
    point origin() const;
    vector direction() const;

private:
    point p_;
    vector d_;
};

// An affine transformation: a 3x3 linear part m and an offset t, mapping a
// point p to m p + t. Angles are in degrees; a rotation is counterclockwise
// seen from the tip of its axis direction.
class trafo {
public:
    // The identity. The flag is accepted for interface compatibility and has
    // no further meaning.
    explicit trafo(bool init = false);
    // Rotation by a degrees about the axis.
    trafo(const double& a, const line& axis);

    void id();
    // Follows the current transformation by the translation (x, y, z).
    void offset(const double& x, const double& y, const double& z);
    // Follows the current transformation by a scaling about the origin.
    void scale(const double& sx, const double& sy, const double& sz);
    // Follows the current transformation by a rotation by a degrees about the
    // z axis through the origin.
    void rotatez(const double& a);

    // Composition: (a * b) applies b first, then a.
    trafo operator*(const trafo& b) const;

    point apply(const point& p) const;
    vector apply(const vector& v) const;  // linear part only

    // Determinant of the linear part, and of its upper left 2x2 (xy) block.
    double det() const;
    double detxy() const;

    double m[3][3];
    double t[3];
};

// Sine and cosine of an angle in degrees: exact at every multiple of 90 and
// accurate to the last bits for every finite angle, however large; nan for
// an angle that is not finite.
double sindeg(double a);
double cosdeg(double a);

}  // namespace brevo

#endif
