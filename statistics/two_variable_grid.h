#pragma once
// The rectangular grid of record counts over two variables that both two-variable
// distribution views draw: cell (i, j) at index i * ny + j, i along the first variable.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TwoVariableGrid {
    std::vector<std::uint32_t> counts;
    std::int64_t cells = 0;  // nx * ny
    double widthX = 0, widthY = 0;
    double originX = 0, originY = 0;
    std::int32_t nx = 0, ny = 0;
    std::int32_t largest = 0;  // highest count seen since it was last reset
};

// Interval counts are held to 1..kMaxTwoVariableIntervals when used.
constexpr int kMaxTwoVariableIntervals = 1000;
int ClampIntervals(int n);

// trunc(sqrt(20 ln r)) with r raised to at least 10 first (written back): 10 records give 6.
int AutomaticIntervalCount(int& largestRecordCount);

// A grid of nx by ny cells of the given widths from the origin, counts cleared. A width that is
// not positive (a constant variable) becomes 1, so every record still finds its cell.
void SetGrid(TwoVariableGrid& g, double originX, double originY, double widthX, double widthY, int nx, int ny);

// Cell of a record: each index truncated and kept inside the grid.
std::int64_t CellOf(const TwoVariableGrid& g, double x, double y);

// Clears the counts and counts every record (x[k], y[k]); raises g.largest. Returns the
// densest cell: the first whose count exceeds every earlier count (-1 with no record).
std::int64_t CountRecords(TwoVariableGrid& g, const std::vector<double>& x, const std::vector<double>& y);

// Two columns read in place: record k's values at x[k * stride] and y[k * stride].
struct TwoColumns {
    const double* x = nullptr;
    const double* y = nullptr;
    std::size_t records = 0;
    std::size_t stride = 1;
};

// The same count over columns read in place.
std::int64_t CountRecords(TwoVariableGrid& g, const TwoColumns& c);

// The means of x and of y over the records that fall into `cell`; false when none does.
bool MeansInCell(const TwoVariableGrid& g, const TwoColumns& c, std::int64_t cell, double& mx, double& my);
