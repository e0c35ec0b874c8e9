// The peaks report: its lines in both result stores, exactly, over the settings that
// change them, and nothing at all without peaks or with the scheme off.
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "app/peaks_report.h"
#include "charts/plot_mapping.h"
#include "charts/result_tables.h"
#include "fitting/base_line.h"
#include "fitting/normal_equations.h"
#include "fitting/peak_detection.h"
#include "fitting/peak_painters.h"
#include "fitting/sinaldlg_page.h"
#include "main_window_support.h"
#include "platform/format.h"

namespace {

class PeaksReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedNames = theData.parameterNames;
        theData.parameterNames = {"t", "S"};
        theXystatistic.peaksRevealing = 1;
        ClearStores();
        MakeSignal();
    }
    void TearDown() override {
        theXystatistic.peaksRevealing = 0;
        theData.parameterNames = savedNames;
        ClearStores();
        theSinaldlg.peakList.clear();
    }
    void ClearStores() {
        theResultDocument.Clear();
        theResultTables.Clear();
        theResult.fittedFormulasText.clear();
        coefficientsText.clear();
        theSinaldlg.baseLineCorrected = 0;
        plotXMin = 0, plotXMax = 999, plotYMin = 0, plotYMax = 200;
        plotLeft = 0, plotRight = 400, plotTop = 0, plotBottom = 300;
        ComputePlotScales();
    }
    void MakeSignal() {
        x.resize(1000);
        y.resize(1000);
        std::mt19937 generator(3);
        std::normal_distribution<double> noise(0.0, 0.5);
        for (int i = 0; i < 1000; ++i) {
            x[i] = i;
            y[i] = 5.0 + noise(generator) + 150.0 * std::exp(-0.5 * std::pow((i - 300) / 6.0, 2)) +
                   80.0 * std::exp(-0.5 * std::pow((i - 700) / 14.0, 2));
        }
    }
    void Run(int baseLine = 0, int chromatogramOnly = 0) {
        sinaldlg_settings settings;
        settings.baseLine = baseLine;
        settings.chromatogramOnly = chromatogramOnly;
        platform::Bitmap bitmap(402, 302);
        platform::Canvas dc(bitmap);
        PeaksReport(dc, x, y, 0, 1, settings);
    }
    std::vector<double> x, y;
    std::vector<std::string> savedNames;
};

TEST_F(PeaksReportTest, LinesInBothStores) {
    const struct {
        int baseLine, chromatogramOnly, corrected;
        std::string line;  // the base line's paragraph, if any
    } cases[] = {
        {0, 0, 1, ""},
        {1, 0, 1, "Base line: -0.25*n +1.5 "},
        {2, 0, 1, "Base line: 3e-07*n^2 -0.25*n +1.5 "},
        {3, 0, 1, "Base line: -0.25*exp(-n) +1.5 "},
        {4, 1, 1, "Base line:  3e-07*exp(-n)^2 -0.25*exp(-n) +1.5"},
        {3, 0, 0, ""},  // a failed base line is not reported
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.baseLine << " corrected " << c.corrected);
        ClearStores();
        theSinaldlg.baseLineFit.coefficients = {1.5, -0.25, 3e-7};
        theSinaldlg.baseLineCorrected = c.corrected;
        Run(c.baseLine, c.chromatogramOnly);
        ASSERT_EQ(theSinaldlg.peakList.size(), 2u);
        std::vector<std::string> want = {"S=F(n)"};
        if (!c.line.empty()) want.push_back(c.line);
        want.push_back("2 peaks found:");
        want.push_back(platform::Format("Noise level = %g", theSinaldlg.peakList[0].base));
        if (c.chromatogramOnly)
            want.push_back(platform::Format("Chromatogram. Number of theoretical colomns = %g",
                                            TheoreticalPlates(theSinaldlg.peakList[0])));
        want.push_back("Sum of gauss like peaks: (0.39894228*A/sigma)*exp(-0.5*((n-Average)/St.Dev.)^2)");
        std::vector<std::string> paragraphs;
        for (std::size_t i = 0; i < theResultTables.paragraphs.size(); i += 2) {
            paragraphs.push_back(theResultTables.paragraphs[i]);
            EXPECT_EQ(theResultTables.paragraphs[i + 1], "\n");
        }
        EXPECT_EQ(paragraphs, want);
        // The token store holds the same lines, then the table's header texts and the rows.
        EXPECT_EQ(std::vector<std::string>(theResultDocument.texts.begin(), theResultDocument.texts.begin() + want.size()),
                  want);
        ASSERT_EQ(theResultTables.tables.size(), 1u);
        EXPECT_EQ(theResultTables.tables[0].rows, 3);
        std::vector<std::string> head;
        for (int k = 0; k < 6; ++k) head.push_back(*theResultTables.CellOf(0, 0, k));
        EXPECT_EQ(head, (std::vector<std::string>{"N", "Xo", "Sigma", "A", "Position of maximum.", "Height of maximum"}));
        EXPECT_EQ(*theResultTables.CellOf(0, 1, 4), "300");
        EXPECT_EQ(theResult.fittedFormulasText, "S=F(n)\n");
        EXPECT_EQ(coefficientsText, *theResultTables.CellOf(0, 1, 1) + "\n" + *theResultTables.CellOf(0, 2, 1) + "\n");
    }
}

TEST_F(PeaksReportTest, RangeWalkersEndOnAnEmptyRange) {
    Run();
    ASSERT_FALSE(theSinaldlg.peakList.empty());
    plotXMin = plotXMax = 300;  // equal limits: one point, then the walk ends
    plotYMin = 1e9, plotYMax = -1e9;
    ExtendRangeForPeaks(theSinaldlg.peakSummary, theSinaldlg.peakList);
    EXPECT_NEAR(plotYMax, PeakModelValue(theSinaldlg.peakSummary, theSinaldlg.peakList, 300), 1e-9);
    plotXMin = 1e300, plotXMax = 1e300 * (1 + 1e-16);  // a step too small to move x
    ExtendRangeForPeaks(theSinaldlg.peakSummary, theSinaldlg.peakList);
    platform::Bitmap bitmap(10, 10);
    platform::Canvas dc(bitmap);
    PaintPeakSumCurve(theSinaldlg.peakSummary, dc, theSinaldlg.peakList);
}

TEST_F(PeaksReportTest, NothingWithoutPeaksOrScheme) {
    y.assign(1000, 5.0);
    Run();
    EXPECT_TRUE(theResultTables.paragraphs.empty());
    EXPECT_TRUE(theResultDocument.texts.empty());
    ClearStores();
    MakeSignal();
    theXystatistic.peaksRevealing = 0;
    Run();
    EXPECT_TRUE(theResultTables.paragraphs.empty());
    EXPECT_TRUE(theSinaldlg.peakList.empty());
}

}  // namespace
