// Reads a whole drawing with ostra::reader and builds every geometry.
// usage: readdxf [--exact] [--dump] FILE; prints the counts, a checksum of
// the coordinates and the wall-clock and CPU seconds of the loop. --exact
// reads with the exact reading. With --dump it prints every geometry with
// its layer and block too, numbers exact (%a), for comparing two builds of
// the library on the same drawing.
#include <chrono>
#include <cstdio>
#include <cstring>

#include <ostra/reader.h>

#include "cputime.h"

namespace {

void dump(const brevo::geometry& g, ostra::reader& r) {
    const char* layer = r.currentlayer();
    const char* block = r.currentblock();
    std::printf("[%s|%s] ", layer ? layer : "", block ? block : "");
    if (const brevo::point* p = g.pt()) {
        std::printf("point %a %a %a\n", p->x, p->y, p->z);
    } else if (const brevo::lineseg* s = g.lns()) {
        brevo::point a = s->start(), b = s->end();
        std::printf("line %a %a %a %a %a %a\n", a.x, a.y, a.z, b.x, b.y, b.z);
    } else if (const brevo::arc* a = g.ar()) {
        brevo::point c = a->center(), s = a->start();
        brevo::vector n = a->normal();
        std::printf("arc %a %a %a %a %a %a %a %a %a %a\n", c.x, c.y, c.z, n.x, n.y, n.z, s.x, s.y, s.z, a->sweep());
    } else if (const brevo::circle* c = g.cr()) {
        brevo::point m = c->center();
        std::printf("circle %a %a %a %a\n", m.x, m.y, m.z, c->radius());
    } else if (const brevo::ellipse* e = g.el()) {
        brevo::point m = e->center();
        brevo::vector u = e->majoraxis();
        std::printf("ellipse %a %a %a %a %a %a %a %a %a\n", m.x, m.y, m.z, u.x, u.y, u.z, e->ratio(), e->startparam(),
                    e->endparam());
    } else {
        std::printf("other\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool dumping = false, exact = false;
    const char* name = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dump") == 0)
            dumping = true;
        else if (std::strcmp(argv[i], "--exact") == 0)
            exact = true;
        else if (!name)
            name = argv[i];
        else
            name = "";
    }
    if (!name || !*name) {
        std::fprintf(stderr, "usage: readdxf [--exact] [--dump] FILE\n");
        return 2;
    }
    FILE* f = std::fopen(name, "r");
    if (!f) {
        std::perror(name);
        return 1;
    }
    long long n = 0, segs = 0, arcs = 0, circles = 0, other = 0;
    double sum = 0;
    auto t0 = std::chrono::steady_clock::now();
    double c0 = cpuseconds();
    {
        ostra::reader r(f);
        r.setexact(exact);
        brevo::geometry g;
        while (r.next(g)) {
            ++n;
            if (dumping) dump(g, r);
            if (const brevo::lineseg* s = g.lns()) {
                ++segs;
                sum += s->start().x + s->end().y;
            } else if (const brevo::arc* a = g.ar()) {
                ++arcs;
                sum += a->center().x;
            } else if (const brevo::circle* c = g.cr()) {
                ++circles;
                sum += c->radius();
            } else {
                ++other;
            }
        }
    }
    auto t1 = std::chrono::steady_clock::now();
    double c1 = cpuseconds();
    std::fclose(f);
    std::printf("geometries %lld segments %lld arcs %lld circles %lld other %lld sum %.17g\n", n, segs, arcs,
                circles, other, sum);
    std::printf("seconds %.6f\n", std::chrono::duration<double>(t1 - t0).count());
    std::printf("cpu %.6f\n", c1 - c0);
    return 0;
}
