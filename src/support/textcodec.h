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

private:
    void appendbytes(std::string& out, const char* p, std::size_t n) const;
    void close();

    bool utf8_ = false;
    bool guess_ = false;
    void* cd_ = nullptr;  // the iconv descriptor from the code page to UTF-8
};

// The iconv name of a $DWGCODEPAGE value ("ANSI_1251" is "CP1251"), "UTF-8"
// for UTF-8, and "" when it is not known.
std::string iconvname(const char* codepage);

// Whether all of text is valid UTF-8.
bool validutf8(const char* text);

// Appends the UTF-8 form of the code point c (U+FFFD for a surrogate or a
// value beyond U+10FFFF).
void appendutf8(std::string& out, unsigned long c);

}  // namespace ostra

#endif
