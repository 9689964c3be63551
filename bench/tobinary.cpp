// Converts a text drawing to the binary form:
//   tobinary [--one-byte-codes | --two-byte-codes] IN OUT
// Without an option the codes take two bytes when the header's $ACADVER is
// AC1012 (R13) or later, and one byte for an older drawing or one that does
// not give its version, as readers expect.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "dxfbinary.h"

int main(int argc, char** argv) {
    dxfbinary::codewidth width = dxfbinary::codewidth::byversion;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--one-byte-codes") == 0) width = dxfbinary::codewidth::one;
    if (argc > 1 && std::strcmp(argv[1], "--two-byte-codes") == 0) width = dxfbinary::codewidth::two;
    if (width != dxfbinary::codewidth::byversion) first = 2;
    if (argc != first + 2) {
        std::fprintf(stderr, "usage: tobinary [--one-byte-codes | --two-byte-codes] IN OUT\n");
        return 2;
    }
    std::ifstream in(argv[first], std::ios::binary);
    if (!in) {
        std::perror(argv[first]);
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out, error;
    if (!dxfbinary::convert(text, width, out, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[first], error.c_str());
        return 1;
    }
    std::ofstream o(argv[first + 1], std::ios::binary);
    o.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!o.flush()) {
        std::perror(argv[first + 1]);
        return 1;
    }
    std::printf("%s: %zu bytes\n", argv[first + 1], out.size());
    return 0;
}
