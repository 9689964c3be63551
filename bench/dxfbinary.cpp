#include "dxfbinary.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "reader/input/binarytypes.h"
#include "support/number.h"

namespace dxfbinary {

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The lines of the text as the reader takes them: split at newlines, the
// byte-order mark of the first skipped, a line's first 511 chars up to a
// NUL, trimmed.
class lines {
public:
    explicit lines(const std::string& t) : t_(t) {
        if (t_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    }
    bool next(std::string& line) {
        if (pos_ >= t_.size()) return false;
        std::size_t nl = t_.find('\n', pos_);
        std::size_t end = nl == std::string::npos ? t_.size() : nl;
        std::string raw = t_.substr(pos_, end - pos_ < 511 ? end - pos_ : 511);
        raw = raw.c_str();
        std::size_t b = 0, e = raw.size();
        while (b < e && blank(raw[b])) ++b;
        while (e > b && blank(raw[e - 1])) --e;
        line = raw.substr(b, e - b);
        pos_ = nl == std::string::npos ? t_.size() : nl + 1;
        ++number_;
        return true;
    }
    long number() const { return number_; }

private:
    const std::string& t_;
    std::size_t pos_ = 0;
    long number_ = 0;
};

void little(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool integer(const std::string& v, long long lo, long long hi, long long& n) {
    const char* b = v.c_str();
    const char* e = b + v.size();
    if (b < e && *b == '+') ++b;
    std::from_chars_result r = std::from_chars(b, e, n);
    return r.ec == std::errc() && r.ptr == e && n >= lo && n <= hi;
}

int hexdigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Appends the value v of type k; false when the type cannot hold it.
bool value(ostra::valuetype k, const std::string& v, std::string& out) {
    long long n = 0;
    switch (k) {
    case ostra::stringtype:
        out += v;
        out += '\0';
        return true;
    case ostra::realtype: {
        double d = ostra::parsedouble(v.substr(0, 79).c_str());
        std::uint64_t u;
        std::memcpy(&u, &d, sizeof u);
        little(out, u, 8);
        return true;
    }
    case ostra::int16type:
        if (!integer(v, -32768, 32767, n)) return false;
        little(out, static_cast<std::uint64_t>(n), 2);
        return true;
    case ostra::int32type:
        if (!integer(v, -2147483648ll, 2147483647ll, n)) return false;
        little(out, static_cast<std::uint64_t>(n), 4);
        return true;
    case ostra::int64type:
        if (!integer(v, INT64_MIN, INT64_MAX, n)) return false;
        little(out, static_cast<std::uint64_t>(n), 8);
        return true;
    case ostra::booleantype:
        if (!integer(v, 0, 255, n)) return false;
        little(out, static_cast<std::uint64_t>(n), 1);
        return true;
    case ostra::chunktype: {
        if (v.size() % 2 != 0 || v.size() > 510) return false;
        out += static_cast<char>(v.size() / 2);
        for (std::size_t i = 0; i < v.size(); i += 2) {
            int hi = hexdigit(v[i]), lo = hexdigit(v[i + 1]);
            if (hi < 0 || lo < 0) return false;
            out += static_cast<char>(hi * 16 + lo);
        }
        return true;
    }
    case ostra::badtype:
        break;
    }
    return false;
}

void code(long c, codewidth width, std::string& out) {
    if (width == codewidth::one && c < 255) {
        out += static_cast<char>(c);
        return;
    }
    if (width == codewidth::one) out += '\xFF';
    little(out, static_cast<std::uint64_t>(c), 2);
}

// Two bytes for a drawing whose header says, in $ACADVER, that it comes
// from R13 or later (AC1012 on); one byte for an older one and for one that
// does not say, which readers take to be of the older form.
codewidth byversion(const std::string& text) {
    lines in(text);
    std::string c, v;
    bool acadver = false;
    while (in.next(c) && in.next(v)) {
        if (acadver) {
            int n = 0;
            bool number = c == "1" && v.compare(0, 2, "AC") == 0 &&
                          std::from_chars(v.data() + 2, v.data() + v.size(), n).ec == std::errc();
            return number && n >= 1012 ? codewidth::two : codewidth::one;
        }
        if (c == "0" && v == "ENDSEC") break;
        acadver = c == "9" && v == "$ACADVER";
    }
    return codewidth::one;
}

}  // namespace

bool convert(const std::string& text, codewidth width, std::string& out, std::string& error) {
    if (width == codewidth::byversion) width = byversion(text);
    out.assign("AutoCAD Binary DXF\r\n\x1a", 22);
    lines in(text);
    std::string c, v;
    while (in.next(c)) {
        long long n;
        ostra::valuetype k = integer(c, 0, 65535, n) ? ostra::valuetypeof(static_cast<int>(n)) : ostra::badtype;
        if (k == ostra::badtype) {
            error = "line " + std::to_string(in.number()) + ": no group code of a known type: " + c;
            return false;
        }
        if (!in.next(v)) {
            error = "line " + std::to_string(in.number()) + ": the group has no value";
            return false;
        }
        code(static_cast<long>(n), width, out);
        if (!value(k, v, out)) {
            error = "line " + std::to_string(in.number()) + ": not a value of its code's type: " + v;
            return false;
        }
        if (n == 0 && v == "EOF") break;
    }
    return true;
}

}  // namespace dxfbinary
