// A differential check of the line layer: ostra::linereader, and
// ostra::memlinereader over the same bytes, against a plain reference built
// on fgets, on random streams full of the awkward cases (blanks of every
// kind, NUL bytes, lines around 16, 32 and 511 chars, a byte-order mark, a
// last line without newline) and with stream buffers of many sizes, so that
// lines cross buffer ends at every offset. After every
// call the result, the text, its length, the line count and the stream
// position must agree. The fast paths must never change a result.
//
// Half of the rounds allow the CR rule: then streams whose first line ends
// with a lone CR mix lone CRs, LFs and CR LFs as line ends (a CR LF often
// across a buffer's end, a CR at the 511-char cut), and the reference reads
// them byte by byte; the other streams must read as without the rule.
//
// usage: linecheck [ROUNDS] [SEED]; exits non-zero at the first difference.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "reader/input/linereader.h"
#include "reader/input/memlinereader.h"

namespace {

// The reference: fgets into 512 chars, the rest of an overlong line dropped,
// the byte-order mark of the first line skipped, C-string cut, trimmed. With
// the CR rule allowed and a first line that ends with a lone CR, every line
// is read byte by byte to its LF, CR LF or lone CR instead.
class reference {
public:
    reference(FILE* f, bool allowcr) : f_(f), cr_(allowcr) {}

    bool read() {
        if (cr_) return readcr();
        char b[512];
        // fgets filled the buffer exactly when the last place holds its NUL;
        // only then can a rest of the line remain.
        b[511] = 'x';
        if (!std::fgets(b, sizeof b, f_)) {
            text_.clear();
            return false;
        }
        ++count_;
        if (b[511] == '\0' && b[510] != '\n') {
            int c;
            while ((c = std::getc(f_)) != EOF && c != '\n') {
            }
        }
        const char* p = b;
        if (first_) {
            first_ = false;
            if (p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF') p += 3;
        }
        const char* e = p + std::strlen(p);
        while (p < e && blank(*p)) ++p;
        while (e > p && blank(e[-1])) --e;
        text_.assign(p, e);
        return true;
    }

    // 1 code, 0 not a code, -1 end of stream.
    int readcode(int& code) {
        if (!read()) return -1;
        for (char c : text_)
            if (!((c >= '0' && c <= '9') || blank(c))) return 0;
        long long v = 0;
        for (char c : text_) {
            if (c < '0' || c > '9') break;
            v = v * 10 + (c - '0');
            if (v > INT_MAX) {
                v = INT_MAX;
                break;
            }
        }
        code = static_cast<int>(v);
        return 1;
    }

    int readgroup(int& code) {
        int r = readcode(code);
        if (r != 1) return r;
        return read() ? 1 : -1;
    }

    const std::string& text() const { return text_; }
    long count() const { return count_; }

private:
    bool readcr() {
        int c = std::getc(f_);
        if (c == EOF) {
            text_.clear();
            return false;
        }
        ++count_;
        std::string b;
        for (; c != EOF && c != '\n' && c != '\r'; c = std::getc(f_)) b += static_cast<char>(c);
        bool lone = false;
        if (c == '\r') {
            int d = std::getc(f_);
            lone = d != '\n';
            if (lone && d != EOF) std::ungetc(d, f_);
        }
        if (b.size() > 511) b.resize(511);
        b = b.substr(0, std::strlen(b.c_str()));
        if (first_) {
            first_ = false;
            cr_ = lone;
            if (b.compare(0, 3, "\xEF\xBB\xBF") == 0) b.erase(0, 3);
        }
        std::size_t i = 0, e = b.size();
        while (i < e && blank(b[i])) ++i;
        while (e > i && blank(b[e - 1])) --e;
        text_ = b.substr(i, e - i);
        return true;
    }

    static bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    FILE* f_;
    bool cr_;  // the CR rule: allowed for the first line, then kept after a lone CR
    std::string text_;
    long count_ = 0;
    bool first_ = true;
};

class rng {
public:
    explicit rng(std::uint64_t s) : s_(s) {}
    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t s_;
};

std::string randomline(rng& r) {
    static const char codechars[] = "0123456789  \t\r";
    static const char anychars[] = "0123456789  \t\r-.+eEabcXYZ_\xEF\xBB\xBF\v\f";
    int kind = r.below(100);
    int n;
    if (kind < 55) n = r.below(8);
    else if (kind < 80) n = 8 + r.below(30);  // around the 16 and 32 windows
    else if (kind < 92) n = 505 + r.below(12);  // around 511
    else if (kind < 97) n = 38 + r.below(80);
    else n = 512 + r.below(2000);
    bool code = r.below(3) != 0;
    std::string s;
    for (int i = 0; i < n; ++i) {
        if (r.below(200) == 0) {
            s += '\0';
            continue;
        }
        s += code ? codechars[r.below(sizeof codechars - 1)] : anychars[r.below(sizeof anychars - 1)];
    }
    if (code && n < 12 && r.below(4) == 0) {
        // Long runs of digits, to saturate.
        s = std::string(static_cast<std::size_t>(9 + r.below(12)), static_cast<char>('1' + r.below(9)));
    }
    return s;
}

// A line end: LF, or with mixed ends LF, CR LF or a lone CR.
const char* randomend(rng& r, bool mixed) {
    static const char* const ends[] = {"\n", "\r\n", "\r", "\r"};
    return mixed ? ends[r.below(4)] : "\n";
}

// With mixed ends the lines are cut of CRs and LFs of their own, and the
// first one ends with a lone CR but for a few streams.
std::string randomstream(rng& r, bool mixed) {
    std::string s;
    if (r.below(4) == 0) s += "\xEF\xBB\xBF";
    int lines = r.below(400);
    for (int i = 0; i < lines; ++i) {
        std::string l = randomline(r);
        if (mixed)
            for (char& c : l)
                if (c == '\r') c = ' ';
        s += l;
        s += i == 0 && mixed && r.below(8) != 0 ? "\r" : randomend(r, mixed);
    }
    if (r.below(3) == 0) s += randomline(r);  // a last line without newline
    return s;
}

FILE* open(const std::string& text, int buffering) {
    FILE* f = std::tmpfile();
    if (!f) return nullptr;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fflush(f);
    std::rewind(f);
    if (buffering == 0) std::setvbuf(f, nullptr, _IONBF, 0);
    else if (buffering > 0) std::setvbuf(f, nullptr, _IOFBF, static_cast<std::size_t>(buffering));
    return f;
}

std::string show(const std::string& s) {
    std::string o;
    for (unsigned char c : s) {
        if (c >= 32 && c < 127) {
            o += static_cast<char>(c);
        } else {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            o += b;
        }
    }
    return o;
}

// Reads the whole text with got and want side by side, ops chosen at
// random; position() is where got stands. False at the first difference,
// which is printed.
template <class lines, class where>
bool compare(lines& got, reference& want, FILE* wantfile, where position, rng& r, const char* what, long& calls) {
    for (;;) {
        int op = r.below(3);
        int gotcode = -7, wantcode = -7;
        int gotresult, wantresult;
        if (op == 0) {
            gotresult = got.read() ? 1 : -1;
            wantresult = want.read() ? 1 : -1;
        } else if (op == 1) {
            ostra::linereader::coderesult c = got.readcode(gotcode);
            gotresult = c == ostra::linereader::codeok ? 1 : c == ostra::linereader::notacode ? 0 : -1;
            wantresult = want.readcode(wantcode);
        } else {
            ostra::linereader::coderesult c = got.readgroup(gotcode);
            gotresult = c == ostra::linereader::codeok ? 1 : c == ostra::linereader::notacode ? 0 : -1;
            wantresult = want.readgroup(wantcode);
        }
        ++calls;
        // The text is compared where the call defines it: after read(),
        // a value of readgroup(), and a line that is not a code.
        bool textdefined = (op == 0 && gotresult == 1) || gotresult == 0 || (op == 2 && gotresult == 1);
        std::string gottext(got.text(), static_cast<std::size_t>(got.length()));
        bool same = gotresult == wantresult && got.count() == want.count() &&
                    position() == std::ftell(wantfile) && (gotresult != 1 || op == 0 || gotcode == wantcode) &&
                    (!textdefined || (gottext == want.text() && std::strlen(got.text()) == gottext.size()));
        if (!same) {
            std::printf("%s: difference, op %d\n", what, op);
            std::printf("  got:  result %d code %d count %ld pos %ld text \"%s\"\n", gotresult, gotcode, got.count(),
                        position(), show(gottext).c_str());
            std::printf("  want: result %d code %d count %ld pos %ld text \"%s\"\n", wantresult, wantcode,
                        want.count(), std::ftell(wantfile), show(want.text()).c_str());
            return false;
        }
        if (gotresult == -1) return true;
    }
}

}  // namespace

int main(int argc, char** argv) {
    long rounds = argc > 1 ? std::atol(argv[1]) : 2000;
    std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    rng r(seed);
    const int bufferings[] = {-1, 0, 1, 2, 3, 16, 17, 31, 32, 33, 64, 100, 511, 512, 513, 1000, 4096};
    long calls = 0;
    for (long round = 0; round < rounds; ++round) {
        // Odd rounds allow the CR rule, and most of them have mixed ends.
        const bool allowcr = round % 2 == 1;
        std::string text = randomstream(r, allowcr && r.below(4) != 0);
        int buffering = bufferings[r.below(sizeof bufferings / sizeof bufferings[0])];
        FILE* a = open(text, buffering);
        FILE* b = open(text, buffering);
        FILE* c = open(text, -1);
        if (!a || !b || !c) {
            std::perror("tmpfile");
            return 1;
        }
        // The stream's line reader, then the memory's, each against the reference.
        ostra::linereader fromstream(a);
        fromstream.allowcr(allowcr);
        reference want(b, allowcr);
        bool same = compare(fromstream, want, b, [a] { return std::ftell(a); }, r, "stream", calls);
        ostra::memlinereader frommemory(text.data(), text.size());
        frommemory.allowcr(allowcr);
        reference again(c, allowcr);
        same = same && compare(frommemory, again, c, [&frommemory] { return static_cast<long>(frommemory.offset()); },
                               r, "memory", calls);
        if (!same) {
            std::printf("in round %ld (seed %llu, buffering %d)\n", round, static_cast<unsigned long long>(seed),
                        buffering);
            return 1;
        }
        std::fclose(a);
        std::fclose(b);
        std::fclose(c);
    }
    std::printf("linecheck: %ld rounds, %ld calls, no difference\n", rounds, calls);
    return 0;
}
