// fontgen OUTPUT ROMAN GREEK CYRILLIC
//
// Reads the Hershey fonts in the .jhf form (Roman simplex rowmans.jhf, Greek
// simplex greeks.jhf, Cyrillic cyrillic.jhf of Debian's hershey-fonts-data),
// gives their glyphs Unicode code points, adds the composed characters
// (fontmarks.cpp) and writes OUTPUT, the C++ source of the font's table
// (support/fonttable.h). Run by the build; exits with 1 and a message on any
// fault, so that the build stops.
//
// A .jhf line: the glyph's number (5 columns), its count of coordinate pairs
// (3 columns), then the pairs, two characters each, a coordinate being the
// character's code minus that of 'R'. The first pair holds the left and right
// side of the glyph, " R" lifts the pen, y runs down and the baseline is at
// y = 9. A long glyph may go on over further lines.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/fontgen.h"
#include "support/fonttable.h"

namespace fontgen {

namespace {

struct jhfglyph {
    long number = 0;
    glyph shape;
};

bool fail(const std::string& what) {
    std::fprintf(stderr, "fontgen: %s\n", what.c_str());
    return false;
}

bool parseglyph(const std::string& data, jhfglyph& out, const std::string& where) {
    int left = data[0] - 'R';
    int right = data[1] - 'R';
    out.shape.advance = right - left;
    stroke current;
    for (std::size_t i = 2; i + 1 < data.size(); i += 2) {
        if (data[i] == ' ' && data[i + 1] == 'R') {
            if (!current.empty()) out.shape.strokes.push_back(current);
            current.clear();
            continue;
        }
        if (data[i] < ' ' || data[i] > '~' || data[i + 1] < ' ' || data[i + 1] > '~')
            return fail(where + ": a coordinate that is not a printable character");
        current.push_back({double(data[i] - 'R' - left), double(9 - (data[i + 1] - 'R'))});
    }
    if (!current.empty()) out.shape.strokes.push_back(current);
    return true;
}

bool readjhf(const char* path, std::vector<jhfglyph>& out) {
    std::ifstream in(path);
    if (!in) return fail(std::string("cannot read ") + path + " (install the Debian package hershey-fonts-data)");
    std::string line;
    int lineno = 0;
    while (std::getline(in, line)) {
        ++lineno;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        std::string where = std::string(path) + ":" + std::to_string(lineno);
        if (line.size() < 10) return fail(where + ": a glyph line shorter than its header");
        long count = std::strtol(line.substr(5, 3).c_str(), nullptr, 10);
        if (count < 1) return fail(where + ": no coordinate pairs");
        long number = std::strtol(line.substr(0, 5).c_str(), nullptr, 10);
        std::string data = line.substr(8);
        // The pairs of a long glyph go on over the next lines.
        while (data.size() < std::size_t(count) * 2 && std::getline(in, line)) {
            ++lineno;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            data += line;
        }
        if (data.size() < std::size_t(count) * 2) return fail(where + ": fewer pairs than the glyph's count");
        data.resize(std::size_t(count) * 2);
        jhfglyph g;
        g.number = number;
        if (!parseglyph(data, g, where)) return false;
        out.push_back(g);
    }
    if (out.size() < 96) return fail(std::string(path) + ": fewer than 96 glyphs");
    return true;
}

// The Greek letters in the order of the Greek file's capitals A to X and
// small letters a to x.
const unsigned greekcapitals[24] = {0x391, 0x392, 0x393, 0x394, 0x395, 0x396, 0x397, 0x398,
                                    0x399, 0x39A, 0x39B, 0x39C, 0x39D, 0x39E, 0x39F, 0x3A0,
                                    0x3A1, 0x3A3, 0x3A4, 0x3A5, 0x3A6, 0x3A7, 0x3A8, 0x3A9};

// The Cyrillic file sets the letters by their sound on the keys of ASCII
// 33 to 126 ('A' is А, 'V' is В, '[' is Е, 'W' is Щ ...): the code point of
// each ASCII slot's letter, 0 where the slot holds no letter. Its 'E' should
// be Й but is drawn as И, so Й is composed instead (fontmarks.cpp).
unsigned cyrillicletter(char slot) {
    // From А to Я; '.' holds the place of Й.
    static const char keys[] = "ABVGD[HZI.KLMNOPRSTYFX`JQW]$_CU^";
    static const char small[] = "abvgd{hzi.klmnoprstyfx%jqw|&~cu}";
    if (slot == '.') return 0;
    for (unsigned i = 0; keys[i]; ++i) {
        if (keys[i] == slot) return 0x410 + i;
        if (small[i] == slot) return 0x430 + i;
    }
    if (slot == 'e') return 0x439;  // й
    return 0;
}

bool buildfont(const char* roman, const char* greek, const char* cyrillic, font& f) {
    std::vector<jhfglyph> r, g, c;
    if (!readjhf(roman, r) || !readjhf(greek, g) || !readjhf(cyrillic, c)) return false;
    // Glyph 501 is the capital A of Roman simplex, 527 the Greek simplex Alpha.
    if (r[33].number != 501) return fail(std::string(roman) + " is not the Roman simplex font (rowmans.jhf)");
    if (g[33].number != 527) return fail(std::string(greek) + " is not the Greek simplex font (greeks.jhf)");
    for (unsigned i = 0; i < 95; ++i) f[32 + i] = r[i].shape;
    f[0xB0] = r[95].shape;  // the degree sign
    for (unsigned i = 0; i < 24; ++i) {
        f[greekcapitals[i]] = g[33 + i].shape;
        f[greekcapitals[i] + 0x20] = g[65 + i].shape;
    }
    for (unsigned i = 1; i < 95; ++i) {
        unsigned code = cyrillicletter(char(32 + i));
        if (code) f[code] = c[i].shape;
    }
    return addcomposed(f);
}

int half(double v) { return int(std::lround(v * 2)); }

std::string hex(unsigned code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", code);
    return buf;
}

bool writetable(const font& f, const char* path) {
    std::string glyphs, points;
    std::size_t offset = 0;
    for (const auto& [code, shape] : f) {
        std::size_t start = offset;
        for (const stroke& s : shape.strokes) {
            if (s.size() < 2) continue;
            if (s.size() > ostra::fonttable::maxstrokepoints)
                return fail("a stroke of " + hex(code) + " has too many points");
            for (const point& p : s) {
                int x = half(p.x), y = half(p.y);
                if (x < -127 || x > 127 || y < -127 || y > 127)
                    return fail("a point of " + hex(code) + " is out of range");
                points += std::to_string(x) + "," + std::to_string(y) + ",";
                ++offset;
            }
            points += std::to_string(ostra::fonttable::strokeend) + ",0,\n";
            ++offset;
        }
        int advance = half(shape.advance);
        if (advance < 0 || advance > 65535 || offset - start > 65535)
            return fail("glyph " + hex(code) + " is out of range");
        glyphs += "    {" + std::to_string(code) + "u, " + std::to_string(start) + "u, " +
                  std::to_string(offset - start) + "u, " + std::to_string(advance) + "u},\n";
    }
    std::string temp = std::string(path) + ".tmp";
    std::ofstream out(temp);
    out << "// Generated by fontgen from the Hershey fonts of hershey-fonts-data. Do not edit.\n"
        << "#include \"support/fonttable.h\"\n\nnamespace ostra {\nnamespace fonttable {\n\n"
        << "const glyphrecord glyphs[] = {\n" << glyphs << "};\n\n"
        << "const std::size_t glyphcount = sizeof glyphs / sizeof glyphs[0];\n\n"
        << "const signed char points[] = {\n" << points << "};\n\n"
        << "}  // namespace fonttable\n}  // namespace ostra\n";
    out.close();
    if (!out || std::rename(temp.c_str(), path) != 0) return fail(std::string("cannot write ") + path);
    return true;
}

}  // namespace

}  // namespace fontgen

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: fontgen OUTPUT rowmans.jhf greeks.jhf cyrillic.jhf\n");
        return 2;
    }
    fontgen::font f;
    if (!fontgen::buildfont(argv[2], argv[3], argv[4], f) || !fontgen::writetable(f, argv[1])) return 1;
    return 0;
}
