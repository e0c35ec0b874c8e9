#include "formula/compiled_formula.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "formula/flat_text.h"
#include "formula/formula_evaluator.h"
#include "formula/formula_messages.h"
#include "formula/list_values.h"
#include "formula/number_text.h"

namespace fm = formulaMessages;
using Number = CompiledFormula::Number;
using Run = CompiledFormula::Run;

namespace {

constexpr int kLimit = 10000;                      // the text evaluator's loop budgets
constexpr long long kStepwisePowerLimit = 100000;  // as the text evaluator's power

enum Function : int {
    fPct, fFactorial, fLn, fPi, fIf, fExp, fLog, fSin, fSum, fCos, fAbs, fTan, fInt, fRad,
    fMin, fMax, fPow, fAsin, fAcos, fAtan, fSqrt, fMean, fCtan, fActan, fLog10, fSigma,
    fPow10, fFloor, fSolve1, fSolve2p, fSolve2m, fDegree
};

struct Keyword {
    const char* name;
    int function;
};

// rand and gauss draw from the program's generator, trust and student read their count
// from the reduced text: those formulas stay with the text evaluator.
constexpr Keyword kKeywords[] = {
    {"%", fPct},       {"!", fFactorial},   {"ln", fLn},         {"pi", fPi},
    {"if", fIf},       {"exp", fExp},       {"log", fLog},       {"sin", fSin},
    {"sum", fSum},     {"cos", fCos},       {"abs", fAbs},       {"tan", fTan},
    {"int", fInt},     {"rad", fRad},       {"min", fMin},       {"max", fMax},
    {"pow", fPow},     {"pct", fPct},       {"asin", fAsin},     {"acos", fAcos},
    {"atan", fAtan},   {"sqrt", fSqrt},     {"mean", fMean},     {"ctan", fCtan},
    {"actan", fActan}, {"log10", fLog10},   {"sigma", fSigma},   {"pow10", fPow10},
    {"floor", fFloor}, {"solve1", fSolve1}, {"solve2p", fSolve2p}, {"solve2m", fSolve2m},
    {"degree", fDegree}};

int FunctionOf(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (const Keyword& k : kKeywords)
        if (lower == k.name)
            return k.function;
    return -1;
}

bool IsSeparator(char c)
{
    return std::strchr(" +-*/^(),[]", c) != nullptr && c != '\0';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool FitsInt32(long long v)
{
    return v >= INT_MIN && v <= INT_MAX;
}

bool FitsInt32(double v)
{
    return v >= INT_MIN && v <= INT_MAX;
}

bool Append(Run& run, char sign)
{
    if (run.size >= sizeof run.signs)
        return false;
    run.signs[run.size++] = sign;
    return true;
}

bool RunFromText(const std::string& text, Run& run)
{
    run = Run{};
    for (char c : text)
        if (!Append(run, c))
            return false;
    return true;
}

// A number text with the sign that stands before it: the operand of a step.
struct Operand {
    bool negative = false;
    Number number;
    double Value() const { return negative ? -number.magnitude : number.magnitude; }
    // Read as a 32-bit integer: an integer text within the range.
    bool Int32(std::int32_t& v) const
    {
        if (!number.integer)
            return false;
        const double value = Value();
        if (!FitsInt32(value))
            return false;
        v = static_cast<std::int32_t>(value);
        return true;
    }
};

// Copies field by field: a number a step has just written sits in the store buffer as
// separate small stores, which one wide load of the whole record could not take over.
void CopyNumber(Number& to, const Number& from)
{
    to.integer = from.integer;
    to.magnitude = from.magnitude;
    to.settled = from.settled;
}

void CopyOperand(Operand& to, const Operand& from)
{
    to.negative = from.negative;
    CopyNumber(to.number, from.number);
}

// The number text a step writes, as an operand.
Operand IntOperand(long long v)
{
    Operand o;
    o.negative = v < 0;
    o.number.magnitude = static_cast<double>(v < 0 ? -v : v);
    o.number.integer = true;
    return o;
}

// "%g" of a finite v, written straight into its sign and number (a copy of a freshly built
// operand would stall on its parts still in the store buffer).
void WriteG(double v, bool& negative, Number& number)
{
    negative = std::signbit(v);
    number.settled = true;
    const double a = std::fabs(v);
    if (a == 0) {
        number.magnitude = 0;
        number.integer = true;
    } else if (!numtext::QuickReadBackG(a, number.magnitude, number.integer)) {
        number.magnitude = numtext::ReadBackG(a, number.integer);
    }
}

void WriteG(double v, Operand& o)
{
    WriteG(v, o.negative, o.number);
}

// Whether the sum step writes the magnitude alone back as itself.
bool Settled(double a)
{
    bool unused = false;
    return a == 0 || (a < 0.1 ? numtext::ReadBackG(a, unused) : numtext::ReadBackF(a)) == a;
}

Operand RealOperand(double magnitude)
{
    Operand o;
    o.number.magnitude = magnitude;
    o.number.integer = false;
    o.number.settled = Settled(magnitude);
    return o;
}

}  // namespace

// One evaluation of a compiled formula; the scratch is kept between evaluations.
class CompiledRun {
public:
    enum class Status { done, error, text };

    Status Run(const CompiledFormula& f, const double* values, const CompiledFormula::Written* written);

    // How the last flat text's sum was written: the result text of the whole formula.
    enum class Form { zero, integer, fixed, general };
    Form form = Form::zero;
    long long integerSum = 0;
    double realSum = 0;
    Operand result;
    std::string message;

private:
    struct Cell {
        char op;
        ::Run run;
        Number number;
    };

    bool Fail(const char* text)
    {
        message = text;
        status_ = Status::error;
        return false;
    }
    bool GiveUp()
    {
        status_ = Status::text;
        return false;
    }
    bool Real(double v, const char* failText, Operand& out)
    {
        if (!std::isfinite(v))
            return Fail(failText);
        WriteG(v, out);
        return true;
    }

    bool Reduce(const CompiledFormula& f, int flat, Operand& out);
    bool ReduceCells(Cell* cells, int count, bool power, bool product, Operand& out);
    // The power pass or the multiply and divide pass over the cells, leftmost step first.
    bool Pass(Cell* cells, int& count, int& steps, bool power);
    bool Power(const Operand& base, const Operand& exponent, Operand& out);
    // b^n (or b^-n) step by step as the text evaluator takes it.
    bool StepPower(double b, long long n, bool reciprocal, Operand& out);
    bool Product(const Operand& left, const Operand& right, bool multiply, Operand& out);
    bool Call(const CompiledFormula& f, const CompiledFormula::Group& g, Operand& out);
    bool Value(const CompiledFormula& f, const CompiledFormula::Group& g, int argument, double& v)
    {
        Operand o;
        if (!ArgumentOperand(f, g, argument, o))
            return false;
        v = o.Value();
        return true;
    }
    bool ArgumentOperand(const CompiledFormula& f, const CompiledFormula::Group& g, int argument,
                         Operand& o)
    {
        if (argument >= g.flatCount) {
            // A missing argument is an empty text, which reduces to "0".
            o = IntOperand(0);
            return true;
        }
        return Reduce(f, g.firstFlat + argument, o);
    }
    bool Aggregate(const CompiledFormula& f, const CompiledFormula::Group& g, int kind,
                   Operand& out);

    Status status_ = Status::done;
    // The variables' "%g" forms: the caller's, or written into variableScratch_.
    const CompiledFormula::Written* variables_ = nullptr;
    std::vector<CompiledFormula::Written> variableScratch_;
    std::vector<Operand> groups_;
    std::vector<Cell> cells_;
};

namespace {

CompiledRun theRun;

// The sign runs the text evaluator folds when it starts: "-+", "+-", "++" to one sign.
std::string FoldAtStart(const std::string& run)
{
    if (run.size() < 2)
        return run;
    std::string text = theFormulaEvaluator.ReplaceAll(run, "-+", "-");
    text = theFormulaEvaluator.ReplaceAll(text, "+-", "-");
    return theFormulaEvaluator.ReplaceAll(text, "++", "+");
}

// The sum step's single passes over sign pairs.
void FoldForSum(Run& run)
{
    if (run.size < 2)
        return;
    std::string text(run.signs, run.size);
    flattext::FoldSignPairs(text);
    RunFromText(text, run);
}

}  // namespace

bool CompiledRun::Pass(Cell* c, int& n, int& steps, bool power)
{
    for (;;) {
        int i = 1;
        while (i < n && !(power ? c[i].op == '^' : (c[i].op == '*' || c[i].op == '/')))
            ++i;
        if (i >= n)
            return true;
        if (steps >= kLimit)
            return GiveUp();
        ++steps;
        Cell& left = c[i - 1];
        if (!power && left.op != 0)
            return GiveUp();
        // The sign before the left operand belongs to it where the text evaluator takes it
        // in: a power's base after an operator or at the start, a product's left operand at
        // the start only. A '+' reads as the number itself.
        const bool signed_ = power ? left.run.size > 0 && (left.run.size >= 2 || left.op != 0 || i == 1)
                                   : i == 1 && left.run.size == 1;
        if (c[i].run.size >= 2)
            return GiveUp();
        Operand a, b, value;
        a.negative = signed_ && left.run.signs[left.run.size - 1] == '-';
        CopyNumber(a.number, left.number);
        b.negative = c[i].run.size == 1 && c[i].run.signs[0] == '-';
        CopyNumber(b.number, c[i].number);
        if (!(power ? Power(a, b, value) : Product(a, b, c[i].op == '*', value)))
            return false;
        if (signed_)
            --left.run.size;
        if (value.negative && !Append(left.run, '-'))
            return GiveUp();
        CopyNumber(left.number, value.number);
        // Few cells follow: a loop beats the library call.
        for (int k = i; k + 1 < n; ++k)
            c[k] = c[k + 1];
        --n;
    }
}

bool CompiledRun::ReduceCells(Cell* c, int n, bool power, bool product, Operand& out)
{
    if (n == 0) {
        form = Form::zero;
        out = IntOperand(0);
        return true;
    }
    int steps = 0;
    if ((power && !Pass(c, n, steps, true)) || (product && !Pass(c, n, steps, false)))
        return false;
    // Sum pass: every term with its sign.
    bool integer = true;
    for (int k = 0; k < n; ++k) {
        if (c[k].op != 0)
            return GiveUp();
        FoldForSum(c[k].run);
        if (c[k].run.size > 1 || (k > 0 && c[k].run.size == 0))
            return GiveUp();
        integer = integer && c[k].number.integer;
    }
    if (n == 1 && !integer && c[0].number.settled) {
        // One real term written by a step: the sum writes it back unchanged (0 + -0 is 0).
        const double m = c[0].number.magnitude;
        out.negative = m != 0 && c[0].run.size == 1 && c[0].run.signs[0] == '-';
        out.number.integer = false;
        out.number.magnitude = m;
        out.number.settled = true;
        realSum = out.negative ? -m : m;
        form = realSum != 0 && m < 0.1 ? Form::general : Form::fixed;
        return true;
    }
    if (integer) {
        long long sum = 0;
        bool fits = true;
        for (int k = 0; k < n && fits; ++k) {
            const Operand term{c[k].run.size == 1 && c[k].run.signs[0] == '-', c[k].number};
            std::int32_t v = 0;
            fits = term.Int32(v);
            sum += v;
        }
        if (fits && FitsInt32(sum)) {
            form = Form::integer;
            integerSum = sum;
            out = IntOperand(sum);
            return true;
        }
    }
    double sum = 0;
    for (int k = 0; k < n; ++k) {
        const double m = c[k].number.magnitude;
        sum += c[k].run.size == 1 && c[k].run.signs[0] == '-' ? -m : m;
    }
    if (!std::isfinite(sum))
        return Fail(fm::tooLarge);
    realSum = sum;
    out.negative = std::signbit(sum);
    out.number.integer = false;
    out.number.settled = true;
    const double a = std::fabs(sum);
    if (sum != 0 && a < 0.1) {
        form = Form::general;
        bool unused = false;
        if (!numtext::QuickReadBackG(a, out.number.magnitude, unused))
            out.number.magnitude = numtext::ReadBackG(a, unused);
    } else {
        form = Form::fixed;
        if (!numtext::QuickReadBackF(a, out.number.magnitude))
            out.number.magnitude = numtext::ReadBackF(a);
    }
    return true;
}

bool CompiledRun::Reduce(const CompiledFormula& f, int flat, Operand& out)
{
    const CompiledFormula::Flat& fl = f.flats_[static_cast<size_t>(flat)];
    if (fl.count == 1) {
        // One operand: only the sum step, and for a settled number with at most one sign
        // it writes the number back as it is (a zero without its sign).
        const CompiledFormula::Cell& cell = f.cells_[static_cast<size_t>(fl.first)];
        bool operandNegative = false;
        const Number* operandNumber = nullptr;
        switch (cell.source) {
        case CompiledFormula::Source::literal:
            operandNumber = &f.literals_[static_cast<size_t>(cell.index)];
            break;
        case CompiledFormula::Source::variable:
            operandNegative = variables_[cell.index].negative;
            operandNumber = &variables_[cell.index].number;
            break;
        case CompiledFormula::Source::group:
            operandNegative = groups_[static_cast<size_t>(cell.index)].negative;
            operandNumber = &groups_[static_cast<size_t>(cell.index)].number;
            break;
        }
        const ::Run& run = cell.source == CompiledFormula::Source::variable && operandNegative
                               ? cell.negativeRun
                               : cell.run;
        const Number& number = *operandNumber;
        // The run as the text holds it: a group's own sign follows the static run.
        bool simple = run.size <= 1;
        bool negative = run.size == 1 && run.signs[0] == '-';
        if (cell.source == CompiledFormula::Source::group && operandNegative) {
            simple = run.size == 0;
            negative = true;
        }
        if (simple && (number.integer ? number.magnitude <= INT_MAX : number.settled)) {
            negative = negative && number.magnitude != 0;
            out.negative = negative;
            CopyNumber(out.number, number);
            if (number.integer) {
                form = Form::integer;
                integerSum = negative ? -static_cast<long long>(number.magnitude)
                                      : static_cast<long long>(number.magnitude);
            } else {
                realSum = negative ? -number.magnitude : number.magnitude;
                form = realSum != 0 && number.magnitude < 0.1 ? Form::general : Form::fixed;
            }
            return true;
        }
    }
    // Short texts are reduced on the stack, left uninitialised.
    union Local {
        Local() {}
        Cell cells[12];
    } storage;
    Cell* const local = storage.cells;
    const size_t base = cells_.size();
    if (fl.count > 12)
        cells_.resize(base + static_cast<size_t>(fl.count));
    Cell* c = fl.count > 12 ? cells_.data() + base : local;
    for (int k = 0; k < fl.count; ++k) {
        const CompiledFormula::Cell& from = f.cells_[static_cast<size_t>(fl.first + k)];
        Cell& to = c[k];
        to.op = from.op;
        switch (from.source) {
        case CompiledFormula::Source::literal:
            to.run = from.run;
            to.number = f.literals_[static_cast<size_t>(from.index)];
            break;
        case CompiledFormula::Source::variable: {
            const CompiledFormula::Written& v = variables_[from.index];
            to.run = v.negative ? from.negativeRun : from.run;
            CopyNumber(to.number, v.number);
            break;
        }
        case CompiledFormula::Source::group: {
            const Operand& v = groups_[static_cast<size_t>(from.index)];
            to.run = from.run;
            if (v.negative && !Append(to.run, '-')) {
                cells_.resize(base);
                return GiveUp();
            }
            CopyNumber(to.number, v.number);
            break;
        }
        }
    }
    const bool done = ReduceCells(c, fl.count, fl.power, fl.product, out);
    cells_.resize(base);
    return done;
}

bool CompiledRun::Power(const Operand& base, const Operand& exponent, Operand& out)
{
    const double tz = theFormulaEvaluator.technicalZero;
    // A zero exponent gives "1.0", an integer zero written any way as well.
    if ((exponent.number.integer && exponent.number.magnitude == 0) ||
        (!exponent.number.integer && std::fabs(exponent.Value()) < tz)) {
        out = RealOperand(1.0);
        return true;
    }
    std::int32_t n = 0;
    if (!exponent.Int32(n)) {
        const double b = base.Value();
        if (b <= 0)
            return Fail(fm::powOfNegative);
        return Real(std::exp(exponent.Value() * std::log(b)), fm::tooLarge, out);
    }
    std::int32_t integerBase = 0;
    const bool baseIsInteger = base.Int32(integerBase);
    if (n >= 1 && baseIsInteger) {
        if (integerBase == 0 || integerBase == 1) {
            out = IntOperand(integerBase);
            return true;
        }
        if (integerBase == -1) {
            out = IntOperand(n % 2 ? -1 : 1);
            return true;
        }
        long long product = integerBase;
        bool fits = true;
        for (std::int32_t i = 2; i <= n && fits; ++i) {
            product *= integerBase;
            fits = FitsInt32(product);
        }
        if (fits) {
            out = IntOperand(product);
            return true;
        }
    }
    const double b = baseIsInteger ? integerBase : base.Value();
    if (n >= 1)
        return StepPower(b, n, false, out);
    return StepPower(b, -static_cast<long long>(n), true, out);
}

bool CompiledRun::StepPower(double b, long long n, bool reciprocal, Operand& out)
{
    const double tz = theFormulaEvaluator.technicalZero;
    const double bound = theFormulaEvaluator.overflowBound;
    if (reciprocal && n == 0) {
        out = RealOperand(1.0);
        return true;
    }
    double r = reciprocal ? 1.0 / b : b;
    if (!std::isfinite(r))
        return Fail(fm::technicalZero);
    if (n > kStepwisePowerLimit) {
        const double a = std::fabs(b);
        const double sign = (b < 0 && n % 2) ? -1.0 : 1.0;
        if (a == 1.0)
            return Real(sign, fm::tooLarge, out);
        const double m = std::pow(a, reciprocal ? -static_cast<double>(n) : static_cast<double>(n));
        const bool grows = reciprocal ? a < 1.0 : a > 1.0;
        if (grows && m > bound)
            return Fail(fm::tooLarge);
        if (!grows && m < tz) {
            out = IntOperand(0);
            return true;
        }
        return Real(sign * m, fm::tooLarge, out);
    }
    for (long long i = 2; i <= n; ++i) {
        r = reciprocal ? r / b : r * b;
        if (r > bound)
            return Fail(fm::tooLarge);
        if (std::fabs(r) < tz) {
            out = IntOperand(0);
            return true;
        }
    }
    return Real(r, fm::tooLarge, out);
}

bool CompiledRun::Product(const Operand& left, const Operand& right, bool multiply, Operand& out)
{
    std::int32_t a = 0, b = 0;
    if (left.Int32(a) && right.Int32(b)) {
        if (multiply) {
            const long long product = static_cast<long long>(a) * b;
            if (FitsInt32(product)) {
                out = IntOperand(product);
                return true;
            }
            return Real(static_cast<double>(product), fm::tooLarge, out);
        }
        if (b == 0)
            return Fail(fm::integerZero);
        return Real(static_cast<double>(a) / b, fm::tooLarge, out);
    }
    const double x = left.Value();
    const double y = right.Value();
    if (multiply)
        return Real(x * y, fm::tooLarge, out);
    if (std::fabs(y) < theFormulaEvaluator.technicalZero)
        return Fail(fm::technicalZero);
    return Real(x / y, fm::tooLarge, out);
}

bool CompiledRun::Aggregate(const CompiledFormula& f, const CompiledFormula::Group& g, int kind,
                            Operand& out)
{
    const auto list = static_cast<ListValues::Kind>(kind);
    const auto refuse = [this, list](const char* pattern) {
        const std::string_view text = pattern;
        const size_t at = text.find("%s");
        message.assign(text.substr(0, at));
        message.append(ListValues::Name(list));
        message.append(text.substr(at + 2));
        status_ = Status::error;
        return false;
    };
    ListValues values;
    if (!g.emptyList) {
        for (int k = 0; k < g.flatCount; ++k) {
            if (values.count == kLimit)
                return refuse(fm::tooManyArguments);
            if (f.flats_[static_cast<size_t>(g.firstFlat + k)].count == 0)
                return refuse(fm::emptyArgument);
            double v = 0;
            if (!Value(f, g, k, v))
                return false;
            values.Add(v);
        }
    }
    double value = 0;
    const char* failure = nullptr;
    if (!values.Result(list, value, failure))
        return Fail(failure);
    return Real(value, fm::tooLarge, out);
}

bool CompiledRun::Call(const CompiledFormula& f, const CompiledFormula::Group& g, Operand& out)
{
    const double tz = theFormulaEvaluator.technicalZero;
    double x = 0;
    switch (g.function) {
    case fPi: {
        static const double pi = numtext::ReadReal("3.1415926535897932384626433");
        out = RealOperand(pi);
        return true;
    }
    case fSum:
    case fMin:
    case fMax:
    case fMean:
    case fSigma:
        return Aggregate(f, g,
                         g.function == fSum   ? 0
                         : g.function == fMin ? 1
                         : g.function == fMax ? 2
                         : g.function == fMean ? 3
                                               : 4,
                         out);
    case fIf: {
        double c = 0;
        if (!Value(f, g, 0, c))
            return false;
        // Only the chosen branch is reduced.
        if (!Value(f, g, c < 0 ? 1 : (c == 0 ? 2 : 3), x))
            return false;
        return Real(x, fm::tooLarge, out);
    }
    case fLog: {
        if (!Value(f, g, 0, x))
            return false;
        if (x < tz)
            return Fail(fm::logArgument);
        double base = 0;
        if (!Value(f, g, 1, base))
            return false;
        if (base < tz)
            return Fail(fm::logBase);
        return Real(std::log(x) / std::log(base), fm::logBase, out);
    }
    case fPow: {
        double a = 0;
        if (!Value(f, g, 0, a))
            return false;
        Operand e;
        if (!ArgumentOperand(f, g, 1, e))
            return false;
        if (a < 0 && !e.number.integer)
            return Fail(fm::floatPowerNegative);
        const double b = e.Value();
        return Real(std::pow(a, b), a == 0 && b < 0 ? fm::technicalZero : fm::tooLarge, out);
    }
    case fSolve1: {
        double a = 0, b = 0;
        if (!Value(f, g, 0, a))
            return false;
        if (std::fabs(a) < tz)
            return Fail(fm::solve1Zero);
        if (!Value(f, g, 1, b))
            return false;
        return Real(-b / a, fm::tooLarge, out);
    }
    case fSolve2p:
    case fSolve2m: {
        const bool plus = g.function == fSolve2p;
        double a = 0, b = 0, c = 0;
        if (!Value(f, g, 0, a))
            return false;
        if (std::fabs(a) < tz)
            return Fail(plus ? fm::solve2pZero : fm::solve2mZero);
        if (!Value(f, g, 1, b) || !Value(f, g, 2, c))
            return false;
        const double d = b * b - 4 * a * c;
        if (d < 0)
            return Fail(plus ? fm::solve2pDiscriminant : fm::solve2mDiscriminant);
        return Real((-b + (plus ? 1.0 : -1.0) * std::sqrt(d)) / (a + a), fm::tooLarge, out);
    }
    default:
        break;
    }
    // The functions of one argument.
    if (!Value(f, g, 0, x))
        return false;
    switch (g.function) {
    case fPct:
        return Real(x * 0.01, fm::tooLarge, out);
    case fFactorial: {
        if (x < 0)
            return Fail(fm::factorialNegative);
        if (x >= 0 && x <= 1) {
            out = IntOperand(1);
            return true;
        }
        if (x > 100)
            return Fail(fm::factorialTooLarge);
        if (x > 1 && x <= 25) {
            const int n = static_cast<int>(x);
            double product = 1;
            for (int i = 2; i <= n; ++i)
                product *= i;
            return Real((x / n) * product, fm::tooLarge, out);
        }
        return Real(std::sqrt(6.283185307 * x) * std::pow(x / 2.7182818284, x), fm::tooLarge,
                    out);
    }
    case fLn:
        if (x < tz)
            return Fail(fm::logArgument);
        return Real(std::log(x), fm::tooLarge, out);
    case fExp:
        if (x > 100)
            return Fail(fm::expTooBig);
        return Real(std::exp(x), fm::tooLarge, out);
    case fSin:
        return Real(std::sin(x), fm::tooLarge, out);
    case fCos:
        return Real(std::cos(x), fm::tooLarge, out);
    case fTan:
        return Real(std::tan(x), fm::tooLarge, out);
    case fAbs:
        return Real(std::fabs(x), fm::tooLarge, out);
    case fAtan:
        return Real(std::atan(x), fm::tooLarge, out);
    case fInt:
    case fFloor: {
        double t = std::trunc(x);
        if (g.function == fFloor && x < 0 && std::fabs(x - t) > 1e-40)
            t -= 1;
        if (FitsInt32(t)) {
            out = IntOperand(static_cast<long long>(t));
            return true;
        }
        return Real(t, fm::tooLarge, out);
    }
    case fRad:
        return Real(x * 0.017453292519943, fm::tooLarge, out);
    case fDegree:
        return Real(x * 57.295779513082, fm::tooLarge, out);
    case fAsin:
        if (std::fabs(x) > 1)
            return Fail(fm::asinRange);
        return Real(std::asin(x), fm::tooLarge, out);
    case fAcos:
        if (std::fabs(x) > 1)
            return Fail(fm::acosRange);
        return Real(std::acos(x), fm::tooLarge, out);
    case fSqrt:
        if (x < 0)
            return Fail(fm::sqrtNegative);
        return Real(std::sqrt(x), fm::tooLarge, out);
    case fCtan:
        return Real(1 / std::tan(x), fm::technicalZero, out);
    case fActan: {
        double value = std::atan(1 / x);
        if (x <= 0)
            value += 3.14;
        return Real(value, fm::tooLarge, out);
    }
    case fLog10:
        if (x < tz)
            return Fail(fm::logArgument);
        return Real(std::log10(x), fm::tooLarge, out);
    case fPow10: {
        const double value = std::pow(10.0, x);
        if (x > 40)
            return Fail(fm::pow10TooLarge);
        return Real(value, fm::tooLarge, out);
    }
    default:
        return GiveUp();
    }
}

CompiledRun::Status CompiledRun::Run(const CompiledFormula& f, const double* values,
                                     const CompiledFormula::Written* written)
{
    status_ = Status::done;
    const size_t names = f.names_.size();
    if (!written)
        variableScratch_.resize(names);
    for (size_t i = 0; i < names; ++i) {
        const double v = values[i];
        // "inf" and "nan" are letters in a formula: the text evaluator decides.
        if (!std::isfinite(v))
            return Status::text;
        if (!written) {
            CompiledFormula::Written& w = variableScratch_[i];
            WriteG(v, w.negative, w.number);
        }
    }
    variables_ = written ? written : variableScratch_.data();
    groups_.resize(f.groups_.size());
    cells_.clear();
    for (size_t gi = 0; gi < f.groups_.size(); ++gi) {
        const CompiledFormula::Group& g = f.groups_[gi];
        Operand& value = groups_[gi];
        const bool done =
            g.function < 0 ? Reduce(f, g.firstFlat, value) : Call(f, g, value);
        if (!done)
            return status_;
    }
    CopyOperand(result, groups_.back());
    return Status::done;
}

CompiledFormula::CompiledFormula(const std::string& text, const std::vector<std::string>& names)
{
    Compile(text, names);
}

void CompiledFormula::Compile(const std::string& text, const std::vector<std::string>& names)
{
    text_ = text;
    names_ = names;
    literals_.clear();
    cells_.clear();
    flats_.clear();
    groups_.clear();
    compiled_ = Build(text);
    if (!compiled_) {
        literals_.clear();
        cells_.clear();
        flats_.clear();
        groups_.clear();
    }
}

namespace {

struct Token {
    enum Kind { number, variable, name, sign, op, open, close, comma, blank } kind;
    char c = 0;
    int index = 0;  // literal or variable index; function for a name before '('
    std::string text;
};

bool InText(const char* set, char c)
{
    return c != '\0' && std::strchr(set, c) != nullptr;
}

}  // namespace

bool CompiledFormula::Build(const std::string& text)
{
    for (const std::string& name : names_) {
        if (name.empty() || IsDigit(name[0]) || name[0] == '.')
            return false;
        for (char c : name)
            if (IsSeparator(c))
                return false;
    }
    // Tokens of the text as written: blanks still stand between them.
    std::vector<Token> raw;
    const size_t length = text.size();
    for (size_t i = 0; i < length;) {
        const char c = text[i];
        if (c == '[' || c == ']')
            return false;
        if (c == ' ') {
            raw.push_back({Token::blank, c, 0, {}});
            ++i;
        } else if (c == '+' || c == '-') {
            raw.push_back({Token::sign, c, 0, {}});
            ++i;
        } else if (c == '*' || c == '/' || c == '^') {
            raw.push_back({Token::op, c, 0, {}});
            ++i;
        } else if (c == '(') {
            raw.push_back({Token::open, c, 0, {}});
            ++i;
        } else if (c == ')') {
            raw.push_back({Token::close, c, 0, {}});
            ++i;
        } else if (c == ',') {
            raw.push_back({Token::comma, c, 0, {}});
            ++i;
        } else if (IsDigit(c) || c == '.') {
            size_t j = i;
            bool digits = false;
            while (j < length && IsDigit(text[j]))
                ++j, digits = true;
            if (j < length && text[j] == '.') {
                ++j;
                while (j < length && IsDigit(text[j]))
                    ++j, digits = true;
            }
            if (!digits)
                return false;
            if (j < length && (text[j] == 'e' || text[j] == 'E')) {
                size_t k = j + 1;
                if (k < length && (text[k] == '+' || text[k] == '-'))
                    ++k;
                if (k < length && IsDigit(text[k])) {
                    while (k < length && IsDigit(text[k]))
                        ++k;
                    j = k;
                }
            }
            if (j < length && !IsSeparator(text[j]))
                return false;
            const std::string literal = text.substr(i, j - i);
            Number number;
            number.magnitude = numtext::ReadReal(literal);
            number.integer = flattext::IsIntegerText(literal);
            if (!std::isfinite(number.magnitude))
                return false;
            number.settled = Settled(number.magnitude);
            if (number.integer && number.magnitude > INT_MAX)
                return false;
            raw.push_back({Token::number, 0, static_cast<int>(literals_.size()), literal});
            literals_.push_back(number);
            i = j;
        } else {
            size_t j = i;
            while (j < length && !IsSeparator(text[j]))
                ++j;
            Token t{Token::name, 0, -1, text.substr(i, j - i)};
            // A variable stands as a whole word: the text evaluator's word boundaries.
            const bool before = i == 0 || InText(" ,+-*/^(", text[i - 1]);
            const bool after = j == length || InText(" ,+-*/^)[", text[j]);
            if (before && after) {
                for (size_t n = 0; n < names_.size(); ++n) {
                    if (names_[n] == t.text) {
                        t.kind = Token::variable;
                        t.index = static_cast<int>(n);
                        break;
                    }
                }
            }
            raw.push_back(t);
            i = j;
        }
    }
    // The text evaluator removes every blank before it reads the text.
    std::vector<Token> tokens;
    for (Token& t : raw)
        if (t.kind != Token::blank)
            tokens.push_back(std::move(t));
    const auto isOperand = [](const Token& t) {
        return t.kind == Token::number || t.kind == Token::variable || t.kind == Token::name;
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        if (i > 0 && isOperand(t) && isOperand(tokens[i - 1]))
            return false;
        if (t.kind != Token::name)
            continue;
        const Token::Kind prev = i == 0 ? Token::blank : tokens[i - 1].kind;
        const bool afterStop = i == 0 || prev == Token::sign || prev == Token::op ||
                               prev == Token::open || prev == Token::comma;
        const bool beforeOpen = i + 1 < tokens.size() && tokens[i + 1].kind == Token::open;
        if (!afterStop)
            return false;
        if (beforeOpen) {
            t.index = FunctionOf(t.text);
            if (t.index < 0)
                return false;
            continue;
        }
        // The constants pi and e, written as whole words.
        if (t.text != "pi" && t.text != "e")
            return false;
        const std::string literal =
            t.text == "pi" ? "3.14159265359" : "2.7182818284590452353602874";
        t.kind = Token::number;
        t.index = static_cast<int>(literals_.size());
        const double value = numtext::ReadReal(literal);
        literals_.push_back({false, value, Settled(value)});
    }
    if (tokens.size() > 20000)
        return false;

    // Brackets become groups, numbered in the order their closing brackets stand.
    size_t at = 0;
    bool ok = true;
    int depth = 0;
    // Parses one flat text up to ')' or ',' (or the end); the cells' group operands refer to
    // groups parsed before.
    const auto parseFlat = [&](auto& self, int& flatIndex) -> char {
        std::vector<Cell> flat;
        char op = 0;
        std::string run;
        bool operandBefore = false;
        for (;;) {
            if (!ok)
                return 0;
            if (at >= tokens.size() || tokens[at].kind == Token::close ||
                tokens[at].kind == Token::comma) {
                const char end = at >= tokens.size() ? '\0' : tokens[at].c;
                if (op != 0 || !run.empty())
                    ok = false;
                if (at < tokens.size())
                    ++at;
                flatIndex = static_cast<int>(flats_.size());
                Flat made{static_cast<int>(cells_.size()), static_cast<int>(flat.size())};
                for (const Cell& c : flat) {
                    made.power = made.power || c.op == '^';
                    made.product = made.product || c.op == '*' || c.op == '/';
                }
                flats_.push_back(made);
                cells_.insert(cells_.end(), flat.begin(), flat.end());
                return end;
            }
            const Token& t = tokens[at];
            if (t.kind == Token::sign) {
                run.push_back(t.c);
                if (run.size() > 6)
                    ok = false;
                ++at;
                continue;
            }
            if (t.kind == Token::op) {
                if (!operandBefore || op != 0 || !run.empty())
                    ok = false;
                op = t.c;
                ++at;
                continue;
            }
            // An operand: a number, a variable, a bracket or a function call.
            if (operandBefore && op == 0 && run.empty()) {
                ok = false;
                return 0;
            }
            Cell cell;
            cell.op = op;
            if (!RunFromText(FoldAtStart(run), cell.run))
                ok = false;
            if (t.kind == Token::number) {
                cell.source = Source::literal;
                cell.index = t.index;
                ++at;
            } else if (t.kind == Token::variable) {
                cell.source = Source::variable;
                cell.index = t.index;
                if (!RunFromText(FoldAtStart(run + "-"), cell.negativeRun))
                    ok = false;
                ++at;
            } else if (t.kind == Token::open || t.kind == Token::name) {
                Group g;
                if (t.kind == Token::name) {
                    g.function = t.index;
                    ++at;
                }
                ++at;  // the '('
                g.emptyList = at < tokens.size() && tokens[at].kind == Token::close;
                g.firstFlat = -1;
                std::vector<int> arguments;
                if (++depth > 400) {
                    ok = false;
                    return 0;
                }
                for (;;) {
                    int index = 0;
                    const char end = self(self, index);
                    if (!ok)
                        return 0;
                    arguments.push_back(index);
                    if (end == ')')
                        break;
                    if (end != ',' || g.function < 0 || arguments.size() >= kLimit) {
                        ok = false;
                        return 0;
                    }
                }
                --depth;
                // The arguments' flats must follow one another: copy them to the end.
                g.firstFlat = static_cast<int>(flats_.size());
                for (int index : arguments)
                    flats_.push_back(flats_[static_cast<size_t>(index)]);
                g.flatCount = static_cast<int>(arguments.size());
                cell.source = Source::group;
                cell.index = static_cast<int>(groups_.size());
                groups_.push_back(g);
            } else {
                ok = false;
                return 0;
            }
            flat.push_back(cell);
            op = 0;
            run.clear();
            operandBefore = true;
        }
    };
    int top = 0;
    const char end = parseFlat(parseFlat, top);
    if (!ok || end != '\0')
        return false;
    Group whole;
    whole.firstFlat = top;
    whole.flatCount = 1;
    groups_.push_back(whole);
    // Every bracket pair takes one cycle of the text evaluator, which gives up after 10000.
    return groups_.size() < static_cast<size_t>(kLimit);
}

double CompiledFormula::EvaluateText(const double* values, std::string* resultText) const
{
    std::string work = text_;
    for (size_t i = 0; i < names_.size(); ++i)
        theFormulaEvaluator.ReplaceWholeWord(work, names_[i], numtext::GText(values[i]));
    const std::string result = theFormulaEvaluator.Evaluate(work);
    if (resultText)
        *resultText = result;
    return theFormulaEvaluator.errorFlag ? 0.0 : numtext::ReadReal(result);
}

CompiledFormula::Written CompiledFormula::Write(double value)
{
    Written w;
    if (std::isfinite(value))
        WriteG(value, w.negative, w.number);
    return w;
}

double CompiledFormula::Evaluate(const double* values, std::string* resultText,
                                 const Written* written) const
{
    if (!compiled_)
        return EvaluateText(values, resultText);
    CompiledRun& run = theRun;
    switch (run.Run(*this, values, written)) {
    case CompiledRun::Status::text:
        return EvaluateText(values, resultText);
    case CompiledRun::Status::error:
        theFormulaEvaluator.errorText = run.message;
        theFormulaEvaluator.errorFlag = 1;
        if (resultText)
            *resultText = run.message;
        return 0.0;
    case CompiledRun::Status::done:
        break;
    }
    theFormulaEvaluator.errorText.clear();
    theFormulaEvaluator.errorFlag = 0;
    if (resultText) {
        resultText->clear();
        switch (run.form) {
        case CompiledRun::Form::zero:
            resultText->push_back('0');
            break;
        case CompiledRun::Form::integer:
            numtext::AppendInt(*resultText, run.integerSum);
            break;
        case CompiledRun::Form::fixed:
            numtext::AppendF(*resultText, run.realSum);
            break;
        case CompiledRun::Form::general:
            numtext::AppendG(*resultText, run.realSum);
            break;
        }
    }
    return run.result.Value();
}
