#pragma once
// The matrix of correlation coefficients of a set of columns.
#include <vector>

// n x n coefficients of the n columns, entry i * n + j for columns i and j (symmetric, 1 on
// the diagonal of a column with spread, 0 for a column without).
std::vector<double> CorrelationMatrix(const std::vector<std::vector<double>>& columns);
