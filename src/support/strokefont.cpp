#include "support/strokefont.h"

#include <algorithm>

namespace ostra {

namespace {

glyphview viewof(const fonttable::glyphrecord& r) {
    glyphview g;
    g.code = r.code;
    g.advance = r.advance / 2.0;
    g.data = fonttable::points + 2 * std::size_t(r.offset);
    g.size = r.size;
    return g;
}

}  // namespace

bool findglyph(char32_t c, glyphview& out) {
    const fonttable::glyphrecord* end = fonttable::glyphs + fonttable::glyphcount;
    const fonttable::glyphrecord* r = std::lower_bound(
        fonttable::glyphs, end, c, [](const fonttable::glyphrecord& g, char32_t code) { return g.code < code; });
    if (r == end || r->code != c) return false;
    out = viewof(*r);
    return true;
}

std::size_t fontsize() { return fonttable::glyphcount; }

glyphview fontglyph(std::size_t i) { return i < fonttable::glyphcount ? viewof(fonttable::glyphs[i]) : glyphview(); }

std::size_t glyphstrokes::next(double* xy) {
    std::size_t n = 0;
    while (at_ < g_.size) {
        int x = g_.data[2 * at_];
        int y = g_.data[2 * at_ + 1];
        ++at_;
        if (x == fonttable::strokeend) return n;
        xy[2 * n] = x / 2.0;
        xy[2 * n + 1] = y / 2.0;
        ++n;
    }
    return n;
}

}  // namespace ostra
