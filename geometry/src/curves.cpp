// Line segment, circle, arc and ellipse of the geometry library.
#include <brevo/curves.h>

#include <cmath>

namespace brevo {

lineseg::lineseg() = default;
lineseg::lineseg(const point& s, const point& e) : s_(s), e_(e) {}
point lineseg::start() const { return s_; }
point lineseg::end() const { return e_; }

circle::circle() : r_(0) {}
circle::circle(const point& m, const vector& n, const double& r) : m_(m), n_(n.unit()), r_(r) {}
point circle::center() const { return m_; }
vector circle::normal() const { return n_; }
double circle::radius() const { return r_; }

arc::arc() : a_(0) {}
arc::arc(const point& m, const vector& n, const point& s, const double& a)
    : m_(m), n_(n.unit()), s_(s), a_(a) {}
point arc::center() const { return m_; }
vector arc::normal() const { return n_; }
point arc::start() const { return s_; }
double arc::sweep() const { return a_; }
double arc::radius() const { return (s_ - m_).length(); }
point arc::end() const { return at(a_); }
point arc::at(const double& a) const {
    vector u = s_ - m_;
    vector v = n_.cross(u);
    return m_ + u * cosdeg(a) + v * sindeg(a);
}

ellipse::ellipse() : ratio_(0), p0_(0), p1_(360) {}
ellipse::ellipse(const point& m, const vector& n, const vector& major, const double& ratio,
                 const double& startparam, const double& endparam)
    : m_(m), n_(n.unit()), u_(major), ratio_(ratio), p0_(startparam), p1_(endparam) {}
point ellipse::center() const { return m_; }
vector ellipse::normal() const { return n_; }
vector ellipse::majoraxis() const { return u_; }
vector ellipse::minoraxis() const { return n_.cross(u_) * ratio_; }
double ellipse::ratio() const { return ratio_; }
double ellipse::startparam() const { return p0_; }
double ellipse::endparam() const { return p1_; }
point ellipse::at(const double& p) const {
    return m_ + u_ * cosdeg(p) + minoraxis() * sindeg(p);
}
point ellipse::start() const { return at(p0_); }
point ellipse::end() const { return at(p1_); }

}  // namespace brevo
