// Operators, number typing, result texts and errors of whole evaluations.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "formula/formula_evaluator.h"
#include "tests/formula/formula_cases.h"

namespace {

using Texts = std::vector<std::string>;

TEST(FormulaEvaluator, ResultTexts)
{
    ExpectFormulas({
        // Operators and result texts.
        {"2*(3+4)^2", "98"},     {"1.5-2/4", "1.000000"}, {"2^3^2", "64"},          {"8/2/2", "2"},
        {"7/2", "3.500000"},     {"6/3", "2"},            {"-2^2", "4"},            {"3*-2^2", "12"},
        {"2^-2", "0.250000"},    {"2^0", "1.000000"},     {"0^0", "1.000000"},      {"0.1+0.2", "0.300000"},
        {"1+2+3+4+5+6+7+8+9+10+11+12", "78"},             {"2--3", "5"},            {"2+-3", "-1"},
        {"2 * pi", "6.283190"},  {"2*e", "5.436560"},     {"1e3+1", "1001.000000"}, {"10.0^-50", "0"},
        {"abc", "0"},            {"", "0"},               {"1/3", "0.333333"},      {"2^0.5", "1.414210"},
        {"PI", "0"},             {"E", "0.000000"},       {"2.5E1*2", "50"},        {"2^-0", "1.000000"},
        {"3+++4", "7"},          {"(1+2)*(3+4)", "21"},   {"-2*3", "-6"},           {"2*3^2", "18"},
        {"1-2-3", "-4"},         {"2^3*2", "16"},         {"(-2)^3", "-8"},         {"2.0^3", "8"},
        {"-0.0", "0.000000"},    {"1e-3", "0.001"},
        // Mended: a sign before a power after an operand once gave a wrong text.
        {"3-2^2", "-1"},         {"3+2^2", "7"},          {"2*3-2^2", "2"},         {"3--2^2", "-1"},
        {"3--2^3", "11"},        {"3-(-2)^2", "-1"},      {"10-3^2*2", "-8"},       {"1e-2^2", "0.0001"},
        // Small reals keep their digits.
        {"1e-7", "1e-07"},       {"exp(-20)", "2.06115e-09"}, {"ln(1e-7)", "-16.118100"}, {"0.05", "0.05"},
        {"-0.05", "-0.05"},      {"0.1", "0.100000"},     {"1e-7*3", "3e-07"},      {"0.5-0.5", "0.000000"},
        // Integers beyond 32 bits are reals.
        {"3000000000", "3000000000.000000"},       {"100000*100000", "10000000000.000000"},
        {"2147483647+1", "2147483648.000000"},     {"-2147483648", "-2147483648"},
        {"2147483647", "2147483647"},              {"65536*32768", "2147480000.000000"},
        {"65536*-32768", "-2147483648"},           {"2^31", "2147480000.000000"},
        {"(-2)^31", "-2147483648"},                {"3000000000/3", "1000000000.000000"},
        {"99999999999999999999999", "99999999999999991611392.000000"},
        {"int(3e9)", "3000000000.000000"},         {"1^2000000000", "1"},
        {"(-1)^2000000001", "-1"},                 {"1.0^2000000000", "1"},
        // Bracket cycles.
        {"sqrt(abs(-16))+1", "5"}, {"((2))", "2"},        {"max(1,(2+3),4)", "5"}, {"(1,2)", "1"},
        {"pi()", "3.141593"},      {"-(2+3)", "-5"},      {"2*(-(3))", "-6"},
    }, 0);
}

TEST(FormulaEvaluator, ErrorTexts)
{
    const char* const tooLarge = "Too large number";
    const char* const negativePow = "Pow of negative double";
    const char* const technicalZero = "Attempt to devide by technical zerro.";
    const char* const noClose = "There is no ) bracket corresponding to open.";
    ExpectFormulas({
        {"2^3000000000", tooLarge},   {"10.0^50", tooLarge},     {"1e300*1e300", tooLarge},
        {"1e999", tooLarge},          {"1e200^2", tooLarge},     {"(-1e30)^2", tooLarge},
        {"(-8)^0.5", negativePow},    {"0^0.5", negativePow},
        {"5/0.0", technicalZero},     {"0^-1", technicalZero},   {"0.0^-3", technicalZero},
        {"2*(3", noClose},            {"(((1)", noClose},
        {"5/0", "Attempt to devide by integer zero."},
        {"1+2)", "There is no ( bracket corresponding to close."},
        {"2(3+4)", "The function name 2 is not supported"},
        {"foo(1)", "The function name foo is not supported"},
        {"(1+2)(3+4)", "The function name 3 is not supported"},
        {"e(1)", "The function name e is not supported"},
    }, 1);
}

TEST(FormulaEvaluator, CycleLimitAndErrorState)
{
    formulaEvaluator evaluator;
    const std::string nested = std::string(10000, '(') + "1" + std::string(10000, ')');
    EXPECT_EQ(evaluator.Evaluate(nested), "Too big or tricky expression to handle.");
    const std::string fewer = std::string(9999, '(') + "1" + std::string(9999, ')');
    EXPECT_EQ(evaluator.Evaluate(fewer), "1");

    // An error lasts until the next evaluation.
    evaluator.Evaluate("1/0");
    EXPECT_EQ(evaluator.errorFlag, 1);
    EXPECT_EQ(evaluator.Evaluate("1+1"), "2");
    EXPECT_EQ(std::tuple(evaluator.errorFlag, evaluator.errorText), std::tuple(0, ""));
}

TEST(FormulaEvaluator, ReplacementsEndAndSpareFunctionNames)
{
    formulaEvaluator ev;
    // Replacements that contain what they replace must not grow without end.
    EXPECT_EQ((Texts{ev.ReplaceAll("+++", "++", "+"), ev.ReplaceAll("ab", "a", "aa")}), (Texts{"+", "aab"}));
    std::string text = "a+b";
    EXPECT_EQ(ev.ReplaceWholeWord(text, "a", "a+a"), 1);
    EXPECT_EQ(text, "a+a+b");
    text = "e(1)+pi(2)+a[1]";
    EXPECT_EQ(ev.ReplaceWholeWord(text, "e", "E"), 0);
    // No letter of a name may be read as an operator or a digit.
    EXPECT_EQ(std::string(formulaLetters).find_first_of("eE0123456789.+-*/^()"), std::string::npos);
}

}  // namespace
