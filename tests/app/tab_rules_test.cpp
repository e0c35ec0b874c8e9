// Which page each tab shows, over data shapes and the pages' scheme choices.
#include <QTabBar>
#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "main_window_support.h"

namespace {

using mainwin_test::LoadShape;
using mainwin_test::ResetChoices;

enum Choice : unsigned {
    kNone = 0,
    kHistogram = 1u << 0,
    kShow3D = 1u << 1,
    kColorMap = 1u << 2,
    kConstructorStyle = 1u << 3,
    kCustomFormulas = 1u << 4,
    kUserFormula = 1u << 5,
    kFromList = 1u << 6,
    kPeaks = 1u << 7,
    kUserDefined = 1u << 8,
    kUnitary = 1u << 9,
    kBestPolynome = 1u << 10,
    kNearNeighbors = 1u << 11,
};

void Choose(unsigned c) {
    ResetChoices();
    theXyview.histogram = (c & kHistogram) != 0;
    theXyview.show3D = (c & kShow3D) != 0;
    theXyview.colorMapMode = (c & kColorMap) != 0;
    theXystatistic.constructorStyle = (c & kConstructorStyle) != 0;
    theXystatistic.customFormulas = (c & kCustomFormulas) != 0;
    theXystatistic.userFormula = (c & kUserFormula) != 0;
    theXystatistic.fromListOfFormulas = (c & kFromList) != 0;
    theXystatistic.peaksRevealing = (c & kPeaks) != 0;
    theMultistat.userDefinedFormula = (c & kUserDefined) != 0;
    theMultistat.unitaryArgument = (c & kUnitary) != 0;
    theMultistat.bestPolynome = (c & kBestPolynome) != 0;
    theMultistat.nearNeighbors = (c & kNearNeighbors) != 0;
}

// The plain shapes on the Statistics tab, and the View tab without data, are the data-shape tests'.
TEST(TabToPage, FollowsTheDataShapeAndTheSchemeChoices) {
    const struct {
        int arguments, values, inactive;  // arguments < 0: no series at all
        unsigned choices;
        int view3D, tab, page, view3DAfter;
    } cases[] = {
        // Tabs whose page never changes, and tabs out of range.
        {1, 1, 0, kNone, 1, kTabCalculator, kPageCalculator, 1},
        {1, 1, 0, kNone, 1, -1, kPageData, 1},
        {1, 1, 0, kNone, 1, 7, kPageData, 1},
        // No series: the page of the chosen scheme.
        {-1, 0, 0, kConstructorStyle, 1, kTabStatistics, kPageConstructor, 1},
        {-1, 0, 0, kUserFormula, 1, kTabStatistics, kPageUseruf, 1},
        {-1, 0, 0, kPeaks, 1, kTabStatistics, kPageSinaldlg, 1},
        // Two arguments, one value: the 3-D page while the 3-D view is allowed.
        {2, 1, 0, kNone, 1, kTabView, kPageD3view, 1},
        {2, 1, 0, kNone, 0, kTabView, kPageXyview, 0},
        {3, 1, 0, kNone, 1, kTabView, kPageXyview, 1},
        {2, 1, 0, kUserDefined, 1, kTabView, kPageXyview, 0},
        {2, 1, 0, kUnitary, 1, kTabData, kPageData, 0},
        {2, 1, 0, kNearNeighbors, 1, kTabStatistics, kPageMultistat, 0},
        {2, 0, 1, kNone, 1, kTabView, kPageXyview, 1},
        // No argument, two values.
        {0, 2, 0, kNone, 1, kTabView, kPageD3view, 1},
        {0, 2, 0, kNone, 0, kTabView, kPageXyview, 0},
        {0, 2, 0, kColorMap, 1, kTabStatistics, kPageDistribution2, 1},
        {0, 2, 0, kHistogram | kShow3D, 1, kTabStatistics, kPageDistribution2, 1},
        // No argument, other value counts.
        {0, 3, 0, kCustomFormulas, 1, kTabStatistics, kPageApproxcustom, 1},
        {0, 3, 0, kHistogram, 1, kTabStatistics, kPageDistrimution, 1},
        {0, 0, 2, kHistogram, 1, kTabStatistics, kPageXystatistic, 1},
        // One argument.
        {1, 2, 0, kFromList, 1, kTabStatistics, kPageCollection, 1},
        {1, 0, 1, kFromList, 1, kTabStatistics, kPageXystatistic, 1},
        // Several arguments.
        {3, 2, 0, kUnitary, 1, kTabStatistics, kPageUseruf, 0},
        {2, 0, 0, kBestPolynome, 1, kTabStatistics, kPageXystatistic, 1},
    };
    CTabulonDlg dlg;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "shape " << c.arguments << "/" << c.values << "/" << c.inactive
                                          << " choices " << c.choices << " tab " << c.tab);
        LoadShape(c.arguments, c.values, c.inactive);  // no parameters: no series
        Choose(c.choices);
        dlg.view3D = c.view3D;
        EXPECT_EQ(dlg.TabToPage(c.tab), c.page);
        EXPECT_EQ(dlg.view3D, c.view3DAfter);
    }
    theData.OnDeleteAll();
    ResetChoices();
}

TEST(TabToPage, ChosenTabShowsItsPageAndFollowsTheDataShape) {
    mainwin_test::WithMainWindow([](CTabulonDlg& dlg) {
        ResetChoices();
        auto* bar = qobject_cast<QTabBar*>(dlg.Control(kTabControl).Widget());
        ASSERT_NE(bar, nullptr);
        bar->setCurrentIndex(kTabStatistics);
        EXPECT_TRUE(theXystatistic.IsVisible());

        // New data of several arguments: the next recomputation shows their scheme page.
        LoadShape(3, 1, 0);
        platform::PostRepaintRequest();
        PumpWaitingMessages();
        EXPECT_EQ(activeTab, kPageMultistat);
        EXPECT_TRUE(theMultistat.IsVisible());
        EXPECT_FALSE(theXystatistic.IsVisible());
        theData.OnDeleteAll();
    });
}

}  // namespace
