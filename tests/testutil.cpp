#include "testutil.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace testutil {

namespace {
std::string num(double v) {
    if (v == 0) v = 0;  // no "-0"
    // Locale-independent, like %.6g in the C locale.
    char b[64];
    auto r = std::to_chars(b, b + sizeof b, std::fabs(v) < 5e-10 ? 0.0 : v, std::chars_format::general, 6);
    return std::string(b, r.ptr);
}
std::string pt(const brevo::point& p) { return "(" + num(p.x) + "," + num(p.y) + "," + num(p.z) + ")"; }
std::string vec(const brevo::vector& p) {
    return "(" + num(p.x) + "," + num(p.y) + "," + num(p.z) + ")";
}
}  // namespace

std::string describe(const brevo::geometry& g) {
    if (const auto* p = g.pt()) return "point " + pt(*p);
    if (const auto* s = g.lns()) return "line " + pt(s->start()) + " " + pt(s->end());
    if (const auto* a = g.ar())
        return "arc c" + pt(a->center()) + " n" + vec(a->normal()) + " s" + pt(a->start()) + " a" +
               num(a->sweep());
    if (const auto* c = g.cr()) return "circle c" + pt(c->center()) + " r" + num(c->radius());
    if (const auto* e = g.el())
        return "ellipse c" + pt(e->center()) + " u" + vec(e->majoraxis()) + " k" + num(e->ratio()) +
               " p" + num(e->startparam()) + ".." + num(e->endparam());
    return "invalid";
}

std::vector<std::string> readall(ostra::reader& r) {
    std::vector<std::string> out;
    brevo::geometry g;
    while (r.next(g)) out.push_back(describe(g));
    return out;
}

std::vector<std::string> readall(const std::string& text) {
    memstream m(text);
    ostra::reader r(m.get());
    return readall(r);
}

std::vector<std::string> readexact(const std::string& text) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    return readall(r);
}

}  // namespace testutil
