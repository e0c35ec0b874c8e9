// The number texts of formula text against the C library's own conversions.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <tuple>

#include "formula/number_text.h"

namespace {

// Doubles of every kind: random bits, integers, halves and ties, decimal fractions,
// and powers across the range the evaluator meets.
double RandomDouble(std::mt19937_64& random, int kind)
{
    switch (kind % 6) {
    case 0: {
        const std::uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return std::isfinite(v) ? v : 1.5;
    }
    case 1:
        return std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 80));
    case 2:
        return static_cast<double>(static_cast<std::int64_t>(random() % 2000000001) - 1000000000) +
               0.5 * static_cast<double>(random() % 3);
    case 3:
        return std::round(std::uniform_real_distribution<double>(-1e4, 1e4)(random) * 1e6) / 1e6;
    case 4:
        return static_cast<double>(random() % 10000000) * std::pow(10.0, static_cast<int>(random() % 30) - 20);
    default:
        return std::pow(10.0, std::uniform_real_distribution<double>(-25, 25)(random)) *
               ((random() & 1) ? 1 : -1);
    }
}

TEST(NumberText, WritesAsPrintfDoes)
{
    std::mt19937_64 random(11);
    char expected[512];
    for (int i = 0; i < 300000; ++i) {
        const double v = RandomDouble(random, i);
        std::snprintf(expected, sizeof expected, "%g", v);
        ASSERT_EQ(numtext::GText(v), expected) << "%g of " << v;
        std::snprintf(expected, sizeof expected, "%f", v);
        ASSERT_EQ(numtext::FText(v), expected) << "%f of " << v;
        // Reading the text back gives the value the shortcut computes.
        ASSERT_EQ(numtext::ReadBackG(v), std::strtod(numtext::GText(v).c_str(), nullptr)) << v;
        ASSERT_EQ(numtext::ReadBackF(v), std::strtod(numtext::FText(v).c_str(), nullptr)) << v;
    }
    const double special[] = {0.0, -0.0, 1e-320, 12345.25, 0.0078125, 999999.5, 9999995,
                              1e15, 123456789012.5, 2.5e-7, 1e22, 1e23};
    for (double v : special) {
        std::snprintf(expected, sizeof expected, "%g", v);
        EXPECT_EQ(numtext::GText(v), expected);
        std::snprintf(expected, sizeof expected, "%f", v);
        EXPECT_EQ(numtext::FText(v), expected);
    }
    std::snprintf(expected, sizeof expected, "%.20g", 0.1);
    EXPECT_EQ(numtext::PrecisionGText(0.1, 20), expected);
    EXPECT_EQ(numtext::IntText(-2147483648LL), "-2147483648");
}

TEST(NumberText, ReadsAsStrtodDoes)
{
    std::mt19937_64 random(12);
    char text[64];
    for (int i = 0; i < 300000; ++i) {
        const double v = RandomDouble(random, i);
        const int style = i % 3;
        std::snprintf(text, sizeof text, style == 0 ? "%.17g" : style == 1 ? "%g" : "%.9e", v);
        ASSERT_EQ(numtext::ReadReal(text), std::strtod(text, nullptr)) << text;
    }
    const char* texts[] = {"12abc", "  -3.5e2x", "+.5", "5.", ".", "-", "e5", "1e", "1e+",
                           "1e-400", "1e400", "123456789012345678901234567890", "0.000000000000000000001",
                           "4.9406564584124654e-324", "1.7976931348623157e308", "00012.50"};
    for (const char* t : texts)
        EXPECT_EQ(numtext::ReadReal(t), std::strtod(t, nullptr)) << t;
    // Forms that are not decimal numbers read as 0 (the C library would take them).
    EXPECT_EQ(numtext::ReadReal("inf"), 0.0);
    EXPECT_EQ(numtext::ReadReal("nan"), 0.0);
    EXPECT_EQ(numtext::ReadReal("0x1p3"), 0.0);
}

TEST(NumberText, IntegersInThirtyTwoBits)
{
    const std::tuple<const char*, bool, std::int32_t> cases[] = {
        {" -2147483648", true, INT32_MIN}, {"+12x", true, 12}, {"abc", true, 0},
        {"2147483648", false, 0},          {"99999999999999999999999", false, 0},
    };
    for (const auto& [text, ok, value] : cases) {
        std::int32_t v = 99;
        EXPECT_EQ(numtext::ReadInt32(text, v), ok) << text;
        if (ok) {
            EXPECT_EQ(v, value) << text;
        }
    }
    EXPECT_EQ(numtext::ReadInt32Clamped("-99999999999"), INT32_MIN);
    EXPECT_EQ(numtext::ReadInt32Clamped("99999999999"), INT32_MAX);
}

}  // namespace
