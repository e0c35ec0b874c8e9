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
    std::vector<double> coefficients, deviations;
    ratios.resize(codes_.size(), 0.0);
    ++fitCount;
    lastResidual = FitTermModel(x, y, yTransform_, codes_, periods_, coefficients, deviations, &criterion,
                                reuseColumns ? &cache_ : nullptr);
    lastRatios.clear();
    for (std::size_t k = 0; k < coefficients.size(); ++k)
        if (std::fabs(coefficients[k]) > 1e-100) {
            ratios[k] = std::fabs(deviations[k] / coefficients[k]);
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

std::vector<double> FrequencyScanPeriods(const std::vector<double>& x, double longest)
{
    std::vector<double> periods;
    if (x.size() < 2)
        return periods;
    std::vector<double> sorted(x);
    std::sort(sorted.begin(), sorted.end());
    const double range = sorted.back() - sorted.front();
    if (!(range > 0.0) || !std::isfinite(range))
        return periods;
    std::vector<double> spacing(sorted.size() - 1);
    for (std::size_t i = 1; i < sorted.size(); ++i)
        spacing[i - 1] = sorted[i] - sorted[i - 1];
    const std::size_t half = spacing.size() / 2;
    std::nth_element(spacing.begin(), spacing.begin() + static_cast<std::ptrdiff_t>(half), spacing.end());
    const double shortest = 2.0 * spacing[half];
    const double step = 0.25 / range;
    for (int k = 1; static_cast<int>(periods.size()) < kFrequencyScanPeriods; ++k) {
        const double T = 1.0 / (k * step);
        if (T < shortest)
            break;
        if (T < longest)
            periods.push_back(T);
    }
    return periods;
}

int TermSelection::AddBestPeriod(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x.empty())
        return 0;
    const Model entry = Current();
    const auto [lowest, highest] = std::minmax_element(x.begin(), x.end());
    const double R = 3.0 * (*highest - *lowest);
    const double startCriterion = CurrentModelCriterion(x, y);
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
    // coarse scan also steps evenly in frequency, a quarter of 1/range at a time.
    if (s > 0.0)
        for (double T : FrequencyScanPeriods(x, R - s))
            judge(T);

    // Fine scan around the best, its lower end following the best.
    if (s > 0.0)
        for (int k = 0;; ++k) {
            const double T = bestPeriod + s - k * 0.1 * s;
            if (!(T > 0.0 && T > bestPeriod - s))
                break;
            judge(T);
        }

    // Adaptive steps: on, or back at a shorter step when the criterion got worse.
    double d = 0.373 * s;
    const double stop = 1e-5 * d;
    double T = bestPeriod;
    bool tried = false;
    for (int pass = 0; pass < 500; ++pass) {
        if (std::fabs(d) <= stop)
            break;
        T = T + d;
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
