// Formulas over the records of a series: the column written, the records dropped for
// shifted names, the series processed, the refusals; checked against column arithmetic
// done here independently. Also the evaluation at one record or at given values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "formula/formula_evaluator.h"
#include "formula/number_text.h"
#include "recording_store.h"

namespace {

// Five records: a0 = 10 + r, a1 = r*r.
Records Squares() {
    Records r;
    for (int i = 0; i < 5; ++i) r.push_back({10.0 + i, double(i * i)});
    return r;
}

struct Case {
    const char* formula;
    int target;
    std::vector<double> a0;  // column 0 afterwards
    std::vector<double> a1;  // column 1 afterwards
};

TEST(ModifyParameterByFormula, ColumnsShiftsAndDrops) {
    const std::vector<Case> cases = {
        {"a1*2", 0, {0, 2, 8, 18, 32}, {0, 1, 4, 9, 16}},
        {"N", 0, {0, 1, 2, 3, 4}, {0, 1, 4, 9, 16}},
        {"N", 1, {10, 11, 12, 13, 14}, {0, 1, 2, 3, 4}},
        // record 0 reads itself (clamped), then is dropped
        {"a1[-1]", 0, {0, 1, 4, 9}, {1, 4, 9, 16}},
        {"a1[+1] - a1[-1]", 0, {4, 8, 12}, {1, 4, 9}},
        // the target itself is read as it was before the change
        {"a0 + a0[-1]", 0, {21, 23, 25, 27}, {1, 4, 9, 16}},
        {"sqrt(a1-5)", 0, {0, 0, 0, 2, 3.31662}, {0, 1, 4, 9, 16}},
        // a shift that is no number reads the record itself and drops nothing
        {"a1[a0]", 0, {0, 1, 4, 9, 16}, {0, 1, 4, 9, 16}},
        // shifts spanning four of five records leave one
        {"a1[2]+a1[-2]", 1, {12}, {16 + 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        RecordingStore store;
        AddRecords(store, {"a0", "a1"}, Squares());
        EXPECT_EQ(store.ModifyParameterByFormula(c.formula, c.target), 1);
        EXPECT_EQ(StoredColumn(store, 0, 0), c.a0);
        EXPECT_EQ(StoredColumn(store, 0, 1), c.a1);
        EXPECT_TRUE(store.messages.empty());
        EXPECT_EQ(CheckStoreInvariants(store), "");
    }
}

TEST(ModifyParameterByFormula, NamesRecordNumberAndRefusals) {
    {
        // ab is no whole word "a"; the longer name is substituted first.
        RecordingStore store;
        AddRecords(store, {"a", "ab"}, {{1, 101}, {2, 102}});
        ASSERT_EQ(store.ModifyParameterByFormula("ab-a+ab", 0), 1);
        EXPECT_EQ(StoredColumn(store, 0, 0), (std::vector<double>{201, 202}));
    }
    {
        // A parameter named n stands for the record number, not for its values.
        RecordingStore store;
        AddRecords(store, {"n", "v"}, {{7, 0}, {7, 0}, {7, 0}});
        ASSERT_EQ(store.ModifyParameterByFormula("n*10 + N", 1), 1);
        EXPECT_EQ(StoredColumn(store, 0, 1), (std::vector<double>{0, 11, 22}));
    }
    {
        // A formula failing at every record: nothing written, the evaluator's message shown.
        RecordingStore store;
        AddRecords(store, {"a0", "a1"}, Squares());
        const std::vector<double> before = store.allValues;
        EXPECT_EQ(store.ModifyParameterByFormula("sqrt(0-1-a1)", 0), 0);
        EXPECT_EQ(store.messages.size(), 1u);
        EXPECT_EQ(store.ModifyParameterByFormula("foo(a1)", 0), 0);
        EXPECT_EQ(store.messages.back(), "The function name foo is not supported");
        // Shifts as long as the series are refused before anything is written.
        EXPECT_EQ(store.ModifyParameterByFormula("a1[3]-a1[-2]", 0), 0);
        EXPECT_NE(store.messages.back().find("Series #1"), std::string::npos);
        // A parameter index no series owns changes nothing.
        EXPECT_EQ(store.ModifyParameterByFormula("1", 2), 0);
        EXPECT_EQ(store.ModifyParameterByFormula("1", -1), 0);
        EXPECT_EQ(store.allValues, before);
    }
}

TEST(ModifyParameterByFormula, SeriesChosenAndIndependentArithmetic) {
    // Three series of four integer columns; c3 = c0[-2] + 3*c1 - c2[1]*N.
    std::mt19937 random(1206);
    std::uniform_int_distribution<int> value(-500, 500);
    const std::vector<int> sizes{9, 5, 12};
    std::vector<Records> data;
    for (int size : sizes) {
        Records r;
        for (int i = 0; i < size; ++i) r.push_back({double(value(random)), double(value(random)), double(value(random)), 0});
        data.push_back(r);
    }
    const auto expected = [&](const Records& r) {
        const int n = static_cast<int>(r.size());
        const auto at = [&](int i, int c) { return r[static_cast<std::size_t>(std::clamp(i, 0, n - 1))][static_cast<std::size_t>(c)]; };
        Records out;
        for (int i = 2; i < n - 1; ++i) {
            std::vector<double> rec = r[static_cast<std::size_t>(i)];
            rec[3] = at(i - 2, 0) + 3 * at(i, 1) - at(i + 1, 2) * i;
            out.push_back(rec);
        }
        return out;
    };
    const auto records = [](const DataStore& store, int s) {
        Records out;
        for (int r = 0; r < store.series[static_cast<std::size_t>(s)].nRecords; ++r) {
            std::vector<double> rec;
            for (int c = 0; c < 4; ++c) rec.push_back(StoredColumn(store, s, c)[static_cast<std::size_t>(r)]);
            out.push_back(rec);
        }
        return out;
    };
    const char* formula = "c0[-2] + 3*c1 - c2[1]*N";
    for (int only = 0; only <= 1; ++only) {
        RecordingStore store;
        // Later series carry other names: the names of the series owning the target count.
        AddRecords(store, {"c0", "c1", "c2", "c3"}, data[0]);
        AddRecords(store, {"d0", "d1", "d2", "d3"}, data[1]);
        AddRecords(store, {"e0", "e1", "e2", "e3"}, data[2]);
        store.modifyCurrentSeriesOnly = only;
        store.modifySeriesIndex = 1;
        ASSERT_EQ(store.ModifyParameterByFormula(formula, 3), 1);
        for (int s = 0; s < 3; ++s) {
            SCOPED_TRACE(testing::Message() << "only " << only << " series " << s);
            const bool changed = !only || s == 1;
            EXPECT_EQ(records(store, s), changed ? expected(data[static_cast<std::size_t>(s)]) : data[static_cast<std::size_t>(s)]);
        }
        EXPECT_EQ(CheckStoreInvariants(store), "");
    }
}

TEST(FormulaAtRecord, NamesInListOrderAndValueTexts) {
    RecordingStore store;
    AddRecords(store, {"u", "v"}, {{1, 2}, {3, 4}, {5, 6}});
    store.formulaNames = {"u", "v", "k"};
    store.formulaValueTexts = {"", "", "10"};
    store.formulaNameCount = 3;
    EXPECT_EQ(store.EvaluateFormulaAtRecord("u*k+v", 2), 56.0);
    EXPECT_EQ(store.formulaValueTexts[0], "5");
    EXPECT_EQ(store.EvaluateFormulaAtValues("u*k+v", {0.5, 1}), 6.0);
    // Values enter with six significant digits.
    EXPECT_EQ(store.EvaluateFormulaAtValues("u", {1234567, 0}), 1234570.0);
    // Only the names in use are replaced; the rest reads as 0.
    store.formulaNameCount = 2;
    EXPECT_EQ(store.EvaluateFormulaAtRecord("u+k", 0), 1.0);
    // Failures and arguments out of range give 0.
    EXPECT_EQ(store.EvaluateFormulaAtRecord("sqrt(0-u)", 1), 0.0);
    EXPECT_EQ(store.EvaluateFormulaAtRecord("1", 3), 0.0);
    EXPECT_EQ(store.EvaluateFormulaAtRecord("1", -1), 0.0);
    EXPECT_EQ(store.EvaluateFormulaAtValues("1", {1}), 0.0);
}

// The values reach the formula as numbers; the results, error texts and value texts left
// behind are those of writing every value "%g" into the text, replacing the names in list
// order and evaluating it.
TEST(FormulaAtRecord, NumbersAsTheTextPathWritesThem) {
    const double inf = std::numeric_limits<double>::infinity();
    const Records rows = {{1, 2}, {1234567, -0.0}, {0.1 + 0.2, 1e-5}, {-2.5e-7, 999999.5},
                          {123456.5, 1e21}, {-1, 0.5}, {3, 7}, {inf, 1}, {4.9999995, -1234.5678},
                          {1e300, 1e-300}, {5e-324, 2147483647}, {-0.000123456789, 0.999999951}};
    const std::vector<std::string> formulas = {
        "u*k+v", "u/v", "v^u", "u^k-e", "sqrt(u)+ln(v)", "u*1e+06-v*k", "if(u-v,1,2,u)", "-u--v*k", "sum(u,v,k)/3"};
    // Coefficient texts as the fit writes them, and one typed that "%g" would not write.
    for (const std::string& k : {std::string("2"), std::string("1e-05"), std::string("2.50")}) {
        RecordingStore store;
        AddRecords(store, {"u", "v"}, rows);
        store.formulaNames = {"u", "v", "k"};
        store.formulaValueTexts = {"", "", k};
        store.formulaNameCount = 3;
        for (const std::string& formula : formulas) {
            std::vector<double> all;
            store.EvaluateFormulaAtRecords(formula, static_cast<int>(rows.size()), all);
            ASSERT_EQ(all.size(), rows.size());
            EXPECT_EQ(store.formulaValueTexts[1], numtext::GText(rows.back()[1]));
            for (std::size_t r = 0; r < rows.size(); ++r) {
                SCOPED_TRACE(testing::Message() << formula << " k=" << k << " record " << r);
                std::string text = formula;
                const std::vector<std::string> texts = {numtext::GText(rows[r][0]), numtext::GText(rows[r][1]), k};
                for (std::size_t n = 0; n < 3; ++n) theFormulaEvaluator.ReplaceWholeWord(text, store.formulaNames[n], texts[n]);
                const std::string result = theFormulaEvaluator.Evaluate(text);
                const int flag = theFormulaEvaluator.errorFlag;
                const std::string message = theFormulaEvaluator.errorText;
                const double expected = flag ? 0.0 : numtext::ReadReal(result);
                const auto same = [&](double v) {
                    EXPECT_EQ(theFormulaEvaluator.errorFlag, flag);
                    EXPECT_EQ(theFormulaEvaluator.errorText, message);
                    EXPECT_EQ(std::signbit(v), std::signbit(expected));
                    EXPECT_EQ(v, expected);
                };
                same(store.EvaluateFormulaAtRecord(formula, static_cast<int>(r)));
                EXPECT_EQ(store.formulaValueTexts, texts);
                same(store.EvaluateFormulaAtValues(formula, rows[r]));
                if (flag) EXPECT_TRUE(std::isnan(all[r]));
                else EXPECT_EQ(all[r], expected);
            }
        }
    }
}

}  // namespace
