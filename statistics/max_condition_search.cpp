#include "statistics/max_condition_search.h"

#include <algorithm>
#include <cmath>

#include "statistics/random.h"
#include "statistics/student.h"

void SubsampleMeanSpread(const std::vector<double>& values, std::vector<double>& spreads, double& mean,
                         std::int32_t& subsampleCount) {
    constexpr int K = 100;
    subsampleCount = K;
    spreads.assign(K, 0.0);
    mean = 0;
    if (values.size() < 10) return;
    for (double v : values) mean += v;
    mean /= static_cast<double>(values.size());
    // A value joins subsets 0 .. c-1: one entry at each end of that run in difference
    // arrays, summed up once per trial, instead of c additions per value.
    std::vector<double> sumStep(K + 1);
    std::vector<long long> countStep(K + 1);
    for (int trial = 0; trial < 100; ++trial) {
        std::fill(sumStep.begin(), sumStep.end(), 0.0);
        std::fill(countStep.begin(), countStep.end(), 0);
        for (double v : values) {
            const int c = std::clamp(static_cast<int>(RandomUnit() * K), 0, K - 1);
            sumStep[0] += v;
            sumStep[static_cast<size_t>(c)] -= v;
            ++countStep[0];
            --countStep[static_cast<size_t>(c)];
        }
        double sum = 0;
        long long count = 0;
        for (int k = 0; k < K; ++k) {
            sum += sumStep[static_cast<size_t>(k)];
            count += countStep[static_cast<size_t>(k)];
            const double m = count > 0 ? sum / static_cast<double>(count) : mean;
            spreads[static_cast<size_t>(k)] += (mean - m) * (mean - m);
        }
    }
    for (double& s : spreads) s = std::sqrt(s / 100.0);
}

void SplitDistributions(MaxSearchTables& t, const std::vector<double>& values) {
    SubsampleMeanSpread(values, t.spreadsAll, t.meanAll, t.subsampleCount);
    t.countAll = static_cast<std::int32_t>(values.size());
    std::vector<double> lower, upper;
    for (double v : values) (v <= t.meanAll ? lower : upper).push_back(v);
    t.countLower = static_cast<std::int32_t>(lower.size());
    t.countUpper = static_cast<std::int32_t>(upper.size());
    SubsampleMeanSpread(lower, t.spreadsLower, t.meanLower, t.subsampleCount);
    SubsampleMeanSpread(upper, t.spreadsUpper, t.meanUpper, t.subsampleCount);
}

namespace {

int ShareIndex(double part, double whole) {
    if (!(whole != 0)) return 0;
    const double x = part / whole;
    return std::clamp(static_cast<int>(std::trunc((1 - x) * 100)), 0, 99);
}

// The probability that a random subsample nearer than d to the centre: 0 without a spread.
double Within(const std::vector<double>& spreads, int index, double centre, double d) {
    const double s = index < static_cast<int>(spreads.size()) ? spreads[static_cast<size_t>(index)] : 0.0;
    if (!(s > 0)) return 0;
    return StudentProbabilityBetween(centre, s, 100, centre - d, centre + d);
}

}  // namespace

double SelectionScore(const MaxSearchTables& t, const std::vector<double>& selection) {
    const double n = static_cast<double>(selection.size());
    double sumAll = 0, sumLow = 0, sumHigh = 0;
    int nLow = 0;
    for (double v : selection) {
        sumAll += v;
        if (v <= t.meanAll) {
            sumLow += v;
            ++nLow;
        } else {
            sumHigh += v;
        }
    }
    const int nHigh = static_cast<int>(selection.size()) - nLow;
    const double mSel = n > 0 ? sumAll / n : 0.0;
    const double mLow = nLow > 0 ? sumLow / nLow : 0.0;
    // The upper part is measured as the lower one: the mean of the selection's values above
    // the overall mean against the mean of all values above it.
    const double mHigh = nHigh > 0 ? sumHigh / nHigh : 0.0;
    const double pAll = Within(t.spreadsAll, ShareIndex(n, t.countAll), t.meanAll, std::fabs(mSel - t.meanAll));
    const double pLow = Within(t.spreadsLower, ShareIndex(nLow, t.countLower), t.meanLower, std::fabs(mLow - t.meanLower));
    const double pHigh =
        Within(t.spreadsUpper, ShareIndex(nHigh, t.countUpper), t.meanUpper, std::fabs(mHigh - t.meanUpper));
    return std::max({pAll, pLow, pHigh});
}

ConditionSearch::ConditionSearch(const double* values, int nRecords, int nParameters, int valueParameter,
                                 std::vector<conditions>& list, const MaxSearchTables& tables)
    : values_(values),
      nRecords_(nRecords),
      nParameters_(nParameters),
      valueParameter_(valueParameter),
      list_(list),
      tables_(tables) {}

std::vector<double> ConditionSearch::Column(int p) const {
    std::vector<double> out;
    ConditionalValues(values_, nRecords_, nParameters_, p, {}, out);
    return out;
}

double ConditionSearch::ConditionalSelectionScore() const {
    ConditionalValues(values_, nRecords_, nParameters_, valueParameter_, list_, scratch_);
    return SelectionScore(tables_, scratch_);
}

double ConditionSearch::SetLastCondition(const conditions& c) {
    if (list_.empty()) return 0.0;
    list_.back() = c;
    return ConditionalSelectionScore();
}

double ConditionSearch::BestConditionOnParameter(int p) {
    const std::vector<double> values = Column(p);
    std::vector<std::uint32_t> codes;
    if (IsIntegerCoded(values, codes, 50)) return BestCategoryCondition(p, codes);
    return BestIntervalCondition(p, values);
}

double ConditionSearch::BestCategoryCondition(int p, const std::vector<std::uint32_t>& codes) {
    double best = -1.0;
    conditions bestRecord{0, 0, 0.0, 0.0};
    for (int operation = 0; operation < 4; ++operation) {
        for (std::uint32_t code : codes) {
            const double k = code;
            if (HasCondition(p, k, operation)) continue;
            const conditions c{p, operation, k - 0.01, k + 0.01};
            const double score = SetLastCondition(c);
            if (score > best) {
                best = score;
                bestRecord = c;
            }
        }
    }
    if (!list_.empty()) list_.back() = bestRecord;
    return best;
}

double ConditionSearch::BestIntervalCondition(int p, const std::vector<double>& values) {
    if (values.size() < 3) return 0.0;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const double min = *lo, max = *hi;
    if (!(max - min >= 1e-20)) return 0.0;
    double best = -1.0;
    conditions bestRecord{p, 0, min, max};
    for (int operation = 0; operation < 4; ++operation) {
        for (int m : {2, 4, 8}) {
            const double w = (max - min) / m;
            for (int i = 0; i < m; ++i) {
                const conditions c{p, operation, min + i * w, min + (i + 1) * w};
                const double score = SetLastCondition(c);
                if (score > best) {
                    best = score;
                    bestRecord = c;
                }
            }
        }
    }
    if (!list_.empty()) list_.back() = bestRecord;
    return OptimizeLastCondition();
}

// Both bounds stay within the parameter's range over all records: the range of the records
// the list selects would hold the trial interval itself and keep it from ever growing.
double ConditionSearch::OptimizeLastCondition() {
    if (list_.empty()) return 0.0;
    conditions c = list_.back();
    const std::vector<double> column = Column(c.parameterIndex);
    if (column.empty()) return SetLastCondition(c);
    const auto [lo, hi] = std::minmax_element(column.begin(), column.end());
    const double cmin = *lo, cmax = *hi;
    const double span = cmax - cmin;
    double stepUp = 0.1 * span, stepDown = -0.1 * span;
    const double tolerance = std::max(0.01 * span, 1e-10);
    double best = SetLastCondition(c);
    bool upper = true;
    for (int guard = 0; guard < 100000 && (std::fabs(stepUp) >= tolerance || std::fabs(stepDown) >= tolerance); ++guard) {
        double& bound = upper ? c.till : c.from;
        double& step = upper ? stepUp : stepDown;
        const double kept = bound;
        bound += step;
        // Each bound is held inside the range: the upper not above cmax, the lower not below cmin.
        if (upper && bound > cmax) bound = cmax;
        if (!upper && bound < cmin) bound = cmin;
        const double score = c.till - c.from <= 0 ? 0.0 : SetLastCondition(c);
        if (score > best) {
            best = score;
        } else {
            bound = kept;
            step *= -0.372;
            upper = !upper;
        }
    }
    list_.back() = c;
    return best;
}

int ConditionSearch::HasCondition(int p, double k, int operation) const {
    for (const conditions& c : list_) {
        if (c.parameterIndex == p && c.operation == operation && c.till - c.from < 0.1 && c.from < k && k < c.till) return 1;
    }
    return 0;
}

void ConditionSearch::Run() {
    conditions best{-1, -1, -2.0, 1.0};
    double bestScore = -1.0;
    list_.clear();
    // The trial slot is appended first, so whatever ends the passes it is the last condition.
    for (int passes = 0;;) {
        list_.push_back(best);
        if (passes >= 50 || list_.size() >= 20) break;
        bool improved = false;
        for (int p = 0; p < nParameters_; ++p) {
            if (p == valueParameter_) continue;
            const double score = BestConditionOnParameter(p);
            if (score > bestScore * 1.000000001) {
                bestScore = score;
                best = list_.back();
                improved = true;
            }
        }
        if (!improved) break;
        ++passes;
        list_.back() = best;
        MergeOverlappingConditions(list_);
    }
    if (!list_.empty()) list_.pop_back();
    MergeOverlappingConditions(list_);
}
