// The compiled form of formulas gives the text evaluator's results bit for bit.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/formula/formula_corpus.h"
#include "formula/compiled_formula.h"
#include "formula/number_text.h"
#include "tests/formula/compiled_check.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kRoundingSamples = 200000;
#else
constexpr int kRoundingSamples = 10000000;
#endif

double Bits(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The text round trip: "%g" (or "%f") written and read back exactly. Every hundredth sample
// also checks that reference against the C library's printf and strtod.
double TextRoundTrip(double v, bool fixed, bool& integer, std::vector<std::string>* printfCheck) {
    char text[400];
    const auto written = fixed ? std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 6)
                               : std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
    double value = 0;
    std::from_chars(text, written.ptr, value);
    integer = std::find_if(text, written.ptr, [](char c) { return c == '.' || c == 'e' || c == 'E'; }) == written.ptr;
    if (printfCheck) {
        char c[400];
        std::snprintf(c, sizeof c, fixed ? "%f" : "%g", v);
        // The reference itself is the C library's.
        if (std::string(c) != std::string(text, written.ptr) || std::strtod(c, nullptr) != value)
            printfCheck->push_back(std::string("printf gives ") + c);
    }
    return value;
}

// Samples [first, first + count) of the random bit patterns; the failures found.
std::vector<std::string> RoundingFailures(int first, int count) {
    std::vector<std::string> failures;
    std::mt19937_64 random(20261207 + static_cast<unsigned>(first));
    for (int i = first; i < first + count && failures.size() < 10; ++i) {
        const double v = Bits(random());
        if (!std::isfinite(v)) continue;
        bool expectedInteger = false, integer = false;
        int exponent = 0;
        const double expected = TextRoundTrip(v, false, expectedInteger, i % 100 == 0 ? &failures : nullptr);
        const double rounded = numtext::ReadBackG(v, integer);
        char hex[64];
        if (std::memcmp(&rounded, &expected, sizeof rounded) != 0 || integer != expectedInteger) {
            std::snprintf(hex, sizeof hex, "%a", v);
            failures.push_back(std::string("%g of ") + hex);
        }
        // The quick form, where it decides, and on a magnitude near 1 where it mostly does.
        for (double a : {std::fabs(v), std::ldexp(std::frexp(std::fabs(v), &exponent), i % 120 - 60)}) {
            double quick = 0;
            const double slow = TextRoundTrip(a, false, expectedInteger, nullptr);
            if (numtext::QuickReadBackG(a, quick, integer) &&
                (std::memcmp(&quick, &slow, sizeof quick) != 0 || integer != expectedInteger)) {
                std::snprintf(hex, sizeof hex, "%a", a);
                failures.push_back(std::string("quick %g of ") + hex);
            }
        }
        // "%f" matters for the sum's values from 0.1 up: every tenth mantissa near that range.
        if (i % 10 != 0) continue;
        const double f = std::ldexp(std::frexp(v, &exponent), static_cast<int>(i / 10 % 70) - 3);
        const double expectedF = TextRoundTrip(f, true, expectedInteger, i % 100 == 0 ? &failures : nullptr);
        const double roundedF = numtext::ReadBackF(f);
        double quickF = expectedF;
        if (!numtext::QuickReadBackF(std::fabs(f), quickF)) quickF = std::fabs(expectedF);
        if (std::memcmp(&roundedF, &expectedF, sizeof roundedF) != 0 || quickF != std::fabs(expectedF)) {
            std::snprintf(hex, sizeof hex, "%a", f);
            failures.push_back(std::string("%f of ") + hex);
        }
    }
    return failures;
}

TEST(CompiledFormula, SixDigitRoundingEqualsTheTextRoundTrip) {
    // Random bit patterns cover every binary exponent; four threads share them.
    constexpr int kThreads = 4;
    std::vector<std::vector<std::string>> failures(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &failures] {
            failures[static_cast<size_t>(t)] = RoundingFailures(t * (kRoundingSamples / kThreads), kRoundingSamples / kThreads);
        });
    for (std::thread& t : threads) t.join();
    for (const auto& list : failures)
        for (const std::string& f : list) ADD_FAILURE() << f << " reads back otherwise than its text";
    // Ties and near ties of six digits, where the fast path must hand over to the text.
    for (double v : {0.5, 1.5, 2.5, 1234565.0, 123456.5, 0.1234565, 9999995.0, 999999.5, 1e-5, 5e-324, 1e308}) {
        for (double w : {v, std::nextafter(v, 0.0), std::nextafter(v, 1e309), -v}) {
            char text[400];
            std::snprintf(text, sizeof text, "%g", w);
            bool integer = false;
            EXPECT_EQ(numtext::ReadBackG(w, integer), std::strtod(text, nullptr)) << text;
        }
    }
}

TEST(CompiledFormula, CorpusGivesTheTextResults) {
    int compiled = 0;
    for (const FormulaCorpusEntry& entry : formulaCorpus) compiled += ExpectCompiledAsText(entry.formula);
    EXPECT_EQ(compiled, static_cast<int>(std::size(formulaCorpus)));
}

// Values that exercise the number texts: integers, negatives, six-digit ties, exponents.
const std::vector<double> kValues = {0,      -0.0,    1,       -1,     2,     -3,      0.5,    -0.25,   7,
                                     1e-7,   -2.5e-5, 123456,  999999.5, 1e6, -1234567.8, 3.14159, 0.1,
                                     -0.1,   1e20,    -7e-30,  65536,  46341, 2147483647, 0.0999999, 12.5};

TEST(CompiledFormula, VariablesGiveTheTextResults) {
    const std::vector<std::string> formulas = {
        "1+x^2", "2*x^2", "x^x", "-x^2", "1-x*2", "x*-2", "2^x", "2^-x", "x/0", "x/2", "7/x", "3-x",
        "3+-x", "3--x", "3-+x", "(x)^2", "1+(x)^2", "1-(x)^2", "2*(x)", "x^2^x", "sqrt(x)", "ln(x)",
        "exp(x)", "if(x,1,2,3)", "pow(x,0.5)", "pow(2,x)", "sum(x,x,x)", "sigma(x,1)", "mean()",
        "min(x,-x)", "!(x)", "int(x)+floor(x)", "x*x*x*x*x", "x^3-x^2+x-1", "2.5*sin(x)+0.3*x^2-exp(-0.1*x)/(1+abs(x))",
        "log(x,2)", "log10(x)+pow10(x)", "solve2p(x,1,-1)", "solve1(x,3)", "asin(x)+acos(x)", "tan(x)*ctan(x)",
        "actan(x)", "rad(x)+degree(x)+pct(x)+%(x)", "x +  x", "x - -x", "(x*x)-(x/x)", "e*x+pi", "pi()*x",
        "x^0", "x^0.0", "x^-1", "0^x", "x^-0", "(-x)^3", "2--x^2", "2---x", "x*1e5", "x/1e-5", "3*-x^2",
        "x+1e3", "1e3-x*x", "-(x)*-(x)", "sum(1,,x)", "max((x),1)", "abs(x)^0.5",
    };
    for (const std::string& f : formulas) {
        SCOPED_TRACE(f);
        for (double v : kValues) ExpectCompiledAsText(f, {"x"}, {v});
    }
    // Names as records and fits use them: a constant's name, names that are prefixes of
    // others, blanks around them.
    for (const char* f : {"e*pi+x1", " x1 - x10 ^ 2", "x10*(x1 - e)", "sin( e ) + x1*x1", "x1 x10", "e(1)+x1"})
        for (double v : kValues) ExpectCompiledAsText(f, {"x10", "x1", "e"}, {v, 2.5 - v, -v});
    // Several names, written in as the fitting writes them.
    for (double a : kValues)
        for (double c : {-2.5, 0.0, 3.0})
            ExpectCompiledAsText("a*exp(b*x)+c", {"a", "b", "c", "x"}, {a, 0.1, c, 1.5});
}

// Random formulas of every shape the compiled form takes: numbers, names, sign runs,
// operators and calls.
std::string RandomFormula(std::mt19937& r, int depth) {
    std::uniform_int_distribution<int> pick(0, 99);
    static const char* kSigns[] = {"", "", "", "-", "+", "--", "-+", "+-"};
    static const char* kOps[] = {"+", "-", "*", "/", "^", "+-", "*-", "^-", "--", "/-"};
    static const char* kCalls[] = {"sin", "cos", "exp", "ln", "sqrt", "abs", "atan", "log10", "rad", "floor",
                                   "int", "tan", "ctan", "actan", "asin", "acos", "!", "%", "pct", "pow10",
                                   "degree", "EXP", "Sin"};
    static const char* kLists[] = {"max", "min", "sum", "mean", "sigma", "pow", "log", "if", "solve1", "solve2p",
                                   "solve2m"};
    const auto atom = [&]() -> std::string {
        const int k = pick(r);
        if (depth <= 0 || k < 35) {
            const int n = pick(r);
            if (n < 25) return "x";
            if (n < 30) return "y";
            if (n < 50) return std::to_string(pick(r) % 20);
            if (n < 55) return "pi";
            if (n < 58) return "e";
            if (n < 62) return "1e" + std::to_string(pick(r) % 12 - 6);
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.*f", 1 + pick(r) % 4, pick(r) * 0.37 - 10);
            return std::string(buffer[0] == '-' ? "(" : "") + buffer + (buffer[0] == '-' ? ")" : "");
        }
        if (k < 60) return std::string(kCalls[pick(r) % std::size(kCalls)]) + "(" + RandomFormula(r, depth - 1) + ")";
        if (k < 75) {
            std::string s = std::string(kLists[pick(r) % std::size(kLists)]) + "(";
            const int count = pick(r) % 5;
            for (int i = 0; i < count; ++i) s += (i ? "," : "") + RandomFormula(r, depth - 1);
            return s + ")";
        }
        return "(" + RandomFormula(r, depth - 1) + ")";
    };
    std::string s = kSigns[pick(r) % std::size(kSigns)] + atom();
    const int terms = pick(r) % 4;
    for (int i = 0; i < terms; ++i) s += kOps[pick(r) % std::size(kOps)] + atom();
    return s;
}

TEST(CompiledFormula, RandomFormulasGiveTheTextResults) {
    std::mt19937 r(47);
    int compiled = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string f = RandomFormula(r, 3);
        SCOPED_TRACE(f);
        for (int k = 0; k < 6; ++k) {
            const double x = kValues[static_cast<size_t>(r() % kValues.size())];
            const double y = kValues[static_cast<size_t>(r() % kValues.size())];
            compiled += ExpectCompiledAsText(f, {"x", "y"}, {x, y});
        }
        if (HasFailure()) break;
    }
    EXPECT_GT(compiled, 4000 * 6 * 9 / 10);
}

TEST(CompiledFormula, ShapesItCannotReproduceStayText) {
    for (const char* f : {"rand(1)", "gauss(1)+x", "student(1,5,2)", "trust(1,5,0.9)", "a[1]", "foo(1)", "2(3)",
                          "x y", "1+2)", "(1+2", "(1,2)", "2x", "x2", "E", "e(1)", "1..2", "3*/2"}) {
        EXPECT_FALSE(CompiledFormula(f, {"x"}).compiled()) << f;
    }
    EXPECT_TRUE(CompiledFormula("a*exp(b*x)+c", {"a", "b", "c", "x"}).compiled());
}

}  // namespace
