#include "format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tool {

namespace {

const char* const replacement = "\xEF\xBF\xBD";  // U+FFFD

// Decodes one UTF-8 sequence at s[i]; returns its length and stores the code
// point, or returns 0 when the bytes there are not a valid sequence
// (truncated, overlong, a surrogate, or beyond U+10FFFF).
std::size_t decode(const std::string& s, std::size_t i, unsigned long& cp) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    std::size_t len;
    unsigned long min;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Calls f(sequence text, code point) for every character of s, with U+FFFD
// standing in for each byte that starts no valid sequence.
template <class F>
void eachchar(const std::string& s, F f) {
    for (std::size_t i = 0; i < s.size();) {
        unsigned long cp;
        const std::size_t n = decode(s, i, cp);
        if (n == 0) {
            f(std::string(replacement), 0xFFFDul);
            ++i;
        } else {
            f(s.substr(i, n), cp);
            i += n;
        }
    }
}

}  // namespace

std::string fixed6(double v) {
    if (std::isfinite(v) && std::fabs(v) < 5e-7) v = 0.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

std::string fixed6(const brevo::point& p) {
    return fixed6(p.x) + ' ' + fixed6(p.y) + ' ' + fixed6(p.z);
}

std::string fixed6(const brevo::vector& v) {
    return fixed6(v.x) + ' ' + fixed6(v.y) + ' ' + fixed6(v.z);
}

std::string shortest(double v) {
    if (v == 0.0) return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string jsonnumber(double v) {
    return std::isfinite(v) ? shortest(v) : "null";
}

std::string jsonarray(double x, double y, double z) {
    return '[' + jsonnumber(x) + ',' + jsonnumber(y) + ',' + jsonnumber(z) + ']';
}

std::string jsonarray(const brevo::point& p) { return jsonarray(p.x, p.y, p.z); }
std::string jsonarray(const brevo::vector& v) { return jsonarray(v.x, v.y, v.z); }

std::string jsonstring(const std::string& s) {
    std::string out = "\"";
    eachchar(s, [&out](const std::string& seq, unsigned long cp) {
        switch (cp) {
        case '"': out += "\\\""; return;
        case '\\': out += "\\\\"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        default: break;
        }
        if (cp < 0x20 || cp == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04lx", cp);
            out += buf;
        } else {
            out += seq;
        }
    });
    return out + '"';
}

std::string xmltext(const std::string& s) {
    std::string out;
    eachchar(s, [&out](const std::string& seq, unsigned long cp) {
        switch (cp) {
        case '&': out += "&amp;"; return;
        case '<': out += "&lt;"; return;
        case '>': out += "&gt;"; return;
        case '"': out += "&quot;"; return;
        case '\'': out += "&apos;"; return;
        default: break;
        }
        // XML 1.0 allows tab, newline and carriage return among the C0
        // controls, and neither U+FFFE nor U+FFFF.
        const bool allowed = cp == '\t' || cp == '\n' || cp == '\r' ||
                             (cp >= 0x20 && cp != 0xFFFE && cp != 0xFFFF);
        out += allowed ? seq : std::string(replacement);
    });
    return out;
}

std::string plainname(const std::string& s) {
    bool plain = !s.empty();
    for (unsigned char c : s) {
        if (c <= ' ' || c == '"' || c == '\\' || c == 0x7F) plain = false;
    }
    if (plain) return validutf8(s);
    std::string out = "\"";
    eachchar(s, [&out](const std::string& seq, unsigned long cp) {
        if (cp == '"' || cp == '\\') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\t') {
            out += "\\t";
        } else if (cp < 0x20 || cp == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02lx", cp);
            out += buf;
        } else {
            out += seq;
        }
    });
    return out + '"';
}

std::string printable(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned long cp;
        const std::size_t n = decode(s, i, cp);
        char buf[8];
        if (n == 0 || cp < 0x20 || cp == 0x7F) {
            std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(s[i]));
            out += buf;
        } else if (cp >= 0x80 && cp <= 0x9F) {
            std::snprintf(buf, sizeof buf, "\\u%04lx", cp);
            out += buf;
        } else {
            out.append(s, i, n);
        }
        i += n == 0 ? 1 : n;
    }
    return out;
}

std::string validutf8(const std::string& s) {
    std::string out;
    eachchar(s, [&out](const std::string& seq, unsigned long) { out += seq; });
    return out;
}

}  // namespace tool
