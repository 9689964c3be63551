#include "testutil.h"

#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

namespace testutil {

namespace {
std::string num(double v) {
    if (v == 0) v = 0;  // no "-0"
    // Locale-independent, like %.6g in the C locale.
    char b[64];
    auto r = std::to_chars(b, b + sizeof b, std::fabs(v) < 5e-10 ? 0.0 : v, std::chars_format::general, 6);
    return std::string(b, r.ptr);
}
std::string pt(const brevo::point& p) { return "(" + num(p.x) + "," + num(p.y) + "," + num(p.z) + ")"; }
std::string vec(const brevo::vector& p) {
    return "(" + num(p.x) + "," + num(p.y) + "," + num(p.z) + ")";
}
}  // namespace

std::string describe(const brevo::geometry& g) {
    if (const auto* p = g.pt()) return "point " + pt(*p);
    if (const auto* s = g.lns()) return "line " + pt(s->start()) + " " + pt(s->end());
    if (const auto* a = g.ar())
        return "arc c" + pt(a->center()) + " n" + vec(a->normal()) + " s" + pt(a->start()) + " a" +
               num(a->sweep());
    if (const auto* c = g.cr()) return "circle c" + pt(c->center()) + " r" + num(c->radius());
    if (const auto* e = g.el())
        return "ellipse c" + pt(e->center()) + " u" + vec(e->majoraxis()) + " k" + num(e->ratio()) +
               " p" + num(e->startparam()) + ".." + num(e->endparam());
    return "invalid";
}

FILE* openfulldevice() {
    struct stat st;
    if (stat("/dev/full", &st) != 0 || !S_ISCHR(st.st_mode)) return nullptr;
    FILE* full = std::fopen("/dev/full", "w");
    if (full) std::setvbuf(full, nullptr, _IONBF, 0);
    return full;
}

std::vector<std::string> readall(ostra::reader& r) {
    std::vector<std::string> out;
    brevo::geometry g;
    while (r.next(g)) out.push_back(describe(g));
    return out;
}

namespace {

std::string exactly(const brevo::point& p) {
    char b[128];
    std::snprintf(b, sizeof b, "(%a,%a,%a)", p.x, p.y, p.z);
    return b;
}
std::string exactly(const brevo::vector& v) { return exactly(brevo::point(v.x, v.y, v.z)); }
std::string exactly(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%a", v);
    return b;
}

std::string exactly(const brevo::geometry& g) {
    if (const auto* s = g.lns()) return "line " + exactly(s->start()) + exactly(s->end());
    if (const auto* a = g.ar())
        return "arc " + exactly(a->center()) + exactly(a->normal()) + exactly(a->start()) + exactly(a->sweep());
    if (const auto* c = g.cr()) return "circle " + exactly(c->center()) + exactly(c->normal()) + exactly(c->radius());
    if (const auto* e = g.el())
        return "ellipse " + exactly(e->center()) + exactly(e->majoraxis()) + exactly(e->ratio()) +
               exactly(e->startparam()) + exactly(e->endparam());
    return "invalid";
}

std::string orempty(const char* s) { return s ? "\"" + std::string(s) + "\"" : "null"; }

// What the messages stream received.
std::string contents(FILE* f) {
    std::string s;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
    return s;
}

}  // namespace

reading readfully(ostra::reader& r) {
    reading out;
    FILE* messages = std::tmpfile();
    r.setmessages(messages);
    brevo::geometry g;
    // A malformed code is read past a few times; binary input ends there.
    for (int stops = 0; stops < 4; ++stops) {
        while (r.next(g)) {
            out.geometries.push_back(describe(g));
            out.record.push_back(exactly(g) + " layer " + orempty(r.currentlayer()) + " block " +
                                 orempty(r.currentblock()));
        }
        out.record.push_back("status " + std::to_string(r.status()) + " line " + std::to_string(r.line()) +
                             " bad " + orempty(r.badline()));
        if (r.status() != ostra::malformedcode) break;
    }
    int n = 0;
    for (const char* name = r.firstlayer(n); name; name = r.nextlayer(n))
        out.record.push_back("layer " + std::string(name) + " " + std::to_string(n));
    for (const char* name = r.firstblock(n); name; name = r.nextblock(n))
        out.record.push_back("block " + std::string(name) + " " + std::to_string(n));
    if (messages) {
        out.printed = contents(messages);
        std::fclose(messages);
    }
    return out;
}

reading samebothways(const std::string& bytes, bool exact) {
    memstream m(bytes);
    reading fromstream;
    {
        ostra::reader r(m.get());
        r.setexact(exact);
        fromstream = readfully(r);
    }
    // Where the stream stands: the memory reader's offset must match it.
    long position = std::ftell(m.get());
    ostra::reader r(bytes.data(), bytes.size());
    r.setexact(exact);
    reading frommemory = readfully(r);
    EXPECT_EQ(frommemory.record, fromstream.record) << "memory and stream differ (exact " << exact << ")";
    EXPECT_EQ(frommemory.printed, fromstream.printed) << "memory and stream print differently";
    // A stream at its end may not tell its position (a stream over nothing).
    if (position >= 0 && !bytes.empty()) {
        EXPECT_EQ(static_cast<long>(r.offset()), position) << "memory offset and stream position differ";
    }
    return fromstream;
}

// The stream's reading; its diagnostics go to standard output as they would
// have without the comparison.
std::vector<std::string> readall(const std::string& text) {
    reading got = samebothways(text);
    std::fputs(got.printed.c_str(), stdout);
    return got.geometries;
}

std::vector<std::string> readexact(const std::string& text) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    return readall(r);
}

std::vector<std::string> readexact(const std::string& text, const eachgeometry& each) {
    memstream m(text);
    ostra::reader r(m.get());
    r.setexact(true);
    std::vector<std::string> out;
    brevo::geometry g;
    while (r.next(g)) {
        out.push_back(describe(g));
        each(r, g);
    }
    return out;
}

}  // namespace testutil
