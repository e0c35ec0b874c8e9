// Variables, parameter values with record shifts, and the order of substitution.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "formula/formula_evaluator.h"

namespace {

TEST(NameSubstitution, VariablesXAndYAndWholeWords)
{
    formulaEvaluator ev;
    struct {
        const char* formula;
        double value;
        const char* substituted;
        int result;
    } cases[] = {
        {"x^2+2x", -3, "-3^2+2x", 0},
        {"sin(x)", 1, "sin(1)", 1},
        {"2*sin(x)", 1, "2*sin(1)", 0},
        {"x*x", 1234567.8, "1.23457e+06*1.23457e+06", 1},
        {"exp(x)+x2", 2, "exp(2)+x2", 0},
        {"x", 0.5, "0.5", 1},
    };
    for (const auto& c : cases) {
        std::string f = c.formula;
        EXPECT_EQ(ev.SubstituteX(f, c.value), c.result) << c.formula;
        EXPECT_EQ(f, c.substituted) << c.formula;
    }
    std::string f = "y-x";
    EXPECT_EQ(ev.SubstituteY(f, 2), 0);
    EXPECT_EQ(f, "2-x");
    EXPECT_EQ(ev.SubstituteX(f, 1), 1);
    EXPECT_EQ(ev.Evaluate(f), "1");

    EXPECT_EQ((std::vector<int>{ev.IsWholeWordAt("a1+b", "a1", 0), ev.IsWholeWordAt("a10+b", "a1", 0),
                                ev.IsWholeWordAt("2*a1[1]", "a1", 2), ev.IsWholeWordAt("ba1", "a1", 1),
                                ev.IsWholeWordAt("sin(a1)", "a1", 4), ev.IsWholeWordAt("a1(2)", "a1", 0)}),
              (std::vector<int>{1, 0, 1, 0, 1, 0}));
}

// Series with parameters a0 and a1, records 0..4: a0 = 10*r, a1 = 10*r + 1.5.
class SeriesSubstitution : public ::testing::Test {
protected:
    std::vector<double> values{0, 1.5, 10, 11.5, 20, 21.5, 30, 31.5, 40, 41.5};
    formulaEvaluator ev;
};

TEST_F(SeriesSubstitution, ParameterValuesWithShifts)
{
    struct {
        const char* formula;
        int record;
        const char* a1Substituted;
    } cases[] = {
        {"a1[-1] + a0", 0, "1.5+a0"}, {"a1[-1]+a0", 3, "21.5+a0"}, {"a1[+2]", 4, "41.5"},
        {"a1[+2]", 1, "31.5"},        {"a1[n]*2", 2, "21.5*2"},    {"a1[]", 2, "21.5"},
        {"a1[1.5]", 0, "11.5"},       {"a1[1", 0, "1.5[1"},        {"a10+a1+ba1", 0, "a10+1.5+ba1"},
        {"a1*a1", 1, "11.5*11.5"},
    };
    for (const auto& c : cases) {
        std::string f = c.formula;
        ev.SubstituteParameter(f, "a1", values, 0, 5, 2, c.record, 1);
        EXPECT_EQ(f, c.a1Substituted) << c.formula;
    }
    std::string f = "a1[-1] + a0";
    ev.SubstituteParameter(f, "a1", values, 0, 5, 2, 0, 1);
    ev.SubstituteParameter(f, "a0", values, 0, 5, 2, 0, 0);
    EXPECT_EQ(f, "1.5+0");
}

TEST_F(SeriesSubstitution, ValueOutsideTheArrayLeavesTheName)
{
    std::string f = "a1+1";
    EXPECT_EQ(ev.SubstituteIndexedValue(f, 0, "a1", values, 8, 5, 2, 4, 1), 0);
    EXPECT_EQ(f, "a1+1");
    EXPECT_EQ(ev.SubstituteIndexedValue(f, 0, "a1", values, 0, 5, 2, 4, 1), 1);
    EXPECT_EQ(f, "41.5+1");
}

TEST(NameSubstitution, IndexShiftRange)
{
    formulaEvaluator ev;
    struct {
        const char* formula;
        int result, largest, smallest;
    } cases[] = {
        {"a0[2]+a1[-3]+a0[x]", 1, 2, -3}, {"a0+a1", 0, 0, 0}, {"a0[1", 0, 0, 0},
        {"a0[-1]+a1[-2]", 1, 0, -2},      {"a0[n]", 1, 0, 0}, {"a0[3]+a1[5", 1, 3, 0},
    };
    for (const auto& c : cases) {
        int largest = 99, smallest = 99;
        const int result = ev.FindIndexShiftRange(c.formula, largest, smallest);
        EXPECT_EQ(std::tie(result, largest, smallest), std::tie(c.result, c.largest, c.smallest)) << c.formula;
    }
}

TEST(NameSubstitution, OrderDescendingWithoutCase)
{
    // A tie keeps the earlier name; letters compare as lower case.
    const std::pair<std::vector<std::string>, std::vector<int>> cases[] = {
        {{"a1", "a10", "B"}, {2, 1, 0}}, {{"x", "X", "y"}, {2, 0, 1}}, {{"a_", "aB"}, {1, 0}}, {{}, {}}};
    for (const auto& [names, expected] : cases) {
        std::vector<int> order{9};
        OrderNamesForSubstitution(names, order);
        EXPECT_EQ(order, expected) << names.size();
    }
}

}  // namespace
