// The "Constructor style" and "From list of formulas" schemes: range passes, the report's
// lines in both result stores, and what a rejected fit leaves out.
#include <gtest/gtest.h>

#include "charts/plot_mapping.h"
#include "charts/result_tables.h"
#include "formula/calculator.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "main_window_support.h"

namespace {

using namespace mainwin_test;

class OneArgumentFits : public ::testing::Test {
protected:
    void SetUp() override {
        ResetChoices();
        LoadShape(1, 1, 0, 4);
        theResultTables.Clear();
        theResultDocument.Clear();
        coefficientsText.clear();
        theResult.autoDigits = 0;
        theResult.digits = 4;
        theResult.visibleDataOnly = 1;
        theCollection.selectedModel = theCollection.searchRequested = 0;
        theCollection.overallFit = theCollection.stabilitySearch = theCollection.minOfMaxOutSearch = 0;
        theCollection.showDeviationLines = theConstructor.showDeviationLines = 0;
        theCalculator.typedCount = 0;
        theCalculator.valuesText.clear();
        theData.schemeReady = 0;
        theXystatistic.fromListOfFormulas = 1;
        dlg.dataArguments = 1;
        plotLeft = 0, plotRight = 200, plotTop = 0, plotBottom = 150;
        plotXMin = -2, plotXMax = 2, plotYMin = -5, plotYMax = 5;
        ComputePlotScales();
    }
    void TearDown() override {
        ResetChoices();
        theResult.autoDigits = 1;
        theResult.digits = 2;
        theCollection.selectedModel = 0;
    }
    // Paints into a white bitmap and gives the pixels that are no longer white.
    int InkedBy(const std::function<void(platform::Canvas&)>& paint) {
        bitmap.Fill(platform::kWhite);
        platform::Canvas dc(bitmap);
        paint(dc);
        return CountPixels(bitmap.Image(), [](QRgb p) { return (p & 0xFFFFFFu) != 0xFFFFFFu; });
    }

    CTabulonDlg dlg;
    platform::Bitmap bitmap{200, 150};
    // y = 1 + 2x with residuals -1, +1 at x = -1 and at x = 1: s = 0.5 each, e = 0.2.
    const std::vector<double> x{-1, -1, 1, 1}, y{-2, 0, 2, 4};
};

TEST_F(OneArgumentFits, ReportWritesBothStoresExactly) {
    theCalculator.typedCount = 1;
    theCalculator.argumentsValid = 1;
    theCalculator.typedValueTable[0] = 2.0;
    const int inked = InkedBy([&](platform::Canvas& dc) { dlg.FitResultReport(dc, x, y, 0, 1); });

    const std::string formula = "p1 =  1 +2*p0";
    EXPECT_EQ(theResultTables.paragraphs,
              (std::vector<std::string>{formula, "\n", "Coefficient of correlation = ", "0.5528   ", "\n",
                                        "Number of points = 4", "\n", "Coefficients:\n"}));
    EXPECT_EQ(theResultTables.cells, (std::vector<std::string>{"Argument", "Value", "St. Dev.", "Corl. Coef.(%)",
                                                                "1.0", "1", "0.5", "50", "p0", "2", "0.5", "25"}));
    // The token store holds the same lines and cells.
    EXPECT_EQ(theResultDocument.texts.size(), 14u);
    EXPECT_EQ(theResultDocument.texts.back(), "25");
    EXPECT_EQ(coefficientsText, "1\t2\t0.5528   \n");
    EXPECT_EQ(dlg.legendTexts, std::vector<std::string>{formula});
    EXPECT_EQ(theCalculator.valuesText, "p1=5; ");
    EXPECT_GT(inked, 100);  // the fitted line
}

// Mend: empty or mismatched input reports nothing (no stale curve with r = 1 and 0 points),
// and a fit that could not be made (bad input, a domain error) draws no band either.
TEST_F(OneArgumentFits, RejectedFitsLeaveNoTrace) {
    theCollection.showDeviationLines = 1;
    const struct {
        std::vector<double> x, y;
        int model;
    } cases[] = {{{}, {}, 0}, {{1, 2, 3}, {1, 2}, 0}, {{1, 2, 3, 4}, {1, -2, 3, 4}, 8}};  // 8: ln y of a negative y
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x.size());
        theCollection.selectedModel = c.model;
        EXPECT_EQ(InkedBy([&](platform::Canvas& dc) { dlg.FitResultReport(dc, c.x, c.y, 0, 1); }), 0);
        EXPECT_TRUE(theResultTables.paragraphs.empty());
        EXPECT_TRUE(coefficientsText.empty());
        const double lo = plotYMin, hi = plotYMax;
        dlg.CollectionFitYRange(c.x, c.y);
        EXPECT_EQ(plotYMin, lo);
        EXPECT_EQ(plotYMax, hi);
    }
}

TEST_F(OneArgumentFits, RangePassesWidenByCurveAndBand) {
    plotYMin = plotYMax = 0;
    dlg.CollectionFitYRange(x, y);
    EXPECT_DOUBLE_EQ(plotYMin, -3.0);  // 1 + 2x over [-2, 2]
    // The accumulated steps may pass 2 just before it: the last point can be left out.
    EXPECT_NEAR(plotYMax, 5.0, 0.05);
    theCollection.showDeviationLines = 1;
    dlg.CollectionFitYRange(x, y);
    EXPECT_LT(plotYMin, -3.0);
    EXPECT_GT(plotYMax, 5.05);

    // Constructor: sqrt y = a0 + a1 x through its own codes and y-code.
    theXystatistic.fromListOfFormulas = 0;
    theXystatistic.constructorStyle = 1;
    theConstructor.selectedCodeCount = 2;
    theConstructor.selectedCodes[0] = 0;
    theConstructor.selectedCodes[1] = 1;
    theConstructor.yTransform = 3;
    plotXMin = 0, plotXMax = 3, plotYMin = 100, plotYMax = -100;
    dlg.ConstructorFitYRange({0, 1, 2, 3}, {1, 4, 9, 16});  // sqrt y = 1 + x
    EXPECT_NEAR(plotYMin, 1.0, 1e-9);
    EXPECT_NEAR(plotYMax, 16.0, 0.13);
    theConstructor.yTransform = 0;
    theConstructor.selectedCodeCount = 0;
}

TEST_F(OneArgumentFits, AutoSearchStoresItsChoiceAndClearsTheRequest) {
    std::vector<double> ex, ey;
    for (int i = 0; i < 30; ++i) {
        ex.push_back(0.1 * (i + 1));
        ey.push_back(std::exp(0.2 + 0.9 * ex.back()) * (1 + 0.002 * ((i * 7) % 5 - 2)));
    }
    theCollection.searchRequested = 1;
    theCollection.overallFit = 1;
    theCollection.selectedModel = 3;
    dlg.CollectionFitYRange(ex, ey);
    EXPECT_EQ(theCollection.searchRequested, 0);
    EXPECT_EQ(theCollection.fittedModel, theCollection.selectedModel);
    EXPECT_NE(theCollection.selectedModel, 3);

    // Nothing qualifies: the first formula is fitted and shown as chosen.
    theCollection.searchRequested = 1;
    dlg.CollectionFitYRange({1.0}, {2.0});
    EXPECT_EQ(theCollection.selectedModel, 0);
}

}  // namespace
