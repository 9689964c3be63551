// Number conversion and formatting agree with the C library in the C locale,
// and stay so when the host switches to a comma-decimal locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/number.h"

namespace {

const char* const numbertexts[] = {
    "0", "", "   12.5abc", "\t-3", "+3", "-.5", ".", "+-3", "--1", "- 5", "1e5", "1e", "1.e-3",
    "1e400", "-1e400", "1e-400", "2.2250738585072014e-308", "4.9e-324", "0x10", "0X1p3", "0x",
    "nan", "-inf", "Infinity", "12,5", "1.7976931348623157e308", "123456789012345678901234567890",
    "0.1", "3.14159265358979323846264338327950288", "1,5", "e5", "5e+2", "  \v\f 7"};

TEST(NumberParse, AgreesWithTheCLibraryInTheCLocale) {
    for (const char* t : numbertexts) {
        double want = std::strtod(t, nullptr);
        double got = ostra::parsedouble(t);
        if (std::isnan(want)) {
            EXPECT_TRUE(std::isnan(got)) << t;
        } else {
            EXPECT_EQ(std::memcmp(&want, &got, sizeof want), 0) << t << ": " << want << " vs " << got;
        }
    }
}

TEST(NumberFormat, AgreesWithPrintfInTheCLocale) {
    const double values[] = {0.0, -0.0, 1.0, -1.5, 0.25, 1e20, 0.0000004, -0.0000001, 0.0000005,
                             0.0000015, 123456.7890125, 5e-324, 2.5e-7, 0.1 + 0.2, 1.0 / 3.0,
                             9.99e71, -9.99e70, NAN, -NAN, INFINITY, -INFINITY};
    for (double v : values) {
        char want[400], got[ostra::formatcapacity + 1];
        std::snprintf(want, sizeof want, "%.6f", v);
        std::size_t n = ostra::formatfixed6(v, got);
        got[n] = '\0';
        EXPECT_STREQ(got, want) << v;
    }
}

// Fixed text longer than a reader keeps (79 chars) would read back as another
// number; such values are written in the shortest exact form instead. The
// boundary: 9.99e71 is 79 chars fixed, -9.99e71 is 80.
TEST(NumberFormat, ValuesTooLongForFixedTextReadBackExactly) {
    const double values[] = {-9.99e71, 1e72, 1e308, -1e308, 1.7976931348623157e308, 123456789e100};
    for (double v : values) {
        char got[ostra::formatcapacity + 1];
        std::size_t n = ostra::formatfixed6(v, got);
        got[n] = '\0';
        EXPECT_LE(n, ostra::formatlimit) << got;
        EXPECT_EQ(ostra::parsedouble(got), v) << got;
    }
    char b[ostra::formatcapacity + 1];
    b[ostra::formatfixed6(1e308, b)] = '\0';
    EXPECT_STREQ(b, "1e+308");
}

TEST(NumberLocale, CommaDecimalLocaleChangesNothing) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    EXPECT_EQ(ostra::parsedouble("1.5"), 1.5);
    EXPECT_EQ(ostra::parsedouble("0x1p-1"), 0.5);  // the slow path, too
    EXPECT_EQ(ostra::parsedouble("1,5"), 1.0);
    EXPECT_EQ(ostra::parsedouble("1e400"), HUGE_VAL);
    char b[ostra::formatcapacity + 1];
    b[ostra::formatfixed6(-2.5, b)] = '\0';
    EXPECT_STREQ(b, "-2.500000");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
