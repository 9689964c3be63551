// A converter of DXF drawings from the text form to the binary form, for
// the benchmarks and the tests: the same groups, each value written with the
// type the reader gives its code (reader/input/binarytypes.h).
#ifndef OSTRA_BENCH_DXFBINARY_H
#define OSTRA_BENCH_DXFBINARY_H

#include <string>

namespace dxfbinary {

enum class codewidth {
    one,        // one byte, 255 and two bytes for codes from 255 on (drawings before R13)
    two,        // two bytes (R13 on)
    byversion,  // two bytes when the header's $ACADVER is AC1012 (R13) or later, else one
};

// Converts the text drawing to binary, up to and including its EOF record,
// into out. Values are taken as the reader takes them (lines trimmed, a
// number from the first 79 chars of its text, read as the reader reads
// it), so that the binary drawing reads to the same geometry. False, with
// a message naming the line, for a code line that is not a number, a code
// of no known value type, a value that its type cannot hold, or a group cut
// by the end of the text.
bool convert(const std::string& text, codewidth width, std::string& out, std::string& error);

}  // namespace dxfbinary

#endif
