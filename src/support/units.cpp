#include <ostra/units.h>

namespace ostra {

namespace {
struct unit {
    const char* name;
    double metres;
};

// The $INSUNITS codes in order; the sizes are the units' definitions (an
// inch is 0.0254 m exactly, an astronomical unit 149 597 870 700 m, a light
// year 365.25 days of light, a parsec 648 000 / pi astronomical units).
constexpr unit units[] = {
    {"unitless", 0},
    {"inches", 0.0254},
    {"feet", 0.3048},
    {"miles", 1609.344},
    {"millimeters", 1e-3},
    {"centimeters", 1e-2},
    {"meters", 1},
    {"kilometers", 1e3},
    {"microinches", 2.54e-8},
    {"mils", 2.54e-5},
    {"yards", 0.9144},
    {"angstroms", 1e-10},
    {"nanometers", 1e-9},
    {"microns", 1e-6},
    {"decimeters", 1e-1},
    {"decameters", 1e1},
    {"hectometers", 1e2},
    {"gigameters", 1e9},
    {"astronomical units", 149597870700.0},
    {"light years", 9460730472580800.0},
    {"parsecs", 3.0856775814913673e16},
};
constexpr int unitcount = static_cast<int>(sizeof units / sizeof units[0]);
}  // namespace

const char* unitname(int code) {
    double metres;
    return unitname(code, metres);
}

const char* unitname(int code, double& metres) {
    if (code < 0 || code >= unitcount) return nullptr;
    metres = units[code].metres;
    return units[code].name;
}

}  // namespace ostra
