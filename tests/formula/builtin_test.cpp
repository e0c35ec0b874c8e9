// The function keywords: values, domain messages and argument handling.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

#include "formula/formula_evaluator.h"
#include "tests/formula/formula_cases.h"

namespace {

TEST(BuiltinFunctions, Values)
{
    ExpectFormulas({
        {"SIN(0)", "0"},             {"Sin(0)", "0"},                {"sin()", "0"},
        {"pow(2)", "1"},             {"sin(1,2)", "0.841471"},       {"2*sin(1)", "1.682940"},
        {"if(-1,10,20,30)", "10"},   {"if(0,10,20,30)", "20"},       {"if(5,10,20,30)", "30"},
        {"if(0,1/0,2,3)", "2"},      {"!(0)", "1"},                  {"!(1)", "1"},
        {"!(5)", "120"},             {"!(13)", "6227020000.000000"}, {"!(2.5)", "2.500000"},
        {"!(30)", "264516999999999988648012607913984.000000"},       {"!(3.5)", "7"},
        {"5!", "5"},                 {"sum(1,2,3)", "6"},            {"mean(1,2,3)", "2"},
        {"sigma(1,2,3)", "0.816497"}, {"sigma(0.1,0.1,0.1)", "0"},   {"min(3,1,2)", "1"},
        {"max(3,1,2)", "3"},         {"max()", "0"},                 {"sum()", "0"},
        {"log(8,2)", "3"},           {"ln(e)", "1"},                 {"log10(1000)", "3"},
        {"exp(100)", "26881199999999999944687640596341951077285888.000000"},
        {"pow10(40)", "10000000000000000303786028427003666890752.000000"},
        {"pow(-2,3)", "-8"},         {"floor(2.7)", "2"},            {"floor(-2.7)", "-3"},
        {"floor(-2)", "-2"},         {"int(-2.7)", "-2"},            {"int(2.7)+0.5", "2.500000"},
        {"solve1(2,4)", "-2"},       {"solve2p(1,-3,2)", "2"},       {"solve2m(1,-3,2)", "1"},
        {"asin(1)", "1.570800"},     {"acos(1)", "0"},               {"sqrt(0)", "0"},
        {"actan(1)", "0.785398"},    {"actan(-1)", "2.354600"},      {"ctan(1)", "0.642093"},
        {"tan(0)", "0"},             {"atan(1)", "0.785398"},        {"cos(0)", "1"},
        {"abs(-3)", "3"},            {"rad(180)", "3.141590"},       {"degree(1)", "57.295800"},
        {"%(50)", "0.500000"},       {"pct(50)", "0.500000"},        {"rand(0.0)", "0"},
        {"gauss(0)", "0"},           {"gauss(-1)", "0"},             {"student(1,2,1)", "0"},
        {"SQRT(Abs(-16))", "4"},
    }, 0);
}

TEST(BuiltinFunctions, DomainAndArgumentMessages)
{
    const char* const badLog = "Attempt to take logariphm of wrong argument.";
    const char* const logBase = "Attempt to take logariphm of wrong base.";
    const char* const negativePow = "Attempt to take float power of negative number.";
    ExpectFormulas({
        {"if(0,ln(0),2,3)", badLog},
        {"!(100.5)", "Attempt to take factorial of too large number."},
        {"!(-1)", "Attempt to take factorial of negative number."},
        {"mean()", "There must be at least one argument in mean function."},
        {"sigma()", "There must be at least 1 argyument in sigma function"},
        {"sum(1,,3)", "There must be no empty argument in sum function."},
        {"mean(1,2,,100)", "There must be no empty argument in mean function."},
        {"max(1,)", "There must be no empty argument in max function."},
        {"sigma(,1)", "There must be no empty argument in sigma function."},
        {"log(8)", logBase},         {"log(5,1)", logBase},
        {"log(0,2)", badLog},        {"ln(0)", badLog},          {"log10(-1)", badLog},
        {"ln(x)", badLog},           {"exp(100.1)", "Too big argument for exp()."},
        {"pow10(41)", "Attempt to take power of 10 for too large number."},
        {"pow(-2,0.5)", negativePow}, {"pow(-8,1/3)", negativePow},
        {"pow(0,-1)", "Attempt to devide by technical zerro."},
        {"ctan(0)", "Attempt to devide by technical zerro."},
        {"solve2p(1,0,1)", "Discriminant is less than 0 at solve2p function."},
        {"solve2m(1,0,1)", "Discriminant is less than 0 at solve2m function."},
        {"solve1(0,1)", "Attempt to devide on too close to 0 at solve1 function."},
        {"solve2p(0,1,1)", "Attempt to devide on too close to 0 at solve2p function."},
        {"solve2m(0,1,1)", "Attempt to devide on too close to 0 at solve2m function."},
        {"asin(1.0001)", "Argument of asin is out of -1 - 1 range."},
        {"acos(-1.5)", "Argument of acos is out of -1 - 1 range."},
        {"sqrt(-1)", "Attempt to take sqrt from negative number."},
        {"sqrt(1/0)", "Attempt to devide by integer zero."},
        {"unknown(1)", "The function name unknown is not supported"},
        {"solve2pp(1)", "The function name solve2pp is not supported"},
    }, 1);
}

TEST(BuiltinFunctions, ListFunctionsTakeAtMostTenThousandArguments)
{
    const auto ones = [](int n) {
        std::string list = "1";
        for (int i = 1; i < n; ++i)
            list += ",1";
        return list;
    };
    const std::string full = "sum(" + ones(10000) + ")";
    ExpectFormulas({{full.c_str(), "10000"}}, 0);
    for (const std::string name : {"sum", "min", "max", "mean", "sigma"}) {
        const std::string over = name + "(" + ones(10001) + ")";
        const std::string message = "There must be at most 10000 arguments in " + name + " function.";
        ExpectFormulas({{over.c_str(), message.c_str()}}, 1);
    }
}

TEST(BuiltinFunctions, RandomDrawsStayInTheirRange)
{
    formulaEvaluator evaluator;
    for (const auto& [formula, lo, hi] :
         {std::tuple{"rand()", 0.0, 1.0}, std::tuple{"rand(0)", 0.0, 1.0}, std::tuple{"rand(-1)", -1.0, 0.0}}) {
        for (int i = 0; i < 200; ++i) {
            const double v = std::atof(evaluator.Evaluate(formula).c_str());
            ASSERT_TRUE(v >= lo && v <= hi) << formula << " gave " << v;
        }
    }
}

TEST(BuiltinFunctions, StudentIntervals)
{
    formulaEvaluator ev;
    EXPECT_NEAR(std::atof(ev.Evaluate("student(1,10,2)").c_str()), 0.923447, 1e-6);
    // The integer argument is read with the integer conversion: 10.7 reads as 10.
    EXPECT_EQ(ev.Evaluate("student(1,10.7,2)"), ev.Evaluate("student(1,10,2)"));
    EXPECT_NEAR(std::atof(ev.Evaluate("trust(1,10,0.95)").c_str()), 2.26216, 1e-5);
}

}  // namespace
