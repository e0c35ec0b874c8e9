#include <clocale>

#include <gtest/gtest.h>

#include "platform/format.h"

using platform::Format;

// Written in the process's numeric locale, which the program keeps at "C" (start-up's reset is
// checked by Locale.StartUpKeepsThePointDecimal under a comma-decimal locale).
TEST(Format, WritesPrintfText) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(Format("%g", 1e6), "1e+06");
    EXPECT_EQ(Format("%g", 0.5), "0.5");
    EXPECT_EQ(Format("%d|%s", 7, "x"), "7|x");
    const std::string big(1000, 'a');
    EXPECT_EQ(Format("%s!", big.c_str()), big + "!");  // longer than any fixed buffer
}
