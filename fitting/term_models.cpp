#include "fitting/term_models.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

#include "fitting/normal_equations.h"
#include "fitting/schemes.h"
#include "statistics/math_domain.h"
#include "statistics/random.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

inline double Rejected()
{
    mathDomainError = 1;
    return 0.0;
}

inline double Finite(double v)
{
    return std::isfinite(v) ? v : Rejected();
}

// x^k, k = 1..10, by the multiplications the model has always used.
inline double Power(double x, unsigned k)
{
    const double x2 = x * x;
    switch (k) {
    case 1: return x;
    case 2: return x2;
    case 3: return x2 * x;
    case 4: return x2 * x2;
    case 5: return x2 * x2 * x;
    case 6: { const double x3 = x2 * x; return x3 * x3; }
    case 7: { const double x3 = x2 * x; return x3 * x3 * x; }
    case 8: { const double x4 = x2 * x2; return x4 * x4; }
    case 9: { const double x4 = x2 * x2; return x4 * x4 * x; }
    default: { const double x5 = x2 * x2 * x; return x5 * x5; }
    }
}

double Period(const std::vector<double>& periods, unsigned code, unsigned first)
{
    const std::size_t i = (code - first) / 2;
    if (i >= periods.size())
        throw std::invalid_argument("period list too short for a periodic term code");
    return periods[i];
}

double TermValue(unsigned code, double x, const std::vector<double>& periods)
{
    if (code == 0)
        return 1.0;
    if (code <= 10)
        return Finite(Power(x, code));
    if (code <= 20) {
        const double p = Power(x, code - 10);
        if (!(std::fabs(p) > 1e-120))
            return Rejected();
        return Finite(1.0 / p);
    }
    if (code <= 26 || code == 31 || code == 32) {
        if (!(x >= 0.0))
            return Rejected();
        switch (code) {
        case 21: return std::sqrt(x);
        case 22: return Finite(std::exp(std::log(x) * 0.3333333333333333));
        case 23: return Finite(std::exp(std::log(x) * 0.25));
        case 24: return Finite(1.0 / std::sqrt(x));
        case 25: return Finite(1.0 / std::exp(std::log(x) * 0.3333333333333333));
        case 26: return Finite(1.0 / std::exp(std::log(x) * 0.25));
        case 31: return Finite(std::log(x));
        default: return Finite(1.0 / std::log(x));
        }
    }
    if (code == 33)
        return Finite(std::exp(x));
    if (code == 34)
        return Finite(std::exp(-x));
    if (code >= kFirstPeriodicTermCode && code <= kLastTermCode) {
        const bool sine = (code - kFirstPeriodicTermCode) % 2 == 0;
        const double u = kTwoPi * x / Period(periods, code, sine ? 41u : 42u);
        return Finite(sine ? SineReduced(u) : CosineReduced(u));
    }
    return 0.0;
}

// TermValue of one code at every point, written every `stride` elements; the code is looked
// at once, not at every point.
void TermColumn(unsigned code, const double* x, std::size_t n, const std::vector<double>& periods, double* out,
                std::size_t stride)
{
    if (code >= kFirstPeriodicTermCode && code <= kLastTermCode) {
        const bool sine = (code - kFirstPeriodicTermCode) % 2 == 0;
        const double period = Period(periods, code, sine ? 41u : 42u);
        for (std::size_t p = 0; p < n; ++p) {
            const double u = kTwoPi * x[p] / period;
            out[p * stride] = Finite(sine ? SineReduced(u) : CosineReduced(u));
        }
        return;
    }
    switch (code) {
    case 0:
        for (std::size_t p = 0; p < n; ++p)
            out[p * stride] = 1.0;
        return;
    case 1:
        for (std::size_t p = 0; p < n; ++p)
            out[p * stride] = Finite(x[p]);
        return;
    case 33:
        for (std::size_t p = 0; p < n; ++p)
            out[p * stride] = Finite(std::exp(x[p]));
        return;
    default:
        for (std::size_t p = 0; p < n; ++p)
            out[p * stride] = TermValue(code, x[p], periods);
    }
}

// A sine code's column and its cosine partner's (the next code, the same period) together.
void SineCosineColumns(unsigned sineCode, const double* x, std::size_t n, const std::vector<double>& periods,
                       double* sines, double* cosines, std::size_t stride)
{
    const double period = Period(periods, sineCode, 41u);
    for (std::size_t p = 0; p < n; ++p) {
        double s, c;
        SineCosineReduced(kTwoPi * x[p] / period, s, c);
        sines[p * stride] = Finite(s);
        cosines[p * stride] = Finite(c);
    }
}

}  // namespace

void EvaluateTermRow(double* yOut, double* termValues, const std::vector<double>& periods,
                     const std::vector<unsigned>& codes, int yTransform, double y, double x)
{
    mathDomainError = 0;
    TransformY(y, *yOut, yTransform);
    const std::size_t m = codes.size();
    for (std::size_t k = 0; k < m; ++k)
        termValues[k] = TermValue(codes[k], x, periods);
}

void EvaluateTermCode(double* yOut, std::vector<double>& termValues, const std::vector<double>& periods,
                      const std::vector<unsigned>& codes, int yTransform, double y, double x)
{
    if (termValues.size() < codes.size())
        throw std::invalid_argument("term value array shorter than the code list");
    EvaluateTermRow(yOut, termValues.data(), periods, codes, yTransform, y, x);
}

double TermModelValue(double x, const std::vector<double>& periods, const std::vector<unsigned>& codes,
                      const double* coefficients, int m, int yTransform)
{
    constexpr int kStackTerms = 64;
    double stackRow[kStackTerms];
    std::vector<double> heapRow;
    double* row = stackRow;
    if (codes.size() > static_cast<std::size_t>(kStackTerms)) {
        heapRow.resize(codes.size());
        row = heapRow.data();
    }
    mathDomainError = 0;
    for (std::size_t k = 0; k < codes.size(); ++k)
        row[k] = TermValue(codes[k], x, periods);
    double v = 0.0;
    const int n = std::min<int>(m, static_cast<int>(codes.size()));
    for (int k = 0; k < n; ++k)
        v += coefficients[k] * row[k];
    return ApplyYTransform(v, yTransform);
}

double TermModelCriterion(double e, const std::vector<double>& coefficients, const std::vector<double>& deviations,
                          int m, const std::vector<unsigned>& codes)
{
    double c = std::max(std::pow(e, 0.25), 6.0 * e);
    for (int k = 0; k < m; ++k) {
        const double a = coefficients[static_cast<std::size_t>(k)];
        if (!(std::fabs(a) > 1e-46)) {
            c += 1e46;
            continue;
        }
        double ratio = std::fabs(deviations[static_cast<std::size_t>(k)] / a);
        if (codes[static_cast<std::size_t>(k)] >= 40)
            ratio *= 0.5;
        c += ratio;
    }
    return std::isnan(c) ? kUnfittedTermCriterion : c;
}

namespace {

TermFitCache::Key KeyOf(unsigned code, const std::vector<double>& periods)
{
    if (code < kFirstPeriodicTermCode || code > kLastTermCode)
        return {code, 0};
    const bool sine = (code - kFirstPeriodicTermCode) % 2 == 0;
    return {code, std::bit_cast<std::uint64_t>(Period(periods, code, sine ? 41u : 42u))};
}

}  // namespace

void TermFitCache::Bind(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x == x_ && y == y_)
        return;
    x_ = x;
    y_ = y;
    columns_.clear();
    targets_.clear();
    products_.clear();
    targetProducts_.clear();
    valueSum_ = 0.0;
    for (double v : y_)
        valueSum_ += v;
}

const std::vector<double>& TermFitCache::Column(const Key& key, unsigned code, const std::vector<double>& periods)
{
    auto it = columns_.find(key);
    if (it != columns_.end())
        return it->second;
    std::vector<double> column(x_.size());
    for (std::size_t p = 0; p < x_.size(); ++p)
        column[p] = TermValue(code, x_[p], periods);
    return columns_.emplace(key, std::move(column)).first->second;
}

const std::vector<double>& TermFitCache::Target(int yTransform)
{
    auto it = targets_.find(yTransform);
    if (it != targets_.end())
        return it->second;
    std::vector<double> target(y_.size(), 0.0);
    for (std::size_t p = 0; p < y_.size(); ++p)
        TransformY(y_[p], target[p], yTransform);
    return targets_.emplace(yTransform, std::move(target)).first->second;
}

double TermFitCache::ProductSum(const Key& a, const Key& b, const std::vector<double>& ca, const std::vector<double>& cb)
{
    const auto key = a < b ? std::make_pair(a, b) : std::make_pair(b, a);
    auto it = products_.find(key);
    if (it != products_.end())
        return it->second;
    double sum = 0.0;
    for (std::size_t p = 0; p < ca.size(); ++p)
        sum += ca[p] * cb[p];
    products_.emplace(key, sum);
    return sum;
}

double TermFitCache::TargetSum(int yTransform, const Key& b, const std::vector<double>& cb)
{
    const auto key = std::make_pair(yTransform, b);
    auto it = targetProducts_.find(key);
    if (it != targetProducts_.end())
        return it->second;
    const std::vector<double>& target = Target(yTransform);
    double sum = 0.0;
    for (std::size_t p = 0; p < cb.size(); ++p)
        sum += target[p] * cb[p];
    targetProducts_.emplace(key, sum);
    return sum;
}

void TermFitCache::KeepOnly(const std::vector<Key>& used)
{
    const auto isUsed = [&used](const Key& k) { return std::find(used.begin(), used.end(), k) != used.end(); };
    std::erase_if(columns_, [&](const auto& entry) { return !isUsed(entry.first); });
    std::erase_if(products_, [&](const auto& entry) { return !isUsed(entry.first.first) || !isUsed(entry.first.second); });
    std::erase_if(targetProducts_, [&](const auto& entry) { return !isUsed(entry.first.second); });
}

double FitTermModel(const std::vector<double>& x, const std::vector<double>& y, int yTransform,
                    const std::vector<unsigned>& codes, const std::vector<double>& periods,
                    std::vector<double>& coefficients, std::vector<double>& deviations, double* criterion,
                    TermFitCache* cache)
{
    const int m = static_cast<int>(codes.size());
    const int n = static_cast<int>(x.size());
    coefficients.assign(codes.size(), 0.0);
    deviations.assign(codes.size(), 0.0);
    auto failed = [&]() {
        std::fill(coefficients.begin(), coefficients.end(), 0.0);
        std::fill(deviations.begin(), deviations.end(), 0.0);
        *criterion = kUnfittedTermCriterion;
        return kFailedTermFitResidual;
    };
    if (m <= 0 || n <= 0 || y.size() != x.size() || n < m)
        return failed();

    // Domain errors are not tested: a rejected term or y enters as 0.
    LeastSquaresResult fit;
    const std::size_t mm = static_cast<std::size_t>(m);
    if (!cache) {
        // Each term evaluated once, a whole column at a time, into rows kept for the
        // residual pass: the same values and sums as row by row.
        // Kept between fits (a search fits the same points again and again): fresh memory
        // of this size costs more to map than the sums cost to make.
        static thread_local std::vector<double> kept;
        const std::size_t points = static_cast<std::size_t>(n);
        if (kept.size() < mm * points)
            kept.resize(mm * points);
        double* const rows = kept.data();
        // A block of rows at a time, made and summed while in the cache.
        std::vector<double> matrix(mm * mm + 1, 0.0), rhs(mm, 0.0);
        double valueSum = 0.0;
        // A sine term whose cosine partner is in the model too gets both from one evaluation.
        std::vector<int> partner(mm, -1);
        std::vector<bool> paired(mm, false);
        for (std::size_t k = 0; k < mm; ++k) {
            const unsigned c = codes[k];
            if (c < kFirstPeriodicTermCode || c >= kLastTermCode || (c - kFirstPeriodicTermCode) % 2 != 0 || paired[k])
                continue;
            for (std::size_t j = 0; j < mm; ++j) {
                if (codes[j] == c + 1 && !paired[j]) {
                    partner[k] = static_cast<int>(j);
                    paired[k] = paired[j] = true;
                    break;
                }
            }
        }
        constexpr std::size_t kBlock = 256;
        double targets[kBlock];
        for (std::size_t from = 0; from < points; from += kBlock) {
            const std::size_t count = std::min(kBlock, points - from);
            double* const block = rows + from * mm;
            for (std::size_t k = 0; k < mm; ++k) {
                if (partner[k] >= 0)
                    SineCosineColumns(codes[k], x.data() + from, count, periods, block + k, block + partner[k], mm);
                else if (!paired[k])
                    TermColumn(codes[k], x.data() + from, count, periods, block + k, mm);
            }
            for (std::size_t p = 0; p < count; ++p)
                TransformY(y[from + p], targets[p], yTransform);
            AddNormalRows(m, static_cast<int>(count), block, targets, y.data() + from, matrix.data(), rhs.data(),
                          valueSum);
        }
        MirrorNormalMatrix(m, matrix.data());
        const double mean = valueSum / n;
        const auto residuals = [&](const double* a, double& sst, double& ssr) {
            for (std::size_t p = 0; p < points; ++p) {
                const double* row = rows + p * mm;
                double v = 0.0;
                for (std::size_t k = 0; k < mm; ++k)
                    v += a[k] * row[k];
                const double fitted = ApplyYTransform(v, yTransform);
                sst += (mean - y[p]) * (mean - y[p]);
                ssr += (fitted - y[p]) * (fitted - y[p]);
            }
        };
        SolveLeastSquares(m, n, matrix, rhs, mean, residuals, fit);
    } else {
        // The same sums as the row-by-row pass, taken from columns kept between fits.
        cache->Bind(x, y);
        std::vector<TermFitCache::Key> keys(mm);
        std::vector<const std::vector<double>*> columns(mm);
        for (std::size_t k = 0; k < mm; ++k) {
            keys[k] = KeyOf(codes[k], periods);
            columns[k] = &cache->Column(keys[k], codes[k], periods);
        }
        std::vector<double> matrix(mm * mm + 1, 0.0), rhs(mm, 0.0);
        for (std::size_t j = 0; j < mm; ++j) {
            rhs[j] = cache->TargetSum(yTransform, keys[j], *columns[j]);
            for (std::size_t l = 0; l < mm; ++l)
                matrix[l * mm + j + 1] = cache->ProductSum(keys[j], keys[l], *columns[j], *columns[l]);
        }
        const double mean = cache->valueSum_ / n;
        const auto residuals = [&](const double* a, double& sst, double& ssr) {
            for (int p = 0; p < n; ++p) {
                double v = 0.0;
                for (std::size_t k = 0; k < mm; ++k)
                    v += a[k] * (*columns[k])[static_cast<std::size_t>(p)];
                const double fitted = ApplyYTransform(v, yTransform);
                const double value = y[static_cast<std::size_t>(p)];
                sst += (mean - value) * (mean - value);
                ssr += (fitted - value) * (fitted - value);
            }
        };
        SolveLeastSquares(m, n, matrix, rhs, mean, residuals, fit);
        cache->KeepOnly(keys);
    }
    bool finite = fit.determinant != 0.0 && std::isfinite(fit.residualMeasure);
    for (int k = 0; k < m && finite; ++k)
        finite = std::isfinite(fit.coefficients[k]) && std::isfinite(fit.deviations[k]);
    if (!finite)
        return failed();
    coefficients = fit.coefficients;
    deviations = fit.deviations;
    const double e = fit.residualMeasure;
    // As many points as terms fit exactly whatever the data: such a model proves nothing.
    *criterion = n == m ? kUnfittedTermCriterion : TermModelCriterion(e, coefficients, deviations, m, codes);
    return e;
}
