// Drawings from the bench's generator held in strings, for tests that read
// the same drawing several ways.
#ifndef OSTRA_TESTS_GENERATED_H
#define OSTRA_TESTS_GENERATED_H

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dxfgen.h"

namespace testutil {

inline std::string generated(dxfgen::preset kind, double megabytes, int blocks, bool crlf = false) {
    dxfgen::options o;
    o.kind = kind;
    o.megabytes = megabytes;
    o.blocks = blocks;
    o.crlf = crlf;
    char* buf = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    dxfgen::generate(f, o);
    std::fclose(f);
    std::string s(buf, size);
    std::free(buf);
    return s;
}

}  // namespace testutil

#endif
