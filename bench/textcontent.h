// The words of the text preset: single lines for TEXT and attributes, and
// paragraphs with the MTEXT formatting codes, drawn from a generator.
#ifndef OSTRA_BENCH_TEXTCONTENT_H
#define OSTRA_BENCH_TEXTCONTENT_H

#include <string>

#include "dxfsink.h"

namespace dxfgen {

class textcontent {
public:
    explicit textcontent(rng& r) : r_(r) {}
    // A TEXT line: plain words, the %% codes, \U+ escapes, a caret escape,
    // a byte of the code page, now and then over 100 chars.
    std::string line();
    // MTEXT content: fragments with inline codes, in paragraphs; long ones
    // run over several 250-char chunks.
    std::string paragraphs(bool longone);
    // An attribute's value for its tag.
    std::string value(const char* tag);

private:
    std::string number(const char* format, int bound);
    std::string words(std::size_t atleast);
    rng& r_;
};

}  // namespace dxfgen

#endif
