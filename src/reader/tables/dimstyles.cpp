#include "reader/tables/dimstyles.h"

#include <cmath>
#include <cstring>

#include "support/number.h"

namespace ostra {

namespace {

// DIMSTYLE group codes of the variables a leader uses.
enum : int { cscale = 40, carrowsize = 41, ctad = 77, cgap = 147, carrow = 341 };

int intof(double v) { return v >= -32768 && v <= 32767 ? static_cast<int>(v) : 0; }

std::string upper(const char* name) {
    std::string s(name);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// A handle's hexadecimal digits (at most 16) as a number; false for any
// other text.
bool handlenumber(const char* text, std::uint64_t& v) {
    v = 0;
    int n = 0;
    for (; text[n]; ++n) {
        char c = text[n];
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0 || n >= 16) return false;
        v = v << 4 | static_cast<std::uint64_t>(d);
    }
    return n > 0;
}

double headernumber(const headervars& h, const char* name, double otherwise) {
    const char* v = h.value(name);
    return v ? parsedouble(v) : otherwise;
}

}  // namespace

void dimstyles::style(const grouptable& t) {
    if (!t.carried(2) || t.empty(2)) return;
    std::string key = upper(t.get(2));
    if (styles_.count(key)) return;
    entry e;
    dimsettings& v = e.values;
    if (t.carried(cscale)) v.scale = t.number(cscale);
    if (t.carried(carrowsize)) v.arrowsize = t.number(carrowsize);
    if (t.carried(cgap)) v.gap = t.number(cgap);
    if (t.carried(ctad)) v.tad = intof(t.number(ctad));
    if (t.carried(carrow)) e.arrowhandle = t.get(carrow);
    styles_.emplace(std::move(key), std::move(e));
}

void dimstyles::blockrecord(const grouptable& t) {
    std::uint64_t h;
    if (!t.carried(2) || !t.carried(5) || t.get(2)[0] == '*' || !handlenumber(t.get(5), h)) return;
    blocks_.emplace(h, t.get(2));
}

std::string dimstyles::blockname(const char* handle) const {
    std::uint64_t h;
    if (!handlenumber(handle, h)) return std::string();
    auto it = blocks_.find(h);
    return it == blocks_.end() ? std::string() : it->second;
}

dimsettings dimstyles::settings(const char* name, const headervars& header) const {
    auto it = name && name[0] ? styles_.find(upper(name)) : styles_.end();
    if (it == styles_.end()) it = styles_.find("STANDARD");
    if (it != styles_.end()) {
        dimsettings s = it->second.values;
        s.arrow = blockname(it->second.arrowhandle.c_str());
        return s;
    }
    dimsettings s;
    if (intof(headernumber(header, "$MEASUREMENT", 0)) == 1) {
        s.arrowsize = 2.5;
        s.gap = 0.625;
        s.tad = 1;
    }
    s.scale = headernumber(header, "$DIMSCALE", s.scale);
    s.arrowsize = headernumber(header, "$DIMASZ", s.arrowsize);
    s.gap = headernumber(header, "$DIMGAP", s.gap);
    s.tad = intof(headernumber(header, "$DIMTAD", s.tad));
    if (const char* arrow = header.value("$DIMLDRBLK")) s.arrow = arrow;
    return s;
}

void dimoverrides::group(int code, const grouptable& t) {
    if (code < 1000) return;
    const char* text = t.get(code);
    if (code == 1001) {
        state_ = std::strcmp(text, "ACAD") == 0 ? acad : outside;
        pending_ = -1;
        return;
    }
    switch (state_) {
    case acad:
        if (code == 1000 && std::strcmp(text, "DSTYLE") == 0) state_ = dstyle;
        break;
    case dstyle:
        if (code == 1002) state_ = std::strcmp(text, "{") == 0 ? inside : acad;
        break;
    case inside:
        if (code == 1002) {
            state_ = acad;
        } else if (pending_ < 0) {
            if (code == 1070) pending_ = intof(t.number(code));
        } else {
            set(pending_, code, t);
            pending_ = -1;
        }
        break;
    case outside:
        break;
    }
}

void dimoverrides::set(int variable, int code, const grouptable& t) {
    double v = t.number(code);
    switch (variable) {
    case cscale: hasscale_ = true; scale_ = v; break;
    case carrowsize: hasarrowsize_ = true; arrowsize_ = v; break;
    case cgap: hasgap_ = true; gap_ = v; break;
    case ctad: hastad_ = true; tad_ = intof(v); break;
    case carrow:
        hasarrow_ = true;
        arrowhandle_ = t.get(code);
        break;
    default: break;
    }
}

void dimoverrides::apply(dimsettings& s, const dimstyles& styles) const {
    if (hasscale_) s.scale = scale_;
    if (hasarrowsize_) s.arrowsize = arrowsize_;
    if (hasgap_) s.gap = gap_;
    if (hastad_) s.tad = tad_;
    if (hasarrow_) s.arrow = styles.blockname(arrowhandle_.c_str());
}

}  // namespace ostra
