// Fuzz target for the reader: arbitrary bytes are read as a drawing twice,
// once without and once with a layer filter (changed mid-stream), while the
// layer and block tables are enumerated; everything read in the first pass is
// written through the writer into a memory stream and read back.
//
// Checked beyond memory safety: every returned geometry is valid and has a
// layer; layer and block enumerations hand out as many names as the counts
// say; a geometry that does not come from a block passes the filter in force;
// in the second pass (exact or default reading, names in UTF-8 or as read)
// colours, records and handles are given and names in UTF-8 are UTF-8;
// reading stops with a status that says why, and reads nothing after the EOF
// record; the writer accepts exactly the segments and circles, and its
// output reads back to its EOF record as the same kinds in the same order
// with the same coordinates (where %.6f can carry them); circles and arcs
// keep their shape as shapes.h describes. A third pass goes through the
// exact reading and the writer's extended mode (extendedpass.h); a fourth
// reads the bytes from memory (an exact-size copy) and from a stream side by
// side: the same geometries, bit for bit, layers, blocks, status, line and
// bad line, and the memory reader stops where the stream stands.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/reader.h>
#include <ostra/writer.h>

#include "extendedpass.h"
#include "fuzzsupport.h"
#include "shapes.h"

namespace {

using fuzz::check;
using fuzz::input;

// The fuzzer's own bound on the geometries pulled per pass: a few hundred
// bytes of nested array inserts legitimately expand to billions of entities.
const int maxgeometries = 20000;
// The reader's own bound on the work of one pass: what an input makes and
// does not deliver (hidden or filtered array cells, a flattened curve) is
// bounded too, so that no input stalls the fuzzer.
const long worklimit = 2000000;

// The names handed out by the layer and block enumerations.
struct tables {
    std::vector<std::string> layers;
    std::vector<std::string> blocks;
};

// The longest name as read: 79 chars, 255 in the exact reading; in UTF-8
// each of them takes at most 3 bytes.
std::size_t longestname(bool utf8, bool exact) { return (exact ? 255 : 79) * (utf8 ? 3 : 1); }

tables enumerate(ostra::reader& r, bool utf8 = false, bool exact = false) {
    const std::size_t most = longestname(utf8, exact);
    tables t;
    int n = r.numlayer();
    int count = -1;
    for (const char* s = r.firstlayer(count); s; s = r.nextlayer(count)) {
        check(std::strlen(s) <= most, "a layer name holds at most 79 chars (255 exactly)");
        check(count >= 0, "a layer's use count is not negative");
        t.layers.emplace_back(s);
    }
    check(static_cast<int>(t.layers.size()) == n, "the layer enumeration hands out numlayer() names");
    int plain = 0;
    for (const char* s = r.firstlayer(); s; s = r.nextlayer()) ++plain;
    check(plain == n, "both layer enumerations agree");

    n = r.numblock();
    for (const char* s = r.firstblock(count); s; s = r.nextblock(count)) {
        check(std::strlen(s) <= most, "a block name holds at most 79 chars (255 exactly)");
        check(count >= 0, "a block's entity count is not negative");
        t.blocks.emplace_back(s);
    }
    check(static_cast<int>(t.blocks.size()) == n, "the block enumeration hands out numblock() names");
    plain = 0;
    for (const char* s = r.firstblock(); s; s = r.nextblock()) ++plain;
    check(plain == n, "both block enumerations agree");
    return t;
}

void checkcurrent(ostra::reader& r, const brevo::geometry& g, bool utf8 = false, bool exact = false) {
    const std::size_t most = longestname(utf8, exact);
    check(!g.invalid(), "a returned geometry is valid");
    const char* layer = r.currentlayer();
    check(layer != nullptr, "a returned geometry has a layer");
    check(std::strlen(layer) <= most, "the current layer holds at most 79 chars (255 exactly)");
    if (const char* b = r.currentblock()) check(std::strlen(b) <= most, "the current block holds at most 79 chars");
}

// Why reading stopped, and what the reader says about it.
void checkstatus(ostra::reader& r) {
    ostra::readstatus s = r.status();
    check(s == ostra::endofdrawing || s == ostra::endofstream || s == ostra::malformedcode || s == ostra::limitreached,
          "reading stops at the EOF record, the end of the stream, a malformed code or the work limit");
    check((r.badline() != nullptr) == (s == ostra::malformedcode), "a malformed code line has its text");
    if (r.badline()) check(std::strlen(r.badline()) <= 511, "the bad line holds at most 511 chars");
    check(r.line() >= 0, "the line count is not negative");
    if (s == ostra::endofdrawing) {
        long line = r.line();
        check(r.next() == nullptr && r.status() == ostra::endofdrawing && r.line() == line,
              "nothing is read after the EOF record");
    }
}

bool writable(const brevo::geometry& g) { return g.lns() || g.cr(); }

// Whether a coordinate survives "%.6f" and the 79-char cut of a group value.
bool samenumber(double written, double back) {
    if (std::isnan(written)) return std::isnan(back);
    if (std::isinf(written)) return back == written;
    if (std::fabs(written) >= 1e60) return true;  // more than 79 chars or too coarse to compare
    return std::fabs(back - written) <= 1e-6 + std::fabs(written) * 1e-15;
}

bool samepoint(const brevo::point& a, const brevo::point& b) {
    return samenumber(a.x, b.x) && samenumber(a.y, b.y) && samenumber(a.z, b.z);
}

// Reads the writer's output back: the same kinds in the same order, the
// same coordinates as far as the text form carries them.
void readback(const char* text, std::size_t size, const std::vector<brevo::geometry>& saved) {
    check(size > 0 || saved.empty(), "the writer wrote the saved geometries");
    input in(reinterpret_cast<const std::uint8_t*>(text), size);
    ostra::reader r(in.get());
    brevo::geometry g;
    std::size_t i = 0;
    while (r.next(g)) {
        check(i < saved.size(), "the written file holds no more geometries than were saved");
        const brevo::geometry& w = saved[i++];
        if (const brevo::lineseg* s = w.lns()) {
            check(g.lns() != nullptr, "a written segment reads back as a segment");
            check(samepoint(s->start(), g.lns()->start()) && samepoint(s->end(), g.lns()->end()),
                  "a written segment reads back with its end points");
        } else {
            const brevo::circle* c = w.cr();
            check(g.cr() != nullptr, "a written circle reads back as a circle");
            check(samepoint(c->center(), g.cr()->center()) && samenumber(c->radius(), g.cr()->radius()),
                  "a written circle reads back with its center and radius");
        }
    }
    check(i == saved.size(), "every saved geometry reads back");
    if (size > 0) check(r.status() == ostra::endofdrawing, "the written file is read to its EOF record");
}

// A hash of the whole input (FNV-1a): every change of the input changes
// the placements of the shape checks.
std::uint32_t hashof(const std::uint8_t* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    return h;
}

// The bytes that choose the placements of the n-th geometry's shape checks.
ostrafuzz::shapeseed seedfor(std::uint32_t hash, int n) {
    std::uint32_t h = (hash ^ static_cast<std::uint32_t>(n)) * 2654435761u;
    return {static_cast<std::uint8_t>(h >> 24), static_cast<std::uint8_t>(h >> 16), static_cast<std::uint8_t>(h >> 8)};
}

// The first pass: no filter; the tables enumerated after the first geometry
// and at the end; every geometry offered to the writer and its shape checked.
tables firstpass(const std::uint8_t* data, std::size_t size) {
    char* text = nullptr;
    std::size_t textsize = 0;
    FILE* out = open_memstream(&text, &textsize);
    check(out != nullptr, "the output stream opens");
    std::vector<brevo::geometry> saved;
    tables t;
    const std::uint32_t hash = hashof(data, size);
    {
        input in(data, size);
        ostra::reader r(in.get());
        r.setlimit(worklimit);
        ostra::writer w(out);
        brevo::geometry g;
        int n = 0;
        while (n < maxgeometries && r.next(g)) {
            ++n;
            checkcurrent(r, g);
            ostrafuzz::checkshape(g, seedfor(hash, n));
            bool ok = w.save(g);
            check(ok == writable(g), "the writer takes exactly the segments and circles");
            if (ok) saved.push_back(g);
            if (n == 1) enumerate(r);
        }
        if (n < maxgeometries) {
            check(g.invalid(), "the end of the stream leaves the geometry invalid");
            checkstatus(r);
        }
        t = enumerate(r);
        check(w.finish(), "the writer finishes");
    }
    std::fclose(out);
    readback(text, textsize, saved);
    std::free(text);
    return t;
}

// ",name," within ",filter,", or no filter at all.
bool passes(const std::string& filter, const char* name) {
    if (filter.empty()) return true;
    return ("," + filter + ",").find("," + std::string(name) + ",") != std::string::npos;
}

// A filter of the layers the first pass found, every one whose bit in mask
// is set (the bits repeat after 8 layers).
std::string choose(const std::vector<std::string>& layers, unsigned mask) {
    std::string f;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (!(mask & (1u << (i % 8)))) continue;
        if (!f.empty()) f += ',';
        f += layers[i];
    }
    return f;
}

// The second pass: a filter derived from the first input byte, either a
// choice of the layers found or the input's own first line as raw text;
// at a point given by the last byte the filter changes (every second time
// it is removed), and the heap form of next() is used.
// Whether s is valid UTF-8 (no overlong forms, surrogates or values beyond
// U+10FFFF).
bool validutf8(const char* s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p) {
        unsigned c = *p++;
        int more = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
        if (more < 0) return false;
        unsigned long v = more == 0 ? c : c & (0x3F >> more);
        for (int i = 0; i < more; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) return false;
            v = v << 6 | (*p & 0x3F);
        }
        if ((more == 2 && (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF))) || (more == 3 && (v < 0x10000 || v > 0x10FFFF)))
            return false;
    }
    return true;
}

// What the reader says beside the geometry last returned.
void checkbeside(ostra::reader& r, bool utf8) {
    int color = r.currentcolor(), aci = r.currentaci();
    check(color >= 0 && color <= 0xFFFFFF, "a geometry has a colour");
    check(aci >= 0 && aci <= 255, "a geometry's colour index is 0 to 255");
    check(r.currentrecord() != nullptr && r.currenthandle() != nullptr, "a geometry has a record and a handle");
    if (!utf8) return;
    check(validutf8(r.currentlayer()), "a layer name in UTF-8 mode is UTF-8");
    if (const char* b = r.currentblock()) check(validutf8(b), "a block name in UTF-8 mode is UTF-8");
}

// The text of a geometry, when texts are read: its strings in UTF-8.
void checktext(ostra::reader& r, int textmode) {
    const ostra::textinfo* t = r.currenttext();
    if (!t) return;
    check(textmode != ostra::notext, "a text only when texts are read");
    check(validutf8(t->content) && validutf8(t->raw) && validutf8(t->tag) && validutf8(t->style),
          "a text's strings are UTF-8");
}

// The second pass: the exact or the default reading, in UTF-8 or not, model
// or paper space, all chosen by the first input byte; texts or none by the
// last.
void secondpass(const std::uint8_t* data, std::size_t size, const tables& t) {
    if (size == 0) return;
    unsigned sel = data[0];
    bool exact = sel & 0x40, utf8 = sel & 0x20;
    std::string filter;
    if (sel & 0x80) {
        std::size_t n = 0;
        while (n < size && n < 100 && data[n] != '\n' && data[n] != '\0') ++n;
        filter.assign(reinterpret_cast<const char*>(data), n);
    } else {
        filter = choose(t.layers, sel);
    }
    int switchat = 1 + data[size - 1] % 16;
    input in(data, size);
    ostra::reader r(in.get());
    r.setlimit(worklimit);
    r.setexact(exact);
    r.setutf8(utf8);
    r.setpaperspace(sel & 0x10);
    r.setflattening((sel & 0x08) ? 0.5 : 0);
    r.setlayerfilter(filter.c_str());
    const int textmode = (data[size - 1] >> 4) % 3;
    r.settext(static_cast<ostra::textmode>(textmode));
    int n = 0, switches = 0;
    while (n < maxgeometries) {
        brevo::geometry* g = r.next();
        if (!g) break;
        ++n;
        checkcurrent(r, *g, utf8, exact);
        checkbeside(r, utf8);
        checktext(r, textmode);
        // The exact reading filters a block's entities as they are delivered.
        if (exact || !r.currentblock())
            check(passes(filter, r.currentlayer()), "a geometry passes the filter in force");
        delete g;
        if (n % switchat == 0) {
            ++switches;
            filter = switches % 2 ? std::string() : choose(t.layers, ~sel);
            r.setlayerfilter(switches % 4 == 1 ? nullptr : filter.c_str());
        }
    }
    enumerate(r, utf8, exact);
    int count = 0;
    for (const char* name = r.firstskipped(count); name; name = r.nextskipped(count))
        check(count >= 1 && std::strlen(name) <= 79, "a skipped record is counted under a name");
}

bool samebits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool samegeometry(const brevo::geometry& a, const brevo::geometry& b) {
    auto same = [](const brevo::point& p, const brevo::point& q) {
        return samebits(p.x, q.x) && samebits(p.y, q.y) && samebits(p.z, q.z);
    };
    if (a.pt() && b.pt()) return same(*a.pt(), *b.pt());
    if (a.lns() && b.lns()) return same(a.lns()->start(), b.lns()->start()) && same(a.lns()->end(), b.lns()->end());
    if (a.ar() && b.ar())
        return same(a.ar()->center(), b.ar()->center()) && same(a.ar()->start(), b.ar()->start()) &&
               samebits(a.ar()->sweep(), b.ar()->sweep());
    if (a.cr() && b.cr()) return same(a.cr()->center(), b.cr()->center()) && samebits(a.cr()->radius(), b.cr()->radius());
    if (a.el() && b.el())
        return same(a.el()->center(), b.el()->center()) && samebits(a.el()->ratio(), b.el()->ratio()) &&
               samebits(a.el()->startparam(), b.el()->startparam());
    return false;
}

bool samename(const char* a, const char* b) { return a && b ? std::strcmp(a, b) == 0 : a == b; }

// The third pass: from memory and from a stream, in the reading the last
// byte chooses, reading on after malformed codes a few times.
void memorypass(const std::uint8_t* data, std::size_t size) {
    std::vector<char> bytes(data, data + size);
    input in(data, size);
    ostra::reader s(in.get());
    ostra::reader m(bytes.data(), bytes.size());
    bool exact = size > 0 && (data[size - 1] & 0x40);
    s.setexact(exact);
    m.setexact(exact);
    s.setlimit(worklimit);
    m.setlimit(worklimit);
    s.setmessages(nullptr);
    m.setmessages(nullptr);
    brevo::geometry gs, gm;
    int n = 0;
    for (int stops = 0; stops < 3; ++stops) {
        for (;;) {
            bool more = s.next(gs) != nullptr && n < maxgeometries;
            check((m.next(gm) != nullptr) == more || n >= maxgeometries, "memory and stream end alike");
            if (!more) break;
            ++n;
            check(samegeometry(gs, gm), "memory and stream give the same geometry");
            check(samename(s.currentlayer(), m.currentlayer()) && samename(s.currentblock(), m.currentblock()),
                  "memory and stream give the same layer and block");
        }
        if (n >= maxgeometries) return;
        check(s.status() == m.status() && s.line() == m.line() && samename(s.badline(), m.badline()),
              "memory and stream stop alike");
        if (s.status() != ostra::malformedcode) break;
    }
    long position = std::ftell(in.get());
    if (size > 0 && position >= 0) check(static_cast<long>(m.offset()) == position, "memory stops where the stream stands");
    tables a = enumerate(s, false, exact), b = enumerate(m, false, exact);
    check(a.layers == b.layers && a.blocks == b.blocks, "memory and stream find the same layers and blocks");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tables t = firstpass(data, size);
    secondpass(data, size, t);
    fuzz::extendedpass(data, size);
    memorypass(data, size);
    return 0;
}
