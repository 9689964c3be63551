#include "reader/groupreader.h"

#include <cstdio>

namespace ostra {

void groupreader::diagnose() const {
    if (!messages_) return;
    std::fprintf(messages_, "numerical group code expected\n");
    std::fprintf(messages_, "%ld: %s", lines_.count(), lines_.text());
}

}  // namespace ostra
