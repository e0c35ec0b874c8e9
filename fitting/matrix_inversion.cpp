#include "fitting/matrix_inversion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

// target[i] += source[i]*factor for i in [begin, end); the columns never overlap.
inline void AddScaledColumn(double* __restrict target, const double* __restrict source, double factor,
                            int begin, int end)
{
    for (int i = begin; i < end; ++i)
        target[i] = target[i] + source[i] * factor;
}

// Index of the first element of x[0 .. count) whose magnitude is the largest and
// strictly above best (best then takes that magnitude), or -1. Four interleaved
// scans keep the comparisons independent; merging them keeps the first index.
int FirstLarger(const double* x, int count, double& best)
{
    double lane[4] = {best, best, best, best};
    int index[4] = {-1, -1, -1, -1};
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        for (int l = 0; l < 4; ++l) {
            const double v = std::fabs(x[i + l]);
            if (v > lane[l]) {
                lane[l] = v;
                index[l] = i + l;
            }
        }
    }
    for (; i < count; ++i) {
        const double v = std::fabs(x[i]);
        if (v > lane[0]) {
            lane[0] = v;
            index[0] = i;
        }
    }
    int found = -1;
    for (int l = 0; l < 4; ++l) {
        if (index[l] < 0)
            continue;
        if (found < 0 || lane[l] > best || (lane[l] == best && index[l] < found)) {
            best = lane[l];
            found = index[l];
        }
    }
    return found;
}

// at(i, j) gives element (i, j) counted from 1, each column contiguous; rowOf and colOf receive the
// pivot position of each step (index k-1 for step k). scale, rowAt and colAt are work lists of n
// entries: the magnitudes of the diagonal as given, and which row and column of the matrix as
// given stands at each place after the interchanges so far.
template <typename At>
double GaussJordan(int n, At at, double negligibleShare, int* rowOf, int* colOf, double* scale, int* rowAt,
                   int* colAt)
{
    for (int i = 1; i <= n; ++i) {
        scale[i - 1] = std::fabs(at(i, i));
        rowAt[i - 1] = colAt[i - 1] = i - 1;
    }
    double d = 1.0;
    for (int k = 1; k <= n; ++k) {
        // An element replaces the pivot only when its magnitude is strictly larger,
        // scanning columns outside and rows inside: the first largest wins a tie.
        // A not-a-number start is never replaced.
        double p = at(k, k);
        int r = k, c = k;
        double best = std::fabs(p);
        if (!std::isnan(best)) {
            for (int j = k; j <= n; ++j) {
                const int found = FirstLarger(&at(k, j), n - k + 1, best);
                if (found >= 0) {
                    r = k + found;
                    c = j;
                    p = at(r, c);
                }
            }
        }
        rowOf[k - 1] = r;
        colOf[k - 1] = c;
        const double pivotScale = std::sqrt(scale[rowAt[r - 1]]) * std::sqrt(scale[colAt[c - 1]]);
        std::swap(rowAt[k - 1], rowAt[r - 1]);
        std::swap(colAt[k - 1], colAt[c - 1]);

        if (r > k) {
            for (int j = 1; j <= n; ++j) {
                const double hold = -at(k, j);
                at(k, j) = at(r, j);
                at(r, j) = hold;
            }
        }
        if (c > k) {
            for (int i = 1; i <= n; ++i) {
                const double hold = -at(i, k);
                at(i, k) = at(i, c);
                at(i, c) = hold;
            }
        }
        // What is left of a column that the earlier ones already span is rounding: a pivot that
        // small is as singular as an exact zero (its inverse would be noise).
        if (p == 0.0 || std::fabs(p) <= negligibleShare * pivotScale)
            return 0.0;

        for (int i = 1; i <= n; ++i) {
            if (i != k)
                at(i, k) = at(i, k) / -p;
        }
        // Each element is updated independently, so the loops may run in storage
        // order without changing a bit of the result.
        const double* columnK = &at(1, k);
        for (int j = 1; j <= n; ++j) {
            if (j == k)
                continue;
            const double akj = at(k, j);
            AddScaledColumn(&at(1, j), columnK, akj, 0, k - 1);
            AddScaledColumn(&at(1, j), columnK, akj, k, n);
        }
        for (int j = 1; j <= n; ++j) {
            if (j != k)
                at(k, j) = at(k, j) / p;
        }
        d = d * p;
        at(k, k) = 1.0 / p;
    }

    for (int k = n - 1; k >= 1; --k) {
        const int r = rowOf[k - 1];
        if (r > k) {
            for (int i = 1; i <= n; ++i) {
                const double hold = at(i, k);
                at(i, k) = -at(i, r);
                at(i, r) = hold;
            }
        }
        const int c = colOf[k - 1];
        if (c > k) {
            for (int j = 1; j <= n; ++j) {
                const double hold = at(k, j);
                at(k, j) = -at(c, j);
                at(c, j) = hold;
            }
        }
    }
    return d;
}

constexpr int kMaxFixedOrder = 50;

}  // namespace

double NegligiblePivotShare(long long points)
{
    constexpr double kRoundingUnit = std::numeric_limits<double>::epsilon();
    return std::max(64.0, static_cast<double>(points)) * kRoundingUnit;
}

double InvertMatrix(int n, double* a, double negligibleShare)
{
    if (n < 1)
        return 1.0;
    // The pivot records are fixed lists; a larger matrix is refused, not overrun.
    if (n > kMaxFixedOrder)
        return 0.0;
    int rowOf[kMaxFixedOrder], colOf[kMaxFixedOrder], rowAt[kMaxFixedOrder], colAt[kMaxFixedOrder];
    double scale[kMaxFixedOrder];
    const auto at = [a, n](int i, int j) -> double& { return a[(j - 1) * n + i]; };
    return GaussJordan(n, at, negligibleShare, rowOf, colOf, scale, rowAt, colAt);
}

double InvertMatrixArray(std::vector<double>& a, double negligibleShare)
{
    const std::size_t count = a.size();
    std::size_t n = static_cast<std::size_t>(std::sqrt(static_cast<double>(count)));
    if (n * n < count)
        ++n;
    if (n * n != count)
        return 0.0;
    if (n == 0)
        return 1.0;
    const int order = static_cast<int>(n);
    std::vector<int> rowOf(n), colOf(n), rowAt(n), colAt(n);
    std::vector<double> scale(n);
    double* data = a.data();
    const auto at = [data, order](int i, int j) -> double& {
        return data[(j - 1) * order + (i - 1)];
    };
    return GaussJordan(order, at, negligibleShare, rowOf.data(), colOf.data(), scale.data(), rowAt.data(), colAt.data());
}

double InvertMatrixArrayN(int n, std::vector<double>& a, double negligibleShare)
{
    if (n < 1)
        return 1.0;
    const std::size_t needed = static_cast<std::size_t>(n) * static_cast<std::size_t>(n) + 1;
    if (a.size() < needed)
        throw std::invalid_argument("matrix array too short for its order");
    const std::size_t count = static_cast<std::size_t>(n) + 1;
    std::vector<int> rowOf(count), colOf(count), rowAt(count), colAt(count);
    std::vector<double> scale(count);
    double* data = a.data();
    const auto at = [data, n](int i, int j) -> double& { return data[(j - 1) * n + i]; };
    return GaussJordan(n, at, negligibleShare, rowOf.data(), colOf.data(), scale.data(), rowAt.data(), colAt.data());
}

double MatrixMinorDeterminant(int n, int k, const double* a)
{
    // Room for minors of every matrix InvertMatrix accepts.
    constexpr int kMaxOrder = kMaxFixedOrder + 1;
    if (k < 0 || k >= n || n > kMaxOrder)
        return 0.0;
    const int m = n - 1;
    double minor[kMaxFixedOrder * kMaxFixedOrder + 1];
    int jj = 0;
    for (int j = 1; j <= n; ++j) {
        if (j == k + 1)
            continue;
        ++jj;
        int ii = 0;
        for (int i = 1; i <= n; ++i) {
            if (i == k + 1)
                continue;
            ++ii;
            minor[(jj - 1) * m + ii] = a[(j - 1) * n + i];
        }
    }
    return InvertMatrix(m, minor);
}
