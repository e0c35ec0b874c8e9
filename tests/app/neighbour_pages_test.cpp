// What reading the data shape does to the neighbouring pages, seen through their controls: the
// scheme page's buttons and correlation check, the distribution page's parameter list and
// condition list, and the Results page's visible-data option.
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main_window_support.h"
#include "statistics/distrimution_page.h"

namespace {

using mainwin_test::LoadShape;
using mainwin_test::ResetChoices;
using mainwin_test::WithMainWindow;

const int kSchemeIds[] = {xystatistic::kPeaksRevealingButton,     xystatistic::kConstructorStyleButton,
                          xystatistic::kFromListOfFormulasButton, xystatistic::kCustomFormulasButton,
                          xystatistic::kUserFormulaButton,        xystatistic::kCurveFittingGroup,
                          xystatistic::kPolynomFittingCheck,      xystatistic::kHarmonicAnalysisCheck,
                          xystatistic::kSearchForBestFormulaCheck};

// 1 when every scheme control is shown and enabled, 0 when every one is hidden and disabled,
// -1 for a mixture.
int SchemeControlsState() {
    int shown = 0;
    for (int id : kSchemeIds) {
        const platform::Control c = theXystatistic.Control(id);
        EXPECT_EQ(c.IsVisible(), c.IsEnabled()) << id;
        shown += c.IsVisible() ? 1 : 0;
    }
    if (shown == 0) return 0;
    return shown == static_cast<int>(std::size(kSchemeIds)) ? 1 : -1;
}

int CorrelationState() {
    const platform::Control c = theXystatistic.Control(xystatistic::kCorrelationCheck);
    EXPECT_EQ(c.IsVisible(), c.IsEnabled());
    return c.IsVisible() ? 1 : 0;
}

std::vector<std::string> DistributionItems() {
    const platform::Control combo = theDistrimution.Control(distrimution::kParameterCombo);
    std::vector<std::string> v;
    for (int i = 0; i < combo.Count(); ++i) v.push_back(combo.ItemText(i));
    return v;
}

std::string Padded(const std::string& name) { return name + "                     "; }

struct SchemeCase {
    int arguments, values, inactive;  // arguments < 0: no series
    int histogram;
    int before;  // the state the controls had; shapes that call for nothing keep it
    int schemes, correlation;
};

TEST(NeighbourPages, SchemeControlsFollowTheShape) {
    const SchemeCase cases[] = {
        {-1, 0, 0, 0, 1, 0, 0},  // no series
        {0, 1, 0, 0, 0, 1, 0},   // one value alone
        {0, 1, 0, 1, 0, 0, 0},   // ... shown as a histogram: left as it was
        {0, 1, 0, 1, 1, 1, 1},
        {0, 2, 0, 0, 0, 1, 1},   // two values
        {0, 2, 0, 1, 0, 1, 1},
        {1, 1, 0, 0, 0, 1, 1},
        {2, 1, 1, 0, 0, 1, 1},
        {2, 0, 0, 0, 1, 0, 1},   // arguments without values
        {0, 0, 2, 0, 1, 0, 1},   // inactive parameters only
        {1, 0, 0, 0, 0, 0, 0},   // a lone argument: left as it was
        {1, 0, 0, 0, 1, 1, 1},
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        for (const SchemeCase& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values << "/" << c.inactive << " histogram "
                                              << c.histogram << " before " << c.before);
            ResetChoices();
            if (c.arguments < 0) {
                theData.OnDeleteAll();
            } else {
                LoadShape(c.arguments, c.values, c.inactive);
            }
            theXyview.histogram = c.histogram;
            theXystatistic.ShowSchemeControls(c.before, c.before);
            dlg.UpdateForDataShape();
            EXPECT_EQ(SchemeControlsState(), c.schemes);
            EXPECT_EQ(CorrelationState(), c.correlation);
        }
        theData.OnDeleteAll();
        ResetChoices();
        dlg.UpdateForDataShape();
    });
}

TEST(NeighbourPages, DistributionListAndConditions) {
    WithMainWindow([](CTabulonDlg& dlg) {
        ResetChoices();
        platform::Control combo = theDistrimution.Control(distrimution::kParameterCombo);
        const conditions kept{1, 0, 2.0, 3.0};

        // One series: every parameter, inactive ones too, padded; the conditions stay.
        theDistrimution.conditions = {kept};
        LoadShape(1, 1, 1);
        dlg.UpdateForDataShape();
        EXPECT_EQ(DistributionItems(), (std::vector<std::string>{Padded("p0"), Padded("p1"), Padded("p2")}));
        EXPECT_EQ(combo.CurSel(), 0);
        EXPECT_EQ(theDistrimution.conditions.size(), 1u);

        // Without a change of data the list is left alone.
        combo.SetCurSel(2);
        dlg.UpdateForDataShape();
        EXPECT_EQ(combo.CurSel(), 2);
        EXPECT_EQ(combo.Count(), 3);

        // Two series: the first series' names only, and the conditions are dropped.
        LoadShape(1, 2, 0, 5, 2);
        dlg.UpdateForDataShape();
        EXPECT_EQ(DistributionItems(), (std::vector<std::string>{Padded("p0"), Padded("p1"), Padded("p2")}));
        EXPECT_TRUE(theDistrimution.conditions.empty());

        // Two values without argument: the View page lists series, this page parameters.
        theDistrimution.conditions = {kept};
        LoadShape(0, 2, 0, 5, 2);
        dlg.UpdateForDataShape();
        EXPECT_EQ(DistributionItems(), (std::vector<std::string>{Padded("p0"), Padded("p1")}));
        EXPECT_TRUE(theDistrimution.conditions.empty());

        // A series too short for its arguments lists nothing; a single one keeps its conditions.
        theDistrimution.conditions = {kept};
        LoadShape(2, 1, 0, 4);
        dlg.UpdateForDataShape();
        EXPECT_TRUE(DistributionItems().empty());
        EXPECT_EQ(combo.CurSel(), -1);
        EXPECT_EQ(theDistrimution.conditions.size(), 1u);

        theDistrimution.conditions.clear();
        theData.OnDeleteAll();
        dlg.UpdateForDataShape();
        ResetChoices();
    });
}

TEST(NeighbourPages, VisibleDataOptionByArgumentCount) {
    struct Case {
        int arguments, values;  // arguments < 0: no series
        bool shown;
    };
    const Case cases[] = {
        {2, 1, false}, {-1, 0, true}, {3, 2, false}, {1, 1, true}, {2, 0, false}, {0, 2, true},
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        ResetChoices();
        const platform::Control check = theResult.Control(result::kVisibleDataCheck);
        ASSERT_TRUE(check.IsValid());
        EXPECT_EQ(check.Text(), "Statistics is only for data visible at screen");
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values);
            if (c.arguments < 0) {
                theData.OnDeleteAll();
            } else {
                LoadShape(c.arguments, c.values, 0);
            }
            dlg.UpdateForDataShape();
            EXPECT_EQ(check.IsVisible(), c.shown);
            EXPECT_EQ(check.IsEnabled(), c.shown);
            EXPECT_EQ(theResult.visibleDataOnly, 1);  // hiding keeps the field
            EXPECT_EQ(check.Check(), 1);
        }

        // The check shows the field as it is, and a click takes it back into the field.
        LoadShape(1, 1, 0);
        theResult.visibleDataOnly = 0;
        dlg.UpdateForDataShape();
        EXPECT_EQ(check.Check(), 0);
        theResult.changed = 0;
        theResult.Control(result::kVisibleDataCheck).Click();
        EXPECT_EQ(theResult.visibleDataOnly, 1);
        EXPECT_EQ(theResult.changed, 1);
        PumpWaitingMessages();

        theResult.visibleDataOnly = 1;
        theData.OnDeleteAll();
        dlg.UpdateForDataShape();
        ResetChoices();
    });
}

}  // namespace
