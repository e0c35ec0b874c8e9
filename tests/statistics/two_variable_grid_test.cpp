// The two-variable grid against numpy, the automatic interval count and the grid's mends.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "statistics/one_variable.h"
#include "statistics/two_variable_grid.h"
#include "tests/statistics/oracle_table.h"

namespace {

TEST(TwoVariableGrid, CountsAgainstNumpy) {
    const auto rows = ReadOracleTable("grid_counts.csv");
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& row : rows) {
        const int nx = static_cast<int>(row[4]), ny = static_cast<int>(row[5]);
        const long n = static_cast<long>(row[6]);
        const long cells = static_cast<long>(nx) * ny;
        const std::vector<std::uint32_t> expected(row.begin() + 7, row.begin() + 7 + cells);
        const std::vector<double> x(row.begin() + 7 + cells, row.begin() + 7 + cells + n);
        const std::vector<double> y(row.begin() + 7 + cells + n, row.begin() + 7 + cells + 2 * n);
        TwoVariableGrid g;
        SetGrid(g, row[0], row[1], row[2], row[3], nx, ny);
        CountRecords(g, x, y);
        EXPECT_EQ(g.counts, expected) << nx;
        EXPECT_EQ(static_cast<std::uint32_t>(g.largest), *std::max_element(expected.begin(), expected.end()));
    }
}

TEST(TwoVariableGrid, DensestCellAndIntervals) {
    TwoVariableGrid g;
    SetGrid(g, 0, 0, 1, 1, 3, 3);
    // Cells (0, 0) and (2, 2) both reach 2; (2, 2) got there first.
    EXPECT_EQ(CountRecords(g, {2.5, 0.5, 2.5, 0.5, 1.5}, {2.5, 0.5, 2.5, 0.5, 1.5}), 8);
    EXPECT_EQ(CountRecords(g, {}, {}), -1);

    for (const auto& [records, intervals] :
         {std::pair{5, 6}, std::pair{10, 6}, std::pair{100, 9}, std::pair{1000, 11}}) {
        int r = records;
        EXPECT_EQ(AutomaticIntervalCount(r), intervals) << records;
        EXPECT_GE(r, 10);
    }
    // Interval counts held to 1..1000; cells counted in 64 bits; no zero width.
    SetGrid(g, 0, 0, 0, -1, 0, 5000);
    EXPECT_EQ(std::tuple(g.nx, g.ny, g.cells), std::tuple(1, 1000, 1000));
    EXPECT_GT(g.widthX, 0);
    EXPECT_GT(g.widthY, 0);
    CountRecords(g, {7, 7, 7}, {7, 7, 7});
    EXPECT_EQ(g.counts[7], 3u);  // column 0, row 7 of the unit-wide fallback

    EXPECT_EQ(CoefficientOfVariation(0, 2), 1e40);  // a zero mean
    EXPECT_DOUBLE_EQ(CoefficientOfVariation(-4, 2), 50);
}

}  // namespace
