// The main window's small shared routines: the term-code searches' bookkeeping, the data-shape
// test of the correlation views, the legend text rows, and the reset after "Delete all".
#include <gtest/gtest.h>

#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "main_window_support.h"

namespace {

TEST(SharedRoutines, NextUnusedTermCodeSkipsTheHarmonicCodesAndUsedOnes) {
    CTabulonDlg dlg;
    unsigned code = 26;
    dlg.termCodes = {1, 2, 26};
    EXPECT_EQ(dlg.NextUnusedTermCode(code), 1);  // 26 replaced by 27 -> 31
    EXPECT_EQ(code, 31u);
    EXPECT_EQ(dlg.termCodes, (std::vector<unsigned>{1, 2, 31}));

    dlg.termCodes = {1, 2, 3};
    code = 0;  // a first call keeps the list and takes the first free code
    EXPECT_EQ(dlg.NextUnusedTermCode(code), 1);
    EXPECT_EQ(code, 4u);
    EXPECT_EQ(dlg.termCodes, (std::vector<unsigned>{1, 2, 3, 4}));

    code = 34;
    dlg.termCodes = {5, 34};
    EXPECT_EQ(dlg.NextUnusedTermCode(code), 0);
    EXPECT_EQ(dlg.termCodes, (std::vector<unsigned>{5}));

    dlg.termCodes.clear();  // nothing to take back
    code = 3;
    EXPECT_EQ(dlg.NextUnusedTermCode(code), 1);
    EXPECT_EQ(dlg.termCodes, (std::vector<unsigned>{4}));
}

TEST(SharedRoutines, FindEqualTermSetStoresEachSetOnce) {
    CTabulonDlg dlg;
    EXPECT_EQ(dlg.FindEqualTermSet({1, 2, 3}), 0);
    EXPECT_EQ(dlg.FindEqualTermSet({1, 2, 3}), 1);
    EXPECT_EQ(dlg.FindEqualTermSet({3, 2, 1}), 0);  // order matters
    EXPECT_EQ(dlg.FindEqualTermSet({1, 2}), 0);     // a prefix is another set
    EXPECT_EQ(dlg.FindEqualTermSet({}), 0);
    EXPECT_EQ(dlg.FindEqualTermSet({}), 1);
    EXPECT_EQ(dlg.FindEqualTermSet({3, 2, 1}), 1);
    EXPECT_EQ(dlg.triedTermCodes, (std::vector<unsigned>{1, 2, 3, 3, 2, 1, 1, 2}));
    EXPECT_EQ(dlg.triedTermSetStarts, (std::vector<int>{0, 3, 6, 8}));
}

TEST(SharedRoutines, MultiArgumentDataAndTextRows) {
    CTabulonDlg dlg;
    mainwin_test::ResetChoices();
    dlg.dataArguments = 2, dlg.dataValues = 1, dlg.dataParameters = 3;
    EXPECT_EQ(dlg.HasMultiArgumentData(), 0);
    theMultistat.correlation = 1;
    EXPECT_EQ(dlg.HasMultiArgumentData(), 1);
    dlg.dataValues = 0;
    EXPECT_EQ(dlg.HasMultiArgumentData(), 0);
    theXystatistic.correlationCoefficient = 1;
    EXPECT_EQ(dlg.HasMultiArgumentData(), 1);
    dlg.dataParameters = 1;
    EXPECT_EQ(dlg.HasMultiArgumentData(), 0);
    mainwin_test::ResetChoices();

    dlg.legendLineHeight = 20;
    dlg.legendBlockTop = 30;
    EXPECT_EQ(dlg.TextLineY(0), 35);
    EXPECT_EQ(dlg.TextLineY(3), 95);
}

TEST(SharedRoutines, ResetAnalysisChoicesAfterDeleteAll) {
    const std::string title = theLegend.title;
    theLegend.title = "t", theLegend.xCaption = "x", theLegend.yCaption = "y";
    theXystatistic.peaksRevealing = theXystatistic.harmonicAnalysis = theXystatistic.searchForBestFormula = 1;
    theD3view.twoDimensional = 1;
    theXyview.autozoom = 0;
    ResetAnalysisChoices();
    EXPECT_EQ(theLegend.title + theLegend.xCaption + theLegend.yCaption, "");
    EXPECT_EQ(theXystatistic.peaksRevealing + theXystatistic.harmonicAnalysis + theXystatistic.searchForBestFormula, 0);
    EXPECT_EQ(theD3view.twoDimensional, 0);
    EXPECT_EQ(theXyview.autozoom, 1);
    theLegend.title = title;

    theD3view.sceneRebuildRequest = 0;
    RequestSceneRebuild();
    EXPECT_EQ(theD3view.sceneRebuildRequest, 1);
}

}  // namespace
