// Number texts of labels, reports and formulas, and the index-carrying sorts.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "formula/formula_evaluator.h"
#include "formula/number_formatting.h"

namespace {

// Each text as `tidy` leaves it.
void ExpectTidied(void (*tidy)(std::string&), std::initializer_list<std::pair<const char*, const char*>> cases)
{
    for (const auto& [in, out] : cases) {
        std::string t = in;
        tidy(t);
        EXPECT_EQ(t, out) << in;
    }
}

TEST(NumberFormatting, TidyTexts)
{
    ExpectTidied(TidyExponentText, {
        {"-.5", "-0.5"},  {"1e+005", "1e+5"},   {"100", "100"},       {"0.001", "0.001"},
        {"2e-010", "2e-10"}, {"1.5e+005", "1.5e+5"}, {"+.5", "+0.5"}, {"1e+10", "1e+10"},
    });
    ExpectTidied(TidyFormulaText, {
        {"y = 2*x + -3", "y = 2*x-3"},   {"a--b", "a+b"},      {"y=1.5e+002*x", "y = 1.5e02*x"},
        {"3e-005", "3e-05"},             {"y =+ 2", "y = 2"},  {"a+-+b", "a-b"},
    });
}

TEST(NumberFormatting, AxisLabelsJustApart)
{
    struct {
        double a, b;
        const char *ta, *tb;
    } cases[] = {
        {1.0, 1.00000000001, "1", "1"}, {12.4, 13.75, "12", "14"},            {0.1, 0.2, "0.1", "0.2"},
        {1.01, 1.02, "1.01", "1.02"},   {150000, 250000, "150000", "250000"}, {1, 1 + 1e-9, "1", "1"},
    };
    for (const auto& c : cases) {
        std::string ta, tb;
        AxisLabelDigits(c.a, ta, c.b, tb);
        EXPECT_EQ(std::tie(ta, tb), std::tie(c.ta, c.tb)) << c.a << " " << c.b;
    }
}

TEST(NumberFormatting, FormatNumberForFormulas)
{
    const formulaEvaluator ev;
    const std::pair<double, const char*> cases[] = {
        {3.0, "3"},   {2.5, "2.5"},         {-7.0, "-7"},                   {5e20, "5e+20"},
        {3e9, "3000000000"}, {2147483647.0, "2147483647"}, {-2147483648.0, "-2147483648"},
        {0.1, "0.10000000000000000555"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(ev.FormatNumber(v), text) << v;
}

TEST(NumberFormatting, SignificantDigitsAreCut)
{
    struct {
        double v;
        int n;
        const char* text;
    } cases[] = {
        {1234.567, 2, "1200"}, {0.012345, 2, "0.012"}, {5.678, 3, "5.67"},
        {2e-7, 2, "+2e-07"},   {0.3, 1, "0.3"},        {0.3, 2, "0.30"},
        {0.29, 2, "0.29"},     {0.5, 2, "0.50"},       {0, 2, "0"},
        {1e7, 2, "+1e+07"},    {0.7, 1, "0.7"},        {0.1, 2, "0.10"},
        {99.99, 3, "99.99"},   {0.019999, 2, "0.019"},
    };
    for (const auto& c : cases) {
        std::string t;
        SignificantDigitsText(c.v, t, c.n);
        EXPECT_EQ(t, c.text) << c.v << " " << c.n;
    }
}

TEST(NumberFormatting, ValueWithDeviation)
{
    struct {
        double v, s;
        int n, automatic, digits;
        const char *tv, *ts;
    } cases[] = {
        {12.3456, 0.5, 25, 1, 2, "12.3", "0.50"},         {12.3456, 0, 25, 1, 2, "12.3456", "0"},
        {12.3456, 0.5, 1, 1, 2, "12.3456", "0.50"},       {0, 0.5, 25, 1, 2, "0", "0.50"},
        {123456789, 1, 4, 1, 2, "123456789", "1.00"},     {12.3456, 0.5, 25, 0, 3, "12.3", "0.5"},
        {150000, 150000, 25, 0, 2, "1.5e+5", "1.5e+05"},  {0.001234, 0.1, 4, 1, 2, "0.001", "0.10"},
    };
    for (const auto& c : cases) {
        std::string tv, ts;
        FormatValueWithDeviation(c.v, c.s, tv, ts, c.n, c.automatic, c.digits);
        EXPECT_EQ(std::tie(tv, ts), std::tie(c.tv, c.ts)) << c.v << " " << c.s;
    }
}

TEST(NumberFormatting, SortsCarryTheirIndex)
{
    // Ties keep their order in both directions.
    for (const bool descending : {false, true}) {
        std::vector<double> values{3, 1, 2, 1};
        std::vector<unsigned> index{0, 1, 2, 3};
        (descending ? SortWithIndexDescending : SortWithIndex)(index.data(), values.data(), 4);
        EXPECT_EQ(values, descending ? (std::vector<double>{3, 2, 1, 1}) : (std::vector<double>{1, 1, 2, 3}));
        EXPECT_EQ(index, descending ? (std::vector<unsigned>{0, 2, 3, 1}) : (std::vector<unsigned>{1, 3, 2, 0}));
    }
}

}  // namespace
