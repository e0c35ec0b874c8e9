// The 37 function keywords of the formula language and their functions.

#include <climits>
#include <cmath>

#include "formula/flat_text.h"
#include "formula/formula_evaluator.h"
#include "formula/formula_messages.h"
#include "formula/list_values.h"
#include "formula/number_text.h"
#include "statistics/random.h"
#include "statistics/student.h"

namespace fm = formulaMessages;

namespace {

constexpr int kArgumentLimit = 10000;

std::string_view NextArgument(std::string_view& list)
{
    const size_t comma = list.find(',');
    std::string_view argument = list.substr(0, comma);
    if (comma == std::string_view::npos)
        list = std::string_view();
    else
        list.remove_prefix(comma + 1);
    return argument;
}

bool FitsInt32(double v)
{
    return v >= INT_MIN && v <= INT_MAX;
}

}  // namespace

std::string_view formulaEvaluator::ReduceArgument(std::string_view argument)
{
    argumentText_.assign(argument);
    ReduceFlat(argumentText_);
    return argumentText_;
}

std::string_view formulaEvaluator::NextReducedText(std::string_view& list)
{
    return ReduceArgument(NextArgument(list));
}

double formulaEvaluator::NextValue(std::string_view& list)
{
    const std::string_view argument = NextArgument(list);
    double value = 0;
    if (ReduceSimpleTerm(argument, value))
        return value;
    return numtext::ReadReal(ReduceArgument(argument));
}

std::string formulaEvaluator::CallBuiltin(std::string_view name, std::string_view arguments)
{
    char lower[8];
    const size_t length = name.size();
    if (length >= 1 && length <= 7) {
        for (size_t i = 0; i < length; ++i) {
            const char c = name[i];
            lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        const std::string_view key(lower, length);
        switch (length) {
        case 1:
            if (key == "%") return EvalPct(arguments);
            if (key == "!") return EvalFactorial(arguments);
            break;
        case 2:
            if (key == "ln") return EvalLn(arguments);
            if (key == "pi") return EvalPi(arguments);
            if (key == "if") return EvalIf(arguments);
            break;
        case 3:
            if (key == "exp") return EvalExp(arguments);
            if (key == "log") return EvalLog(arguments);
            if (key == "sin") return EvalSin(arguments);
            if (key == "sum") return EvalSum(arguments);
            if (key == "cos") return EvalCos(arguments);
            if (key == "abs") return EvalAbs(arguments);
            if (key == "tan") return EvalTan(arguments);
            if (key == "int") return EvalInt(arguments);
            if (key == "rad") return EvalRad(arguments);
            if (key == "min") return EvalMin(arguments);
            if (key == "max") return EvalMax(arguments);
            if (key == "pow") return EvalPow(arguments);
            if (key == "pct") return EvalPct(arguments);
            break;
        case 4:
            if (key == "asin") return EvalAsin(arguments);
            if (key == "acos") return EvalAcos(arguments);
            if (key == "atan") return EvalAtan(arguments);
            if (key == "sqrt") return EvalSqrt(arguments);
            if (key == "rand") return EvalRand(arguments);
            if (key == "mean") return EvalMean(arguments);
            if (key == "ctan") return EvalCtan(arguments);
            break;
        case 5:
            if (key == "actan") return EvalActan(arguments);
            if (key == "log10") return EvalLog10(arguments);
            if (key == "gauss") return EvalGauss(arguments);
            if (key == "sigma") return EvalSigma(arguments);
            if (key == "trust") return EvalTrust(arguments);
            if (key == "pow10") return EvalPow10(arguments);
            if (key == "floor") return EvalFloor(arguments);
            break;
        case 6:
            if (key == "solve1") return EvalSolve1(arguments);
            if (key == "degree") return EvalDegree(arguments);
            break;
        case 7:
            if (key == "student") return EvalStudent(arguments);
            if (key == "solve2p") return EvalSolve2p(arguments);
            if (key == "solve2m") return EvalSolve2m(arguments);
            break;
        default:
            break;
        }
    }
    if (!errorFlag) {
        const std::string_view pattern = fm::unknownFunction;
        const size_t at = pattern.find("%s");
        errorText.assign(pattern.substr(0, at));
        errorText.append(name);
        errorText.append(pattern.substr(at + 2));
        errorFlag = 1;
    }
    return "0";
}

std::string formulaEvaluator::EvalPct(std::string_view arguments)
{
    return RealText(NextValue(arguments) * 0.01, fm::tooLarge);
}

std::string formulaEvaluator::EvalFactorial(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (x < 0) {
        Raise(fm::factorialNegative);
        return std::string();
    }
    if (x >= 0 && x <= 1)
        return "1";
    if (x > 100) {
        Raise(fm::factorialTooLarge);
        return std::string();
    }
    if (x > 1 && x <= 25) {
        const int n = static_cast<int>(x);
        double product = 1;
        for (int i = 2; i <= n; ++i)
            product *= i;
        return RealText((x / n) * product, fm::tooLarge);
    }
    return RealText(std::sqrt(6.283185307 * x) * std::pow(x / 2.7182818284, x), fm::tooLarge);
}

std::string formulaEvaluator::EvalLn(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (x < technicalZero) {
        Raise(fm::logArgument);
        return std::string();
    }
    return RealText(std::log(x), fm::tooLarge);
}

std::string formulaEvaluator::EvalIf(std::string_view arguments)
{
    const std::string_view condition = NextArgument(arguments);
    const std::string_view negative = NextArgument(arguments);
    const std::string_view zero = NextArgument(arguments);
    const std::string_view positive = NextArgument(arguments);
    std::string_view list = condition;
    const double c = NextValue(list);
    // Only the chosen branch is reduced: an error in another one is never raised.
    list = c < 0 ? negative : (c == 0 ? zero : positive);
    return RealText(NextValue(list), fm::tooLarge);
}

std::string formulaEvaluator::EvalExp(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (x > 100) {
        Raise(fm::expTooBig);
        return std::string();
    }
    return RealText(std::exp(x), fm::tooLarge);
}

std::string formulaEvaluator::EvalLog(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (x < technicalZero) {
        Raise(fm::logArgument);
        return std::string();
    }
    const double base = NextValue(arguments);
    if (base < technicalZero) {
        Raise(fm::logBase);
        return std::string();
    }
    // A base of 1 divides by ln 1 = 0: no logarithm to that base exists.
    return RealText(std::log(x) / std::log(base), fm::logBase);
}

std::string formulaEvaluator::EvalSin(std::string_view arguments)
{
    return RealText(std::sin(NextValue(arguments)), fm::tooLarge);
}

std::string formulaEvaluator::EvalCos(std::string_view arguments)
{
    return RealText(std::cos(NextValue(arguments)), fm::tooLarge);
}

std::string formulaEvaluator::EvalTan(std::string_view arguments)
{
    return RealText(std::tan(NextValue(arguments)), fm::tooLarge);
}

std::string formulaEvaluator::EvalAbs(std::string_view arguments)
{
    return RealText(std::fabs(NextValue(arguments)), fm::tooLarge);
}

std::string formulaEvaluator::EvalAtan(std::string_view arguments)
{
    return RealText(std::atan(NextValue(arguments)), fm::tooLarge);
}

std::string formulaEvaluator::EvalInt(std::string_view arguments)
{
    const double t = std::trunc(NextValue(arguments));
    // Beyond the 32-bit range the truncated value stays a real.
    if (FitsInt32(t))
        return numtext::IntText(static_cast<long long>(t));
    return RealText(t, fm::tooLarge);
}

std::string formulaEvaluator::EvalFloor(std::string_view arguments)
{
    const double x = NextValue(arguments);
    double n = std::trunc(x);
    if (x < 0 && std::fabs(x - n) > 1e-40)
        n -= 1;
    if (FitsInt32(n))
        return numtext::IntText(static_cast<long long>(n));
    return RealText(n, fm::tooLarge);
}

std::string formulaEvaluator::EvalRad(std::string_view arguments)
{
    return RealText(NextValue(arguments) * 0.017453292519943, fm::tooLarge);
}

std::string formulaEvaluator::EvalDegree(std::string_view arguments)
{
    return RealText(NextValue(arguments) * 57.295779513082, fm::tooLarge);
}

std::string formulaEvaluator::EvalAggregate(std::string_view arguments, Aggregate kind)
{
    const auto list = static_cast<ListValues::Kind>(static_cast<int>(kind));
    // An argument past the limit or an empty one would silently change the result.
    const auto refuse = [this, list](const char* pattern) {
        const std::string_view text = pattern;
        const size_t at = text.find("%s");
        std::string message(text.substr(0, at));
        message.append(ListValues::Name(list));
        message.append(text.substr(at + 2));
        Raise(message.c_str());
        return std::string();
    };
    ListValues values;
    // No argument at all is a list of none.
    const bool none = arguments.empty();
    while (!none) {
        if (values.count == kArgumentLimit)
            return refuse(fm::tooManyArguments);
        const bool last = arguments.find(',') == std::string_view::npos;
        const std::string_view argument = NextArgument(arguments);
        if (argument.empty())
            return refuse(fm::emptyArgument);
        std::string_view single = argument;
        values.Add(NextValue(single));
        if (last)
            break;
    }
    double value = 0;
    const char* message = nullptr;
    if (!values.Result(list, value, message)) {
        Raise(message);
        return std::string();
    }
    return RealText(value, fm::tooLarge);
}

std::string formulaEvaluator::EvalSum(std::string_view arguments)
{
    return EvalAggregate(arguments, Aggregate::sum);
}

std::string formulaEvaluator::EvalMin(std::string_view arguments)
{
    return EvalAggregate(arguments, Aggregate::min);
}

std::string formulaEvaluator::EvalMax(std::string_view arguments)
{
    return EvalAggregate(arguments, Aggregate::max);
}

std::string formulaEvaluator::EvalMean(std::string_view arguments)
{
    return EvalAggregate(arguments, Aggregate::mean);
}

std::string formulaEvaluator::EvalSigma(std::string_view arguments)
{
    return EvalAggregate(arguments, Aggregate::sigma);
}

std::string formulaEvaluator::EvalPow(std::string_view arguments)
{
    const double a = NextValue(arguments);
    const std::string_view exponentText = NextReducedText(arguments);
    if (a < 0 && !flattext::IsIntegerText(exponentText)) {
        Raise(fm::floatPowerNegative);
        return std::string();
    }
    const double b = numtext::ReadReal(exponentText);
    // A zero base with a negative exponent divides by zero.
    return RealText(std::pow(a, b), a == 0 && b < 0 ? fm::technicalZero : fm::tooLarge);
}

std::string formulaEvaluator::EvalAsin(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (std::fabs(x) > 1) {
        Raise(fm::asinRange);
        return std::string();
    }
    return RealText(std::asin(x), fm::tooLarge);
}

std::string formulaEvaluator::EvalAcos(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (std::fabs(x) > 1) {
        Raise(fm::acosRange);
        return std::string();
    }
    return RealText(std::acos(x), fm::tooLarge);
}

std::string formulaEvaluator::EvalSqrt(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (x < 0) {
        Raise(fm::sqrtNegative);
        return std::string();
    }
    return RealText(std::sqrt(x), fm::tooLarge);
}

std::string formulaEvaluator::EvalRand(std::string_view arguments)
{
    const std::string_view reduced = NextReducedText(arguments);
    const double scale = reduced == "0" ? 1.0 : numtext::ReadReal(reduced);
    return RealText(scale * RandomNext() / 4294967295.0, fm::tooLarge);
}

std::string formulaEvaluator::EvalCtan(std::string_view arguments)
{
    return RealText(1 / std::tan(NextValue(arguments)), fm::technicalZero);
}

std::string formulaEvaluator::EvalActan(std::string_view arguments)
{
    const double x = NextValue(arguments);
    double value = std::atan(1 / x);
    if (x <= 0)
        value += 3.14;
    return RealText(value, fm::tooLarge);
}

std::string formulaEvaluator::EvalLog10(std::string_view arguments)
{
    const double x = NextValue(arguments);
    if (x < technicalZero) {
        Raise(fm::logArgument);
        return std::string();
    }
    return RealText(std::log10(x), fm::tooLarge);
}

std::string formulaEvaluator::EvalGauss(std::string_view arguments)
{
    return RealText(RandomNormal(0, NextValue(arguments)), fm::tooLarge);
}

namespace {

// Every count below 3 gives the same Student results; keeping it there keeps n - 1
// inside the integer range.
int StudentCount(std::string_view reduced)
{
    const int n = numtext::ReadInt32Clamped(reduced);
    return n < 0 ? 0 : n;
}

}  // namespace

std::string formulaEvaluator::EvalTrust(std::string_view arguments)
{
    const double s = NextValue(arguments);
    const int n = StudentCount(NextReducedText(arguments));
    const double p = NextValue(arguments);
    return RealText(StudentIntervalHalfWidth(s, n, p), fm::tooLarge);
}

std::string formulaEvaluator::EvalStudent(std::string_view arguments)
{
    const double s = NextValue(arguments);
    const int n = StudentCount(NextReducedText(arguments));
    const double d = NextValue(arguments);
    return RealText(StudentIntervalProbability(s, n, d), fm::tooLarge);
}

std::string formulaEvaluator::EvalPow10(std::string_view arguments)
{
    const double x = NextValue(arguments);
    const double value = std::pow(10.0, x);
    if (x > 40) {
        Raise(fm::pow10TooLarge);
        return std::string();
    }
    return RealText(value, fm::tooLarge);
}

std::string formulaEvaluator::EvalSolve1(std::string_view arguments)
{
    const double a = NextValue(arguments);
    if (std::fabs(a) < technicalZero) {
        Raise(fm::solve1Zero);
        return std::string();
    }
    const double b = NextValue(arguments);
    return RealText(-b / a, fm::tooLarge);
}

std::string formulaEvaluator::SolveQuadratic(std::string_view arguments, double rootSign,
                                             const char* zeroMessage,
                                             const char* discriminantMessage)
{
    const double a = NextValue(arguments);
    if (std::fabs(a) < technicalZero) {
        Raise(zeroMessage);
        return std::string();
    }
    const double b = NextValue(arguments);
    const double c = NextValue(arguments);
    const double d = b * b - 4 * a * c;
    if (d < 0) {
        Raise(discriminantMessage);
        return std::string();
    }
    return RealText((-b + rootSign * std::sqrt(d)) / (a + a), fm::tooLarge);
}

std::string formulaEvaluator::EvalSolve2p(std::string_view arguments)
{
    return SolveQuadratic(arguments, 1.0, fm::solve2pZero, fm::solve2pDiscriminant);
}

std::string formulaEvaluator::EvalSolve2m(std::string_view arguments)
{
    return SolveQuadratic(arguments, -1.0, fm::solve2mZero, fm::solve2mDiscriminant);
}
