#include "reader/input/binaryreader.h"

#include "reader/input/binarytypes.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "reader/input/streamaccess.h"

namespace ostra {

namespace {

// The bytes a value of a fixed-size type takes, by valuetype.
constexpr int fixedsizes[] = {0, 0, 8, 2, 4, 8, 1, 0};

// The little-endian number in the n bytes at b.
std::uint64_t little(const unsigned char* b, int n) {
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[i];
    return v;
}

// The little-endian double at b.
double littledouble(const unsigned char* b) {
    std::uint64_t u;
    std::memcpy(&u, b, sizeof u);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    u = __builtin_bswap64(u);
#endif
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

// The text of a double: none; padding chars may be read all the same.
const char emptytext[binaryreader::padding] = {};

}  // namespace

// The bytes of memory, or of a stream's buffer, as the parser takes them.
struct binaryreader::memorybytes {
    const char* p;
    const char* end;

    const unsigned char* take(int n, unsigned char*) {
        if (end - p < n) return nullptr;
        const unsigned char* b = reinterpret_cast<const unsigned char*>(p);
        p += n;
        return b;
    }
    bool takestring(binaryreader& r) {
        const char* nul = static_cast<const char*>(std::memchr(p, '\0', static_cast<std::size_t>(end - p)));
        if (!nul) return false;
        r.setstring(p, static_cast<std::size_t>(nul - p), end - p >= padding);
        p = nul + 1;
        return true;
    }
};

// The bytes of a stream, one at a time; the bytes held to tell the code
// width come first.
struct binaryreader::streambytes {
    binaryreader& r;

    int get() {
        int c = r.heldnext_ < r.heldend_ ? r.held_[r.heldnext_++] : OSTRA_GETC(r.stream_);
        if (c != EOF) ++r.streamtaken_;
        return c;
    }
    const unsigned char* take(int n, unsigned char* scratch) {
        for (int i = 0; i < n; ++i) {
            int c = get();
            if (c == EOF) return nullptr;
            scratch[i] = static_cast<unsigned char>(c);
        }
        return scratch;
    }
    bool takestring(binaryreader& reader) {
        int n = 0;
        for (int c; (c = get()) != 0;) {
            if (c == EOF) return false;
            if (n < bufsize - 1) reader.buf_[n++] = static_cast<char>(c);
        }
        reader.buf_[n] = '\0';
        reader.setstring(reader.buf_, static_cast<std::size_t>(n), true);
        return true;
    }
};

void binaryreader::open(const char* data, const char* end) {
    start_ = cur_ = data;
    end_ = end;
    stream_ = nullptr;
}

void binaryreader::open(FILE* stream) {
    start_ = cur_ = end_ = nullptr;
    stream_ = stream;
}

long binaryreader::offset() const {
    return binarysentinelsize + (stream_ ? streamtaken_ : static_cast<long>(cur_ - start_));
}

// Two-byte codes when the first two bytes make a code of a known type (00 00
// is code 0), one-byte codes otherwise (code 0 then "SECTION" is 00 53) and
// always when the first byte is the escape of a one-byte drawing.
int binaryreader::detectwidth(int b0, int b1) const {
    if (b0 < 0 || b1 < 0 || b0 == 255) return 1;
    return valuetypeof(b0 | b1 << 8) != badtype ? 2 : 1;
}

template <class bytes>
bool binaryreader::readcode(bytes& in, int& code) {
    unsigned char scratch[2];
    const unsigned char* b;
    if (width_ == 1) {
        if (!(b = in.take(1, scratch))) return false;
        if (b[0] != 255) {
            code = b[0];
            return true;
        }
    }
    if (!(b = in.take(2, scratch))) return false;
    code = b[0] | b[1] << 8;
    return true;
}

template <class bytes>
binaryreader::result binaryreader::parse(bytes& in) {
    int c;
    if (!readcode(in, c)) return endofstream;
    code_ = c;
    isnumber_ = false;
    valuetype k = valuetypeof(c);
    unsigned char scratch[256];
    const unsigned char* b;
    switch (k) {
    case badtype:
        return badcode;
    case stringtype:
        return in.takestring(*this) ? ok : endofstream;
    case realtype:
        if (!(b = in.take(8, scratch))) return endofstream;
        number_ = littledouble(b);
        isnumber_ = true;
        text_ = emptytext;
        length_ = 0;
        return ok;
    case chunktype:
        if (!(b = in.take(1, scratch))) return endofstream;
        {
            int n = b[0];
            if (!(b = in.take(n, scratch))) return endofstream;
            setchunk(b, n);
        }
        return ok;
    default:
        if (!(b = in.take(fixedsizes[k], scratch))) return endofstream;
        setfixed(k, b);
        return ok;
    }
}

binaryreader::result binaryreader::read() {
    if (stopped_) return endofstream;
    if (stream_) return readstream();
    if (width_ == 0) {
        std::size_t n = static_cast<std::size_t>(end_ - cur_);
        width_ = detectwidth(n > 0 ? static_cast<unsigned char>(cur_[0]) : -1,
                             n > 1 ? static_cast<unsigned char>(cur_[1]) : -1);
    }
    memorybytes in{cur_, end_};
    result r = parse(in);
    // A cut value: everything up to the end has been read.
    cur_ = r == endofstream ? end_ : in.p;
    if (r == badcode) describebadcode();
    return r;
}

binaryreader::result binaryreader::readstream() {
    streambytes in{*this};
    if (width_ == 0) {
        // The first byte is part of the first code in either width; the
        // second goes back to the stream when it can, so that the stream
        // never stands past what was read.
        int b0 = OSTRA_GETC(stream_);
        int b1 = b0 == EOF ? EOF : OSTRA_GETC(stream_);
        if (b0 != EOF) held_[heldend_++] = b0;
        if (b1 != EOF && std::ungetc(b1, stream_) == EOF) held_[heldend_++] = b1;
        width_ = detectwidth(b0, b1);
    }
    result r;
#if OSTRA_DIRECT
    if (heldnext_ == heldend_) {
        // The group parsed in the stream's buffer; if it does not end there,
        // nothing is taken and it is read a byte at a time.
        memorybytes window{stream_->_IO_read_ptr, stream_->_IO_read_end};
        r = parse(window);
        if (r != endofstream) {
            streamtaken_ += window.p - stream_->_IO_read_ptr;
            stream_->_IO_read_ptr = const_cast<char*>(window.p);
            if (r == badcode) describebadcode();
            return r;
        }
    }
#endif
    r = parse(in);
    if (r == badcode) describebadcode();
    return r;
}

// An integer or a boolean, as decimal text.
void binaryreader::setfixed(int k, const unsigned char* b) {
    std::uint64_t u = little(b, fixedsizes[k]);
    long long v;
    switch (k) {
    case int16type: v = u >= 0x8000u ? static_cast<long long>(u) - 0x10000 : static_cast<long long>(u); break;
    case int32type: v = u >= 0x80000000u ? static_cast<long long>(u) - 0x100000000ll : static_cast<long long>(u); break;
    case int64type: std::memcpy(&v, &u, sizeof v); break;
    default: v = static_cast<long long>(u); break;  // a boolean's byte
    }
    std::to_chars_result t = std::to_chars(buf_, buf_ + bufsize, v);
    *t.ptr = '\0';
    text_ = buf_;
    length_ = static_cast<int>(t.ptr - buf_);
}

void binaryreader::setchunk(const unsigned char* b, int n) {
    static const char hex[] = "0123456789ABCDEF";
    for (int i = 0; i < n; ++i) {
        buf_[2 * i] = hex[b[i] >> 4];
        buf_[2 * i + 1] = hex[b[i] & 15];
    }
    buf_[2 * n] = '\0';
    text_ = buf_;
    length_ = 2 * n;
}

// A string of n chars at s, with a NUL behind it; padded when padding chars
// from s may be read. Only its first 511 chars are kept, like a text line's.
void binaryreader::setstring(const char* s, std::size_t n, bool padded) {
    if (n < static_cast<std::size_t>(bufsize) && padded) {
        text_ = s;
        length_ = static_cast<int>(n);
        return;
    }
    if (n > static_cast<std::size_t>(bufsize - 1)) n = bufsize - 1;
    if (s != buf_) std::memmove(buf_, s, n);
    buf_[n] = '\0';
    text_ = buf_;
    length_ = static_cast<int>(n);
}

// What the bad code's diagnostic shows; reading stops there.
void binaryreader::describebadcode() {
    stopped_ = true;
    char* e = buf_ + std::strlen(std::strcpy(buf_, "unknown binary group code "));
    *std::to_chars(e, buf_ + bufsize, code_).ptr = '\0';
    text_ = buf_;
    length_ = static_cast<int>(std::strlen(buf_));
}

}  // namespace ostra
