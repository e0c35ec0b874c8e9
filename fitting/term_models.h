#pragma once
// Term models of one argument: T(y) = a1*f1(x) + ... + am*fm(x), T named by a y-transform
// code 0 to 5 (the transforms of TransformY / ApplyYTransform) and each f by a term code:
//   0 constant; 1..10 x^k; 11..20 1/x^(k-10); 21 sqrt x; 22 x^(1/3); 23 x^(1/4);
//   24 1/sqrt x; 25 x^(-1/3); 26 x^(-1/4); 31 ln x; 32 1/ln x; 33 e^x; 34 e^-x;
//   odd 41..63 sin(2 pi x / T_i), even 42..64 cos(2 pi x / T_i), i = (code - 41) / 2.
// Codes 27..30, 35..40 and above 64 are not assigned and give 0.
// These codes are not the constructor's 0..34 (schemes.h).
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

constexpr unsigned kFirstPeriodicTermCode = 41;
constexpr unsigned kLastTermCode = 64;
// Criterion of a model that could not be fitted: it loses every comparison with a
// fitted model (a vanishing coefficient alone costs 1e46).
constexpr double kUnfittedTermCriterion = 1e140;
// Residual measure reported for a failed fit: nothing of the spread explained.
constexpr double kFailedTermFitResidual = 1.0;

// Clears mathDomainError, writes T(y) to yOut, then the value of every code to the same
// index of termValues. An argument outside a term's domain (or a value that would not be
// finite) gives 0 and raises the flag for the rest of the call. Throws
// std::invalid_argument when termValues is shorter than codes or a periodic code has no
// period in the list.
void EvaluateTermCode(double* yOut, std::vector<double>& termValues, const std::vector<double>& periods,
                      const std::vector<unsigned>& codes, int yTransform, double y, double x);

// The same into a plain row of codes.size() values (no size check of the row).
void EvaluateTermRow(double* yOut, double* termValues, const std::vector<double>& periods,
                     const std::vector<unsigned>& codes, int yTransform, double y, double x);

// Value of a fitted model at x: the terms at (x, y = 1) times the coefficients, back-
// transformed. mathDomainError tells whether a term or the back-transform failed.
double TermModelValue(double x, const std::vector<double>& periods, const std::vector<unsigned>& codes,
                      const double* coefficients, int m, int yTransform);

// Least squares of the transformed y on the terms; SST and SSR are taken in y's own
// units (the prediction is back-transformed). coefficients and deviations are resized to
// the term count. Returns e = SSR/SST (0 when SST is 0); criterion is always written.
// A failed fit (no terms, fewer points than terms, x and y of different lengths, a
// singular normal matrix, coefficients that are not finite) gives zero coefficients,
// e = kFailedTermFitResidual and the criterion kUnfittedTermCriterion; a fit with as many
// points as terms is made but scored kUnfittedTermCriterion, so that it never wins.
class TermFitCache;
double FitTermModel(const std::vector<double>& x, const std::vector<double>& y, int yTransform,
                    const std::vector<unsigned>& codes, const std::vector<double>& periods,
                    std::vector<double>& coefficients, std::vector<double>& deviations, double* criterion,
                    TermFitCache* cache = nullptr);

// Term columns over the points and their products summed, kept between fits of the same
// points: a search that changes one period refits without evaluating the other terms again.
// Every sum is made in the same order as without the cache, so the results are the same bit
// for bit. Columns (and sums) that a fit did not use are dropped after it.
class TermFitCache {
public:
    struct Key {
        unsigned code;
        std::uint64_t period;  // bits of the period of a periodic code, else 0
        bool operator<(const Key& o) const { return code != o.code ? code < o.code : period < o.period; }
        bool operator==(const Key& o) const { return code == o.code && period == o.period; }
    };

private:
    friend double FitTermModel(const std::vector<double>&, const std::vector<double>&, int,
                               const std::vector<unsigned>&, const std::vector<double>&, std::vector<double>&,
                               std::vector<double>&, double*, TermFitCache*);
    // Forgets everything unless x and y are the points it was made for.
    void Bind(const std::vector<double>& x, const std::vector<double>& y);
    const std::vector<double>& Column(const Key& key, unsigned code, const std::vector<double>& periods);
    const std::vector<double>& Target(int yTransform);
    double ProductSum(const Key& a, const Key& b, const std::vector<double>& ca, const std::vector<double>& cb);
    double TargetSum(int yTransform, const Key& b, const std::vector<double>& cb);
    void KeepOnly(const std::vector<Key>& used);

    std::vector<double> x_, y_;
    double valueSum_ = 0.0;
    std::map<Key, std::vector<double>> columns_;
    std::map<int, std::vector<double>> targets_;
    std::map<std::pair<Key, Key>, double> products_;
    std::map<std::pair<int, Key>, double> targetProducts_;
};

// max(e^0.25, 6e) plus, per term, |s/a| (halved for the sine and cosine terms, codes 40
// and up), or 1e46 for a coefficient of at most 1e-46. A result that is not a number
// becomes kUnfittedTermCriterion.
double TermModelCriterion(double e, const std::vector<double>& coefficients, const std::vector<double>& deviations,
                          int m, const std::vector<unsigned>& codes);
