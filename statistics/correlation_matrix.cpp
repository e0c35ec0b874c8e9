#include "statistics/correlation_matrix.h"

#include <algorithm>
#include <cmath>

#include "statistics/one_variable.h"

namespace {

// Records go through in blocks: each block is centred once into a small buffer, then every
// pair's sums take the block's products. A pair's sums still add its products in record
// order, one at a time, so each coefficient equals the pairwise computation exactly; only
// the pairs are interleaved, which keeps the work in the cache and lets several pairs'
// products be formed side by side.
constexpr std::size_t kBlockRecords = 128;

// The mean as MeanOf forms it: shifted by the first value.
template <class At>
void Means(std::size_t records, std::size_t n, At at, std::vector<double>& mean) {
    mean.assign(n, 0.0);
    if (records == 0) return;
    std::vector<double> shift(n), sum(n, 0.0);
    for (std::size_t p = 0; p < n; ++p) shift[p] = at(0, p);
    for (std::size_t r = 0; r < records; ++r)
        for (std::size_t p = 0; p < n; ++p) sum[p] += at(r, p) - shift[p];
    for (std::size_t p = 0; p < n; ++p) mean[p] = shift[p] + sum[p] / static_cast<double>(records);
}

// Sums of products of centred values: sums[i * padded + j] for the pairs j >= i (tiles that
// cross the diagonal also fill some j < i, which nobody reads). Parameters are padded with
// zero columns to a whole number of tiles; a tile of 2 x 8 pairs keeps its sums in registers
// through a block.
constexpr std::size_t kTileRows = 2, kTileColumns = 8;

template <class At>
std::vector<double> CentredProductSums(std::size_t records, std::size_t n, std::size_t padded, At at,
                                       const std::vector<double>& mean) {
    std::vector<double> sums(padded * padded, 0.0);
    std::vector<double> block(kBlockRecords * padded, 0.0);
    for (std::size_t start = 0; start < records; start += kBlockRecords) {
        const std::size_t count = std::min(kBlockRecords, records - start);
        for (std::size_t k = 0; k < count; ++k)
            for (std::size_t p = 0; p < n; ++p) block[k * padded + p] = at(start + k, p) - mean[p];
        for (std::size_t i0 = 0; i0 < n; i0 += kTileRows) {
            for (std::size_t j0 = i0 / kTileColumns * kTileColumns; j0 < n; j0 += kTileColumns) {
                double acc[kTileRows][kTileColumns];
                for (std::size_t r = 0; r < kTileRows; ++r)
                    for (std::size_t c = 0; c < kTileColumns; ++c) acc[r][c] = sums[(i0 + r) * padded + j0 + c];
                for (std::size_t k = 0; k < count; ++k) {
                    const double* d = block.data() + k * padded;
                    for (std::size_t r = 0; r < kTileRows; ++r) {
                        const double di = d[i0 + r];
                        for (std::size_t c = 0; c < kTileColumns; ++c) acc[r][c] += di * d[j0 + c];
                    }
                }
                for (std::size_t r = 0; r < kTileRows; ++r)
                    for (std::size_t c = 0; c < kTileColumns; ++c) sums[(i0 + r) * padded + j0 + c] = acc[r][c];
            }
        }
    }
    return sums;
}

// As CorrelationCoefficient finishes a pair.
double Coefficient(double sxy, double sxx, double syy) {
    if (!(sxx > 0) || !(syy > 0)) return 0;
    return std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
}

template <class At>
std::vector<double> MatrixOf(std::size_t records, std::size_t n, At at) {
    std::vector<double> m(n * n, 0.0);
    if (records == 0) return m;
    std::vector<double> mean;
    Means(records, n, at, mean);
    const std::size_t padded = (n + kTileColumns - 1) / kTileColumns * kTileColumns + kTileColumns;
    const std::vector<double> s = CentredProductSums(records, n, padded, at, mean);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i; j < n; ++j)
            m[i * n + j] = m[j * n + i] = Coefficient(s[i * padded + j], s[i * padded + i], s[j * padded + j]);
    }
    return m;
}

}  // namespace

std::vector<double> CorrelationMatrix(const std::vector<std::vector<double>>& columns) {
    const std::size_t n = columns.size();
    const std::size_t records = n ? columns[0].size() : 0;
    const bool even = std::all_of(columns.begin(), columns.end(), [&](const auto& c) { return c.size() == records; });
    if (even) return MatrixOf(records, n, [&columns](std::size_t r, std::size_t p) { return columns[p][r]; });
    // Columns of unequal length: pair by pair (a pair of unequal columns has no coefficient).
    std::vector<double> m(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i; j < n; ++j) m[i * n + j] = m[j * n + i] = CorrelationCoefficient(columns[i], columns[j]);
    return m;
}

std::vector<double> CorrelationMatrixOfRecords(const double* values, std::size_t records, std::size_t stride,
                                               std::size_t n) {
    return MatrixOf(records, n, [values, stride](std::size_t r, std::size_t p) { return values[r * stride + p]; });
}
