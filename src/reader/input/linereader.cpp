#include "reader/input/linereader.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "reader/input/linescan.h"
#include "reader/input/streamaccess.h"

// With SSE2 the first 32 bytes of a line are classified at once: newline or
// NUL, blank, digit; trimming and code conversion then need no loop over
// the chars for lines shorter than 32 (nearly all).
#if OSTRA_DIRECT && OSTRA_SIMD_AVAILABLE
#define OSTRA_SIMD 1
#else
#define OSTRA_SIMD 0
#endif

namespace ostra {

namespace {

using namespace linescan;

#if OSTRA_DIRECT

// The offset of the first newline or NUL among the bytes [i, n) at p, or n.
// With store, the bytes looked at are copied to the same offsets of out.
template <bool store>
inline std::size_t findstop(const char* p, std::size_t i, std::size_t n, char* out) {
#if OSTRA_SIMD
    const __m128i nl = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (store) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
        unsigned m = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, nl), _mm_cmpeq_epi8(v, zero))));
        if (m) return i + static_cast<std::size_t>(__builtin_ctz(m));
    }
#endif
    for (; i < n; ++i) {
        if (store) out[i] = p[i];
        if (p[i] == '\n' || p[i] == '\0') return i;
    }
    return n;
}

// The bytes of the get area that a line may take: at most 512, so that a
// newline found among them leaves at most 511 chars of text.
inline std::size_t window(FILE* f) {
    std::size_t avail = static_cast<std::size_t>(f->_IO_read_end - f->_IO_read_ptr);
    return avail < static_cast<std::size_t>(linereader::bufsize) ? avail : linereader::bufsize;
}

// Where the line whose text stops at p[k] (a newline or a NUL) ends: behind
// its newline, or null when the newline is not within the n bytes.
inline char* lineend(char* p, std::size_t k, std::size_t n) {
    if (p[k] == '\n') return p + k + 1;
    // A NUL ends the text; the line still ends at its newline.
    void* nl = std::memchr(p + k + 1, '\n', n - k - 1);
    return nl ? static_cast<char*>(nl) + 1 : nullptr;
}

#endif

}  // namespace

linereader::linereader(FILE* stream) : stream_(stream), text_(buf_) { std::memset(buf_, 0, sizeof buf_); }

// Every way of reading a line ends here: the text is [b, e) of buf_ less
// its leading and trailing blanks (unless the range is trimmed already),
// lines more lines are counted, and the stream moves on to next, behind
// the line in its buffer, unless fgets has moved it already (next null).
template <bool trim>
inline bool linereader::accept(char* b, char* e, char* next, int lines) {
    if (trim) {
        while (b < e && istrim(*b)) ++b;
        while (e > b && istrim(e[-1])) --e;
    }
    *e = '\0';
    text_ = b;
    length_ = static_cast<int>(e - b);
    count_ += lines;
#if OSTRA_DIRECT
    if (next) stream_->_IO_read_ptr = next;
#else
    (void)next;
#endif
    return true;
}

bool linereader::read() {
#if OSTRA_SIMD
    char* p = stream_->_IO_read_ptr;
    if (!first_ && stream_->_IO_read_end - p >= 32) {
        __m128i v0 = load(p), v1 = load(p + 16);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(buf_), v0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(buf_ + 16), v1);
        unsigned stops = stopbits(v0) | stopbits(v1) << 16;
        if (stops) {
            unsigned k = static_cast<unsigned>(__builtin_ctz(stops));
            char* next = lineend(p, k, window(stream_));
            if (next) {
                // The non-blank chars before the stop: the trimmed text runs
                // from the first to the last of them.
                unsigned keep = ~(blankbits(v0) | blankbits(v1) << 16) & ((1u << k) - 1);
                return accept<false>(buf_ + firstbit(keep), buf_ + endbit(keep), next, 1);
            }
        } else {
            std::size_t n = window(stream_);
            std::size_t k = findstop<true>(p, 32, n, buf_);
            char* next = k < n ? lineend(p, k, n) : nullptr;
            if (next) return accept<true>(buf_, buf_ + k, next, 1);
        }
    }
#elif OSTRA_DIRECT
    if (!first_) {
        char* p = stream_->_IO_read_ptr;
        std::size_t n = window(stream_);
        std::size_t k = findstop<true>(p, 0, n, buf_);
        char* next = k < n ? lineend(p, k, n) : nullptr;
        if (next) return accept<true>(buf_, buf_ + k, next, 1);
    }
#endif
    return readslow();
}

void linereader::unread(const char* bytes, int n) {
    if (n > static_cast<int>(sizeof held_)) n = static_cast<int>(sizeof held_);
    std::memcpy(held_, bytes, static_cast<std::size_t>(n));
    heldend_ = n;
    heldnext_ = 0;
}

// fgets into buf_, the bytes given back by unread() first.
bool linereader::fill() {
    if (heldnext_ == heldend_) return OSTRA_FGETS(buf_, bufsize, stream_) != nullptr;
    int n = 0;
    while (heldnext_ < heldend_) {
        char c = held_[heldnext_++];
        buf_[n++] = c;
        if (c == '\n') break;
    }
    buf_[n] = '\0';
    if (buf_[n - 1] != '\n' && !OSTRA_FGETS(buf_ + n, bufsize - n, stream_)) buf_[n] = '\0';
    return true;
}

bool linereader::readslow() {
    if (crlines_) return readcr();
    // A sentinel in the last place tells whether fgets filled the buffer: it
    // then holds the terminating NUL. Only then can a rest of the line remain
    // (unless the last char taken was the newline).
    buf_[bufsize - 1] = 'x';
    if (!fill()) {
        buf_[0] = '\0';
        text_ = buf_;
        length_ = 0;
        return false;
    }
    if (buf_[bufsize - 1] == '\0' && buf_[bufsize - 2] != '\n') {
        int c;
        while ((c = OSTRA_GETC(stream_)) != EOF && c != '\n') {
        }
    }
    char* p = buf_;
    if (first_) {
        // The fast paths wait until the bytes given back are used up; those
        // never begin with a byte-order mark.
        first_ = heldnext_ < heldend_;
        if (p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF') p += 3;
    }
    // Text after an embedded NUL is not part of the line.
    return accept<true>(p, p + std::strlen(p), nullptr, 1);
}

// The next byte, from those given back first.
int linereader::nextbyte() {
    if (heldnext_ < heldend_) return static_cast<unsigned char>(held_[heldnext_++]);
    return OSTRA_GETC(stream_);
}

// A line by the CR rule, byte by byte: its first 511 bytes before its line
// end are its text (up to a NUL), the rest is dropped. A CR is looked past:
// an LF behind it belongs to its line end, any other byte is given back, so
// that the stream stands right behind a lone CR. The first line decides
// whether the rule stays.
bool linereader::readcr() {
    int c = nextbyte();
    if (c == EOF) {
        buf_[0] = '\0';
        text_ = buf_;
        length_ = 0;
        return false;
    }
    int n = 0;
    for (; c != EOF && c != '\n' && c != '\r'; c = nextbyte())
        if (n < bufsize - 1) buf_[n++] = static_cast<char>(c);
    bool lone = false;
    if (c == '\r') {
        bool held = heldnext_ < heldend_;
        int d = nextbyte();
        lone = d != '\n';
        if (d != EOF && lone) {
            if (held)
                --heldnext_;
            else
                std::ungetc(d, stream_);
        }
    }
    buf_[n] = '\0';
    char* p = buf_;
    if (count_ == 0) {
        if (p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF') p += 3;
        crlines_ = lone;
        first_ = lone || heldnext_ < heldend_;
    }
    return accept<true>(p, p + std::strlen(p), nullptr, 1);
}

linereader::coderesult linereader::readgroupslow(int& code) {
    coderesult r = readcode(code);
    if (r != codeok) return r;
    return read() ? codeok : endofstream;
}

linereader::coderesult linereader::readcode(int& code) {
#if OSTRA_SIMD
    char* p = stream_->_IO_read_ptr;
    if (!first_ && stream_->_IO_read_end - p >= 32) {
        __m128i v0 = load(p), v1 = load(p + 16);
        unsigned stops = stopbits(v0) | stopbits(v1) << 16;
        if (stops) {
            unsigned k = static_cast<unsigned>(__builtin_ctz(stops));
            char* next = lineend(p, k, window(stream_));
            if (next) {
                unsigned before = (1u << k) - 1;
                unsigned digits = (digitbits(v0) | digitbits(v1) << 16) & before;
                unsigned blanks = (blankbits(v0) | blankbits(v1) << 16) & before;
                if ((digits | blanks) != before) {
                    // Not a code: the line is read as read() reads it, for
                    // the diagnostic.
                    read();
                    return notacode;
                }
                ++count_;
                stream_->_IO_read_ptr = next;
                code = codeof(p, k, digits);
                return codeok;
            }
        }
    }
#endif
#if OSTRA_DIRECT
    if (!first_) {
        char* p = stream_->_IO_read_ptr;
        std::size_t n = window(stream_);
        std::size_t k = findstop<false>(p, 0, n, nullptr);
        char* next = k < n ? lineend(p, k, n) : nullptr;
        if (next) {
            if (!scancode(p, p + k, code)) {
                read();
                return notacode;
            }
            ++count_;
            stream_->_IO_read_ptr = next;
            return codeok;
        }
    }
#endif
    if (!readslow()) return endofstream;
    // The trimmed line may still hold inner blanks ("10 20" is code 10).
    return scancode(text_, text_ + length_, code) ? codeok : notacode;
}

}  // namespace ostra
