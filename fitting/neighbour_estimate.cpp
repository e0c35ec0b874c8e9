#include "fitting/neighbour_estimate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "fitting/polynomial_fits.h"
#include "fitting/schemes.h"

const int sampleRecordLimit = 500;

NeighbourSample::NeighbourSample(const std::vector<double>& values, int stride, int a, int first, int N,
                                 const std::vector<int>& mask, int valueColumn)
    : a_(std::max(a, 0)), n_(N) {
    if (N < 1) return;
    step_ = N / sampleRecordLimit + 1;
    count_ = (N - 1) / step_ + 1;
    const std::size_t count = static_cast<std::size_t>(count_);
    arguments_.resize(static_cast<std::size_t>(a_) * count);
    values_.resize(count);
    distances_.resize(count);
    // Arguments the mask does not fill stay 0, as in a gathered record.
    std::vector<double> gathered(static_cast<std::size_t>(a_));
    for (std::size_t s = 0; s < count; ++s) {
        const int r = static_cast<int>(s) * step_;
        GatherSelectedArguments(values, stride, first, mask, r, gathered);
        for (int k = 0; k < a_; ++k) arguments_[static_cast<std::size_t>(k) * count + s] = gathered[static_cast<std::size_t>(k)];
        values_[s] = TableCell(values, stride, first, r, valueColumn);
    }
}

double NeighbourSample::Estimate(const std::vector<double>& point, int excluded, int kind, double percent) const {
    if (n_ < 1) return 0;
    if (static_cast<int>(point.size()) < a_) throw std::invalid_argument("NearestNeighbourEstimate: point too short");
    // The excluded record's place among the sampled ones, or -1 when it is not one of them.
    const int skip = excluded >= 0 && excluded < n_ && excluded % step_ == 0 ? excluded / step_ : -1;
    const int looked = count_ - (skip >= 0 ? 1 : 0);
    if (static_cast<int>(point.size()) > a_ && looked > 0) throw std::invalid_argument("vectors of different lengths");
    if (kind == kWeightClosestPercent) return MeanOfClosest(point, skip, percent);
    // Distances as VectorDistance forms them (the squares added in argument order, from 0),
    // all records side by side.
    const std::size_t count = static_cast<std::size_t>(count_);
    double* __restrict d = distances_.data();
    std::fill(d, d + count, 0.0);
    for (int k = 0; k < a_; ++k) {
        const double p = point[static_cast<std::size_t>(k)];
        const double* __restrict x = arguments_.data() + static_cast<std::size_t>(k) * count;
        for (std::size_t s = 0; s < count; ++s) d[s] += (p - x[s]) * (p - x[s]);
    }
    for (std::size_t s = 0; s < count; ++s) d[s] = std::sqrt(d[s]);
    return WeightedMean(skip, kind);
}

double NeighbourSample::WeightedMean(int skip, int kind) const {
    const double* d = distances_.data();
    const double* y = values_.data();
    // The exponential weights are taken relative to the nearest record: the same ratios as
    // exp(-d), without all of them underflowing to 0 when every record lies far away.
    double nearest = 0;
    if (kind == kWeightInverseExponentDistance) {
        bool any = false;
        for (int s = 0; s < count_; ++s) {
            if (s == skip) continue;
            if (!any || d[s] < nearest) nearest = d[s];
            any = true;
        }
    }
    // The weights first, side by side; then the sums in record order, as the definition adds them.
    double* w = distances_.data();
    for (int s = 0; s < count_; ++s) {
        const double x = d[s];
        if (kind == kWeightInverseSquareDistance) {
            w[s] = x <= 1e-140 ? 1e140 : 1 / (x * x);
        } else if (kind == kWeightInverseExponentDistance) {
            w[s] = std::exp(-(x - nearest));
        } else {
            w[s] = x <= 1e-270 ? 1e270 : 1 / x;
        }
    }
    double sumW = 0, sumWY = 0;
    for (int s = 0; s < count_; ++s) {
        if (s == skip) continue;
        sumW += w[s];
        sumWY += w[s] * y[s];
    }
    return sumW > 1e-270 ? sumWY / sumW : 0;
}

namespace {

constexpr int kLeafRecords = 16;

}  // namespace

void NeighbourSample::BuildTree() const {
    const std::size_t count = static_cast<std::size_t>(count_);
    treeOrder_.resize(count);
    for (int s = 0; s < count_; ++s) treeOrder_[static_cast<std::size_t>(s)] = s;
    nodes_.clear();
    boxes_.clear();
    nodes_.reserve(4 * count / kLeafRecords + 2);
    BuildNode(0, count_);
    treePoints_.resize(count * static_cast<std::size_t>(a_));
    for (std::size_t i = 0; i < count; ++i)
        for (int k = 0; k < a_; ++k)
            treePoints_[i * static_cast<std::size_t>(a_) + static_cast<std::size_t>(k)] =
                arguments_[static_cast<std::size_t>(k) * count + static_cast<std::size_t>(treeOrder_[i])];
    closest_.reserve(count);
}

// A node over treeOrder_[begin, end): its box, and below a leaf's size two halves split at
// the median of the argument that spreads most.
int NeighbourSample::BuildNode(int begin, int end) const {
    const int node = static_cast<int>(nodes_.size());
    nodes_.push_back({begin, end, -1, -1});
    const std::size_t a = static_cast<std::size_t>(a_), count = static_cast<std::size_t>(count_);
    boxes_.resize(boxes_.size() + 2 * a);
    double* low = boxes_.data() + static_cast<std::size_t>(node) * 2 * a;
    double* high = low + a;
    int widest = 0;
    for (std::size_t k = 0; k < a; ++k) {
        const double* x = arguments_.data() + k * count;
        low[k] = high[k] = x[treeOrder_[static_cast<std::size_t>(begin)]];
        for (int i = begin + 1; i < end; ++i) {
            const double v = x[treeOrder_[static_cast<std::size_t>(i)]];
            low[k] = std::min(low[k], v);
            high[k] = std::max(high[k], v);
        }
        if (high[k] - low[k] > high[widest] - low[widest]) widest = static_cast<int>(k);
    }
    if (end - begin <= kLeafRecords || a == 0) return node;
    const double* x = arguments_.data() + static_cast<std::size_t>(widest) * count;
    const int middle = begin + (end - begin) / 2;
    std::nth_element(treeOrder_.begin() + begin, treeOrder_.begin() + middle, treeOrder_.begin() + end,
                     [x](int p, int q) { return x[p] < x[q]; });
    const int low0 = BuildNode(begin, middle);
    const int high0 = BuildNode(middle, end);
    nodes_[static_cast<std::size_t>(node)].low = low0;
    nodes_[static_cast<std::size_t>(node)].high = high0;
    return node;
}

// The squared distance from the point to the node's box, added as a record's is: no record
// in the box has a smaller one (each difference and each sum only grows with the gap).
double NeighbourSample::BoxSquare(int node, const double* point) const {
    const std::size_t a = static_cast<std::size_t>(a_);
    const double* low = boxes_.data() + static_cast<std::size_t>(node) * 2 * a;
    const double* high = low + a;
    double sum = 0;
    for (std::size_t k = 0; k < a; ++k) {
        const double p = point[k];
        const double gap = p < low[k] ? p - low[k] : p > high[k] ? p - high[k] : 0.0;
        sum += gap * gap;
    }
    return sum;
}

// A record at the given squared distance (not above cut_) enters the list when it is closer
// than the list's last, or as close and earlier: the order of a stable sort by distance.
void NeighbourSample::Offer(double square, int record) const {
    std::vector<Closest>& list = closest_;
    const int size = static_cast<int>(list.size());
    const bool full = size == wanted_;
    const double d = std::sqrt(square);
    const auto before = [](double d1, int r1, const Closest& c) {
        return d1 < c.distance || (!(c.distance < d1) && r1 < c.record);
    };
    if (full && !before(d, record, list.back())) return;
    int at = full ? size - 1 : size;
    if (!full) list.push_back({});
    while (at > 0 && before(d, record, list[static_cast<std::size_t>(at - 1)])) {
        list[static_cast<std::size_t>(at)] = list[static_cast<std::size_t>(at - 1)];
        --at;
    }
    list[static_cast<std::size_t>(at)] = {d, record};
    if (static_cast<int>(list.size()) == wanted_) {
        // Above last^2 (1 + 2^-48) a square root is surely beyond the last distance; below
        // the normal range, where that margin may vanish in rounding, every record is looked at.
        const double last = list.back().distance * list.back().distance;
        cut_ = last >= 1e-290 ? last * (1 + 0x1p-48) : std::numeric_limits<double>::infinity();
    }
}

void NeighbourSample::Search(int node, const double* point, int skip) const {
    const Node& t = nodes_[static_cast<std::size_t>(node)];
    if (t.low < 0) {
        const std::size_t a = static_cast<std::size_t>(a_);
        for (int i = t.begin; i < t.end; ++i) {
            const int s = treeOrder_[static_cast<std::size_t>(i)];
            if (s == skip) continue;
            const double* x = treePoints_.data() + static_cast<std::size_t>(i) * a;
            double sum = 0;
            for (std::size_t k = 0; k < a; ++k) sum += (point[k] - x[k]) * (point[k] - x[k]);
            if (!(sum > cut_)) Offer(sum, s);
        }
        return;
    }
    const double low = BoxSquare(t.low, point), high = BoxSquare(t.high, point);
    const bool lowFirst = !(high < low);
    const int first = lowFirst ? t.low : t.high, second = lowFirst ? t.high : t.low;
    const double firstSquare = lowFirst ? low : high, secondSquare = lowFirst ? high : low;
    const auto open = [this](double square) { return static_cast<int>(closest_.size()) < wanted_ || !(square > cut_); };
    if (open(firstSquare)) Search(first, point, skip);
    if (open(secondSquare)) Search(second, point, skip);
}

// The mean of the k closest, equal distances in record order (the first k of a stable sort
// by distance), summed from the closest on.
double NeighbourSample::MeanOfClosest(const std::vector<double>& point, int skip, double percent) const {
    const int c = count_ - (skip >= 0 ? 1 : 0);
    if (c <= 0) return 0;
    const double share = std::trunc(c * 0.01 * percent);
    const int k = share >= c ? c : std::max(1, static_cast<int>(share));
    if (nodes_.empty()) BuildTree();
    closest_.clear();
    wanted_ = k;
    cut_ = std::numeric_limits<double>::infinity();
    Search(0, point.data(), skip);
    double sum = 0;
    for (int i = 0; i < k; ++i) sum += values_[static_cast<std::size_t>(closest_[static_cast<std::size_t>(i)].record)];
    return sum / k;
}

double NearestNeighbourEstimate(const std::vector<double>& values, int stride, int a, int first, int N,
                                const std::vector<int>& mask, int valueColumn, int excluded, int kind, double percent,
                                const std::vector<double>& point) {
    if (N < 1) return 0;
    if (static_cast<int>(point.size()) < a) throw std::invalid_argument("NearestNeighbourEstimate: point too short");
    return NeighbourSample(values, stride, a, first, N, mask, valueColumn).Estimate(point, excluded, kind, percent);
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
