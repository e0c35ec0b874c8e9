// The user-formula scheme: coefficients written into the formula (longer names first, "%g"),
// its error over all series, the range pass, and the report's formula, correlation,
// coefficients line and legend entry.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/fitted_formulas.h"
#include "documents/result_page.h"
#include "fitting/user_formula_scheme.h"
#include "fitting/useruf_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/model_evaluation.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using Column = std::vector<double>;

// Series of records {t, v} named "t" and "v": t the argument, v the value (or both values).
void LoadSeries(const std::vector<std::vector<std::vector<double>>>& series, bool withArgument = true) {
    theData.OnDeleteAll();
    for (const auto& records : series) {
        theData.CheckNewSeriesShape(2, theData.pendingSeries);
        for (const auto& r : records) theData.allValues.insert(theData.allValues.end(), r.begin(), r.end());
        theData.AddNewSeries(static_cast<int>(records.size()), {"t", "v"});
    }
    theData.activeParameter = 0;
    if (withArgument) {
        theData.MakeActiveParameterArgument();
    } else {
        theData.MakeActiveParameterValue();
    }
    theData.activeParameter = 1;
    theData.MakeActiveParameterValue();
}

std::vector<std::vector<double>> Line(int n, double a, double b) {
    std::vector<std::vector<double>> r;
    for (int i = 0; i < n; ++i) r.push_back({static_cast<double>(i), a * i + b});
    return r;
}

class UserFormulaSchemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        page.settings = useruf_settings{};  // a*x+b with a = 1, b = 2
        theXystatistic.userFormula = 1;
        theResultDocument.Clear();
        theResultTables.Clear();
        coefficientsText.clear();
        SetFittedFormulaLists(&texts, &parameters);
        plotXMin = 0, plotXMax = 10, plotYMin = 0, plotYMax = 20;
        plotLeft = 0, plotRight = 200, plotTop = 0, plotBottom = 100;
        ComputePlotScales();
    }
    void TearDown() override {
        page.settings = saved;
        theXystatistic.userFormula = 0;
        theXyview.autozoom = 1;
        SetFittedFormulaLists(nullptr, nullptr);
        theData.OnDeleteAll();
    }
    void Report(const std::vector<std::vector<double>>& points) {
        Column x, y;
        for (const auto& p : points) x.push_back(p[0]), y.push_back(p[1]);
        UserFormulaReport(dc, x, y, 0, 1);
    }
    useruf& page = theUseruf;
    const useruf_settings saved = theUseruf.settings;
    std::vector<std::string> texts;
    std::vector<unsigned> parameters;
    platform::Bitmap image{200, 100};
    platform::Canvas dc{image};
};

TEST_F(UserFormulaSchemeTest, LongerNamesGoFirstAndValuesKeepSixDigits) {
    page.names = {"a", "ab"};
    page.values = {1, 2};
    page.formula = "ab*x+a";
    EXPECT_EQ(UserFormulaWithValues(), "2*x+1");
    page.values = {1.0 / 3.0, -2e-7};
    EXPECT_EQ(UserFormulaWithValues(), "-2e-07*x+0.333333");
    EXPECT_EQ(UserFormulaWithValues({5, 6}), "6*x+5");
}

TEST_F(UserFormulaSchemeTest, ReportWritesFormulaCorrelationCoefficientsAndLegend) {
    LoadSeries({Line(6, 1, 2)});
    Report(Line(6, 1, 2));
    EXPECT_EQ(texts, (std::vector<std::string>{"v = 1*t+2"}));
    EXPECT_EQ(coefficientsText, "1\t2\t1   \n");
    EXPECT_EQ(theResultDocument.texts,
              (std::vector<std::string>{"v = 1*t+2", "Coefficient of correlation = ", "1   "}));
    EXPECT_EQ(theResultTables.paragraphs, (std::vector<std::string>{"v = 1*t+2", "\n", "\n",
                                                                    "Coefficient of correlation = ", "1   ", "\n"}));
    // The curve is drawn with the painter's pen (black here) through (5, 7).
    int black = 0;
    for (int dy = -1; dy <= 1; ++dy) black += dc.GetPixel(WorldToPixelX(5), WorldToPixelY(7) + dy) == platform::kBlack;
    EXPECT_GE(black, 1);

    // "+ const": the offset of the data from the formula ends the line and the coefficients.
    page.plusConst = 1;
    coefficientsText.clear();
    Report(Line(6, 1, 1.5));
    EXPECT_EQ(texts.back(), "v = 1*t+2 -0.5");
    EXPECT_EQ(coefficientsText, "1\t2\t-0.5\t1   \n");
    EXPECT_DOUBLE_EQ(userFormulaOffset, -0.5);

    // The scheme off: nothing at all.
    theXystatistic.userFormula = 0;
    Report(Line(6, 1, 2));
    EXPECT_EQ(texts.size(), 2u);
}

TEST_F(UserFormulaSchemeTest, ErrorSumsEverySeriesAndSkipsShortOnes) {
    LoadSeries({Line(5, 1, 2), Line(2, 5, 5), Line(4, 2, 0)});
    // The first fits exactly, the short one adds nothing, the third: y = 2t against t + 2.
    double offset = 0;
    const double third = FormulaResidualRatio({0, 1, 2, 3}, {0, 2, 4, 6}, "1*x+2", "x", offset, 0);
    EXPECT_DOUBLE_EQ(UserFormulaError(UserFormulaWithValues()), third);

    // Autozoom off and only the data shown: the box keeps the points of the third series
    // with 1 <= t <= 2, where it still misses by 1 and 0.
    theXyview.autozoom = 0;
    theResult.visibleDataOnly = 1;
    plotXMin = 1, plotXMax = 2, plotYMin = -100, plotYMax = 100;
    const double boxed = FormulaResidualRatio({1, 2}, {2, 4}, "1*x+2", "x", offset, 0);
    EXPECT_DOUBLE_EQ(UserFormulaError(UserFormulaWithValues()), boxed);

    // Without an argument every value contributes 1e40.
    theXyview.autozoom = 1;
    LoadSeries({Line(5, 1, 2)}, false);
    EXPECT_DOUBLE_EQ(UserFormulaError(UserFormulaWithValues()), 2e40);
    theData.OnDeleteAll();
    EXPECT_EQ(UserFormulaError(UserFormulaWithValues()), 1e40);  // no data is no fit, never a perfect one
}

TEST_F(UserFormulaSchemeTest, RangePassWidensByTheCurve) {
    plotYMin = 1e60, plotYMax = -1e60;
    UserFormulaYRange({0, 1, 2}, {2, 3, 4});
    // Along the x range 0..10 in 200 steps: the curve's values from about 2 to about 12.
    EXPECT_GE(plotYMin, 2);
    EXPECT_LE(plotYMin, 2.1);
    EXPECT_GE(plotYMax, 11.9);
    EXPECT_LE(plotYMax, 12);
}

}  // namespace
