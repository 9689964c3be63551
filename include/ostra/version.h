// The library's version: 1.0.7.
#ifndef OSTRA_VERSION_H
#define OSTRA_VERSION_H

namespace ostra {

// Stores the three version numbers and returns the version text "1.0.7". The
// text lives in one process-wide buffer, rewritten with the same chars on
// every call; the pointer stays valid for the life of the process.
const char* version(int& major, int& minor, int& revision);
const char* version();

}  // namespace ostra

#endif
