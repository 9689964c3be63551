// Helpers for tests of the binary form: hand-made groups, the converter,
// and readings compared without their line numbers.
#ifndef OSTRA_TESTS_BINARYBYTES_H
#define OSTRA_TESTS_BINARYBYTES_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "dxfbinary.h"
#include "reader/input/groupreader.h"

namespace testutil {

const std::string binarysentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);

// Hand-made binary groups after the sentinel.
class groups {
public:
    explicit groups(dxfbinary::codewidth w) : w_(w), s_(binarysentinel) {}
    groups& code(int c) {
        if (w_ == dxfbinary::codewidth::one && c < 255) {
            s_ += static_cast<char>(c);
        } else {
            if (w_ == dxfbinary::codewidth::one) s_ += '\xFF';
            little(static_cast<std::uint64_t>(c), 2);
        }
        return *this;
    }
    groups& text(int c, const std::string& v) {
        code(c);
        s_ += v;
        s_ += '\0';
        return *this;
    }
    groups& real(int c, double v) {
        std::uint64_t u;
        std::memcpy(&u, &v, 8);
        code(c).little(u, 8);
        return *this;
    }
    groups& integer(int c, long long v, int bytes) {
        code(c).little(static_cast<std::uint64_t>(v), bytes);
        return *this;
    }
    groups& chunk(int c, const std::string& data) {
        code(c);
        s_ += static_cast<char>(data.size());
        s_ += data;
        return *this;
    }
    groups& raw(const std::string& b) {
        s_ += b;
        return *this;
    }
    const std::string& bytes() const { return s_; }

private:
    void little(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) s_ += static_cast<char>(v >> (8 * i) & 0xFF);
    }
    dxfbinary::codewidth w_;
    std::string s_;
};

// The text drawing in the binary form; a failed conversion fails the test.
inline std::string tobinary(const std::string& text, dxfbinary::codewidth w) {
    std::string out, error;
    EXPECT_TRUE(dxfbinary::convert(text, w, out, error)) << error;
    return out;
}

// A reading's record without its line numbers, which count lines in text
// and bytes in binary.
inline std::vector<std::string> withoutlines(const std::vector<std::string>& record) {
    std::vector<std::string> out;
    for (std::string r : record) {
        std::size_t at = r.find(" line ");
        if (r.compare(0, 7, "status ") == 0 && at != std::string::npos) r.erase(at, r.find(" bad ") - at);
        out.push_back(r);
    }
    return out;
}

// One group: its code, its text, and its number when it is a double.
struct group {
    int code;
    std::string value;
    bool number;
    double v;
};

// The groups of a binary drawing as the group layer hands them out.
inline std::vector<group> groupsof(ostra::groupreader& r) {
    std::vector<group> out;
    while (r.read() == ostra::groupreader::ok) {
        EXPECT_EQ(std::strlen(r.value()), static_cast<std::size_t>(r.valuelength()));
        out.push_back({r.code(), r.value(), r.isnumber(), r.isnumber() ? r.number() : 0});
    }
    return out;
}

}  // namespace testutil

#endif
