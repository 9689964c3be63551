#include "tables.h"

#include <cmath>

#include "support/vectors.h"

namespace ostrapy {

namespace {

constexpr double degperrad = 57.29577951308232;

// The columns every kind has, after its geometry columns, filled in
// putcommon(): the layer, the colour, and the drawn entity (item) the
// geometry is a piece of, its place in it and whether it is closed.
const columnspec commoncolumns[] = {
    {"layer", element::int32, 1}, {"color", element::uint32, 1}, {"aci", element::int16, 1},
    {"item", element::int64, 1},  {"piece", element::int32, 1},  {"closed", element::boolean, 1},
};

void put3(table& t, int c, const brevo::point& p) {
    double* v = t.at<double>(c);
    v[0] = p.x;
    v[1] = p.y;
    v[2] = p.z;
}

void put3(table& t, int c, const brevo::vector& p) { put3(t, c, brevo::point(p.x, p.y, p.z)); }

void put1(table& t, int c, double v) { *t.at<double>(c) = v; }

}  // namespace

const char* kindname(int k) {
    static const char* const names[kindcount] = {"segments", "arcs", "circles", "ellipses", "points"};
    return k >= 0 && k < kindcount ? names[k] : "";
}

std::vector<columnspec> kindcolumns(int k) {
    const element f = element::float64;
    std::vector<columnspec> c;
    switch (k) {
    case segments: c = {{"start", f, 3}, {"end", f, 3}}; break;
    case arcs: c = {{"center", f, 3}, {"normal", f, 3}, {"radius", f, 1}, {"start_angle", f, 1}, {"sweep", f, 1}}; break;
    case circles: c = {{"center", f, 3}, {"normal", f, 3}, {"radius", f, 1}}; break;
    case ellipses:
        c = {{"center", f, 3}, {"normal", f, 3}, {"major", f, 3}, {"ratio", f, 1}, {"start_param", f, 1},
             {"end_param", f, 1}};
        break;
    case points: c = {{"location", f, 3}}; break;
    default: break;
    }
    c.insert(c.end(), std::begin(commoncolumns), std::end(commoncolumns));
    return c;
}

double startangle(const brevo::arc& a) {
    brevo::vector ax, ay;
    ostra::arbitraryaxes(a.normal(), ax, ay);
    const brevo::vector d = a.start() - a.center();
    const double t = std::atan2(d.dot(ay), d.dot(ax)) * degperrad;
    // A tiny negative angle would round to 360 itself.
    return t >= 0 ? t : (t + 360 < 360 ? t + 360 : 0);
}

brevo::point startpoint(const brevo::point& center, const brevo::vector& normal, double radius, double angle) {
    brevo::vector ax, ay;
    ostra::arbitraryaxes(normal.unit(), ax, ay);
    return center + (ax * brevo::cosdeg(angle) + ay * brevo::sindeg(angle)) * radius;
}

drawingtables::drawingtables() {
    for (int k = 0; k < kindcount; ++k) tables_.emplace_back(kindcolumns(k));
}

std::size_t drawingtables::total() const {
    std::size_t n = 0;
    for (const table& t : tables_) n += t.rows();
    return n;
}

bool drawingtables::add(const brevo::geometry& g, ostra::reader& r) {
    if (const brevo::lineseg* s = g.lns()) {
        table& t = tables_[segments];
        if (!t.addrow()) return false;
        put3(t, 0, s->start());
        put3(t, 1, s->end());
        putcommon(t, 2, r);
    } else if (const brevo::arc* a = g.ar()) {
        table& t = tables_[arcs];
        if (!t.addrow()) return false;
        put3(t, 0, a->center());
        put3(t, 1, a->normal());
        put1(t, 2, a->radius());
        put1(t, 3, startangle(*a));
        put1(t, 4, a->sweep());
        putcommon(t, 5, r);
    } else if (const brevo::circle* c = g.cr()) {
        table& t = tables_[circles];
        if (!t.addrow()) return false;
        put3(t, 0, c->center());
        put3(t, 1, c->normal());
        put1(t, 2, c->radius());
        putcommon(t, 3, r);
    } else if (const brevo::ellipse* e = g.el()) {
        table& t = tables_[ellipses];
        if (!t.addrow()) return false;
        put3(t, 0, e->center());
        put3(t, 1, e->normal());
        put3(t, 2, e->majoraxis());
        put1(t, 3, e->ratio());
        put1(t, 4, e->startparam());
        put1(t, 5, e->endparam());
        putcommon(t, 6, r);
    } else if (const brevo::point* p = g.pt()) {
        table& t = tables_[points];
        if (!t.addrow()) return false;
        put3(t, 0, *p);
        putcommon(t, 1, r);
    } else {
        return true;
    }
    return true;
}

// The shared columns of the row being added to t, from column first on,
// in the order of commoncolumns; the row is complete after.
void drawingtables::putcommon(table& t, int first, ostra::reader& r) {
    if (!samerecord(r)) {
        last_.layer = layerindex(r);
        last_.color = static_cast<std::uint32_t>(r.currentcolor(last_.aci));
    }
    *t.at<std::int32_t>(first) = last_.layer;
    *t.at<std::uint32_t>(first + 1) = last_.color;
    *t.at<std::int16_t>(first + 2) = static_cast<std::int16_t>(last_.aci);
    *t.at<std::int64_t>(first + 3) = r.currentitem();
    *t.at<std::int32_t>(first + 4) = r.currentpiece();
    *t.at<std::uint8_t>(first + 5) = r.currentclosed() ? 1 : 0;
    t.commit();
}

// The pieces of one record (a polyline's, a spline's chain, a face's
// edges) come one after another with nothing read between them: the same
// line, the same record name, and not from a block, whose entities differ
// in layer and colour. Any other geometry is asked about.
bool drawingtables::samerecord(ostra::reader& r) {
    const long line = r.line();
    if (!last_.valid || line != last_.line) {
        last_.valid = true;
        last_.line = line;
        last_.record = r.currentrecord();
        return false;
    }
    const char* record = r.currentrecord();
    const bool same = record == last_.record && !r.currentblock();
    last_.record = record;
    return same;
}

std::int32_t drawingtables::layerindex(ostra::reader& r) {
    const char* name = r.currentlayer();
    if (name && name == lastlayer_) return lastindex_;
    auto it = byname_.find(name);
    if (it == byname_.end()) {
        names_.emplace_back(name ? name : "");
        it = byname_.emplace(name, static_cast<std::int32_t>(names_.size() - 1)).first;
    }
    lastlayer_ = name;
    lastindex_ = it->second;
    return lastindex_;
}

void drawingtables::renumber(const std::vector<std::int32_t>& order) {
    for (int k = 0; k < kindcount; ++k) {
        table& t = tables_[k];
        int c = 0;
        while (std::string(t.specs()[c].name) != "layer") ++c;
        std::int32_t* v = reinterpret_cast<std::int32_t*>(t.buffer(c).data());
        for (std::size_t i = 0; i < t.rows(); ++i) v[i] = order[static_cast<std::size_t>(v[i])];
    }
}

}  // namespace ostrapy
