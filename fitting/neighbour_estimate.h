#pragma once
// Two estimators of a record's value from its arguments, for data of several arguments:
// the mean of the nearby records' values (the near-neighbour scheme of the several-argument
// page) and the value of a fitted several-argument polynomial at a record.
//
// Records are read by the data store's layout (parameter p of record r at
// values[first + r*stride + p]); the argument mask holds -1 for every argument.
#include <cstdint>
#include <vector>

// Only every (N / sampleRecordLimit + 1)-th record takes part in an estimate, so one estimate
// looks at about 500 records whatever the size of the series.
extern const int sampleRecordLimit;

enum NeighbourWeightKind {
    kWeightInverseDistance = 0,
    kWeightInverseSquareDistance = 1,
    kWeightInverseExponentDistance = 2,
    kWeightClosestPercent = 3,  // the mean of the closest percent of the records looked at
};

// The value at `point` (the a selected argument values) estimated from the sampled records
// of the value column, record `excluded` left out (-1: none). Kinds 0 to 2 weight every
// sampled record by 1/d, 1/d^2 or exp(-(d - dmin)); kind 3 takes the mean of the closest
// trunc(c * percent / 100) records (at least 1) of the c looked at, equal distances in
// record order. 0 when no record takes part.
double NearestNeighbourEstimate(const std::vector<double>& values, int stride, int a, int first, int N,
                                const std::vector<int>& mask, int valueColumn, int excluded, int kind, double percent,
                                const std::vector<double>& point);

// The sampled records of one value column, gathered once so that many estimates over the
// same records (every record of a series, the calculator's rows) read them in place. Each
// estimate gives NearestNeighbourEstimate's result to the last bit.
class NeighbourSample {
public:
    NeighbourSample(const std::vector<double>& values, int stride, int a, int first, int N, const std::vector<int>& mask,
                    int valueColumn);

    // The estimate at `point` (its first a values are the arguments), record `excluded`
    // left out (-1: none).
    double Estimate(const std::vector<double>& point, int excluded, int kind, double percent) const;

private:
    double WeightedMean(int skip, int kind) const;
    double MeanOfClosest(const std::vector<double>& point, int skip, double percent) const;
    void BuildTree() const;
    int BuildNode(int begin, int end) const;
    void Search(int node, const double* point, int skip) const;
    void Offer(double square, int record) const;
    double BoxSquare(int node, const double* point) const;

    int a_ = 0, n_ = 0, step_ = 1, count_ = 0;
    std::vector<double> arguments_;  // argument k of sampled record s at [k * count_ + s]
    std::vector<double> values_;     // the value of sampled record s
    // Working space of one estimate, kept so that estimates allocate nothing.
    mutable std::vector<double> distances_;

    // The closest records are found through a k-d tree over the sampled records, built at the
    // first estimate that asks for them: every node holds a run of `treeOrder_` and the
    // smallest box around its records; a leaf's records' arguments lie side by side.
    struct Node {
        int begin = 0, end = 0;
        int low = -1, high = -1;  // children; -1 in a leaf
    };
    mutable std::vector<Node> nodes_;
    mutable std::vector<double> boxes_;       // node t: lows at [t * 2a], highs at [t * 2a + a]
    mutable std::vector<int> treeOrder_;      // sampled records, leaf by leaf
    mutable std::vector<double> treePoints_;  // their arguments, a per record in that order
    // The closest so far, ordered by distance and then by record; `cut_`: a squared distance
    // above it cannot be closer than the last of a full list.
    struct Closest {
        double distance;
        int record;
    };
    mutable std::vector<Closest> closest_;
    mutable int wanted_ = 0;
    mutable double cut_ = 0;
};

// Sum over the terms t of coefficient t times the product over arguments k of the basis
// function codes[t*a + k] at the record's value in column argumentColumns[k]. At the first
// rejected value, or when there is no argument or too few coefficients, 0 with *error raised.
double EvaluateMultiPolynomial(std::int64_t record, const std::vector<double>& values, int first, int stride,
                               const std::vector<int>& argumentColumns, const double* coefficients,
                               int coefficientCount, int a, const std::vector<std::uint32_t>& codes, int* error);

// Sorts the first n keys ascending by insertion, moving the companions along; equal keys
// keep their order.
void SortWithCompanion(std::vector<double>& companion, std::vector<double>& keys, int n);
