// What the fuzz targets of the reader share: a check that aborts, and an
// input stream over a copy of the bytes.
#ifndef OSTRA_FUZZ_FUZZSUPPORT_H
#define OSTRA_FUZZ_FUZZSUPPORT_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzz {

inline void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "reader_fuzz: check failed: %s\n", what);
        std::abort();
    }
}

// A read-only stream over a copy of the bytes (an exact-size heap copy, so
// that any read past the end is caught). fmemopen refuses a size of 0: an
// empty input is a stream that is at its end at once.
class input {
public:
    input(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {
        f_ = size == 0 ? std::fopen("/dev/null", "r") : fmemopen(bytes_.data(), size, "r");
        check(f_ != nullptr, "the input stream opens");
    }
    ~input() { std::fclose(f_); }
    input(const input&) = delete;
    input& operator=(const input&) = delete;
    FILE* get() const { return f_; }

private:
    std::vector<std::uint8_t> bytes_;
    FILE* f_;
};

}  // namespace fuzz

#endif
