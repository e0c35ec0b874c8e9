#include "statistics/color_maps.h"

#include "statistics/oracle_table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ColorWord Word(double r, double g, double b)
{
    return static_cast<ColorWord>(r) | (static_cast<ColorWord>(g) << 8) | (static_cast<ColorWord>(b) << 16);
}

TEST(ColorMaps, AllThreeMapsFollowTheOracleTable)
{
    const auto rows = ReadOracleTable("color_map.csv");
    ASSERT_GT(rows.size(), 200u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 10u);
        const double v = row[0];
        EXPECT_EQ(ValueToColor(v), Word(row[1], row[2], row[3])) << "v = " << v;
        EXPECT_EQ(AbsValueToColor(v), Word(row[4], row[5], row[6])) << "v = " << v;
        EXPECT_EQ(ValueToGreenShade(v), Word(row[7], row[8], row[9])) << "v = " << v;
    }
}

TEST(ColorMaps, BandEdgesAndTheWordLayout)
{
    struct Case {
        double v;
        ColorWord share;
    };
    const Case cases[] = {
        {0.98, 0x00FF00},  {0.975, 0x00FF00}, {0.9, 0x000000}, {0.7, 0x00007F},
        {0.5, 0x0000FF},   {0.3, 0x0000FF},   {-1.0, 0x0000FF}, {std::nan(""), 0x0000FF},
    };
    for (const Case& c : cases) EXPECT_EQ(ValueToColor(c.v), c.share) << c.v;
    EXPECT_EQ(AbsValueToColor(-0.99), 0x00FF00u);
    EXPECT_EQ(ValueToGreenShade(0.5), 0xC0FFC0u);
    EXPECT_EQ(ValueToGreenShade(-1.0), 0x00FF00u);
    EXPECT_EQ(ValueToGreenShade(0.0), 0xFFFFFFu);
}

}  // namespace
