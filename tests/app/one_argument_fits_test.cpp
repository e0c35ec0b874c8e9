// The "Constructor style" and "From list of formulas" schemes: range passes, the report's
// lines in both result stores, and what a rejected fit leaves out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "formula/calculator.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "main_window_support.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using namespace mainwin_test;

class OneArgumentFits : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetChoices();
        LoadShape(1, 1, 0, 4);
        theResultTables.Clear();
        theResultDocument.Clear();
        coefficientsText.clear();
        correlationText.clear();
        theResult.formulaText.clear();
        theResult.autoDigits = 0;
        theResult.digits = 4;
        theResult.visibleDataOnly = 1;
        theCollection.selectedModel = 0;
        theCollection.searchRequested = 0;
        theCollection.overallFit = theCollection.stabilitySearch = theCollection.minOfMaxOutSearch = 0;
        theCollection.showDeviationLines = 0;
        theConstructor.showDeviationLines = 0;
        theCalculator.typedCount = 0;
        theCalculator.valuesText.clear();
        theData.schemeReady = 0;
        theXystatistic.fromListOfFormulas = 1;
        dlg.dataArguments = 1;
        plotLeft = 0;
        plotRight = 200;
        plotTop = 0;
        plotBottom = 150;
        plotXMin = -2;
        plotXMax = 2;
        plotYMin = -5;
        plotYMax = 5;
        ComputePlotScales();
    }
    void TearDown() override
    {
        ResetChoices();
        theResult.autoDigits = 1;
        theResult.digits = 2;
        theCollection.selectedModel = 0;
    }

    int InkedPixels() const
    {
        int inked = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                inked += (bitmap.Image().pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
        return inked;
    }

    CTabulonDlg dlg;
    platform::Bitmap bitmap{200, 150};
    // y = 1 + 2x with residuals -1, +1 at x = -1 and at x = 1: s = 0.5 each, e = 0.2.
    const std::vector<double> x{-1, -1, 1, 1}, y{-2, 0, 2, 4};
};

TEST_F(OneArgumentFits, ReportWritesBothStoresExactly)
{
    bitmap.Fill(platform::kWhite);
    platform::Canvas dc(bitmap);
    theCalculator.typedCount = 1;
    theCalculator.argumentsValid = 1;
    theCalculator.typedValueTable[0] = 2.0;
    dlg.FitResultReport(dc, x, y, 0, 1);

    const std::string formula = "p1 =  1 +2*p0";
    EXPECT_EQ(theResultTables.paragraphs,
              (std::vector<std::string>{formula, "\n", "Coefficient of correlation = ", "0.5528   ", "\n",
                                        "Number of points = 4", "\n", "Coefficients:\n"}));
    EXPECT_EQ(theResultTables.cells, (std::vector<std::string>{"Argument", "Value", "St. Dev.", "Corl. Coef.(%)",
                                                                "1.0", "1", "0.5", "50", "p0", "2", "0.5", "25"}));
    ASSERT_EQ(theResultTables.tables.size(), 1u);
    EXPECT_EQ(theResultTables.tables[0].rows, 3);
    EXPECT_EQ(theResultTables.cellBold, (std::vector<std::uint32_t>{1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(theResultDocument.texts,
              (std::vector<std::string>{formula, "Coefficient of correlation = ", "0.5528   ", "Number of points = 4",
                                        "Coefficients:", "Argument", "1.0", "1", "0.5", "50", "p0", "2", "0.5",
                                        "25"}));
    EXPECT_EQ(theResultDocument.tabPositions.front(), 10u);
    EXPECT_EQ(theResultDocument.markIds, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(theResultDocument.symbolIds, (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(coefficientsText, "1\t2\t0.5528   \n");
    EXPECT_EQ(correlationText, "0.5528   ");
    EXPECT_EQ(theResult.formulaText, formula + "\n");
    EXPECT_EQ(dlg.legendTexts, std::vector<std::string>{formula});
    EXPECT_EQ(theCalculator.valuesText, "p1=5; ");
    EXPECT_EQ(theData.schemeReady, 1);
    EXPECT_GT(InkedPixels(), 100);  // the fitted line
}

// Mend: empty or mismatched input reports nothing (no stale curve with r = 1 and 0 points),
// and a rejected fit draws no band either.
TEST_F(OneArgumentFits, RejectedFitsLeaveNoTrace)
{
    theCollection.showDeviationLines = 1;
    const std::vector<std::vector<double>> xs = {{}, {1, 2, 3}, {1, 2, 3, 4}};
    const std::vector<std::vector<double>> ys = {{}, {1, 2}, {1, -2, 3, 4}};
    for (std::size_t c = 0; c < xs.size(); ++c) {
        theCollection.selectedModel = c == 2 ? 8 : 0;  // ln y of a negative y
        bitmap.Fill(platform::kWhite);
        platform::Canvas dc(bitmap);
        dlg.FitResultReport(dc, xs[c], ys[c], 0, 1);
        EXPECT_TRUE(theResultTables.paragraphs.empty()) << c;
        EXPECT_TRUE(theResultDocument.texts.empty()) << c;
        EXPECT_TRUE(coefficientsText.empty()) << c;
        EXPECT_EQ(theData.schemeReady, 0) << c;
        EXPECT_EQ(InkedPixels(), 0) << c;
        const double lo = plotYMin, hi = plotYMax;
        dlg.CollectionFitYRange(xs[c], ys[c]);
        EXPECT_EQ(plotYMin, lo) << c;
        EXPECT_EQ(plotYMax, hi) << c;
    }
}

TEST_F(OneArgumentFits, RangePassesWidenByCurveAndBand)
{
    plotYMin = 0;
    plotYMax = 0;
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
    const std::vector<double> cx{0, 1, 2, 3}, cy{1, 4, 9, 16};  // sqrt y = 1 + x
    plotXMin = 0;
    plotXMax = 3;
    plotYMin = 100;
    plotYMax = -100;
    dlg.ConstructorFitYRange(cx, cy);
    EXPECT_NEAR(plotYMin, 1.0, 1e-9);
    EXPECT_NEAR(plotYMax, 16.0, 0.13);
    theConstructor.yTransform = 0;
    theConstructor.selectedCodeCount = 0;
}

TEST_F(OneArgumentFits, AutoSearchStoresItsChoiceAndClearsTheRequest)
{
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
