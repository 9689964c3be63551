#include "reader/groupreader.h"

#include <cstdio>

namespace ostra {

void groupreader::diagnose() const {
    std::printf("numerical group code expected\n");
    std::printf("%d: %s", lines_.count(), lines_.text());
}

}  // namespace ostra
