// Flattens one large spline at the default tolerance and times it.
// usage: flattenspline [--smooth] [--rational] [N [DEGREE]]; N control
// points (default 100000) of degree DEGREE (default 3), without knots (so
// clamped uniform ones), either at random in a 1000 x 1000 square or, with
// --smooth, along a spiral of 10 turns; --rational gives them weights
// between 0.5 and 2. Prints the vertex count, a checksum of the coordinates
// and the wall-clock and CPU seconds of start() and the vertex loop.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "cputime.h"
#include "support/splineflatten.h"

namespace {
const double pi = 3.14159265358979323846;
}

int main(int argc, char** argv) {
    bool smooth = false, rational = false;
    long n = 100000, degree = 3;
    int pos = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smooth") == 0) {
            smooth = true;
        } else if (std::strcmp(argv[i], "--rational") == 0) {
            rational = true;
        } else if (pos++ == 0) {
            n = std::atol(argv[i]);
        } else {
            degree = std::atol(argv[i]);
        }
    }
    ostra::splinedata d;
    d.degree = static_cast<int>(degree);
    std::mt19937 gen(1);
    std::uniform_real_distribution<double> coord(0, 1000), weight(0.5, 2);
    for (long i = 0; i < n; ++i) {
        if (smooth) {
            double a = 20 * pi * static_cast<double>(i) / static_cast<double>(n);
            double r = 100 + 400 * static_cast<double>(i) / static_cast<double>(n);
            d.control.emplace_back(500 + r * std::cos(a), 500 + r * std::sin(a), 0);
        } else {
            d.control.emplace_back(coord(gen), coord(gen), 0);
        }
        if (rational) d.weights.push_back(weight(gen));
    }
    double tol = ostra::defaulttolerance(d);

    auto wall0 = std::chrono::steady_clock::now();
    double cpu0 = cpuseconds();
    ostra::splineflattener f;
    bool ok = f.start(d, tol);
    long vertices = 0;
    double sum = 0;
    brevo::point p;
    while (ok && f.nextvertex(p)) {
        ++vertices;
        sum += p.x + p.y + p.z;
    }
    double cpu = cpuseconds() - cpu0;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    std::printf("control points %ld degree %ld tolerance %g: %s, %ld vertices, checksum %.9g\n", n, degree,
                tol, ok ? "curve" : "no curve", vertices, sum);
    std::printf("wall %.3f s, cpu %.3f s\n", wall, cpu);
    return ok ? 0 : 1;
}
