#include "fitting/poly_fit.h"

#include "fitting/polynomial_fits.h"
#include "statistics/random.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

int TermsOf(const TermSet& set, int argCount)
{
    return argCount > 0 ? static_cast<int>(set.size() / static_cast<std::size_t>(argCount)) : 0;
}

bool IsConstantTerm(const TermSet& set, int term, int argCount)
{
    for (int k = 0; k < argCount; ++k)
        if (set[static_cast<std::size_t>(term) * argCount + k] != 0)
            return false;
    return true;
}

double Ratio(const polyFit& f, int k)
{
    return std::fabs(f.stdDev[k] / f.coefficient[k]);
}

}  // namespace

bool IsNotFinite(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return std::strpbrk(text, "#$INFinf") != nullptr;
}

void RandomTermVector(TermSet& out, int n, std::uint32_t m)
{
    out.assign(static_cast<std::size_t>(std::max(n, 0)), 0);
    for (auto& code : out)
        code = RandomNext() % std::max<std::uint32_t>(m, 1);
}

double polyFit::ComputeScore()
{
    const int terms = std::clamp(termCount, 0, kPolyFitMaxTerms);
    double sum = 0.0, largest = 0.0;
    for (int k = 0; k < terms; ++k) {
        sum += Ratio(*this, k);
        largest = std::max(largest, Ratio(*this, k));
    }
    switch (criterion) {
    case 0: score = standardDeviation; break;
    case 1: score = maxDeviation; break;
    case 2: score = sum; break;
    case 3: score = largest + maxDeviation; break;
    case 4: score = sumRelativeError * residualMeasure; break;
    case 5: score = terms > 0 ? sum / terms : 0.0; break;
    case 6: score = sum / (std::sqrt(static_cast<double>(terms)) + 1.0); break;
    case 7: {
        double s = standardDeviation;
        if (largest > 0.1)
            s *= 1.0 + 20.0 * (largest - 0.1);
        double smallest = 0.0;
        for (int k = 0; k < terms; ++k)
            smallest = k == 0 ? std::fabs(coefficient[k]) : std::min(smallest, std::fabs(coefficient[k]));
        if (terms > 0 && smallest <= 0.001)
            s *= 1.0 + 0.1 * std::fabs(std::log(smallest));
        score = s;
        break;
    }
    case 8: {
        double m = 0.0;
        for (int k = 0; k < terms; ++k)
            if (std::fabs(coefficient[k]) > 1e-40)
                m = std::max(m, Ratio(*this, k));
        score = residualMeasure * m * m;
        break;
    }
    default: break;
    }
    return score;
}

void polyFit::SetFromFit(double deviation, const double* coefficients, const double* deviations,
                         double largestDeviation, const TermSet& set, int arguments, int scoreCriterion)
{
    standardDeviation = deviation;
    maxDeviation = largestDeviation;
    argCount = arguments;
    criterion = scoreCriterion;
    worstRelativeError = -1e40;
    worstTermIndex = -1;
    sumRelativeError = 0.0;
    const int terms = TermsOf(set, arguments);
    if (arguments < 1 || terms > kPolyFitMaxTerms || set.size() > static_cast<std::size_t>(kPolyFitMaxCodes)) {
        termCount = usedInts = 0;
        score = kFailedFitScore;
        return;
    }
    usedInts = static_cast<std::int32_t>(set.size());
    termCount = terms;
    for (int k = 0; k < terms; ++k) {
        const double c = coefficients[k], d = deviations[k];
        coefficient[k] = c;
        stdDev[k] = d;
        double relative = 0.0;
        const bool usable = !(std::fabs(c) <= 1e-60) && !(std::fabs(d) <= 1e-62) && !IsNotFinite(c) &&
                            !IsNotFinite(d) && !IsNotFinite(relative = std::fabs(d / c) * 100.0);
        if (!usable) {
            relativeError[k] = 1e42;
            score = kFailedFitScore;
            return;
        }
        relativeError[k] = termScore[k] = relative;
        sumRelativeError += relative;
        if (relative > worstRelativeError) {
            worstRelativeError = relative;
            worstTermIndex = k;
        }
    }
    for (std::size_t i = 0; i < set.size(); ++i)
        termExponents[i] = static_cast<std::int32_t>(set[i]);
    ComputeScore();
}

int polyFit::AddTerm(const TermSet& term, TermSet& set)
{
    if (argCount < 1 || term.size() != static_cast<std::size_t>(argCount))
        return 0;
    const int terms = TermsOf(set, argCount);
    if (terms + 1 > kPolyFitMaxTerms || set.size() + term.size() > static_cast<std::size_t>(kPolyFitMaxCodes) ||
        usedInts + argCount > kPolyFitMaxCodes)
        return 0;
    for (int t = 0; t < terms; ++t) {
        if (std::equal(term.begin(), term.end(), set.begin() + static_cast<std::ptrdiff_t>(t) * argCount))
            return 0;
    }
    for (std::size_t k = 0; k < term.size(); ++k)
        termExponents[usedInts + static_cast<int>(k)] = static_cast<std::int32_t>(term[k]);
    set.insert(set.end(), term.begin(), term.end());
    termCount = std::min(termCount + 1, kPolyFitMaxTerms);
    usedInts += argCount;
    MoveConstantTermFirst(set);
    return 1;
}

void polyFit::MoveConstantTermFirst(TermSet& set) const
{
    const int terms = TermsOf(set, argCount);
    if (terms < 2)
        return;
    for (int t = 1; t < terms; ++t) {
        if (IsConstantTerm(set, t, argCount)) {
            std::swap_ranges(set.begin(), set.begin() + argCount,
                             set.begin() + static_cast<std::ptrdiff_t>(t) * argCount);
            return;
        }
    }
}

void polyFit::AddRandomTerms(TermSet& set, TermSet& scratch, int wanted, std::uint32_t bound)
{
    for (int tries = 0; tries < 1000 && TermsOf(set, argCount) < wanted; ++tries) {
        RandomTermVector(scratch, argCount, bound);
        AddTerm(scratch, set);
    }
}

void polyFit::FillRandomTerms(TermSet& set, int wanted, std::uint32_t bound)
{
    TermSet scratch;
    AddRandomTerms(set, scratch, wanted, bound);
}

int polyFit::RemoveTerm(TermSet& set, int index)
{
    const int terms = TermsOf(set, argCount);
    if (terms != termCount || termCount == 0 || index < 0 || index >= termCount)
        return 0;
    --termCount;
    usedInts = argCount * termCount;
    const auto begin = set.begin() + static_cast<std::ptrdiff_t>(index) * argCount;
    set.erase(begin, begin + argCount);
    std::copy(termExponents + (index + 1) * argCount, termExponents + (termCount + 1) * argCount,
              termExponents + index * argCount);
    for (int k = index; k < termCount; ++k) {
        coefficient[k] = coefficient[k + 1];
        stdDev[k] = stdDev[k + 1];
        relativeError[k] = relativeError[k + 1];
        termScore[k] = termScore[k + 1];
    }
    return 1;
}

int polyFit::RemoveLeastSignificantTerm(TermSet& set, int from)
{
    int candidate = 1;
    double largest = -1.0;
    for (int k = std::max(from, 0); k < termCount; ++k) {
        if (std::fabs(stdDev[k]) <= 1e-40) {
            candidate = k;
            break;
        }
        const double r = Ratio(*this, k);
        if (r > largest) {
            largest = r;
            candidate = k;
        }
    }
    return RemoveTerm(set, candidate);
}

void polyFit::RemoveWorstTerms(int n, TermSet& set)
{
    for (int i = 0; i < n; ++i) {
        if (TermsOf(set, argCount) < 2)
            return;
        int worst = 0;
        double largest = -1e40;
        for (int k = 0; k < termCount; ++k) {
            if (termScore[k] > largest) {
                largest = termScore[k];
                worst = k;
            }
        }
        if (!RemoveTerm(set, worst))
            return;
    }
}

int PolySearchData::ArgumentCount() const
{
    return static_cast<int>(std::count(roles.begin(), roles.end(), -1));
}

namespace {

// The basis columns of the terms met during one step: a step refits sets that share
// most of their terms, and a column costs a basis evaluation per record and argument.
class TermColumnCache {
public:
    explicit TermColumnCache(PolySearchData& data) : data_(data) {}

    const std::vector<double>* Column(const TermSet& set, int term)
    {
        const std::vector<int>& argumentColumns = data_.Columns();
        const int a = static_cast<int>(argumentColumns.size());
        const TermSet key(set.begin() + static_cast<std::ptrdiff_t>(term) * a,
                          set.begin() + static_cast<std::ptrdiff_t>(term + 1) * a);
        auto found = columns_.find(key);
        if (found == columns_.end()) {
            Entry entry;
            entry.valid = TermCodeColumn(*data_.values, data_.stride, data_.first, data_.records, a,
                                         argumentColumns, key, entry.values);
            found = columns_.emplace(key, std::move(entry)).first;
        }
        return found->second.valid ? &found->second.values : nullptr;
    }

private:
    struct Entry {
        bool valid = false;
        std::vector<double> values;
    };
    PolySearchData& data_;
    std::map<TermSet, Entry> columns_;
};

// Fits the set to the data; false on a fit error. The residual measure goes to `residual`.
bool FitSet(PolySearchData& data, TermColumnCache& cache, const TermSet& set, std::vector<double>& coefficients,
            std::vector<double>& deviations, double& deviation, double& largest, double& residual, int& fitError)
{
    residual = FitTermCodeRegression(*data.values, data.first, data.records, data.stride, data.roles,
                                     data.Columns(), coefficients, deviations, &deviation, &largest, set,
                                     &fitError, [&](int term) { return cache.Column(set, term); });
    return fitError == 0;
}

// One fit of the set into the working model, its residual measure stored before the score.
bool FitIntoCurrent(PolySearchData& data, polyFit& fit, TermColumnCache& cache, const TermSet& set, int criterion,
                    double& residual, int& fitError)
{
    std::vector<double> coefficients, deviations;
    double deviation = 0.0, largest = 0.0;
    if (!FitSet(data, cache, set, coefficients, deviations, deviation, largest, residual, fitError))
        return false;
    fit.residualMeasure = residual;
    fit.SetFromFit(deviation, coefficients.data(), deviations.data(), largest, set, data.ArgumentCount(), criterion);
    return true;
}

}  // namespace

double GrowPolynomialStep(PolySearchData& data, polyFit& fit, TermSet& set, int k, int target, int first,
                          int& fitError, double& residual, int criterion)
{
    fit.argCount = data.ArgumentCount();
    TermColumnCache cache(data);
    TermSet copy = set;
    fitError = 0;
    TermSet scratch;
    fit.AddRandomTerms(copy, scratch, TermsOf(set, fit.argCount) + k, kTermLibraryCount);
    // The residual is stored before scoring: criteria 4 and 8 read it.
    if (!FitIntoCurrent(data, fit, cache, copy, criterion, residual, fitError))
        return kFailedFitScore;
    while (fit.termCount > target) {
        if (!fit.RemoveLeastSignificantTerm(copy, first))
            break;
        if (!FitIntoCurrent(data, fit, cache, copy, criterion, residual, fitError))
            return kFailedFitScore;
    }
    set = copy;
    return fit.score;
}

double AutoPolynomialStep(PolySearchData& data, polyFit& fit, TermSet& set, int k, int drop, int& termCount,
                          int& fitError, int maximum, double& residual, int criterion)
{
    const int a = data.ArgumentCount();
    fit.argCount = a;
    TermColumnCache cache(data);
    TermSet copy = set;
    fitError = 0;
    if (drop > 0) {
        if (!FitIntoCurrent(data, fit, cache, copy, criterion, residual, fitError))
            return kFailedFitScore;
        fit.RemoveWorstTerms(drop, copy);
    }
    const int t = TermsOf(set, a) + k;
    if (t > maximum) {
        if (!FitIntoCurrent(data, fit, cache, copy, criterion, residual, fitError))
            return kFailedFitScore;
        fit.RemoveWorstTerms(t - maximum, copy);
    }
    set = copy;
    fit.FillRandomTerms(copy, std::min(t, maximum), kTermLibraryCount);
    if (!FitIntoCurrent(data, fit, cache, copy, criterion, residual, fitError))
        return kFailedFitScore;
    double best = fit.score;
    set = copy;
    for (;;) {
        copy = set;
        if (fit.worstTermIndex < 0 || fit.worstTermIndex >= TermsOf(set, a))
            break;
        if (!fit.RemoveTerm(copy, fit.worstTermIndex))
            break;
        if (!FitIntoCurrent(data, fit, cache, copy, criterion, residual, fitError))
            return kFailedFitScore;
        if (!(fit.score < best))
            break;
        set = copy;
        best = fit.score;
        termCount = TermsOf(set, a);
        if (TermsOf(set, a) <= 2)
            break;
    }
    termCount = TermsOf(set, a);
    return best;
}

void WritePolySearchLog(const polyFit& model, const std::string& path, double correlation,
                        const std::string& formulaText, const std::vector<std::string>& termTexts)
{
    std::FILE* out = std::fopen(path.substr(0, 1000).c_str(), "ab");
    if (!out)
        return;
    const int terms = std::clamp(model.termCount, 0, kPolyFitMaxTerms);
    std::fprintf(out, "N coeff, %d,,Correlation,%g\n", model.termCount, correlation);
    std::fprintf(out, "Formula:,%s\n", formulaText.c_str());
    std::fputs("Parameters,", out);
    for (int k = 0; k < terms; ++k)
        std::fprintf(out, ",%s", k < static_cast<int>(termTexts.size()) ? termTexts[k].c_str() : "");
    std::fputs("\nCoefficients,", out);
    for (int k = 0; k < terms; ++k)
        std::fprintf(out, ",%g", model.coefficient[k]);
    std::fputs("\nSt. Dev.,", out);
    for (int k = 0; k < terms; ++k)
        std::fprintf(out, ",%g", model.stdDev[k]);
    std::fputs("\nCoeff. of Corr.,", out);
    for (int k = 0; k < terms; ++k)
        std::fprintf(out, ",%g", model.relativeError[k]);
    std::fputs("\n", out);
    std::fclose(out);
}
