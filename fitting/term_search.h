#pragma once
// Term selection searches: "Polynom fitting" (stepwise elimination over the degrees),
// "Harmonic analysis" (a low polynomial plus the best periods) and "Search for best formula"
// (single terms under every y-transform, elimination, periods). Each works in place on a
// term model (term_models.h) and keeps a candidate only when its criterion is strictly lower,
// so of equal candidates the first found stays.
//
// Periodic codes come in pairs, the sine code first, after all other codes; period i belongs
// to codes 41 + 2i and 42 + 2i once the list is normalised.
#include <cstdint>
#include <vector>

#include "fitting/term_models.h"

// Whether the code list was tried before (1); when not (0) it is recorded as tried. Sets are
// equal when their codes are equal in the same order.
int FindEqualTermSet(const std::vector<unsigned>& candidate, std::vector<unsigned>& triedCodes,
                     std::vector<int>& triedStarts);
// Steps `code` to the next term code not in the list (1 to 26, then 31 to 34), replacing the
// entry the previous step added (code != 0); 0 when none is left (the list then lost it).
int NextUnusedTermCode(unsigned& code, std::vector<unsigned>& termCodes);

// The coarse period scan's second grid, even in frequency: the frequencies (first + i) * step for
// i < count, step a quarter of 1/(range of x), longest period first; only periods below `longest`
// and not below twice the median spacing of the distinct values of x (repeated values would make
// that spacing 0), at most kFrequencyScanPeriods of them.
inline constexpr int kFrequencyScanPeriods = 2000;
struct FrequencyGrid {
    double step = 0.0;
    int first = 0;
    int count = 0;
    double Period(int i) const { return 1.0 / ((first + i) * step); }
};
FrequencyGrid FrequencyScanGrid(const std::vector<double>& x, double longest);
// How many of the frequency grid's periods get the full criterion: those whose sine-cosine pair,
// fitted alone to the current model's residual, takes the most off its sum of squares.
inline constexpr int kFrequencyScanCandidates = 10;

class TermSelection {
public:
    TermSelection(std::vector<unsigned>& termCodes, int& yTransformCode, std::vector<double>& periods,
                  std::vector<unsigned>& triedTermCodes, std::vector<int>& triedTermSetStarts);

    // Fits the model; ratios (resized to the term count) get |s/a| of every term whose
    // coefficient exceeds 1e-100 (the others keep what the array held). Returns the criterion.
    double FitCurrentTermModel(const std::vector<double>& x, const std::vector<double>& y,
                               std::vector<double>& ratios);
    double CurrentModelCriterion(const std::vector<double>& x, const std::vector<double>& y);
    // Removes the code at index; a periodic code takes its period and the code before it along.
    void RemoveTermAt(int index);
    // Appends period T with a new sine-cosine pair.
    void AddPeriodTerms(double period);
    // Codes ascending without repeats, periods largest first, pairs renumbered after them.
    void NormalizeTermList();
    // Drops the term with the largest ratio while more than one is left; keeps the best model.
    double EliminateTermsBackward(const std::vector<double>& x, const std::vector<double>& y);
    void SelectTermsStepwise(const std::vector<double>& x, const std::vector<double>& y);
    void SelectTermsUpTo(const std::vector<double>& x, const std::vector<double>& y, int maxDegree);
    // One more period pair found by a one-dimensional search; 1 when it stays, 0 (model as on
    // entry) when it does not improve the criterion.
    int AddBestPeriod(const std::vector<double>& x, const std::vector<double>& y);
    void FitHarmonicModel(const std::vector<double>& x, const std::vector<double>& y);
    void SearchBestFormula(const std::vector<double>& x, const std::vector<double>& y);

    int FindEqualTermSet(const std::vector<unsigned>& candidate);
    int NextUnusedTermCode(unsigned& code);

    // Fits reuse the columns of terms that did not change (same results either way).
    bool reuseColumns = true;
    // The residual measure e of the latest fit of the current term model.
    double lastResidual = 0.0;
    // |deviation / coefficient| of every term of that fit whose coefficient exceeds 1e-100.
    std::vector<double> lastRatios;
    // Fits made by this search.
    std::int64_t fitCount = 0;

private:
    struct Model {
        std::vector<unsigned> codes;
        std::vector<double> periods;
    };
    Model Current() const { return {codes_, periods_}; }
    // The latest fit's residual in the transformed y, point by point.
    std::vector<double> CurrentResidual(const std::vector<double>& x, const std::vector<double>& y) const;
    void Restore(const Model& m);
    void ClearTried();
    // Criterion with period j set to T.
    double TryPeriod(const std::vector<double>& x, const std::vector<double>& y, std::size_t j, double T);

    std::vector<unsigned>& codes_;
    int& yTransform_;
    std::vector<double>& periods_;
    std::vector<unsigned>& triedCodes_;
    std::vector<int>& triedStarts_;
    TermFitCache cache_;
    // Coefficients of the latest fit.
    std::vector<double> coefficients_;
    // Receives the per-term ratios when a search only wants the criterion.
    std::vector<double> ratioScratch_;
};
