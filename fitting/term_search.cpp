#include "fitting/term_search.h"

#include <algorithm>
#include <cmath>

#include "fitting/term_models.h"


int FindEqualTermSet(const std::vector<unsigned>& candidate, std::vector<unsigned>& triedCodes,
                     std::vector<int>& triedStarts)
{
    const std::size_t sets = triedStarts.size();
    for (std::size_t s = 0; s < sets; ++s) {
        const std::size_t begin = static_cast<std::size_t>(triedStarts[s]);
        const std::size_t end = s + 1 < sets ? static_cast<std::size_t>(triedStarts[s + 1]) : triedCodes.size();
        if (end - begin != candidate.size())
            continue;
        if (std::equal(candidate.begin(), candidate.end(), triedCodes.begin() + static_cast<std::ptrdiff_t>(begin)))
            return 1;
    }
    triedStarts.push_back(static_cast<int>(triedCodes.size()));
    triedCodes.insert(triedCodes.end(), candidate.begin(), candidate.end());
    return 0;
}

int NextUnusedTermCode(unsigned& code, std::vector<unsigned>& termCodes)
{
    if (code != 0 && !termCodes.empty())
        termCodes.pop_back();
    for (;;) {
        ++code;
        if (code >= 27 && code <= 30)
            code = 31;
        if (code > 34)
            return 0;
        if (std::find(termCodes.begin(), termCodes.end(), code) == termCodes.end()) {
            termCodes.push_back(code);
            return 1;
        }
    }
}

TermSelection::TermSelection(std::vector<unsigned>& termCodes, int& yTransformCode, std::vector<double>& periods,
                             std::vector<unsigned>& triedTermCodes, std::vector<int>& triedTermSetStarts)
    : codes_(termCodes), yTransform_(yTransformCode), periods_(periods), triedCodes_(triedTermCodes),
      triedStarts_(triedTermSetStarts)
{
}

int TermSelection::FindEqualTermSet(const std::vector<unsigned>& candidate)
{
    return ::FindEqualTermSet(candidate, triedCodes_, triedStarts_);
}

int TermSelection::NextUnusedTermCode(unsigned& code)
{
    return ::NextUnusedTermCode(code, codes_);
}

void TermSelection::Restore(const Model& m)
{
    codes_ = m.codes;
    periods_ = m.periods;
}

void TermSelection::ClearTried()
{
    triedCodes_.clear();
    triedStarts_.clear();
}

double TermSelection::FitCurrentTermModel(const std::vector<double>& x, const std::vector<double>& y,
                                          std::vector<double>& ratios)
{
    double criterion = kUnfittedTermCriterion;
    std::vector<double> deviations;
    ratios.resize(codes_.size(), 0.0);
    ++fitCount;
    lastResidual = FitTermModel(x, y, yTransform_, codes_, periods_, coefficients_, deviations, &criterion,
                                reuseColumns ? &cache_ : nullptr);
    lastRatios.clear();
    for (std::size_t k = 0; k < coefficients_.size(); ++k)
        if (std::fabs(coefficients_[k]) > 1e-100) {
            ratios[k] = std::fabs(deviations[k] / coefficients_[k]);
            lastRatios.push_back(ratios[k]);
        }
    return criterion;
}

double TermSelection::CurrentModelCriterion(const std::vector<double>& x, const std::vector<double>& y)
{
    return FitCurrentTermModel(x, y, ratioScratch_);
}

void TermSelection::RemoveTermAt(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= codes_.size())
        return;
    const unsigned code = codes_[static_cast<std::size_t>(index)];
    codes_.erase(codes_.begin() + index);
    if (code < kFirstPeriodicTermCode)
        return;
    const std::size_t period = (code - kFirstPeriodicTermCode) / 2;
    if (period < periods_.size())
        periods_.erase(periods_.begin() + static_cast<std::ptrdiff_t>(period));
    if (index >= 1)
        codes_.erase(codes_.begin() + (index - 1));
}

void TermSelection::AddPeriodTerms(double period)
{
    periods_.push_back(period);
    const unsigned largest = codes_.empty() ? 0u : *std::max_element(codes_.begin(), codes_.end());
    if (codes_.empty() || largest < 40) {
        codes_.push_back(kFirstPeriodicTermCode);
        codes_.push_back(kFirstPeriodicTermCode + 1);
    } else {
        codes_.push_back(largest + 1);
        codes_.push_back(largest + 2);
    }
}

void TermSelection::NormalizeTermList()
{
    std::sort(codes_.begin(), codes_.end());
    std::sort(periods_.begin(), periods_.end(), [](double a, double b) { return a > b; });
    codes_.erase(std::unique(codes_.begin(), codes_.end()), codes_.end());
    codes_.erase(std::remove_if(codes_.begin(), codes_.end(), [](unsigned c) { return c >= kFirstPeriodicTermCode; }),
                 codes_.end());
    for (std::size_t i = 0; i < periods_.size(); ++i) {
        codes_.push_back(kFirstPeriodicTermCode + 2 * static_cast<unsigned>(i));
        codes_.push_back(kFirstPeriodicTermCode + 1 + 2 * static_cast<unsigned>(i));
    }
}

double TermSelection::EliminateTermsBackward(const std::vector<double>& x, const std::vector<double>& y)
{
    std::vector<double> ratios;
    Model best = Current();
    double bestCriterion = FitCurrentTermModel(x, y, ratios);
    while (codes_.size() > 1) {
        std::size_t k = 0;
        for (std::size_t i = 1; i < ratios.size() && i < codes_.size(); ++i)
            if (ratios[i] > ratios[k])
                k = i;
        RemoveTermAt(static_cast<int>(k));
        if (FindEqualTermSet(codes_))
            break;
        const double c = FitCurrentTermModel(x, y, ratios);
        if (c < bestCriterion) {
            bestCriterion = c;
            best = Current();
        }
    }
    Restore(best);
    return bestCriterion;
}

void TermSelection::SelectTermsStepwise(const std::vector<double>& x, const std::vector<double>& y)
{
    SelectTermsUpTo(x, y, 10);
}

void TermSelection::SelectTermsUpTo(const std::vector<double>& x, const std::vector<double>& y, int maxDegree)
{
    ClearTried();
    codes_.assign(1, 0u);
    periods_.clear();
    double bestCriterion = CurrentModelCriterion(x, y);
    Model best = Current();
    for (int k = 1; k <= maxDegree && k <= 10; ++k) {
        codes_.clear();
        for (unsigned c = 0; c <= static_cast<unsigned>(k); ++c)
            codes_.push_back(c);
        periods_.clear();
        const double c = EliminateTermsBackward(x, y);
        if (c < bestCriterion) {
            bestCriterion = c;
            best = Current();
        }
    }
    Restore(best);
}

double TermSelection::TryPeriod(const std::vector<double>& x, const std::vector<double>& y, std::size_t j, double T)
{
    periods_[j] = T;
    return CurrentModelCriterion(x, y);
}

FrequencyGrid FrequencyScanGrid(const std::vector<double>& x, double longest)
{
    FrequencyGrid grid;
    if (x.size() < 2)
        return grid;
    std::vector<double> sorted(x);
    std::sort(sorted.begin(), sorted.end());
    const double range = sorted.back() - sorted.front();
    if (!(range > 0.0) || !std::isfinite(range))
        return grid;
    std::vector<double> spacing;
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i] > sorted[i - 1])
            spacing.push_back(sorted[i] - sorted[i - 1]);
    const std::size_t half = spacing.size() / 2;
    std::nth_element(spacing.begin(), spacing.begin() + static_cast<std::ptrdiff_t>(half), spacing.end());
    const double shortest = 2.0 * spacing[half];
    grid.step = 0.25 / range;
    grid.first = 1;
    while (!(grid.Period(0) < longest) && grid.Period(0) >= shortest)
        ++grid.first;
    while (grid.count < kFrequencyScanPeriods && grid.Period(grid.count) >= shortest)
        ++grid.count;
    return grid;
}

namespace {

// For every frequency of the grid, how much the sum of squares of r drops when a sine and a
// cosine of that frequency alone are fitted to it (a 2 x 2 least-squares system). The sines and
// cosines of a point step from one frequency to the next by a rotation, so that only the grid's
// first frequency and its step cost a sine and a cosine per point.
std::vector<double> PairFitDrops(const std::vector<double>& x, const std::vector<double>& r, const FrequencyGrid& grid)
{
    const std::size_t count = static_cast<std::size_t>(grid.count);
    const auto [lowest, highest] = std::minmax_element(x.begin(), x.end());
    // Angles from the middle of the range stay small; a shift of x does not change what a pair fits.
    const double middle = 0.5 * (*lowest + *highest);
    const double radiansPerUnit = 6.283185307179586 * grid.step;
    // A few points side by side, each with sums of its own per frequency (r sin, r cos, sin^2,
    // cos^2, sin cos), so that the points' rotations and sums run in parallel; the lanes are added
    // up at the end.
    constexpr std::size_t kLanes = 8;
    std::vector<double> laneSums(5 * kLanes * count, 0.0);
    for (std::size_t from = 0; from < x.size(); from += kLanes) {
        double w[kLanes] = {}, sine[kLanes] = {}, cosine[kLanes] = {}, stepSine[kLanes] = {}, stepCosine[kLanes];
        for (std::size_t j = 0; j < kLanes; ++j) {
            stepCosine[j] = 1.0;
            if (from + j >= x.size() || !std::isfinite(r[from + j]))
                continue;  // a lane without a point adds nothing
            const double angle = radiansPerUnit * (x[from + j] - middle);
            w[j] = r[from + j];
            stepSine[j] = std::sin(angle);
            stepCosine[j] = std::cos(angle);
            sine[j] = std::sin(grid.first * angle);
            cosine[j] = std::cos(grid.first * angle);
        }
        double* at = laneSums.data();
        for (std::size_t k = 0; k < count; ++k, at += 5 * kLanes) {
            for (std::size_t j = 0; j < kLanes; ++j) {
                const double s = sine[j], c = cosine[j];
                at[j] += w[j] * s;
                at[kLanes + j] += w[j] * c;
                at[2 * kLanes + j] += s * s;
                at[3 * kLanes + j] += c * c;
                at[4 * kLanes + j] += s * c;
                sine[j] = s * stepCosine[j] + c * stepSine[j];
                cosine[j] = c * stepCosine[j] - s * stepSine[j];
            }
        }
    }
    std::vector<double> sums(5 * count, 0.0);
    for (std::size_t i = 0; i < sums.size(); ++i)
        for (std::size_t j = 0; j < kLanes; ++j)
            sums[i] += laneSums[i * kLanes + j];
    std::vector<double> drops(count, 0.0);
    for (std::size_t k = 0; k < count; ++k) {
        const double* const at = sums.data() + 5 * k;
        const double rs = at[0], rc = at[1], ss = at[2], cc = at[3], sc = at[4];
        const double det = ss * cc - sc * sc;
        double drop = 0.0;
        if (det > 1e-9 * ss * cc)
            drop = (rs * rs * cc - 2.0 * rs * rc * sc + rc * rc * ss) / det;
        else  // the two columns are as good as one (a frequency that the spacing aliases)
            drop = std::max(ss > 0.0 ? rs * rs / ss : 0.0, cc > 0.0 ? rc * rc / cc : 0.0);
        drops[k] = std::isfinite(drop) ? drop : 0.0;
    }
    return drops;
}

// Grid indices of the highest local maxima of the drops (neighbours on one peak would crowd out
// the other peaks), at most kFrequencyScanCandidates, longest period first.
std::vector<int> BestFrequencies(const std::vector<double>& drops)
{
    const auto drop = [&drops](int k) { return drops[static_cast<std::size_t>(k)]; };
    const int count = static_cast<int>(drops.size());
    std::vector<int> peaks;
    for (int k = 0; k < count; ++k)
        if (drop(k) > 0.0 && (k == 0 || drop(k) > drop(k - 1)) && (k + 1 == count || drop(k) >= drop(k + 1)))
            peaks.push_back(k);
    const std::size_t kept = std::min<std::size_t>(peaks.size(), kFrequencyScanCandidates);
    std::partial_sort(peaks.begin(), peaks.begin() + static_cast<std::ptrdiff_t>(kept), peaks.end(),
                      [&drop](int a, int b) { return drop(a) > drop(b); });
    peaks.resize(kept);
    std::sort(peaks.begin(), peaks.end());
    return peaks;
}

}  // namespace

std::vector<double> TermSelection::CurrentResidual(const std::vector<double>& x, const std::vector<double>& y) const
{
    std::vector<double> residual(x.size()), row(codes_.size());
    for (std::size_t p = 0; p < x.size(); ++p) {
        double target = 0.0, fitted = 0.0;
        EvaluateTermRow(&target, row.data(), periods_, codes_, yTransform_, y[p], x[p]);
        for (std::size_t k = 0; k < row.size() && k < coefficients_.size(); ++k)
            fitted += coefficients_[k] * row[k];
        residual[p] = target - fitted;
    }
    return residual;
}

int TermSelection::AddBestPeriod(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x.empty())
        return 0;
    const Model entry = Current();
    const auto [lowest, highest] = std::minmax_element(x.begin(), x.end());
    const double R = 3.0 * (*highest - *lowest);
    const double startCriterion = CurrentModelCriterion(x, y);
    const std::vector<double> residual = CurrentResidual(x, y);
    AddPeriodTerms(R);
    const std::size_t j = periods_.size() - 1;
    const double s = 0.0073 * R;
    double bestPeriod = R - s;
    double bestCriterion = 1e100;
    const auto judge = [&](double T) {
        const double c = TryPeriod(x, y, j, T);
        if (c < bestCriterion) {
            bestCriterion = c;
            bestPeriod = T;
            return true;
        }
        return false;
    };

    // Coarse scan from the longest period down.
    if (s > 0.0)
        for (int k = 1; R - k * s > 0.0; ++k)
            judge(R - k * s);
    // The linear steps pass over a short period's minimum (about T^2/range wide): the
    // coarse scan also steps evenly in frequency, a quarter of 1/range at a time. A full fit
    // per frequency would cost many times the rest of the search, so the grid is judged by
    // the pair alone fitted to what the model leaves, and only its best few get the criterion.
    bool fromFrequencyScan = false;
    if (s > 0.0) {
        const FrequencyGrid grid = FrequencyScanGrid(x, R - s);
        if (grid.count > 0)
            for (int k : BestFrequencies(PairFitDrops(x, residual, grid)))
                fromFrequencyScan = judge(grid.Period(k)) || fromFrequencyScan;
    }

    // Fine scan around the best, its lower end following the best.
    if (s > 0.0)
        for (int k = 0;; ++k) {
            const double T = bestPeriod + s - k * 0.1 * s;
            if (!(T > 0.0 && T > bestPeriod - s))
                break;
            judge(T);
        }

    // Adaptive steps: on, or back at a shorter step when the criterion got worse. A period
    // from the frequency grid starts from that grid's step in period, T^2 / (4 range), and
    // steps from the best period: the minimum lies within half a grid step on either side,
    // and steps from the last period tried never return below the start once the first
    // step up fails.
    double d = 0.373 * s;
    if (fromFrequencyScan)
        d = 0.373 * std::min(s, bestPeriod * bestPeriod / (4.0 * (R / 3.0)));
    const double stop = 1e-5 * d;
    double T = bestPeriod;
    bool tried = false;
    for (int pass = 0; pass < 500; ++pass) {
        if (std::fabs(d) <= stop)
            break;
        T = (fromFrequencyScan ? bestPeriod : T) + d;
        if (T <= 0.0) {
            T = std::fabs(2.0 * d);
            d = -0.173 * bestPeriod;
        }
        tried = true;
        if (!judge(T))
            d = -0.6712 * d;
    }
    if (!tried)
        T = bestPeriod;

    // Split the period into two close ones.
    AddPeriodTerms(0.99 * T);
    double T1 = 1.01 * T, T2 = 0.99 * T;
    double bestT1 = T1, bestT2 = T2;
    bool split = false;
    for (int pair = 0; pair <= 20; ++pair) {
        if (pair > 0) {
            T1 *= 1.01;
            T2 *= 0.99;
        }
        periods_[j] = T1;
        periods_[j + 1] = T2;
        const double c = CurrentModelCriterion(x, y);
        if (c < bestCriterion) {
            bestCriterion = c;
            bestT1 = T1;
            bestT2 = T2;
            split = true;
        }
    }
    if (split) {
        periods_[j] = bestT1;
        periods_[j + 1] = bestT2;
    } else {
        RemoveTermAt(static_cast<int>(codes_.size()) - 1);
        periods_[j] = bestPeriod;
    }

    // Worse than without the new period: the model goes back to what it was, whole.
    if (startCriterion < bestCriterion || !(bestCriterion < 1e100)) {
        Restore(entry);
        return 0;
    }
    return 1;
}

void TermSelection::FitHarmonicModel(const std::vector<double>& x, const std::vector<double>& y)
{
    SelectTermsUpTo(x, y, 2);
    for (int i = 0; i < 10; ++i)
        if (!AddBestPeriod(x, y))
            break;
}

void TermSelection::SearchBestFormula(const std::vector<double>& x, const std::vector<double>& y)
{
    ClearTried();
    codes_.clear();
    periods_.clear();
    // The starting polynomial is fitted under the transform it is recorded with.
    yTransform_ = 0;
    SelectTermsUpTo(x, y, 5);
    double bestCriterion = CurrentModelCriterion(x, y);
    Model best = Current();
    int bestTransform = 0;
    for (int t = 0; t <= 5; ++t) {
        yTransform_ = t;
        bool improved = true;
        const auto keepIfBetter = [&](double c) {
            if (c < bestCriterion) {
                bestCriterion = c;
                best = Current();
                bestTransform = t;
                improved = true;
            }
        };
        for (int pass = 0; pass < 6 && improved; ++pass) {
            improved = false;
            codes_.clear();
            periods_.clear();
            unsigned code = 0;
            while (NextUnusedTermCode(code))
                keepIfBetter(CurrentModelCriterion(x, y));
            Restore(best);
            keepIfBetter(EliminateTermsBackward(x, y));
        }
    }
    yTransform_ = bestTransform;
    Restore(best);
    for (int i = 0; i < 7; ++i)
        if (!AddBestPeriod(x, y))
            break;
    NormalizeTermList();
    CurrentModelCriterion(x, y);
}
