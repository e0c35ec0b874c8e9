#include "fitting/schemes.h"

#include <cctype>
#include <cmath>

#include "statistics/math_domain.h"
#include "statistics/random.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Writes a value into a row slot; one that is not finite becomes 0 with the flag.
inline void Put(double& slot, double value)
{
    if (std::isfinite(value)) {
        slot = value;
    } else {
        slot = 0.0;
        mathDomainError = 1;
    }
}

inline double Checked(double value)
{
    if (std::isfinite(value))
        return value;
    mathDomainError = 1;
    return 0.0;
}

// row = 1, x, x^2 .. x^degree by repeated multiplication.
inline void PowerRow(double x, int degree, double* row)
{
    double p = 1.0;
    row[0] = 1.0;
    for (int k = 1; k <= degree; ++k) {
        p *= x;
        Put(row[k], p);
    }
}

inline void LogOfY(double y, double& Y)
{
    if (y <= 0.0) {
        Y = 0.0;
        mathDomainError = 1;
    } else {
        Put(Y, std::log(y));
    }
}

inline void Reciprocal(double v, double& out)
{
    if (v == 0.0) {
        out = 0.0;
        mathDomainError = 1;
    } else {
        Put(out, 1.0 / v);
    }
}

// Value of one constructor term code at x.
double ConstructorTerm(int code, double x, const double* periods)
{
    switch (code) {
    case 0: return 1.0;
    case 1: return x;
    case 2: return x * x;
    case 3: return x * x * x;
    case 4: { const double x2 = x * x; return x2 * x2; }
    case 5: { const double x2 = x * x; return x2 * x2 * x; }
    case 6: { const double x3 = x * x * x; return x3 * x3; }
    case 7: case 8: case 9: case 10: case 11: case 12: {
        if (x == 0.0) {
            mathDomainError = 1;
            return 0.0;
        }
        double p = x;
        for (int k = 7; k < code; ++k)
            p *= x;
        return Checked(1.0 / p);
    }
    default: break;
    }
    if (code >= 13 && code <= 20) {
        if (x < 0.0) {
            mathDomainError = 1;
            return 0.0;
        }
        switch (code) {
        case 13: return Checked(std::sqrt(x));
        case 14: return Checked(std::exp(std::log(x) * 0.33333));
        case 15: return Checked(std::exp(std::log(x) * 0.25));
        case 16: return Checked(1.0 / std::sqrt(x));
        case 17: return Checked(std::exp(std::log(x) * -0.33333));
        case 18: return Checked(std::exp(std::log(x) * -0.25));
        case 19: return Checked(std::log(x));
        default: return Checked(1.0 / std::log(x));
        }
    }
    if (code == 21)
        return Checked(std::exp(x));
    if (code == 22)
        return Checked(std::exp(-x));
    if (code >= 23 && code <= kConstructorMaxCode) {
        const int k = (code - 23) / 2;
        const double u = kTwoPi * x / periods[k];
        return Checked((code - 23) % 2 == 0 ? SineReduced(u) : CosineReduced(u));
    }
    return 0.0;
}

bool SameTextIgnoringCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

}  // namespace

int SchemeCoefficientCount(int scheme)
{
    if (scheme < 0 || scheme > 24)
        return scheme;
    if (scheme <= 7)
        return scheme + 2;
    if (scheme <= 12)
        return scheme - 6;
    if (scheme <= 17)
        return scheme - 11;
    static constexpr int kTail[] = {1, 2, 3, 4, 3, 3, 4};  // schemes 18 to 24
    return kTail[scheme - 18];
}

int SchemeLinearize(double x, double y, double& Y, double* row, int /*count*/, int scheme)
{
    mathDomainError = 0;
    if (scheme < 0 || scheme > 24)
        return 1;
    if (scheme <= 7) {
        Put(Y, y);
        PowerRow(x, scheme + 1, row);
    } else if (scheme <= 12) {
        // Only a negative y leaves the domain as the table has it; ln 0 is caught as
        // a value that is not finite.
        if (y < 0.0) {
            Y = 0.0;
            mathDomainError = 1;
        } else {
            Put(Y, std::log(y));
        }
        PowerRow(x, scheme - 7, row);
    } else if (scheme <= 17) {
        Reciprocal(y, Y);
        PowerRow(x, scheme - 12, row);
    } else if (scheme <= 19) {
        LogOfY(y, Y);
        double* lnSlot = scheme == 18 ? &row[0] : &row[1];
        if (scheme == 19)
            row[0] = 1.0;
        if (x <= 0.0) {
            row[0] = 0.0;
            *lnSlot = 0.0;
            mathDomainError = 1;
        } else {
            Put(*lnSlot, std::log(x));
        }
    } else if (scheme <= 21) {
        Put(Y, y);
        row[0] = 1.0;
        Put(row[1], x);
        Reciprocal(x, row[2]);
        if (scheme == 21)
            Reciprocal(x * x, row[3]);
    } else {
        Put(Y, y);
        const int count = SchemeCoefficientCount(scheme);
        if (x <= 0.0) {
            for (int k = 0; k < count; ++k)
                row[k] = 0.0;
            mathDomainError = 1;
            return 1;
        }
        row[0] = 1.0;
        int k = 1;
        if (scheme != 23)
            Put(row[k++], x);
        if (scheme != 22)
            Put(row[k++], 1.0 / x);
        Put(row[k], std::log(x));
    }
    return 1;
}

double SchemeInverseY(double v, int scheme)
{
    mathDomainError = 0;
    if ((scheme >= 8 && scheme <= 12) || scheme == 18 || scheme == 19)
        return Checked(std::exp(v));
    if (scheme >= 13 && scheme <= 17) {
        double out;
        Reciprocal(v, out);
        return out;
    }
    return Checked(v);
}

double SchemeModelValue(double x, const double* coefficients, int count, int scheme)
{
    double row[kSchemeRowSize];
    double Y = 0.0;
    SchemeLinearize(x, 1.0, Y, row, count, scheme);
    const int rowError = mathDomainError;
    double v = 0.0;
    for (int k = 0; k < count && k < kSchemeRowSize; ++k)
        v += coefficients[k] * row[k];
    const double y = SchemeInverseY(v, scheme);
    mathDomainError = mathDomainError || rowError;
    return y;
}

void TransformY(double y, double& Y, int yCode)
{
    switch (yCode) {
    case 0: Put(Y, y); break;
    case 1: Reciprocal(y, Y); break;
    case 2: Put(Y, std::exp(y)); break;
    case 3:
        if (y <= 0.0) {
            Y = 0.0;
            mathDomainError = 1;
        } else {
            Put(Y, std::sqrt(y));
        }
        break;
    case 4:
        if (y <= 0.0) {
            Y = 0.0;
            mathDomainError = 1;
        } else {
            Put(Y, 1.0 / std::sqrt(y));
        }
        break;
    case 5: LogOfY(y, Y); break;
    default: break;
    }
}

void BuildTermRow(double x, double y, double& Y, const double* periods, double* row, int termCount, int yCode,
                  const int* codes)
{
    mathDomainError = 0;
    TransformY(y, Y, yCode);
    for (int i = 0; i < termCount; ++i)
        row[i] = Checked(ConstructorTerm(codes[i], x, periods));
}

double ApplyYTransform(double v, int yCode)
{
    double out = 0.0;
    switch (yCode) {
    case 0: Put(out, v); break;
    case 1: Reciprocal(v, out); break;
    case 2:
        if (v <= 0.0)
            mathDomainError = 1;
        else
            Put(out, std::log(v));
        break;
    case 3: Put(out, v * v); break;
    case 4: Reciprocal(v * v, out); break;
    case 5: Put(out, std::exp(v)); break;
    default: break;
    }
    return out;
}

double ConstructorModelValue(double x, const double* periods, const double* coefficients, int termCount,
                             int yCode, const int* codes)
{
    mathDomainError = 0;
    double v = 0.0;
    for (int k = 0; k < termCount; ++k)
        v += coefficients[k] * Checked(ConstructorTerm(codes[k], x, periods));
    return ApplyYTransform(v, yCode);
}

double SchemeBasis(int code, double x, int& error)
{
    error = 0;
    double value = 0.0;
    bool bad = false;
    switch (code) {
    case 0: value = 1.0; break;
    case 1: value = x; break;
    case 2: value = x * x; break;
    case 3: value = x * x * x; break;
    case 4: value = x * x * x * x; break;
    case 5: bad = x > 1e50; value = x * x * x * x * x; break;
    case 6: bad = x > 1e40; value = x * x * x * x * x * x; break;
    case 7: bad = x > 1e30; value = x * x * x * x * x * x * x; break;
    case 8: bad = x > 1e20; value = x * x * x * x * x * x * x * x; break;
    case 9: bad = x > 1e10; value = x * x * x * x * x * x * x * x * x; break;
    case 10: bad = x < 0.0; value = std::sqrt(x); break;
    case 11: bad = x < 0.0; value = std::pow(x, 0.3333333333333); break;
    case 12: bad = x < 0.0; value = std::pow(x, 0.25); break;
    case 13: bad = x < 0.0; value = std::pow(x, 0.666666666666); break;
    case 14: bad = x < 0.0; value = std::pow(x, 0.75); break;
    case 15: bad = std::fabs(x) < 1e-40; value = 1.0 / x; break;
    case 16: bad = std::fabs(x) < 1e-20; value = 1.0 / (x * x); break;
    case 17: bad = std::fabs(x) < 1e-10; value = 1.0 / (x * x * x); break;
    case 18: bad = std::fabs(x) < 1e-10; value = 1.0 / (x * x * x * x); break;
    case 19: bad = std::fabs(x) < 1e-10; value = 1.0 / (x * x * x * x * x); break;
    case 20: bad = x < 0.0; value = 1.0 / std::sqrt(x); break;
    case 21: bad = x < 0.0; value = 1.0 / std::pow(x, 0.3333333333333); break;
    case 22: bad = x < 0.0; value = 1.0 / std::pow(x, 0.25); break;
    case 23: bad = x < 0.0; value = 1.0 / std::pow(x, 0.66666666666); break;
    case 24: bad = x < 0.0; value = 1.0 / std::pow(x, 0.75); break;
    case 25: bad = x < 1e-40; value = std::log(x); break;
    // ln(x + 1) is refused from the same bound as ln x, shifted by one.
    case 26: bad = x + 1.0 < 1e-40; value = std::log(x + 1.0); break;
    default: return 0.0;
    }
    if (bad || !std::isfinite(value)) {
        error = 1;
        return 0.0;
    }
    return value;
}

double TermProductModelValue(const double* x, const double* coefficients, int argumentCount,
                             const std::vector<unsigned>& codes, int& error)
{
    error = 0;
    if (argumentCount <= 0)
        return 0.0;
    const std::size_t terms = codes.size() / static_cast<std::size_t>(argumentCount);
    double sum = 0.0;
    for (std::size_t t = 0; t < terms; ++t) {
        double p = coefficients[t];
        for (int j = 0; j < argumentCount; ++j) {
            // A code beyond the signed range is no basis function: it gives 0.
            const unsigned code = codes[t * static_cast<std::size_t>(argumentCount) + static_cast<std::size_t>(j)];
            const int c = code < static_cast<unsigned>(kBasisCodeCount) ? static_cast<int>(code) : kBasisCodeCount;
            p *= SchemeBasis(c, x[j], error);
            if (error)
                return 0.0;
        }
        sum += p;
    }
    return sum;
}

double InverseYTransform(double v, const std::string& name)
{
    if (SameTextIgnoringCase(name, "ln(y)")) return std::exp(v);
    if (SameTextIgnoringCase(name, "1/y")) return 1.0 / v;
    if (SameTextIgnoringCase(name, "exp(y)")) return std::log(v);
    if (SameTextIgnoringCase(name, "sin(y)")) return std::asin(v);
    if (SameTextIgnoringCase(name, "asin(y)")) return std::sin(v);
    if (SameTextIgnoringCase(name, "cos(y)")) return std::acos(v);
    if (SameTextIgnoringCase(name, "acos(y)")) return std::cos(v);
    if (SameTextIgnoringCase(name, "tan(y)")) return std::atan(v);
    if (SameTextIgnoringCase(name, "atan(y)")) return std::tan(v);
    return v;
}
