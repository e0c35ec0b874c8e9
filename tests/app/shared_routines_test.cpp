// The main window's small shared routines: the term-code searches' bookkeeping, the data-shape
// test of the correlation views, and the reset after "Delete all".
#include <gtest/gtest.h>

#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "main_window_support.h"

namespace {

TEST(SharedRoutines, NextUnusedTermCodeSkipsTheHarmonicCodesAndUsedOnes) {
    const struct {
        std::vector<unsigned> codes;
        unsigned code;
        int found;
        unsigned next;
        std::vector<unsigned> codesAfter;
    } cases[] = {
        {{1, 2, 26}, 26, 1, 31, {1, 2, 31}},  // 26 replaced by 27 -> 31
        {{1, 2, 3}, 0, 1, 4, {1, 2, 3, 4}},   // a first call keeps the list and takes the first free code
        {{5, 34}, 34, 0, 34, {5}},
        {{}, 3, 1, 4, {4}},  // nothing to take back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CTabulonDlg dlg;
        dlg.termCodes = c.codes;
        unsigned code = c.code;
        EXPECT_EQ(dlg.NextUnusedTermCode(code), c.found);
        if (c.found) EXPECT_EQ(code, c.next);
        EXPECT_EQ(dlg.termCodes, c.codesAfter);
    }
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

TEST(SharedRoutines, MultiArgumentData) {
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
}

}  // namespace
