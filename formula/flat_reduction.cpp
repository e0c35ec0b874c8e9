// The three operator passes over a bracket-free text: power, multiply and divide, sum.

#include <climits>
#include <cmath>
#include <cstdint>

#include "formula/flat_text.h"
#include "formula/formula_evaluator.h"
#include "formula/formula_messages.h"
#include "formula/number_text.h"

using numtext::ReadInt32;
using numtext::ReadReal;

namespace {

constexpr int kStepLimit = 10000;
// Powers with more repeated steps than this are computed in closed form: the step by
// step loop would keep the program busy for seconds at exponents near 2^31.
constexpr long long kStepwisePowerLimit = 100000;

bool FitsInt32(long long v)
{
    return v >= INT_MIN && v <= INT_MAX;
}

// A sign that may start a base stands at the start or after another operator; after
// an operand it is the operator of a sum and not part of the base.
bool IsSignOwnerBefore(char c)
{
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == ',' || c == '(';
}

// The end of an operand that starts at 'from': the first '*', '/', (optionally '^') or
// operator sign, searched from the character after the operand's first one.
size_t OperandEnd(std::string_view text, size_t from, bool powerEnds)
{
    for (size_t i = from + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '*' || c == '/' || (powerEnds && c == '^'))
            return i;
        if (flattext::IsOperatorSign(text, i))
            return i;
    }
    return text.size();
}

}  // namespace

namespace flattext {

bool IsIntegerText(std::string_view text)
{
    for (char c : text)
        if (c == '.' || c == 'e' || c == 'E')
            return false;
    return true;
}

bool IsOperatorSign(std::string_view text, size_t i)
{
    const char c = text[i];
    if (c != '+' && c != '-')
        return false;
    return i == 0 || (text[i - 1] != 'e' && text[i - 1] != 'E');
}

int FindSign(std::string_view text, char sign)
{
    size_t from = 1;
    for (int probe = 0; probe < kStepLimit; ++probe) {
        const size_t at = text.find(sign, from);
        if (at == std::string_view::npos)
            return -1;
        if (text[at - 1] != 'e' && text[at - 1] != 'E')
            return static_cast<int>(at);
        from = at + 1;
    }
    return -1;
}

size_t TermLength(std::string_view text)
{
    // One pass for both signs; each keeps its own budget of probes as FindSign does.
    int plusProbes = 0, minusProbes = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '+' && c != '-')
            continue;
        int& probes = c == '+' ? plusProbes : minusProbes;
        if (probes >= kStepLimit)
            continue;
        ++probes;
        if (text[i - 1] != 'e' && text[i - 1] != 'E')
            return i;
    }
    return text.size();
}

bool ReadOperandInt32(std::string_view text, std::int32_t& value)
{
    return IsIntegerText(text) && ReadInt32(text, value);
}

namespace {

void ReplacePairOnce(std::string& text, char first, char second, char replacement)
{
    size_t i = 0;
    while (i + 1 < text.size() && !(text[i] == first && text[i + 1] == second))
        ++i;
    if (i + 1 >= text.size())
        return;
    size_t out = i;
    while (i < text.size()) {
        if (text[i] == first && i + 1 < text.size() && text[i + 1] == second) {
            text[out++] = replacement;
            i += 2;
        } else {
            text[out++] = text[i++];
        }
    }
    text.resize(out);
}

}  // namespace

bool HasSignPair(std::string_view text)
{
    for (size_t i = 1; i < text.size(); ++i)
        if ((text[i] == '+' || text[i] == '-') && (text[i - 1] == '+' || text[i - 1] == '-'))
            return true;
    return false;
}

void FoldSignPairs(std::string& text)
{
    if (!HasSignPair(text))
        return;
    ReplacePairOnce(text, '-', '-', '+');
    ReplacePairOnce(text, '+', '-', '-');
    ReplacePairOnce(text, '-', '+', '-');
    ReplacePairOnce(text, '+', '+', '+');
}

}  // namespace flattext

using flattext::IsOperatorSign;

int formulaEvaluator::IsIntegerText(const std::string& text) const
{
    return flattext::IsIntegerText(text) ? 1 : 0;
}

int formulaEvaluator::IsExponentSignAt(const std::string& text, int position) const
{
    if (position <= 0 || position > static_cast<int>(text.size()))
        return 0;
    const char c = text[position - 1];
    return c == 'e' || c == 'E' ? 1 : 0;
}

int formulaEvaluator::IsZeroText(const std::string& text) const
{
    return IsZeroView(text) ? 1 : 0;
}

bool formulaEvaluator::IsZeroView(std::string_view text) const
{
    if (text == "0")
        return true;
    return !flattext::IsIntegerText(text) && std::fabs(ReadReal(text)) < technicalZero;
}

int formulaEvaluator::FindPlusSign(const std::string& text) const
{
    return flattext::FindSign(text, '+');
}

int formulaEvaluator::FindMinusSign(const std::string& text) const
{
    return flattext::FindSign(text, '-');
}

std::string formulaEvaluator::PopTerm(std::string& text)
{
    const size_t length = flattext::TermLength(text);
    std::string term = text.substr(0, length);
    text.erase(0, length);
    return term;
}

int formulaEvaluator::ReduceFlat(std::string& text)
{
    int steps = 0;
    int done = ReducePower(text);
    while (done == 1 && steps < kStepLimit) {
        ++steps;
        done = ReducePower(text);
    }
    if (errorFlag)
        return 0;
    done = ReduceProduct(text);
    while (done == 1 && steps < kStepLimit) {
        ++steps;
        done = ReduceProduct(text);
    }
    if (errorFlag)
        return 0;
    ReduceSumInPlace(text);
    return errorFlag ? 0 : 1;
}

int formulaEvaluator::ReducePower(std::string& text)
{
    const size_t hat = text.find('^');
    if (hat == std::string::npos)
        return 0;
    size_t baseStart = 0;
    for (size_t i = hat; i-- > 0;) {
        const char c = text[i];
        if (c == '*' || c == '/') {
            baseStart = i + 1;
            break;
        }
        if (IsOperatorSign(text, i)) {
            baseStart = (i == 0 || IsSignOwnerBefore(text[i - 1])) ? i : i + 1;
            break;
        }
    }
    const size_t exponentEnd = OperandEnd(text, hat + 1, true);
    const std::string_view view(text);
    const std::string value = PowerOf(view.substr(baseStart, hat - baseStart),
                                      view.substr(hat + 1, exponentEnd - hat - 1));
    if (errorFlag)
        return 0;
    text.replace(baseStart, exponentEnd - baseStart, value);
    return 1;
}

std::string formulaEvaluator::Power(const std::string& base, const std::string& exponent)
{
    return PowerOf(base, exponent);
}

std::string formulaEvaluator::PowerOf(std::string_view base, std::string_view exponent)
{
    if (IsZeroView(exponent))
        return "1.0";
    std::int32_t n = 0;
    if (!flattext::ReadOperandInt32(exponent, n)) {
        const double b = ReadReal(base);
        if (b <= 0) {
            Raise(formulaMessages::powOfNegative);
            return std::string();
        }
        return RealText(std::exp(ReadReal(exponent) * std::log(b)), formulaMessages::tooLarge);
    }
    std::int32_t integerBase = 0;
    const bool baseIsInteger = flattext::ReadOperandInt32(base, integerBase);
    if (n >= 1 && baseIsInteger) {
        if (integerBase == 0 || integerBase == 1)
            return numtext::IntText(integerBase);
        if (integerBase == -1)
            return numtext::IntText(n % 2 ? -1 : 1);
        long long product = integerBase;
        bool fits = true;
        for (std::int32_t i = 2; i <= n && fits; ++i) {
            product *= integerBase;
            fits = FitsInt32(product);
        }
        // A power beyond the 32-bit range goes on as a real power.
        if (fits)
            return numtext::IntText(product);
    }
    const double b = baseIsInteger ? integerBase : ReadReal(base);
    if (n >= 1)
        return RealPower(b, n);
    return RealReciprocalPower(b, -static_cast<long long>(n));
}

std::string formulaEvaluator::RealPower(double b, long long n)
{
    if (n > kStepwisePowerLimit) {
        const double a = std::fabs(b);
        const double sign = (b < 0 && n % 2) ? -1.0 : 1.0;
        if (a == 1.0)
            return RealText(sign, formulaMessages::tooLarge);
        const double m = std::pow(a, static_cast<double>(n));
        if (a > 1.0 && m > overflowBound) {
            Raise(formulaMessages::tooLarge);
            return std::string();
        }
        if (a < 1.0 && m < technicalZero)
            return "0";
        return RealText(sign * m, formulaMessages::tooLarge);
    }
    double r = b;
    for (long long i = 2; i <= n; ++i) {
        r *= b;
        if (r > overflowBound) {
            Raise(formulaMessages::tooLarge);
            return std::string();
        }
        if (std::fabs(r) < technicalZero)
            return "0";
    }
    return RealText(r, formulaMessages::tooLarge);
}

std::string formulaEvaluator::RealReciprocalPower(double b, long long n)
{
    if (n == 0)
        return "1.0";
    double r = 1.0 / b;
    // The first division has no overflow test of its own; a zero base makes it infinite.
    if (!std::isfinite(r)) {
        Raise(formulaMessages::technicalZero);
        return std::string();
    }
    if (n > kStepwisePowerLimit) {
        const double a = std::fabs(b);
        const double sign = (b < 0 && n % 2) ? -1.0 : 1.0;
        if (a == 1.0)
            return RealText(sign, formulaMessages::tooLarge);
        const double m = std::pow(a, -static_cast<double>(n));
        if (a < 1.0 && m > overflowBound) {
            Raise(formulaMessages::tooLarge);
            return std::string();
        }
        if (a > 1.0 && m < technicalZero)
            return "0";
        return RealText(sign * m, formulaMessages::tooLarge);
    }
    for (long long i = 2; i <= n; ++i) {
        r /= b;
        if (r > overflowBound) {
            Raise(formulaMessages::tooLarge);
            return std::string();
        }
        if (std::fabs(r) < technicalZero)
            return "0";
    }
    return RealText(r, formulaMessages::tooLarge);
}

int formulaEvaluator::ReduceProduct(std::string& text)
{
    size_t op = 0;
    while (op < text.size() && text[op] != '*' && text[op] != '/')
        ++op;
    if (op == text.size())
        return 0;
    size_t leftStart = 0;
    for (size_t i = op; i-- > 1;) {
        if (IsOperatorSign(text, i)) {
            leftStart = i + 1;
            break;
        }
    }
    const size_t rightEnd = OperandEnd(text, op + 1, false);
    const std::string_view view(text);
    const std::string_view left = view.substr(leftStart, op - leftStart);
    const std::string_view right = view.substr(op + 1, rightEnd - op - 1);
    const bool multiply = text[op] == '*';
    std::string value;
    std::int32_t a = 0, b = 0;
    if (flattext::ReadOperandInt32(left, a) && flattext::ReadOperandInt32(right, b)) {
        if (multiply) {
            const long long product = static_cast<long long>(a) * b;
            // A product beyond the 32-bit range is a real.
            value = FitsInt32(product) ? numtext::IntText(product)
                                       : RealText(static_cast<double>(product),
                                                  formulaMessages::tooLarge);
        } else {
            if (b == 0) {
                Raise(formulaMessages::integerZero);
                return 0;
            }
            value = RealText(static_cast<double>(a) / b, formulaMessages::tooLarge);
        }
    } else {
        const double x = ReadReal(left);
        const double y = ReadReal(right);
        if (multiply) {
            value = RealText(x * y, formulaMessages::tooLarge);
        } else {
            if (std::fabs(y) < technicalZero) {
                Raise(formulaMessages::technicalZero);
                return 0;
            }
            value = RealText(x / y, formulaMessages::tooLarge);
        }
    }
    if (errorFlag)
        return 0;
    text.replace(leftStart, rightEnd - leftStart, value);
    return 1;
}

std::string formulaEvaluator::ReduceSum(const std::string& text)
{
    std::string sum = text;
    ReduceSumInPlace(sum);
    return sum;
}

void formulaEvaluator::ReduceSumInPlace(std::string& text)
{
    if (text.empty()) {
        text.push_back('0');
        return;
    }
    // The text is read in place unless sign pairs have to be folded first.
    std::string_view view(text);
    bool integer = true, signPair = false;
    for (size_t i = 0; i < view.size(); ++i) {
        const char c = view[i];
        if (c == '.' || c == 'e' || c == 'E')
            integer = false;
        else if ((c == '+' || c == '-') && i > 0 && (view[i - 1] == '+' || view[i - 1] == '-'))
            signPair = true;
    }
    if (signPair) {
        sumText_ = text;
        flattext::FoldSignPairs(sumText_);
        view = sumText_;
    }
    if (integer) {
        long long sum = 0;
        bool integer = true;
        for (size_t at = 0; at < view.size() && integer;) {
            const size_t length = flattext::TermLength(view.substr(at));
            std::int32_t term = 0;
            integer = ReadInt32(view.substr(at, length), term);
            sum += term;
            at += length;
        }
        // A term or a sum beyond the 32-bit range makes the sum a real.
        if (integer && FitsInt32(sum)) {
            text.clear();
            numtext::AppendInt(text, sum);
            return;
        }
    }
    double sum = 0;
    for (size_t at = 0; at < view.size();) {
        const std::string_view rest = view.substr(at);
        size_t consumed = 0;
        sum += numtext::ReadRealPrefix(rest, consumed);
        // A term that is a plain number ends where the number ends: at the end of the
        // text or at the operator sign that follows it. Anything else is scanned.
        size_t length = 0;
        const char first = rest[0];
        if (consumed > 0 && ((first >= '0' && first <= '9') || first == '.' || first == '+' || first == '-') &&
            (consumed == rest.size() || IsOperatorSign(rest, consumed)))
            length = consumed;
        else
            length = flattext::TermLength(rest);
        at += length;
    }
    if (!std::isfinite(sum)) {
        Raise(formulaMessages::tooLarge);
        return;
    }
    text.clear();
    // Six decimals would wipe out small values: those keep six significant digits.
    if (sum != 0 && std::fabs(sum) < 0.1)
        numtext::AppendG(text, sum);
    else
        numtext::AppendF(text, sum);
}

bool formulaEvaluator::ReduceSimpleTerm(std::string_view text, double& value)
{
    // A single term without '^', '*', '/' or sign pairs: the passes would only write
    // it back through the sum step, whose text is formed and read here directly.
    bool integer = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '^' || c == '*' || c == '/')
            return false;
        if (c == '.' || c == 'e' || c == 'E')
            integer = false;
        else if ((c == '+' || c == '-') && i > 0 && text[i - 1] != 'e' && text[i - 1] != 'E')
            return false;
    }
    if (integer) {
        std::int32_t term = 0;
        if (!ReadInt32(text, term))
            return false;
        value = term;
        return true;
    }
    const double sum = 0.0 + ReadReal(text);
    if (!std::isfinite(sum))
        return false;
    value = sum != 0 && std::fabs(sum) < 0.1 ? numtext::ReadBackG(sum) : numtext::ReadBackF(sum);
    return true;
}

void formulaEvaluator::Raise(const char* message)
{
    if (errorFlag)
        return;
    errorText = message;
    errorFlag = 1;
}

std::string formulaEvaluator::RealText(double value, const char* failText)
{
    if (!std::isfinite(value)) {
        Raise(failText);
        return std::string();
    }
    return numtext::GText(value);
}
