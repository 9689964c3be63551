#include "reader/groupreader.h"

#include <cstdio>

namespace ostra {

groupreader::result groupreader::read() {
    switch (lines_.readgroup(code_)) {
    case linereader::codeok:
        break;
    case linereader::notacode:
        std::printf("numerical group code expected\n");
        std::printf("%d: %s", lines_.count(), lines_.text());
        return malformed;
    case linereader::endofstream:
        return endofstream;
    }
    return ok;
}

}  // namespace ostra
