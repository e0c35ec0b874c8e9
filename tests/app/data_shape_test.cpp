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

enum Flag : unsigned {
    kNone = 0,
    kHistogram = 1u << 0,
    kShow3D = 1u << 1,
    kCustom = 1u << 2,
    kUserDefined = 1u << 3,
    kUnitary = 1u << 4,
    kBestPolynome = 1u << 5,
    kCustomApply = 1u << 6,     // approxcustom ">>"
    kPeaksApply = 1u << 7,      // sinaldlg changed
    kUserufMore = 1u << 8,      // useruf ">>"
    kMultiApply = 1u << 9,      // constructor_multi ">>"
    kCollectionPressed = 1u << 10,  // the scheme page's "From list of formulas" button
    kMultistatApply = 1u << 11,
    kPlane = 1u << 12,          // d3view asks for the plane view
};

void Set(unsigned f) {
    ResetChoices();
    theMultistat.plane = 0;
    theXyview.histogram = (f & kHistogram) != 0;
    theXyview.show3D = (f & kShow3D) != 0;
    theXystatistic.customFormulas = (f & kCustom) != 0;
    theMultistat.userDefinedFormula = (f & kUserDefined) != 0;
    theMultistat.unitaryArgument = (f & kUnitary) != 0;
    theMultistat.bestPolynome = (f & kBestPolynome) != 0;
    theApproxcustom.applyRequested = (f & kCustomApply) != 0;
    theXystatistic.customRequest = (f & kCustomApply) != 0;
    theSinaldlg.moreRequest = (f & kPeaksApply) != 0;
    theUseruf.moreRequest = (f & kUserufMore) != 0;
    theConstructorMulti.applyRequested = (f & kMultiApply) != 0;
    theXystatistic.collectionRequest = (f & kCollectionPressed) != 0;
    theXystatistic.schemeButtonPressed = (f & kCollectionPressed) != 0;
    theXystatistic.fromListOfFormulas = (f & kCollectionPressed) != 0;  // the button chose its scheme
    theMultistat.applyRequested = (f & kMultistatApply) != 0;
    theD3view.twoDimensional = (f & kPlane) != 0;
}

struct RouteCase {
    int arguments, values;
    unsigned flags;
    int tab, shownPage;
    int wanted;
    int view3D;  // after; -1: not checked
};

TEST(DataShape, RoutesEveryShapeToItsPage) {
    const RouteCase cases[] = {
        // The tab's page by the shape and the schemes (the whole table: the tab rules' tests).
        {2, 1, kNone, kTabStatistics, kPageData, kPageMultistat, -1},
        // The View tab: the three-dimensional switch takes it to the scene page, and the
        // scene page's plane view brings it back.
        {2, 1, kShow3D, kTabView, kPageXyview, kPageD3view, 1},
        {1, 1, kShow3D, kTabView, kPageXyview, kPageXyview, 0},
        {0, 2, kPlane, kTabView, kPageD3view, kPageXyview, 0},
        // The model pages hand back to their scheme page.
        {1, 1, kCustom | kCustomApply, kTabStatistics, kPageApproxcustom, kPageXystatistic, -1},
        {1, 1, kPeaksApply, kTabStatistics, kPageSinaldlg, kPageXystatistic, -1},
        {1, 1, kUserufMore, kTabStatistics, kPageUseruf, kPageXystatistic, -1},
        {2, 1, kUserDefined | kUserufMore, kTabStatistics, kPageUseruf, kPageMultistat, 1},
        {2, 1, kBestPolynome | kMultiApply, kTabStatistics, kPageConstructorMulti, kPageMultistat, -1},
        // A scheme button shows its page at once; multistat's apply shows the formula page.
        {1, 1, kCollectionPressed, kTabStatistics, kPageXystatistic, kPageCollection, -1},
        {2, 1, kUnitary | kMultistatApply, kTabStatistics, kPageMultistat, kPageUseruf, -1},
        {2, 1, kBestPolynome | kMultistatApply, kTabStatistics, kPageMultistat, kPageConstructorMulti, -1},
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        for (const RouteCase& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values << " flags " << c.flags << " tab "
                                              << c.tab);
            LoadShape(c.arguments, c.values, 0);
            // The change of data is taken in first; the view switches act on the next reading.
            ResetChoices();
            dlg.UpdateForDataShape();
            Set(c.flags);
            dlg.view3D = (c.flags & kPlane) ? 1 : 0;
            dlg.Control(kTabControl).SetCurSel(c.tab);
            activeTab = c.shownPage;
            dlg.UpdateForDataShape();
            EXPECT_EQ(dlg.wantedPage, c.wanted);
            if (c.view3D >= 0) {
                EXPECT_EQ(dlg.view3D, c.view3D);
            }
            // Every request is served once.
            EXPECT_EQ((std::vector<int>{theApproxcustom.applyRequested, theXystatistic.customRequest,
                                        theSinaldlg.moreRequest, theUseruf.moreRequest,
                                        theConstructorMulti.applyRequested, theXystatistic.schemeButtonPressed,
                                        theXystatistic.collectionRequest}),
                      std::vector<int>(7, 0));
            if (c.flags & (kCollectionPressed | kMultistatApply)) {
                EXPECT_EQ(activeTab, c.wanted);
            }
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
