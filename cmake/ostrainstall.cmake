# Install rules and the CMake package (filled in by the packaging work).
