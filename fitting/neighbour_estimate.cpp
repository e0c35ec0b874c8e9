#include "fitting/neighbour_estimate.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "fitting/polynomial_fits.h"
#include "fitting/schemes.h"

const int sampleRecordLimit = 500;

namespace {

struct Neighbour {
    double distance;
    double value;
};

// Distances and values of the sampled records, the excluded one left out.
void CollectNeighbours(const std::vector<double>& values, int stride, int a, int first, int N,
                       const std::vector<int>& mask, int valueColumn, int excluded, const std::vector<double>& point,
                       std::vector<Neighbour>& out) {
    const int step = N / sampleRecordLimit + 1;
    std::vector<double> gathered(static_cast<std::size_t>(std::max(a, 0)));
    out.clear();
    out.reserve(static_cast<std::size_t>(N / step + 1));
    for (int r = 0; r < N; r += step) {
        if (r == excluded) continue;
        GatherSelectedArguments(values, stride, first, mask, r, gathered);
        out.push_back({VectorDistance(point, gathered), TableCell(values, stride, first, r, valueColumn)});
    }
}

double WeightedMean(const std::vector<Neighbour>& neighbours, int kind) {
    // The exponential weights are taken relative to the nearest record: the same ratios as
    // exp(-d), without all of them underflowing to 0 when every record lies far away.
    double nearest = 0;
    if (kind == kWeightInverseExponentDistance && !neighbours.empty()) {
        nearest = std::min_element(neighbours.begin(), neighbours.end(), [](const Neighbour& p, const Neighbour& q) {
                      return p.distance < q.distance;
                  })->distance;
    }
    double sumW = 0, sumWY = 0;
    for (const Neighbour& n : neighbours) {
        const double d = n.distance;
        double w = 0;
        if (kind == kWeightInverseSquareDistance) {
            w = d <= 1e-140 ? 1e140 : 1 / (d * d);
        } else if (kind == kWeightInverseExponentDistance) {
            w = std::exp(-(d - nearest));
        } else {
            w = d <= 1e-270 ? 1e270 : 1 / d;
        }
        sumW += w;
        sumWY += w * n.value;
    }
    return sumW > 1e-270 ? sumWY / sumW : 0;
}

// The mean of the k closest, equal distances in record order: the first k of a stable sort
// by distance, found by a partial selection over (distance, position) instead of sorting
// all of them.
double MeanOfClosest(const std::vector<Neighbour>& neighbours, double percent) {
    const int c = static_cast<int>(neighbours.size());
    if (c == 0) return 0;
    const double share = std::trunc(c * 0.01 * percent);
    const int k = share >= c ? c : std::max(1, static_cast<int>(share));
    std::vector<int> order(static_cast<std::size_t>(c));
    std::iota(order.begin(), order.end(), 0);
    const auto closer = [&neighbours](int i, int j) {
        const double di = neighbours[static_cast<std::size_t>(i)].distance;
        const double dj = neighbours[static_cast<std::size_t>(j)].distance;
        return di < dj || (!(dj < di) && i < j);
    };
    std::nth_element(order.begin(), order.begin() + (k - 1), order.end(), closer);
    std::sort(order.begin(), order.begin() + k, closer);
    double sum = 0;
    for (int i = 0; i < k; ++i) sum += neighbours[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])].value;
    return sum / k;
}

}  // namespace

double NearestNeighbourEstimate(const std::vector<double>& values, int stride, int a, int first, int N,
                                const std::vector<int>& mask, int valueColumn, int excluded, int kind, double percent,
                                const std::vector<double>& point) {
    if (N < 1) return 0;
    if (static_cast<int>(point.size()) < a) throw std::invalid_argument("NearestNeighbourEstimate: point too short");
    std::vector<Neighbour> neighbours;
    CollectNeighbours(values, stride, a, first, N, mask, valueColumn, excluded, point, neighbours);
    if (kind == kWeightClosestPercent) return MeanOfClosest(neighbours, percent);
    return WeightedMean(neighbours, kind);
}

double EvaluateMultiPolynomial(std::int64_t record, const std::vector<double>& values, int first, int stride,
                               const std::vector<int>& argumentColumns, const double* coefficients,
                               int coefficientCount, int a, const std::vector<std::uint32_t>& codes, int* error) {
    *error = 0;
    const std::size_t terms = a >= 1 ? codes.size() / static_cast<std::size_t>(a) : 0;
    if (a < 1 || static_cast<int>(argumentColumns.size()) < a || terms > static_cast<std::size_t>(coefficientCount)) {
        *error = 1;
        return 0;
    }
    std::vector<double> x(static_cast<std::size_t>(a));
    for (int k = 0; k < a; ++k) {
        x[static_cast<std::size_t>(k)] =
            TableCell(values, stride, first, record, argumentColumns[static_cast<std::size_t>(k)]);
    }
    int rejected = 0;
    const double v = TermProductModelValue(x.data(), coefficients, a, codes, rejected);
    if (rejected) {
        *error = 1;
        return 0;
    }
    return v;
}

void SortWithCompanion(std::vector<double>& companion, std::vector<double>& keys, int n) {
    n = std::min({n, static_cast<int>(keys.size()), static_cast<int>(companion.size())});
    for (int i = 1; i < n; ++i) {
        const double key = keys[static_cast<std::size_t>(i)];
        const double c = companion[static_cast<std::size_t>(i)];
        int j = i - 1;
        while (j >= 0 && keys[static_cast<std::size_t>(j)] > key) {
            keys[static_cast<std::size_t>(j + 1)] = keys[static_cast<std::size_t>(j)];
            companion[static_cast<std::size_t>(j + 1)] = companion[static_cast<std::size_t>(j)];
            --j;
        }
        keys[static_cast<std::size_t>(j + 1)] = key;
        companion[static_cast<std::size_t>(j + 1)] = c;
    }
}
