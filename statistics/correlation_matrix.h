#pragma once
// The matrix of correlation coefficients of a set of columns.
#include <cstddef>
#include <vector>

// n x n coefficients of the n columns, entry i * n + j for columns i and j (symmetric, 1 on
// the diagonal of a column with spread, 0 for a column without).
std::vector<double> CorrelationMatrix(const std::vector<std::vector<double>>& columns);

// The same matrix of the n parameters of records laid out record by record (parameter p of
// record r at values[r * stride + p]), read in place. Each coefficient is the one
// CorrelationCoefficient gives for the two columns, to the last bit.
std::vector<double> CorrelationMatrixOfRecords(const double* values, std::size_t records, std::size_t stride,
                                               std::size_t n);
