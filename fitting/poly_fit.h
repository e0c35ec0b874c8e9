#pragma once
// The model record of the best-polynomial searches: a set of terms, each a product over
// the arguments of one basis function per argument (codes of SchemeBasis, 0 for the
// factor 1), with the fitted coefficients, their deviations and a score by one of nine
// criteria. Lower scores are better; a failed fit scores 1e40. The record is one fixed
// block so that a whole-record copy keeps the best model.
#include <cstdint>
#include <string>
#include <vector>

constexpr int kPolyFitMaxTerms = 50;
constexpr int kPolyFitMaxCodes = 10000;
constexpr double kFailedFitScore = 1e40;
constexpr std::uint32_t kTermLibraryCount = 25;  // random codes run 0 to 24

using TermSet = std::vector<std::uint32_t>;  // argCount codes per term, term after term

struct polyFit {
    std::int32_t termExponents[kPolyFitMaxCodes];  // copy of the term set
    std::int32_t termCount;
    std::int32_t argCount;
    std::int32_t usedInts;             // termCount*argCount
    std::int32_t worstTermIndex;       // term of the largest relative error; -1 for none
    double worstRelativeError;         // -1e40 for none
    double coefficient[kPolyFitMaxTerms];
    double stdDev[kPolyFitMaxTerms];
    double relativeError[kPolyFitMaxTerms];  // |stdDev/coefficient|*100
    double termScore[kPolyFitMaxTerms];      // the same, to pick the worst terms
    double standardDeviation;
    std::int32_t criterion;            // 0 to 8
    double score;
    double maxDeviation;
    double residualMeasure;
    double sumRelativeError;

    // Sets and returns the score by the criterion (another code keeps the score).
    double ComputeScore();
    // Fills the record from a fit and scores it. A coefficient of magnitude 1e-60 or
    // less, a deviation of 1e-62 or less or anything not finite fails the fit (score 1e40,
    // the terms not copied), as does a set beyond 50 terms or 10,000 codes.
    void SetFromFit(double standardDeviation, const double* coefficients, const double* deviations,
                    double maxDeviation, const TermSet& set, int argCount, int criterion);
    // 1 when the vector (argCount codes) was appended to the set; 0 for a wrong length, a
    // term already in the set, or a set at its limits.
    int AddTerm(const TermSet& term, TermSet& set);
    // Random terms (codes below bound) until the set holds `wanted` terms or 1000 tries.
    void AddRandomTerms(TermSet& set, TermSet& scratch, int wanted, std::uint32_t bound);
    void FillRandomTerms(TermSet& set, int wanted, std::uint32_t bound);
    // Swaps the first constant term after the first with the first term.
    void MoveConstantTermFirst(TermSet& set) const;
    // 1 when term i was removed from the set and the record; 0 when the set and the record
    // disagree, the record has no term or i is not one.
    int RemoveTerm(TermSet& set, int index);
    // Removes the term of the largest |stdDev/coefficient| from index `from` on (a term of
    // no deviation at once; term 1 when the scan finds none). Returns RemoveTerm's answer.
    int RemoveLeastSignificantTerm(TermSet& set, int from);
    // Up to n times, while 2 or more terms remain: removes the term of the largest termScore.
    void RemoveWorstTerms(int n, TermSet& set);
};

// True when the value's "%g" text holds "#", "$" or one of I, N, F, i, n, f.
bool IsNotFinite(double value);
// n codes, each the next random number modulo m (m of 0 counts as 1).
void RandomTermVector(TermSet& out, int n, std::uint32_t m);

// The records the steps fit: the first series of the data store and the parameters'
// roles (-1 argument, 1 value).
struct PolySearchData {
    const std::vector<double>* values = nullptr;
    int first = 0;
    int records = 0;
    int stride = 0;
    std::vector<int> roles;
    // Each fit fills the argument columns from the roles: into the caller's record when it
    // gives one, else into ownColumns.
    std::vector<int>* argumentColumns = nullptr;
    std::vector<int> ownColumns;
    std::vector<int>& Columns() { return argumentColumns ? *argumentColumns : ownColumns; }
    int ArgumentCount() const;
};

// One step of the best-polynomial search: k random terms added, then the least
// significant ones removed down to `target` terms (from `first` on), each fit into the
// working model `fit`. Returns the score, 1e40 with the set unchanged after a failed fit.
double GrowPolynomialStep(PolySearchData& data, polyFit& fit, TermSet& set, int k, int target, int first,
                          int& fitError, double& residual, int criterion);
// One step of the automatic search: drops `drop` worst terms, grows by k up to `maximum`
// terms, then removes worst terms while that lowers the score; the fits go into the working
// model `fit`. Returns the best score.
double AutoPolynomialStep(PolySearchData& data, polyFit& fit, TermSet& set, int k, int drop, int& termCount,
                          int& fitError, int maximum, double& residual, int criterion);

// Appends the model to the CSV log (nothing when the file cannot be opened): term count
// and correlation, the formula text, the terms' texts, coefficients, deviations and
// relative errors.
void WritePolySearchLog(const polyFit& model, const std::string& path, double correlation,
                        const std::string& formulaText, const std::vector<std::string>& termTexts);
