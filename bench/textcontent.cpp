#include "textcontent.h"

#include <cstdio>
#include <cstring>

namespace dxfgen {

namespace {

const char* const vocabulary[] = {"wall",  "door",   "window", "concrete", "steel", "timber", "finish", "level",
                                  "see",   "detail", "plan",   "section",  "north", "south",  "room",   "height",
                                  "clear", "opening", "fire",  "rated",    "glass", "frame",  "beam",   "slab"};

// Lines of TEXT; %d takes a number.
const char* const lines[] = {"ROOM %d",
                             "Office %d",
                             "Caf\xE9 %d",  // a byte of ANSI_1252 (e acute)
                             "%%%%c%d",
                             "%d%%%%d",
                             "%%%%p0.%d",
                             "%%%%uUnderlined%%%%u and %%%%oover%%%%o %d",
                             "%d%%%%%% checked",
                             "Stra\\U+00DFe %d",
                             "\\U+03A9 = %d k\\U+03A9",
                             "Level +%d.00",
                             "Tab^Iseparated %d",
                             "%d%%%%176 turned",
                             "20\xB0\x43 at %d",  // the degree sign of ANSI_1252, then C
                             "Width %d"};

// MTEXT fragments; %d takes a number.
const char* const fragments[] = {"{\\fArial|b1|i0|c0|p34;Heading %d}",
                                 "\\H1.5x;Large\\H0.6667x; normal %d",
                                 "\\C1;red\\C256; by layer %d",
                                 "\\c16744448;orange %d",
                                 "Ratio \\S1/2; and \\S3^4; and \\S1#8; of %d",
                                 "Fit %d \\S+0.1^-0.2;",
                                 "\\Lunderlined\\l \\Ooverlined\\o \\Kstruck\\k %d",
                                 "\\W0.8;narrow\\W1; \\Q15;oblique\\Q0; \\T1.5;spaced\\T1; %d",
                                 "\\A1;centred %d",
                                 "\\pxqc;centred paragraph %d",
                                 "\\pi-2,l2;indented %d",
                                 "%%%%c25 %%%%d %%%%p0.%d",
                                 "\\U+00C4rger \\U+00FCber \\U+00DF %d",
                                 "non\\~breaking \\\\ backslash \\{ braces \\} %d",
                                 "first\\Xsecond %d",
                                 "{\\C3;green {\\H2x;nested %d}}",
                                 "Area %d m\\U+00B2"};

}  // namespace

std::string textcontent::number(const char* format, int bound) {
    char b[256];
    std::snprintf(b, sizeof b, format, 1 + r_.below(bound));
    return b;
}

std::string textcontent::words(std::size_t atleast) {
    std::string s;
    while (s.size() < atleast) {
        if (!s.empty()) s += ' ';
        s += vocabulary[r_.below(24)];
    }
    return s;
}

std::string textcontent::line() {
    if (r_.chance(0.05)) return "Note: " + words(100 + static_cast<std::size_t>(r_.below(100)));
    return number(lines[r_.below(15)], 999);
}

std::string textcontent::paragraphs(bool longone) {
    std::string s;
    int n = 1 + r_.below(5);
    for (int i = 0; i < n; ++i) {
        if (i > 0) s += r_.chance(0.5) ? "\\P" : " ";
        s += number(fragments[r_.below(17)], 999);
    }
    if (longone) {
        // Paragraphs long enough for several chunks; some break where a
        // chunk ends, some with a blank at either end of one.
        std::size_t goal = 260 + static_cast<std::size_t>(r_.below(700));
        while (s.size() < goal) s += "\\P" + words(60 + static_cast<std::size_t>(r_.below(120)));
    }
    return s;
}

std::string textcontent::value(const char* tag) {
    if (std::strcmp(tag, "NAME") == 0) return r_.chance(0.5) ? number("Office %d", 99) : number("Caf\\U+00E9 %d", 9);
    if (std::strcmp(tag, "NUMBER") == 0) return number("%03d", 999);
    if (std::strcmp(tag, "AREA") == 0) return number("%d.50 m\\U+00B2", 200);
    if (std::strcmp(tag, "TITLE") == 0) return number("GROUND FLOOR PLAN %d", 9);
    if (std::strcmp(tag, "DATE") == 0) return number("2024-01-%02d", 28);
    if (std::strcmp(tag, "LEVEL") == 0) return number("+%d.00", 30);
    if (std::strcmp(tag, "NOTE") == 0) return number("see detail %d", 99);
    return number("T%d", 9);
}

}  // namespace dxfgen
