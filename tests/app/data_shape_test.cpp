// Reading the data shape: the page each tab should show over shapes and scheme flags, the
// model pages' hand-back, Autozoom after a change of shape, the pages' parameter lists, the
// formula name list.

#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "charts/d3view_page.h"
#include "fitting/sinaldlg_page.h"
#include "formula/approxcustom.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "main_window_support.h"

namespace {

using mainwin_test::LoadShape;
using mainwin_test::ResetChoices;
using mainwin_test::WithMainWindow;

struct RouteCase {
    int arguments, values;
    void (*choose)();  // the schemes and the pages' requests
    int tab, shownPage;
    int wanted;
    int view3D;  // after; -1: not checked
};

TEST(DataShape, RoutesEveryShapeToItsPage) {
    const RouteCase cases[] = {
        // The tab's page by the shape and the schemes (the whole table: the tab rules' tests).
        {2, 1, [] {}, kTabStatistics, kPageData, kPageMultistat, -1},
        // The View tab: the three-dimensional switch takes it to the scene page, and the
        // scene page's plane view brings it back.
        {2, 1, [] { theXyview.show3D = 1; }, kTabView, kPageXyview, kPageD3view, 1},
        {1, 1, [] { theXyview.show3D = 1; }, kTabView, kPageXyview, kPageXyview, 0},
        {0, 2, [] { theD3view.twoDimensional = 1; }, kTabView, kPageD3view, kPageXyview, 0},
        // The model pages hand back to their scheme page.
        {1, 1, [] { theXystatistic.customFormulas = theApproxcustom.applyRequested = theXystatistic.customRequest = 1; },
         kTabStatistics, kPageApproxcustom, kPageXystatistic, -1},
        {1, 1, [] { theSinaldlg.moreRequest = 1; }, kTabStatistics, kPageSinaldlg, kPageXystatistic, -1},
        {1, 1, [] { theUseruf.moreRequest = 1; }, kTabStatistics, kPageUseruf, kPageXystatistic, -1},
        {2, 1, [] { theMultistat.userDefinedFormula = theUseruf.moreRequest = 1; }, kTabStatistics, kPageUseruf,
         kPageMultistat, 1},
        {2, 1, [] { theMultistat.bestPolynome = theConstructorMulti.applyRequested = 1; }, kTabStatistics,
         kPageConstructorMulti, kPageMultistat, -1},
        // A scheme button shows its page at once; multistat's apply shows the formula page.
        {1, 1, [] { theXystatistic.collectionRequest = theXystatistic.schemeButtonPressed = 1; }, kTabStatistics,
         kPageXystatistic, kPageCollection, -1},
        {2, 1, [] { theMultistat.unitaryArgument = theMultistat.applyRequested = 1; }, kTabStatistics, kPageMultistat,
         kPageUseruf, -1},
        {2, 1, [] { theMultistat.bestPolynome = theMultistat.applyRequested = 1; }, kTabStatistics, kPageMultistat,
         kPageConstructorMulti, -1},
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        for (const RouteCase& c : cases) {
            SCOPED_TRACE(&c - cases);
            LoadShape(c.arguments, c.values, 0);
            // The change of data is taken in first; the view switches act on the next reading.
            ResetChoices();
            dlg.UpdateForDataShape();
            theMultistat.plane = theMultistat.applyRequested = theD3view.twoDimensional = 0;
            c.choose();
            theXystatistic.fromListOfFormulas = theXystatistic.schemeButtonPressed;  // the button chose its scheme
            dlg.view3D = theD3view.twoDimensional;
            dlg.Control(kTabControl).SetCurSel(c.tab);
            activeTab = c.shownPage;
            dlg.UpdateForDataShape();
            EXPECT_EQ(dlg.wantedPage, c.wanted);
            if (c.shownPage == kPageXystatistic || c.shownPage == kPageMultistat) {
                EXPECT_EQ(activeTab, c.wanted);  // a scheme page's button shows its page at once
            }
            if (c.view3D >= 0) {
                EXPECT_EQ(dlg.view3D, c.view3D);
            }
            // Every request is served once.
            EXPECT_EQ((std::vector<int>{theApproxcustom.applyRequested, theXystatistic.customRequest,
                                        theSinaldlg.moreRequest, theUseruf.moreRequest,
                                        theConstructorMulti.applyRequested, theXystatistic.schemeButtonPressed,
                                        theXystatistic.collectionRequest}),
                      std::vector<int>(7, 0));
        }
        dlg.view3D = 0;
        theData.OnDeleteAll();
        ResetChoices();
    });
}

TEST(DataShape, CountsAutozoomAndTheParameterLists) {
    WithMainWindow([](CTabulonDlg& dlg) {
        ResetChoices();
        const platform::Control combo = theXyview.Control(xyview::kParameterCombo);
        auto items = [&combo] {
            std::vector<std::string> v;
            for (int i = 0; i < combo.Count(); ++i) v.push_back(combo.ItemText(i));
            return v;
        };

        // A new shape: counts, Autozoom on, the value names in the View page's list.
        LoadShape(1, 2, 0, 5, 2);
        theXyview.autozoom = 0;
        dlg.UpdateForDataShape();
        EXPECT_EQ((std::vector<int>{dlg.dataSeriesCount, dlg.dataArguments, dlg.dataValues, dlg.dataParameters}),
                  (std::vector<int>{2, 1, 2, 3}));
        EXPECT_EQ(theXyview.autozoom, 1);
        EXPECT_EQ(items(), (std::vector<std::string>{"p1", "p2", "p1", "p2"}));

        // The same shape again leaves Autozoom as the user set it.
        LoadShape(1, 2, 0, 5, 2);
        theXyview.autozoom = 0;
        dlg.UpdateForDataShape();
        EXPECT_EQ(theXyview.autozoom, 0);

        // After a document was read its view is kept, once.
        LoadShape(1, 1, 0);
        theXyview.autozoom = 0;
        dlg.documentJustRead = 1;
        dlg.UpdateForDataShape();
        EXPECT_EQ(theXyview.autozoom, 0);
        EXPECT_EQ(dlg.documentJustRead, 0);

        // Series too short for their arguments add nothing to the lists.
        LoadShape(2, 1, 0, 4);
        dlg.UpdateForDataShape();
        EXPECT_EQ(items().size(), 0u);
        LoadShape(2, 1, 0, 5);
        dlg.UpdateForDataShape();
        EXPECT_EQ(items(), (std::vector<std::string>{"p2"}));
        EXPECT_EQ(theConstructorMulti.argumentNames, (std::vector<std::string>{"p0", "p1"}));
        EXPECT_EQ(theConstructorMulti.valueParameter, 2);

        // Two values without argument: the list holds the series, the plane view returns.
        LoadShape(0, 2, 0, 5, 2);
        theXyview.show3D = 1;
        dlg.view3D = 1;
        dlg.UpdateForDataShape();
        EXPECT_EQ(items(), (std::vector<std::string>{"Series #1", "Series #2"}));
        EXPECT_EQ(theD3view.twoDimensional, 1);
        EXPECT_EQ(dlg.view3D, 0);

        // No series: the counts go to 0.
        theData.OnDeleteAll();
        dlg.UpdateForDataShape();
        EXPECT_EQ((std::vector<int>{dlg.dataSeriesCount, dlg.dataArguments, dlg.dataValues}), std::vector<int>(3, 0));
        ResetChoices();
    });
}

TEST(DataShape, FormulaNameListOfTheSingleSeries) {
    LoadShape(1, 1, 1);
    theData.formulaNames = {"old"};
    ASSERT_EQ(theData.BuildFormulaNameList(), 1);
    std::vector<std::string> want = {"p0", "p1", "p2"};
    want.insert(want.end(), theUseruf.names.begin(), theUseruf.names.end());
    EXPECT_EQ(theData.formulaNames, want);
    EXPECT_EQ(theData.formulaValueTexts.size(), want.size());
    // Several series, or none: nothing changes.
    LoadShape(1, 1, 1, 5, 2);
    theData.formulaNames = {"kept"};
    EXPECT_EQ(theData.BuildFormulaNameList(), 0);
    EXPECT_EQ(theData.formulaNames, (std::vector<std::string>{"kept"}));
    theData.OnDeleteAll();
    EXPECT_EQ(theData.BuildFormulaNameList(), 0);
}

}  // namespace
