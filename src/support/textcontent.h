// The words of a text record as plain UTF-8: the stored text of TEXT,
// ATTRIB and ATTDEF (single-line) or of MTEXT (its chunks, groups 3 then 1,
// joined) turned into what a reader sees, with its codes interpreted.
//
// Both kinds:
// - The stored bytes are first converted to UTF-8 (textdecoder::convert);
//   a byte invalid in the source encoding is U+FFFD.
// - \U+XXXX and \M+nXXXX are the characters they stand for (an incomplete
//   one is kept as it stands). The character is never read as a code.
// - Caret escapes: ^ followed by one of @ A-Z [ \ ] ^ _ is the control
//   character of that letter's code minus 64 (^J line feed, ^I tab, ^M
//   carriage return); "^ " is a caret. A caret before anything else, or at
//   the end, is kept.
// - Control characters (escaped or not): a line feed is a line break, a
//   carriage return too (a line feed right after it adds none), a tab is a
//   tab; the others, NUL included, are dropped.
// - %%c is the diameter sign U+2205, %%d the degree sign, %%p the plus-minus
//   sign; %%nnn (exactly three digits) is the character of that code
//   (textdecoder::appendcode). The letters may be capitals. Any other %% is
//   kept as it stands.
// Single-line text only: %%% is a percent sign and the toggles %%u, %%o and
// %%k are removed; a backslash is an ordinary character.
// MTEXT only (its reference keeps %%% and the toggles to single-line text:
// there they are kept as they stand):
// - \P and \X are line breaks, \~ a no-break space (U+00A0), \\ \{ \} the
//   character.
// - \L \l \O \o \K \k are removed. \f \F \H \W \Q \T \A \C \c \p are
//   removed with their argument: up to and with the next ';', or, where a
//   ';' is missing, up to the next backslash, brace or the end of the text.
// - \S stacks: the text up to the next ';' (removed), or where it is missing
//   up to the next brace or the end, is the stack. Its first ^, / or # (a
//   space after a ^ dropped, as "^ " is how a caret is written) becomes '/';
//   inside it a backslash makes the next character literal and %% codes
//   work as outside.
// - Braces group: they are removed, unmatched ones too.
// - A backslash before any other character is kept, and so is one at the end.
//
// Linear in the text's length; at most maxtextbytes bytes are looked at.
#ifndef OSTRA_SUPPORT_TEXTCONTENT_H
#define OSTRA_SUPPORT_TEXTCONTENT_H

#include <cstddef>
#include <string>

#include "support/textcodec.h"

namespace ostra {

// The most bytes of stored text that are decoded: the bytes beyond it are
// cut (and counted); a character the cut splits is U+FFFD, an escape it
// splits is kept as it stands. A joined MTEXT may use it as its bound too.
constexpr std::size_t maxtextbytes = 65536;

enum class textsyntax {
    singleline,  // TEXT, ATTRIB, ATTDEF
    mtext,       // MTEXT (and the text of dimensions and leaders that use it)
};

struct textcontent {
    std::string raw;      // the stored text in UTF-8, every code kept
    std::string plain;    // the plain text, lines separated by '\n'
    std::size_t cut = 0;  // the stored bytes beyond maxtextbytes, not decoded
};

// Decodes the n bytes at text into out (whose strings are reused: their
// memory stays for the next text). Throws std::bad_alloc when memory runs
// out, out then holding an unfinished result.
void decodecontent(const textdecoder& codec, const char* text, std::size_t n, textsyntax syntax,
                   textcontent& out);

}  // namespace ostra

#endif
