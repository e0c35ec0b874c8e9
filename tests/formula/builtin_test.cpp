// The function keywords: values, domain messages and argument handling.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "formula/formula_evaluator.h"

namespace {

struct Case {
    const char* formula;
    const char* result;
    int errorFlag;
};

TEST(BuiltinFunctions, ValuesAndMessages)
{
    const Case cases[] = {
        {"SIN(0)", "0", 0},
        {"Sin(0)", "0", 0},
        {"sin()", "0", 0},
        {"pow(2)", "1", 0},
        {"sin(1,2)", "0.841471", 0},
        {"2*sin(1)", "1.682940", 0},
        {"if(-1,10,20,30)", "10", 0},
        {"if(0,10,20,30)", "20", 0},
        {"if(5,10,20,30)", "30", 0},
        {"if(0,1/0,2,3)", "2", 0},
        {"if(0,ln(0),2,3)", "Attempt to take logariphm of wrong argument.", 1},
        {"!(0)", "1", 0},
        {"!(1)", "1", 0},
        {"!(5)", "120", 0},
        {"!(13)", "6227020000.000000", 0},
        {"!(30)", "264516999999999988648012607913984.000000", 0},
        {"!(100.5)", "Attempt to take factorial of too large number.", 1},
        {"!(-1)", "Attempt to take factorial of negative number.", 1},
        {"!(2.5)", "2.500000", 0},
        {"!(3.5)", "7", 0},
        {"5!", "5", 0},
        {"sum(1,2,3)", "6", 0},
        {"mean(1,2,3)", "2", 0},
        {"sigma(1,2,3)", "0.816497", 0},
        {"sigma(0.1,0.1,0.1)", "0", 0},
        {"min(3,1,2)", "1", 0},
        {"max(3,1,2)", "3", 0},
        {"max()", "0", 0},
        {"sum()", "0", 0},
        {"mean()", "There must be at least one argument in mean function.", 1},
        {"sigma()", "There must be at least 1 argyument in sigma function", 1},
        {"sum(1,,3)", "There must be no empty argument in sum function.", 1},
        {"mean(1,2,,100)", "There must be no empty argument in mean function.", 1},
        {"max(1,)", "There must be no empty argument in max function.", 1},
        {"sigma(,1)", "There must be no empty argument in sigma function.", 1},
        {"log(8,2)", "3", 0},
        {"log(8)", "Attempt to take logariphm of wrong base.", 1},
        {"log(5,1)", "Attempt to take logariphm of wrong base.", 1},
        {"log(0,2)", "Attempt to take logariphm of wrong argument.", 1},
        {"ln(0)", "Attempt to take logariphm of wrong argument.", 1},
        {"ln(e)", "1", 0},
        {"log10(-1)", "Attempt to take logariphm of wrong argument.", 1},
        {"log10(1000)", "3", 0},
        {"exp(100)", "26881199999999999944687640596341951077285888.000000", 0},
        {"exp(100.1)", "Too big argument for exp().", 1},
        {"pow10(40)", "10000000000000000303786028427003666890752.000000", 0},
        {"pow10(41)", "Attempt to take power of 10 for too large number.", 1},
        {"pow(-2,3)", "-8", 0},
        {"pow(-2,0.5)", "Attempt to take float power of negative number.", 1},
        {"pow(-8,1/3)", "Attempt to take float power of negative number.", 1},
        {"pow(0,-1)", "Attempt to devide by technical zerro.", 1},
        {"floor(2.7)", "2", 0},
        {"floor(-2.7)", "-3", 0},
        {"floor(-2)", "-2", 0},
        {"int(-2.7)", "-2", 0},
        {"int(2.7)+0.5", "2.500000", 0},
        {"solve1(2,4)", "-2", 0},
        {"solve2p(1,-3,2)", "2", 0},
        {"solve2m(1,-3,2)", "1", 0},
        {"solve2p(1,0,1)", "Discriminant is less than 0 at solve2p function.", 1},
        {"solve2m(1,0,1)", "Discriminant is less than 0 at solve2m function.", 1},
        {"solve1(0,1)", "Attempt to devide on too close to 0 at solve1 function.", 1},
        {"solve2p(0,1,1)", "Attempt to devide on too close to 0 at solve2p function.", 1},
        {"solve2m(0,1,1)", "Attempt to devide on too close to 0 at solve2m function.", 1},
        {"asin(1)", "1.570800", 0},
        {"asin(1.0001)", "Argument of asin is out of -1 - 1 range.", 1},
        {"acos(-1.5)", "Argument of acos is out of -1 - 1 range.", 1},
        {"acos(1)", "0", 0},
        {"sqrt(0)", "0", 0},
        {"sqrt(-1)", "Attempt to take sqrt from negative number.", 1},
        {"actan(1)", "0.785398", 0},
        {"actan(-1)", "2.354600", 0},
        {"ctan(0)", "Attempt to devide by technical zerro.", 1},
        {"ctan(1)", "0.642093", 0},
        {"tan(0)", "0", 0},
        {"atan(1)", "0.785398", 0},
        {"cos(0)", "1", 0},
        {"abs(-3)", "3", 0},
        {"rad(180)", "3.141590", 0},
        {"degree(1)", "57.295800", 0},
        {"%(50)", "0.500000", 0},
        {"pct(50)", "0.500000", 0},
        {"rand(0.0)", "0", 0},
        {"gauss(0)", "0", 0},
        {"gauss(-1)", "0", 0},
        {"student(1,2,1)", "0", 0},
        {"SQRT(Abs(-16))", "4", 0},
        {"sqrt(1/0)", "Attempt to devide by integer zero.", 1},
        {"ln(x)", "Attempt to take logariphm of wrong argument.", 1},
        {"unknown(1)", "The function name unknown is not supported", 1},
        {"solve2pp(1)", "The function name solve2pp is not supported", 1},
    };
    for (const Case& c : cases) {
        formulaEvaluator evaluator;
        EXPECT_EQ(evaluator.Evaluate(c.formula), c.result) << c.formula;
        EXPECT_EQ(evaluator.errorFlag, c.errorFlag) << c.formula;
    }
}

TEST(BuiltinFunctions, ListFunctionsTakeAtMostTenThousandArguments)
{
    const auto ones = [](int n) {
        std::string list = "1";
        for (int i = 1; i < n; ++i)
            list += ",1";
        return list;
    };
    formulaEvaluator evaluator;
    EXPECT_EQ(evaluator.Evaluate("sum(" + ones(10000) + ")"), "10000");
    EXPECT_EQ(evaluator.errorFlag, 0);
    for (const char* name : {"sum", "min", "max", "mean", "sigma"}) {
        formulaEvaluator fresh;
        EXPECT_EQ(fresh.Evaluate(std::string(name) + "(" + ones(10001) + ")"),
                  std::string("There must be at most 10000 arguments in ") + name + " function.");
        EXPECT_EQ(fresh.errorFlag, 1);
    }
}

TEST(BuiltinFunctions, RandomDrawsStayInTheirRange)
{
    struct Range {
        const char* formula;
        double lo, hi;
    };
    formulaEvaluator evaluator;
    for (const Range r : {Range{"rand(0)", 0, 1}, Range{"rand()", 0, 1}, Range{"rand(10)", 0, 10}, Range{"rand(-1)", -1, 0}}) {
        for (int i = 0; i < 200; ++i) {
            const double v = std::atof(evaluator.Evaluate(r.formula).c_str());
            EXPECT_GE(v, r.lo) << r.formula;
            EXPECT_LE(v, r.hi) << r.formula;
            EXPECT_EQ(evaluator.errorFlag, 0);
        }
    }
}

TEST(BuiltinFunctions, StudentIntervalFunctionsAreInverse)
{
    formulaEvaluator evaluator;
    const double p = std::atof(evaluator.Evaluate("student(1,10,2)").c_str());
    EXPECT_NEAR(p, 0.923447, 1e-6);
    // The integer argument is read with the integer conversion: 10.7 reads as 10.
    EXPECT_EQ(evaluator.Evaluate("student(1,10.7,2)"), evaluator.Evaluate("student(1,10,2)"));
    const double d = std::atof(evaluator.Evaluate("trust(1,10,0.95)").c_str());
    EXPECT_NEAR(d, 2.26216, 1e-5);
}

TEST(BuiltinFunctions, DirectCallsReturnTheirValueText)
{
    formulaEvaluator ev;
    EXPECT_EQ(ev.CallBuiltin("MAX", "1,5,4"), "5");
    EXPECT_EQ(ev.EvalPi(""), "3.1415926535897932384626433");
    EXPECT_EQ(ev.EvalSqrt("-4"), "");
    EXPECT_EQ(ev.errorFlag, 1);
    EXPECT_EQ(ev.errorText, "Attempt to take sqrt from negative number.");
}

}  // namespace
