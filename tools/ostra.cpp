// Prints one line per geometry of a drawing.
#include <cstdio>

#include <ostra/reader.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ostra FILE\n");
        return 2;
    }
    FILE* f = std::fopen(argv[1], "r");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    int n = 0;
    {
        ostra::reader r(f);
        brevo::geometry g;
        while (r.next(g)) {
            ++n;
            if (const brevo::lineseg* s = g.lns()) {
                brevo::point a = s->start(), b = s->end();
                std::printf("line %f %f %f  %f %f %f\n", a.x, a.y, a.z, b.x, b.y, b.z);
            } else if (const brevo::arc* a = g.ar()) {
                brevo::point c = a->center();
                std::printf("arc %f %f %f r %f sweep %f\n", c.x, c.y, c.z, a->radius(), a->sweep());
            } else if (const brevo::circle* c = g.cr()) {
                brevo::point m = c->center();
                std::printf("circle %f %f %f r %f\n", m.x, m.y, m.z, c->radius());
            } else {
                std::printf("other\n");
            }
        }
    }
    std::fclose(f);
    std::printf("%d geometries\n", n);
    return 0;
}
