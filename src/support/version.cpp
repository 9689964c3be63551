#include <ostra/version.h>

#include <cstdio>

namespace ostra {

namespace {
char versiontext[16];
}

const char* version(int& major, int& minor, int& revision) {
    major = 1;
    minor = 0;
    revision = 7;
    std::snprintf(versiontext, sizeof versiontext, "%d.%d.%d", major, minor, revision);
    return versiontext;
}

const char* version() {
    int major, minor, revision;
    return version(major, minor, revision);
}

}  // namespace ostra
