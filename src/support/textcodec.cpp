#include "support/textcodec.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace ostra {

namespace {

const char* const replacement = "\xEF\xBF\xBD";  // U+FFFD

// Stands for a \M+n code page that iconv could not open.
void* const failedopen = reinterpret_cast<void*>(-1);

bool equalsnocase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 32) : *a;
        if (x != *b) return false;
    }
    return *a == *b;
}

int hexdigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The value of four hex digits at p, or -1.
long hex4(const char* p) {
    long v = 0;
    for (int i = 0; i < 4; ++i) {
        int d = hexdigit(p[i]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

// The length of the \U+XXXX (7) or \M+nXXXX (8) escape at p, or 0.
std::size_t escapelength(const char* p) {
    if (p[0] != '\\' || (p[1] != 'U' && p[1] != 'M') || p[2] != '+') return 0;
    if (p[1] == 'U') return hex4(p + 3) >= 0 ? 7 : 0;
    return p[3] >= '1' && p[3] <= '5' && hex4(p + 4) >= 0 ? 8 : 0;
}

// The length of the valid UTF-8 sequence at p (of at most n bytes), or 0.
std::size_t utf8length(const unsigned char* p, std::size_t n) {
    unsigned char c = p[0];
    std::size_t k;
    unsigned long v;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) k = 2, v = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) k = 3, v = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) k = 4, v = c & 0x07;
    else return 0;
    if (k > n) return 0;
    for (std::size_t i = 1; i < k; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        v = v << 6 | (p[i] & 0x3F);
    }
    // No overlong forms, no surrogates, nothing beyond U+10FFFF.
    if ((k == 3 && (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF))) || (k == 4 && (v < 0x10000 || v > 0x10FFFF)))
        return 0;
    return k;
}

// Converts n bytes at p with cd, appending UTF-8; an invalid or incomplete
// sequence gives U+FFFD and the conversion goes on behind its first byte.
void iconvappend(iconv_t cd, std::string& out, const char* p, std::size_t n) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buf[256];
    char* in = const_cast<char*>(p);
    while (n > 0) {
        char* o = buf;
        std::size_t room = sizeof buf;
        std::size_t r = iconv(cd, &in, &n, &o, &room);
        out.append(buf, static_cast<std::size_t>(o - buf));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: one byte replaced, and on.
        out += replacement;
        ++in;
        --n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

struct codepagename {
    const char* dxf;
    const char* iconv;
};

const codepagename names[] = {
    {"ANSI_874", "CP874"},   {"ANSI_932", "CP932"},   {"ANSI_936", "CP936"},   {"ANSI_949", "CP949"},
    {"ANSI_950", "CP950"},   {"ANSI_1250", "CP1250"}, {"ANSI_1251", "CP1251"}, {"ANSI_1252", "CP1252"},
    {"ANSI_1253", "CP1253"}, {"ANSI_1254", "CP1254"}, {"ANSI_1255", "CP1255"}, {"ANSI_1256", "CP1256"},
    {"ANSI_1257", "CP1257"}, {"ANSI_1258", "CP1258"}, {"ANSI_1361", "CP1361"}, {"DOS437", "CP437"},
    {"DOS737", "CP737"},     {"DOS775", "CP775"},     {"DOS850", "CP850"},     {"DOS852", "CP852"},
    {"DOS855", "CP855"},     {"DOS857", "CP857"},     {"DOS860", "CP860"},     {"DOS861", "CP861"},
    {"DOS863", "CP863"},     {"DOS864", "CP864"},     {"DOS865", "CP865"},     {"DOS866", "CP866"},
    {"DOS869", "CP869"},     {"DOS932", "CP932"},     {"MACINTOSH", "MACINTOSH"}, {"BIG5", "BIG5"},
    {"GB2312", "GB2312"},    {"JOHAB", "JOHAB"},      {"KSC5601", "CP949"},    {"UTF8", "UTF-8"},
    {"UTF-8", "UTF-8"},
};

// The code pages of the \M+n escapes, n from 1 to 5.
const char* const mifcodepages[6] = {nullptr, "CP932", "CP950", "CP949", "CP1361", "CP936"};

}  // namespace

std::string iconvname(const char* codepage) {
    if (!codepage) return std::string();
    for (const codepagename& n : names)
        if (equalsnocase(codepage, n.dxf)) return n.iconv;
    // ISO8859-n as drawings write it.
    if (std::strncmp(codepage, "ISO8859-", 8) == 0 && codepage[8] && std::strlen(codepage) < 12)
        return std::string("ISO-8859-") + (codepage + 8);
    return std::string();
}

void appendutf8(std::string& out, unsigned long c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        out += replacement;
    } else if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

textdecoder::~textdecoder() { close(); }

void textdecoder::close() {
    if (cd_) iconv_close(static_cast<iconv_t>(cd_));
    cd_ = nullptr;
    for (void*& cd : mif_) {
        if (cd && cd != failedopen) iconv_close(static_cast<iconv_t>(cd));
        cd = nullptr;
    }
}

void textdecoder::setsource(const char* acadver, const char* codepage) {
    close();
    guess_ = !acadver && !codepage;
    // AC1021 and later: compared as text, as the versions are numbered.
    utf8_ = acadver && std::strncmp(acadver, "AC", 2) == 0 && std::strcmp(acadver, "AC1021") >= 0;
    std::string name = iconvname(codepage);
    if (name.empty()) name = "CP1252";
    if (name == "UTF-8") utf8_ = true;
    if (utf8_) return;
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-8", "CP1252");
    cd_ = cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd;
}

// Bytes of the source encoding; without a usable code page, ASCII passes
// and every other byte is U+FFFD.
void textdecoder::appendbytes(std::string& out, const char* p, std::size_t n) const {
    if (!utf8_ && cd_) return iconvappend(static_cast<iconv_t>(cd_), out, p, n);
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n;) {
        std::size_t k = utf8_ ? utf8length(u + i, n - i) : (u[i] < 0x80 ? 1 : 0);
        if (k == 0) {
            out += replacement;
            ++i;
        } else {
            out.append(p + i, k);
            i += k;
        }
    }
}

namespace {

bool validutf8(const char* text, std::size_t n) {
    const auto* u = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t i = 0; i < n;) {
        std::size_t k = utf8length(u + i, n - i);
        if (k == 0) return false;
        i += k;
    }
    return true;
}

}  // namespace

// Whether all of text is valid UTF-8.
bool validutf8(const char* text) { return validutf8(text, std::strlen(text)); }

char32_t nextutf8(const char*& p, const char* end) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    std::size_t k = utf8length(u, static_cast<std::size_t>(end - p));
    if (k == 0) {
        ++p;
        return 0xFFFD;
    }
    char32_t c = k == 1 ? u[0] : k == 2 ? u[0] & 0x1F : k == 3 ? u[0] & 0x0F : u[0] & 0x07;
    for (std::size_t i = 1; i < k; ++i) c = c << 6 | (u[i] & 0x3F);
    p += k;
    return c;
}

std::string textdecoder::decode(const char* text) const {
    if (guess_ && validutf8(text)) {
        textdecoder utf8;
        utf8.utf8_ = true;
        return utf8.decode(text);
    }
    std::string out;
    const char* run = text;  // the bytes not yet decoded
    const char* p = text;
    while (*p) {
        if (p[0] != '\\' || escapelength(p) == 0) {
            ++p;
            continue;
        }
        appendbytes(out, run, static_cast<std::size_t>(p - run));
        p += appendescape(out, p);
        run = p;
    }
    appendbytes(out, run, static_cast<std::size_t>(p - run));
    return out;
}

void textdecoder::convert(const char* text, std::size_t n, std::string& out) const {
    if (guess_ && validutf8(text, n)) {
        out.append(text, n);
        return;
    }
    appendbytes(out, text, n);
}

std::size_t textdecoder::appendescape(std::string& out, const char* p) const {
    std::size_t length = escapelength(p);
    if (length == 7) {
        appendutf8(out, static_cast<unsigned long>(hex4(p + 3)));
        return 7;
    }
    if (length == 0) return 0;
    long code = hex4(p + 4);
    void*& cd = mif_[p[3] - '0'];
    if (!cd) {
        iconv_t opened = iconv_open("UTF-8", mifcodepages[p[3] - '0']);
        cd = opened == reinterpret_cast<iconv_t>(-1) ? failedopen : opened;
    }
    if (cd == failedopen) {
        out += replacement;
    } else {
        char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        iconvappend(static_cast<iconv_t>(cd), out, pair, pair[0] ? 2 : 1);
    }
    return 8;
}

void textdecoder::appendcode(std::string& out, unsigned long code) const {
    if (code < 32 || code == 127) return;
    if (utf8_ || guess_ || code > 255) return appendutf8(out, code);
    char byte = static_cast<char>(code);
    appendbytes(out, &byte, 1);
}

}  // namespace ostra
