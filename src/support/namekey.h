// Names as hash keys. The default reading keys a name by its first 79 chars
// (a group value holds at most 79) and compares them as bytes. The exact
// reading compares names as a CAD program does: whole (up to 255 chars) and
// without regard to case, by their UTF-8 form; a namekeys object makes those
// keys.
#ifndef OSTRA_SUPPORT_NAMEKEY_H
#define OSTRA_SUPPORT_NAMEKEY_H

#include <cstddef>
#include <string>
#include <string_view>

namespace ostra {

constexpr std::size_t namekeylength = 79;

inline std::string_view namekey(const char* name) {
    std::size_t n = 0;
    while (n < namekeylength && name[n]) ++n;
    return std::string_view(name, n);
}

// The longest name the exact reading keeps: a drawing's names hold at most
// 255 chars.
constexpr int maxnamelength = 255;

// The UTF-8 text with its letters folded to upper case, as names compare:
// the letters of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic that
// have a single upper-case form (a to A, ä to Ä, ÿ to Ÿ, ς and σ to Σ, я to
// Я, ...). Every other char, and every byte that is not valid UTF-8, stays
// as it is. Throws std::bad_alloc when memory runs out.
std::string foldedname(std::string_view utf8);

// Keys of names for the exact reading: the UTF-8 form of a name, folded. A
// name of the drawing is decoded from the drawing's encoding; a name given by
// the host is taken in UTF-8 when names are handed out in UTF-8, else as a
// name of the drawing.
class namekeys {
public:
    // A name as the drawing spells it (its first maxnamelength chars) and
    // its key; both live as long as the namekeys object.
    struct keyed {
        std::string_view spelling;
        std::string_view key;
    };
    // Throw std::bad_alloc when memory runs out.
    virtual keyed drawingkey(const char* name) = 0;
    virtual std::string hostkey(const char* name) = 0;

protected:
    ~namekeys() = default;
};

}  // namespace ostra

#endif
