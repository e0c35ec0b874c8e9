// The colour of percentage cells: small percentages green, 10 % black, large ones red.
#include <gtest/gtest.h>

#include <cmath>

#include "app/tabulon_dlg.h"

namespace {

TEST(ColorForPercent, RunsFromGreenThroughBlackToRed) {
    struct Case {
        double percent;
        int r, g;
    };
    const Case cases[] = {
        {-5, 0, 255}, {0, 0, 255},  {2, 0, 255},   {4, 0, 203},   {5, 0, 169},   {8, 0, 68},     {10, 0, 0},
        {20, 63, 0},  {30, 127, 0}, {45, 223, 0},  {50, 255, 0},  {60, 255, 0},  {100, 255, 0},  {std::nan(""), 255, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ColorForPercent(c.percent), platform::Rgb(c.r, c.g, 0)) << c.percent;
}

}  // namespace
