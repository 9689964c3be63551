// Names and texts of a drawing turned into UTF-8. Drawings before R2007 hold
// their texts in the code page named by $DWGCODEPAGE; later ones hold UTF-8.
// Either may carry escapes: \U+XXXX (a Unicode code point) and \M+nXXXX (a
// double-byte character of an East Asian code page, n from 1 to 5). Bytes
// that are invalid in the source encoding become U+FFFD.
#ifndef OSTRA_SUPPORT_TEXTCODEC_H
#define OSTRA_SUPPORT_TEXTCODEC_H

#include <string>

namespace ostra {

class textdecoder {
public:
    textdecoder() = default;
    ~textdecoder();
    textdecoder(const textdecoder&) = delete;
    textdecoder& operator=(const textdecoder&) = delete;

    // The source encoding, from the drawing's $ACADVER and $DWGCODEPAGE
    // values (null when the drawing has none): UTF-8 from AC1021 (R2007) on,
    // the code page before; ANSI_1252 when none is named or the name is not
    // known. A drawing that names neither (no header, as small programs
    // write them) has each text taken as UTF-8 when it is valid UTF-8, and
    // as ANSI_1252 otherwise.
    void setsource(const char* acadver, const char* codepage);

    // The UTF-8 form of text. Throws std::bad_alloc when memory runs out.
    std::string decode(const char* text) const;

    // Appends the UTF-8 form of the n bytes at text with every escape kept as
    // it stands (the source encoding only is changed; a drawing that names
    // no encoding has the n bytes taken as UTF-8 when they are valid UTF-8).
    // Throws std::bad_alloc.
    void convert(const char* text, std::size_t n, std::string& out) const;

    // When p starts a \U+XXXX or \M+nXXXX escape, appends the character it
    // stands for (U+FFFD for a surrogate or an invalid double-byte code) and
    // returns the escape's length (7 or 8); otherwise appends nothing and
    // returns 0. p must point into a NUL-terminated string: no byte after a
    // NUL is looked at. Throws std::bad_alloc.
    std::size_t appendescape(std::string& out, const char* p) const;

    // Appends the character of code in the drawing's encoding, as %%nnn
    // names it: in a drawing with a code page a code up to 255 is that byte
    // of the code page; in a UTF-8 drawing (and one that names no encoding),
    // and for codes above 255, it is the Unicode code point. Control codes
    // (below 32, and 127) append nothing. Throws std::bad_alloc.
    void appendcode(std::string& out, unsigned long code) const;

private:
    void appendbytes(std::string& out, const char* p, std::size_t n) const;
    void close();

    bool utf8_ = false;
    bool guess_ = false;
    void* cd_ = nullptr;  // the iconv descriptor from the code page to UTF-8
    // The descriptors of the \M+n code pages, opened when first used.
    mutable void* mif_[6] = {};
};

// The iconv name of a $DWGCODEPAGE value ("ANSI_1251" is "CP1251"), "UTF-8"
// for UTF-8, and "" when it is not known.
std::string iconvname(const char* codepage);

// Whether all of text is valid UTF-8.
bool validutf8(const char* text);

// Appends the UTF-8 form of the code point c (U+FFFD for a surrogate or a
// value beyond U+10FFFF).
void appendutf8(std::string& out, unsigned long c);

// The code point of the UTF-8 sequence at p (before end), p moved past it;
// a byte that does not start a valid sequence gives U+FFFD and p moves by
// that one byte. p must be before end.
char32_t nextutf8(const char*& p, const char* end);

}  // namespace ostra

#endif
