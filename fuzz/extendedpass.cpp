#include "extendedpass.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/reader.h>
#include <ostra/writer.h>

#include "fuzzsupport.h"

namespace fuzz {

namespace {

// What the third pass wrote: kinds and layers in order, and whether all of
// it reads back one to one (no ellipse, written as a chain, and no number
// that is not finite or so large that its square overflows, which the
// exact reading may turn into an ellipse).
struct extendedcopy {
    std::vector<brevo::geometry::geotype> kinds;
    std::vector<std::string> layers;
    bool onetoone = true;
};

bool ordinary(std::initializer_list<double> values) {
    for (double x : values)
        if (!(std::fabs(x) < 1e100)) return false;
    return true;
}

bool approximable(const brevo::ellipse& e) {
    const brevo::point c = e.center();
    const brevo::vector n = e.normal(), u = e.majoraxis(), v = e.minoraxis();
    for (double x : {c.x, c.y, c.z, n.x, n.y, n.z, u.x, u.y, u.z, v.x, v.y, v.z, e.ratio(), e.startparam(),
                     e.endparam()})
        if (!std::isfinite(x)) return false;
    return true;
}

bool ordinary(const brevo::geometry& g) {
    if (const brevo::point* p = g.pt()) return ordinary({p->x, p->y, p->z});
    if (const brevo::lineseg* l = g.lns()) {
        const brevo::point a = l->start(), b = l->end();
        return ordinary({a.x, a.y, a.z, b.x, b.y, b.z});
    }
    if (const brevo::arc* a = g.ar()) {
        const brevo::point c = a->center(), s = a->start();
        return ordinary({c.x, c.y, c.z, s.x, s.y, s.z, a->sweep(), a->normal().x, a->normal().y, a->normal().z});
    }
    if (const brevo::circle* c = g.cr()) {
        const brevo::point m = c->center();
        return ordinary({m.x, m.y, m.z, c->radius(), c->normal().x, c->normal().y, c->normal().z});
    }
    return false;
}

// The layer the writer puts a geometry on: its own when the writer takes
// the name (see writer.h), layer 0 otherwise.
std::string writtenlayer(const char* name) {
    const std::size_t n = std::strlen(name);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool taken = n > 0 && n <= 255 && !std::strpbrk(name, "\r\n") && !blank(name[0]) && !blank(name[n - 1]);
    return taken ? name : "0";
}

void readextended(const char* text, std::size_t size, const extendedcopy& saved) {
    input in(reinterpret_cast<const std::uint8_t*>(text), size);
    ostra::reader r(in.get());
    r.setexact(true);
    brevo::geometry g;
    std::size_t i = 0;
    while (r.next(g)) {
        if (saved.onetoone) {
            check(i < saved.kinds.size() && g.type() == saved.kinds[i], "an extended file keeps the kinds");
            check(saved.layers[i] == r.currentlayer(), "an extended file keeps the layers");
        }
        ++i;
    }
    check(saved.onetoone ? i == saved.kinds.size() : i >= saved.kinds.size(), "every saved geometry reads back");
    if (size > 0) check(r.status() == ostra::endofdrawing, "the extended file is read to its EOF record");
}

}  // namespace

// Bounded in geometries and in ellipses, each of which may take up to some
// ten thousand pieces.
void extendedpass(const std::uint8_t* data, std::size_t size) {
    char* text = nullptr;
    std::size_t textsize = 0;
    FILE* out = open_memstream(&text, &textsize);
    check(out != nullptr, "the output stream opens");
    extendedcopy saved;
    {
        input in(data, size);
        ostra::reader r(in.get());
        r.setexact(true);
        r.setlimit(2000000);  // what is made and not delivered is bounded too
        ostra::writer w(out);
        w.setextended(true);
        brevo::geometry g;
        int n = 0, ellipses = 0;
        while (n++ < 2000 && ellipses < 16 && r.next(g)) {
            const char* layer = r.currentlayer();
            w.setlayer("0");
            w.setlayer(layer);
            const bool ok = w.save(g);
            check(ok == (!g.el() || approximable(*g.el())), "the extended writer takes all but unusable ellipses");
            if (!ok) continue;
            ellipses += g.el() ? 1 : 0;
            saved.onetoone = saved.onetoone && ordinary(g);
            saved.kinds.push_back(g.type());
            saved.layers.push_back(writtenlayer(layer));
        }
        check(w.finish(), "the extended writer finishes");
    }
    std::fclose(out);
    readextended(text, textsize, saved);
    std::free(text);
}

}  // namespace fuzz
