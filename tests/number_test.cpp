// Number conversion and formatting agree with the C library in the C locale,
// and stay so when the host switches to a comma-decimal locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/number.h"

namespace {

const char* const numbertexts[] = {
    "0", "", "   12.5abc", "\t-3", "+3", "-.5", ".", "+-3", "--1", "- 5", "1e5", "1e", "1.e-3",
    "1e400", "-1e400", "1e-400", "2.2250738585072014e-308", "4.9e-324", "0x10", "0X1p3", "0x",
    "nan", "-inf", "Infinity", "12,5", "1.7976931348623157e308", "123456789012345678901234567890",
    "0.1", "3.14159265358979323846264338327950288", "1,5", "e5", "5e+2", "  \v\f 7",
    // Around the limits of the plain-decimal fast path.
    "9007199254740992", "9007199254740993", "900719925474099.3", "1234567890123456789", "-0.0", "1.",
    "0.0000000000000000000001", "0.00000000000000000000001", "00000000000000000001.5", "123.456.7",
    "1.5E3", "7.25e", "0.30000000000000004", "-17.000000", "2.5 ", "1.5x3", "0.12345678",
    "0.1234567", "0.123456789", "12345678901.12345678", "123456789012.12345678", "1.12345678e3",
    "1.1234567/", "1.12345678:", "-0.00000000000000000001", "3044.392914541953",
    // Around the sixteen chars looked at at once: the stop as the sixteenth
    // char, the number ending as the sixteenth or seventeenth.
    "123456789012345.6", "123456789012345.", "12345678901234.5", "1234567.12345678", "1234567.1234567",
    ".12345678901234", ".123456789012345", "-999999999999999", "9999999999999999", "-", "+", "-e5"};

// parsedouble of t as a reader slot holds it: in an 80-char buffer whose
// chars after the NUL are digits left by a longer earlier text.
double parseinslot(const char* t) {
    char slot[80];
    std::memset(slot, '7', sizeof slot);
    std::size_t n = std::strlen(t);
    std::memcpy(slot, t, n + 1);
    return ostra::parsedouble(slot, slot + sizeof slot);
}

TEST(NumberParse, AgreesWithTheCLibraryInTheCLocale) {
    for (const char* t : numbertexts) {
        double want = std::strtod(t, nullptr);
        for (double got : {ostra::parsedouble(t), parseinslot(t)}) {
            if (std::isnan(want)) {
                EXPECT_TRUE(std::isnan(got)) << t;
            } else {
                EXPECT_EQ(std::memcmp(&want, &got, sizeof want), 0) << t << ": " << want << " vs " << got;
            }
        }
    }
}

// Random decimals of the forms drawings carry: up to 20 digits in all, the
// full stop anywhere or absent, an optional sign and exponent.
TEST(NumberParse, RandomDecimalsAgreeBitForBit) {
    std::uint64_t state = 0x9e3779b97f4a7c15u;
    auto rnd = [&state](unsigned n) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<unsigned>(state >> 33) % n;
    };
    char t[64];
    for (int i = 0; i < 200000; ++i) {
        std::size_t n = 0;
        if (rnd(3) == 0) t[n++] = "+-"[rnd(2)];
        unsigned digits = 1 + rnd(20), stop = rnd(digits + 2);
        for (unsigned d = 0; d < digits; ++d) {
            if (d == stop) t[n++] = '.';
            t[n++] = static_cast<char>('0' + rnd(10));
        }
        if (rnd(8) == 0) n += static_cast<std::size_t>(std::snprintf(t + n, 8, "e%d", static_cast<int>(rnd(40)) - 20));
        t[n] = '\0';
        double want = std::strtod(t, nullptr), got = ostra::parsedouble(t), slot = parseinslot(t);
        ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << t;
        ASSERT_EQ(std::memcmp(&want, &slot, sizeof want), 0) << t;
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
