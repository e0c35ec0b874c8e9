// What reading the data shape does to the neighbouring pages, seen through their controls: the
// scheme page's buttons and correlation check, the distribution page's parameter list and
// condition list, and the Results page's visible-data option.

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

// Puts the program back as it started, for the next test.
void ClearShape(CTabulonDlg& dlg) {
    theData.OnDeleteAll();
    ResetChoices();
    dlg.UpdateForDataShape();
}

TEST(NeighbourPages, SchemeControlsFollowTheShape) {
    const struct {
        int arguments, values, inactive;  // arguments < 0: no series
        int histogram;
        int before;  // the state the controls had; shapes that call for nothing keep it
        int schemes, correlation;
    } cases[] = {
        {-1, 0, 0, 0, 1, 0, 0},  // no series
        {0, 1, 0, 0, 0, 1, 0},   // one value alone
        {0, 1, 0, 1, 0, 0, 0},   // ... shown as a histogram: left as it was
        {0, 1, 0, 1, 1, 1, 1},
        {1, 1, 0, 0, 0, 1, 1},
        {2, 0, 0, 0, 1, 0, 1},   // arguments without values
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values << "/" << c.inactive << " histogram "
                                              << c.histogram << " before " << c.before);
            ResetChoices();
            LoadShape(c.arguments, c.values, c.inactive);  // no parameters: no series
            theXyview.histogram = c.histogram;
            theXystatistic.ShowSchemeControls(c.before, c.before);
            dlg.UpdateForDataShape();
            EXPECT_EQ(SchemeControlsState(), c.schemes);
            EXPECT_EQ(CorrelationState(), c.correlation);
        }
        ClearShape(dlg);
    });
}

TEST(NeighbourPages, DistributionListAndConditions) {
    const std::vector<std::string> three{Padded("p0"), Padded("p1"), Padded("p2")};
    const struct {
        int arguments, values, inactive, records, series;
        std::vector<std::string> items;
        int selected;  // -2: not checked
        std::size_t conditions;
    } cases[] = {
        // A series too short for its arguments lists nothing; a single one keeps its conditions.
        {2, 1, 0, 4, 1, {}, -1, 1},
        // One series: every parameter, inactive ones too, padded; the conditions stay.
        {1, 1, 1, 5, 1, three, 0, 1},
        // Two series: the first series' names only, and the conditions are dropped.
        {1, 2, 0, 5, 2, three, -2, 0},
        // Two values without argument: the View page lists series, this page parameters.
        {0, 2, 0, 5, 2, {Padded("p0"), Padded("p1")}, -2, 0},
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        ResetChoices();
        platform::Control combo = theDistrimution.Control(distrimution::kParameterCombo);
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values << "/" << c.inactive << " x "
                                              << c.series);
            theDistrimution.conditions = {conditions{1, 0, 2.0, 3.0}};
            LoadShape(c.arguments, c.values, c.inactive, c.records, c.series);
            dlg.UpdateForDataShape();
            EXPECT_EQ(DistributionItems(), c.items);
            if (c.selected != -2) EXPECT_EQ(combo.CurSel(), c.selected);
            EXPECT_EQ(theDistrimution.conditions.size(), c.conditions);
        }
        // Without a change of data the list is left alone.
        combo.SetCurSel(1);
        dlg.UpdateForDataShape();
        EXPECT_EQ(combo.CurSel(), 1);
        theDistrimution.conditions.clear();
        ClearShape(dlg);
    });
}

TEST(NeighbourPages, VisibleDataOptionByArgumentCount) {
    const struct {
        int arguments, values;  // arguments < 0: no series
        bool shown;
    } cases[] = {
        {2, 1, false}, {-1, 0, true}, {1, 1, true},
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        ResetChoices();
        const platform::Control check = theResult.Control(result::kVisibleDataCheck);
        ASSERT_TRUE(check.IsValid());
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values);
            LoadShape(c.arguments, c.values, 0);
            dlg.UpdateForDataShape();
            EXPECT_EQ(check.IsVisible(), c.shown);
            EXPECT_EQ(check.IsEnabled(), c.shown);
        }
        ClearShape(dlg);
    });
}

}  // namespace
