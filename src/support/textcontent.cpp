#include "support/textcontent.h"

namespace ostra {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The codes whose argument runs up to a ';'.
bool takesargument(char c) {
    switch (c) {
    case 'f': case 'F': case 'H': case 'W': case 'Q': case 'T': case 'A': case 'C': case 'c': case 'p':
        return true;
    default:
        return false;
    }
}

// One pass over the UTF-8 text s (NUL-terminated at s.size()) appending
// the plain text to out. Every step moves on by at least one byte.
class contentparser {
public:
    contentparser(const textdecoder& codec, const std::string& s, textsyntax syntax, std::string& out)
        : codec_(codec), s_(s.c_str()), n_(s.size()), mtext_(syntax == textsyntax::mtext), out_(out) {}

    void run() {
        std::size_t i = 0;
        while (i < n_) {
            char c = s_[i];
            if (c == '^') {
                i = caret(i);
            } else if (c == '%' && s_[i + 1] == '%') {
                i = percent(i);
            } else if (c == '\\') {
                i = mtext_ ? backslash(i) : escape(i);
            } else if (mtext_ && (c == '{' || c == '}')) {
                ++i;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                control(c);
                ++i;
            } else {
                i = ordinary(i);
            }
        }
    }

private:
    bool special(char c) const {
        return c == '^' || c == '%' || c == '\\' || static_cast<unsigned char>(c) < 0x20 ||
               (mtext_ && (c == '{' || c == '}'));
    }

    void put(char c) {
        out_ += c;
        afterreturn_ = false;
    }

    // A run of bytes without meaning, copied at once.
    std::size_t ordinary(std::size_t i) {
        std::size_t j = i + 1;
        while (j < n_ && !special(s_[j])) ++j;
        out_.append(s_ + i, j - i);
        afterreturn_ = false;
        return j;
    }

    void control(char c) {
        if (c == '\n') {
            if (!afterreturn_) out_ += '\n';
            afterreturn_ = false;
        } else if (c == '\r') {
            out_ += '\n';
            afterreturn_ = true;
        } else if (c == '\t') {
            put('\t');
        }
    }

    std::size_t caret(std::size_t i) {
        char x = s_[i + 1];
        if (x == ' ') {
            put('^');
            return i + 2;
        }
        if (x >= '@' && x <= '_') {
            control(static_cast<char>(x - 64));
            return i + 2;
        }
        put('^');
        return i + 1;
    }

    void putcode(unsigned long code) {
        codec_.appendcode(out_, code);
        afterreturn_ = false;
    }

    // At "%%".
    std::size_t percent(std::size_t i) {
        char x = lower(s_[i + 2]);
        if (x == 'c') {
            putcode(0x2205);
        } else if (x == 'd') {
            putcode(0xB0);
        } else if (x == 'p') {
            putcode(0xB1);
        } else if (!mtext_ && x == '%') {
            put('%');
        } else if (!mtext_ && (x == 'u' || x == 'o' || x == 'k')) {
            afterreturn_ = false;
        } else if (digit(s_[i + 2]) && digit(s_[i + 3]) && digit(s_[i + 4])) {
            putcode(static_cast<unsigned long>((s_[i + 2] - '0') * 100 + (s_[i + 3] - '0') * 10 + (s_[i + 4] - '0')));
            return i + 5;
        } else {
            out_.append("%%");
            afterreturn_ = false;
            return i + 2;
        }
        return i + 3;
    }

    // A backslash of single-line text: only \U+ and \M+ mean something.
    std::size_t escape(std::size_t i) {
        std::size_t length = codec_.appendescape(out_, s_ + i);
        if (length == 0) {
            put('\\');
            return i + 1;
        }
        afterreturn_ = false;
        return i + length;
    }

    std::size_t backslash(std::size_t i) {
        char x = s_[i + 1];
        switch (x) {
        case '\\': case '{': case '}':
            put(x);
            return i + 2;
        case 'P': case 'X':
            out_ += '\n';
            afterreturn_ = false;
            return i + 2;
        case '~':
            putcode(0xA0);
            return i + 2;
        case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
            return i + 2;
        case 'S':
            return stack(i + 2);
        default:
            break;
        }
        if (takesargument(x)) return argument(i + 2);
        return escape(i);
    }

    // Past a code's argument from j.
    std::size_t argument(std::size_t j) const {
        while (j < n_ && s_[j] != ';' && s_[j] != '\\' && s_[j] != '{' && s_[j] != '}') ++j;
        return j < n_ && s_[j] == ';' ? j + 1 : j;
    }

    // The stacked text from j.
    std::size_t stack(std::size_t j) {
        bool split = false;
        while (j < n_) {
            char c = s_[j];
            if (c == ';') return j + 1;
            if (c == '{' || c == '}') return j;
            if (c == '\\') {
                std::size_t length = codec_.appendescape(out_, s_ + j);
                if (length > 0) {
                    afterreturn_ = false;
                    j += length;
                } else if (j + 1 < n_) {
                    if (static_cast<unsigned char>(s_[j + 1]) >= 0x20) put(s_[j + 1]);
                    j += 2;
                } else {
                    ++j;
                }
            } else if (!split && (c == '^' || c == '/' || c == '#')) {
                put('/');
                split = true;
                j += c == '^' && s_[j + 1] == ' ' ? 2 : 1;
            } else if (c == '%' && s_[j + 1] == '%') {
                j = percent(j);
            } else if (static_cast<unsigned char>(c) < 0x20) {
                ++j;
            } else {
                put(c);
                ++j;
            }
        }
        return j;
    }

    const textdecoder& codec_;
    const char* s_;
    std::size_t n_;
    bool mtext_;
    std::string& out_;
    bool afterreturn_ = false;  // the last thing put was a carriage return
};

}  // namespace

void decodecontent(const textdecoder& codec, const char* text, std::size_t n, textsyntax syntax,
                   textcontent& out) {
    out.raw.clear();
    out.plain.clear();
    out.cut = 0;
    if (n > maxtextbytes) {
        out.cut = n - maxtextbytes;
        n = maxtextbytes;
    }
    codec.convert(text, n, out.raw);
    contentparser(codec, out.raw, syntax, out.plain).run();
}

}  // namespace ostra
