// The repaint cycle with spy painters: the dispatcher's order and its "0 means try the next"
// rule, the flags turned into exactly one recomputation, re-exposing without recomputing,
// Autozoom, and the requests the paint handler serves (the two-pass legend paint: chart_frame_test).
#include <map>

#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "charts/chart_page.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "fitting/scorereport.h"
#include "formula/calculator.h"
#include "statistics/distribution2_page.h"
#include "main_window_steps.h"

namespace {

using mainwin_test::HooksGuard;
using mainwin_test::LoadShape;
using mainwin_test::ResetChoices;
using mainwin_steps::InWindow;
using mainwin_steps::RecomputeCounter;
using mainwin_steps::Repaint;

// Spies in every painter slot: each logs its name and answers as told (0 unless set).
struct Spies {
    std::vector<std::string> log;
    std::map<std::string, int> answers;
    int stores = 0;  // painters that found the result stores not empty

    ChartPainter Spy(const std::string& name) {
        return [this, name](platform::Canvas&) {
            if (!theResultDocument.kinds.empty() || !theResultTables.itemKinds.empty() || !coefficientsText.empty()) {
                ++stores;
            }
            log.push_back(name);
            return answers.count(name) ? answers[name] : 0;
        };
    }

    void Install() {
        ChartPainters& p = TheAnalysisHooks().painters;
        p.correlationView = [this](platform::Canvas& dc, int series) {
            EXPECT_EQ(series, 0);
            return Spy("correlation")(dc);
        };
        p.distributionOfOneVariable = Spy("distributionOfOneVariable");
        p.oneValueView = Spy("oneValue");
        p.distributionOfTwoVariables = Spy("distributionOfTwoVariables");
        p.distributionOfTwoVariablesFlat = Spy("distributionOfTwoVariablesFlat");
        p.functionOfOneArgument = Spy("functionOfOneArgument");
        p.multiArgumentApproximationReport = [this] { log.push_back("report"); };
        p.multivariantFormulaFit = Spy("multivariant");
        p.unifiedArgumentFit = Spy("unified");
        p.dataSeries = Spy("dataSeries");
        p.axes = Spy("axes");
        p.xyCorrelation = Spy("xyCorrelation");
        p.twoArgument3D = Spy("twoArgument3D");
        p.twoArgumentMap = Spy("map");
        p.twoArgumentPoints = Spy("points");
    }
};

using Log = std::vector<std::string>;

struct DispatchCase {
    int arguments, values;  // arguments < 0: no series
    std::string scheme;     // "", "histogram", "colorMap", "userDefinedFormula", "bestPolynome", "noPlane"
    int view3D;
    std::map<std::string, int> answers;
    Log expected;
    bool emptySlots = false;  // the correlation and two-variable slots left empty
};

void ApplyScheme(const std::string& scheme) {
    ResetChoices();
    if (scheme == "histogram") theXyview.histogram = 1;
    if (scheme == "colorMap") theXyview.colorMapMode = 1;
    if (scheme == "userDefinedFormula") theMultistat.plane = 0, theMultistat.userDefinedFormula = 1;
    if (scheme == "bestPolynome") theMultistat.plane = 0, theMultistat.bestPolynome = 1;
    if (scheme == "noPlane") theMultistat.plane = 0;
}

// A window-less main dialog painting into a bitmap of its own.
class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override { dlg.initialised = 1; }
    void TearDown() override {
        theData.OnDeleteAll();
        ResetChoices();
    }
    void Shape(int arguments, int values, const std::string& scheme = "") {
        if (arguments < 0) {
            theData.OnDeleteAll();
        } else {
            LoadShape(arguments, values, 0);
        }
        ApplyScheme(scheme);
        dlg.UpdateForDataShape();
    }
    HooksGuard guard;
    CTabulonDlg dlg;
    platform::Bitmap bitmap{200, 150};
    platform::Canvas dc{bitmap};
};

TEST_F(Dispatcher, TriesThePaintersInOrderAndGoesOnAfterZero) {
    const DispatchCase cases[] = {
        {-1, 0, "", 0, {}, {"correlation"}},
        {1, 1, "", 0, {{"correlation", 1}}, {"correlation"}},
        // One value view of two values: stops when it paints, else the distributions follow.
        {0, 2, "", 0, {{"oneValue", 1}}, {"correlation", "oneValue"}},
        {0, 2, "", 0, {}, {"correlation", "oneValue", "distributionOfTwoVariables", "distributionOfTwoVariablesFlat",
                           "oneValue"}},
        {0, 2, "", 0, {{"distributionOfTwoVariablesFlat", 1}},
         {"correlation", "oneValue", "distributionOfTwoVariables", "distributionOfTwoVariablesFlat"}},
        {0, 2, "histogram", 0, {}, {"correlation", "distributionOfOneVariable", "distributionOfTwoVariables",
                                    "distributionOfTwoVariablesFlat", "distributionOfOneVariable"}},
        {0, 2, "colorMap", 0, {}, {"correlation", "distributionOfTwoVariables", "distributionOfTwoVariablesFlat",
                                   "oneValue"}},
        {0, 1, "", 0, {}, {"correlation", "distributionOfTwoVariables", "distributionOfTwoVariablesFlat", "oneValue"}},
        // Empty slots are views that do not apply.
        {0, 1, "", 0, {}, {"distributionOfTwoVariablesFlat", "oneValue"}, true},
        // One argument: only its view, whatever it answers.
        {1, 2, "", 0, {}, {"correlation", "functionOfOneArgument"}},
        // Several arguments: the report first for its schemes, then the views.
        {2, 1, "", 1, {}, {"correlation", "report", "xyCorrelation", "twoArgument3D"}},
        {2, 1, "", 0, {}, {"correlation", "report", "map", "points", "xyCorrelation"}},
        {3, 2, "noPlane", 0, {}, {"correlation", "map", "points", "xyCorrelation"}},
        {2, 1, "userDefinedFormula", 1, {{"multivariant", 1}},
         {"correlation", "multivariant", "unified", "dataSeries", "axes"}},
        {2, 1, "bestPolynome", 0, {}, {"correlation", "report", "multivariant", "unified", "dataSeries", "axes"}},
        {2, 2, "bestPolynome", 0, {}, {"correlation", "report", "map", "points", "xyCorrelation"}},
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values << " " << c.scheme << " " << c.emptySlots);
        Shape(c.arguments, c.values, c.scheme);
        dlg.view3D = c.view3D;
        Spies spies;
        spies.answers = c.answers;
        spies.Install();
        if (c.emptySlots) {
            TheAnalysisHooks().painters.correlationView = nullptr;
            TheAnalysisHooks().painters.distributionOfTwoVariables = nullptr;
        }
        // Whatever the last paint left is gone before the first painter runs.
        theResultDocument.AddText("old", 0, 100);
        theResultTables.AddParagraph("old");
        coefficientsText = "old";
        dlg.legendTexts = {"y=old"};
        dlg.PaintVirtualScreen(dc);
        EXPECT_EQ(spies.log, c.expected);
        EXPECT_EQ(spies.stores, 0);
        EXPECT_TRUE(dlg.legendTexts.empty());
    }
}

TEST_F(Dispatcher, CalculatorIsToldWhetherItsArgumentsMatch) {
    Shape(2, 1);
    theCalculator.changed = 0;  // nothing new typed: the typed count stays
    theCalculator.typedCount = 1;
    dlg.PaintVirtualScreen(dc);
    EXPECT_EQ(theCalculator.valuesText, "Mismatch of number of arguments. Must be 2");
    theCalculator.typedCount = 2;
    dlg.PaintVirtualScreen(dc);
    EXPECT_EQ(theCalculator.argumentsMatch, 1);
}

TEST(RepaintCycle, FlagsMakeExactlyOneRecomputation) {
    InWindow([](CTabulonDlg& dlg) {
        RecomputeCounter counter;
        theLegend.changed = 1;
        theChart.changed = 1;
        theXystatistic.schemeChanged = 1;
        for (int i = 0; i < 100; ++i) platform::PostRepaintRequest();
        PumpWaitingMessages();
        PumpWaitingMessages();
        EXPECT_EQ(counter.count, 1);
        EXPECT_EQ(theLegend.changed + theChart.changed + theXystatistic.schemeChanged, 0);
        EXPECT_EQ(dlg.recomputeNeeded, 0);
    });
}

TEST(RepaintCycle, FlagRulesOfTheCheck) {
    struct Case {
        std::vector<int*> flags;
        int pending;
        std::vector<int> after;  // recomputeNeeded, dataModified, sceneRebuildRequest
    };
    const Case cases[] = {
        // The first rule that applies wins: the data flag's rule sets no dataModified.
        {{&theXystatistic.schemeChanged, &theData.dataPageChanged}, 0, {1, 0, 0}},
        {{&theXystatistic.schemeChanged}, 0, {1, 1, 0}},
        {{&theMultistat.changed}, 0, {1, 1, 0}},
        {{&theDistribution2.changed}, 0, {1, 0, 1}},
        {{&theResult.changed}, 0, {1, 0, 0}},
        {{&theXyview.changed}, 0, {1, 0, 0}},
        {{&theUseruf.changed}, 0, {1, 0, 0}},
        {{&theConstructorMulti.changed}, 0, {1, 0, 0}},
        {{}, 1, {1, 0, 0}},  // nothing set: nothing changes, a pending recomputation stays
    };
    CTabulonDlg dlg;
    ResetChoices();
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        for (int* flag : c.flags) *flag = 1;
        dlg.recomputeNeeded = c.pending;
        theData.dataModified = theD3view.sceneRebuildRequest = 0;
        dlg.CheckPageFlags();
        EXPECT_EQ((std::vector<int>{dlg.recomputeNeeded, theData.dataModified, theD3view.sceneRebuildRequest}), c.after);
        ClearPageFlags();  // as the paint does once it has taken them in
        for (int* flag : c.flags) EXPECT_EQ(*flag, 0);
    }
    theData.dataModified = 0;
    theD3view.sceneRebuildRequest = 1;
}

TEST(RepaintCycle, ReExposeCopiesWithoutRecomputing) {
    InWindow([](CTabulonDlg& dlg) {
        RecomputeCounter counter;
        dlg.virtualScreenDC->FillRect(platform::Rect{0, 0, 20, 20}, platform::Rgb(0, 128, 0));
        dlg.Invalidate();
        PumpWaitingMessages();
        EXPECT_EQ(counter.count, 0);
        EXPECT_EQ(dlg.Surface().Image().pixel(dlg.chartRect.left + 5, dlg.chartRect.top + 5), 0xFF008000u);
        // A minimised and restored window is recomputed (its show state changed).
        dlg.ShowWindow(platform::kShowMinimized);
        PumpWaitingMessages();
        dlg.ShowWindow(platform::kShowMaximized);
        PumpWaitingMessages();
        EXPECT_GE(counter.count, 1);
    });
}

TEST(RepaintCycle, AutozoomCopiesThePaintersRangesBack) {
    InWindow([](CTabulonDlg&) {
        LoadShape(1, 1, 0);  // p0 = 0, 10, .., 40; p1 = 1, 11, .., 41
        // The one-argument view itself leaves the data's ranges in the View page.
        Repaint(theData.dataPageChanged);
        EXPECT_EQ(theXyview.xMax, 42);
        double seen = 0;
        TheAnalysisHooks().painters.functionOfOneArgument = [&](platform::Canvas&) {
            seen = plotXMax;
            if (theXyview.autozoom) plotXMin = -1, plotXMax = 2, plotYMin = -3, plotYMax = 4, plotZMin = -5, plotZMax = 6;
            return 1;
        };
        Repaint(theData.dataPageChanged);
        EXPECT_EQ(theXyview.xMin, -1);
        EXPECT_EQ(theXyview.yMax, 4);
        EXPECT_EQ(theXyview.zMax, 6);
        // With Autozoom off the painters start from the View page's ranges.
        theXyview.autozoom = 0;
        theXyview.xMin = 10, theXyview.xMax = 20;
        Repaint(theData.dataPageChanged);
        EXPECT_EQ(seen, 20);
        EXPECT_EQ(theXyview.xMax, 20);
    });
}

TEST(RepaintCycle, ScoreFileAndScoringReportRequests) {
    platform::ScriptedDialogs dialogs;
    InWindow(
        [&](CTabulonDlg&) {
            RecomputeCounter counter;
            int scoreFiles = 0;
            TheAnalysisHooks().jobs.makeScoreFile = [&] { ++scoreFiles; };
            // A score-file request is all that paint does.
            theScorereport.scoreFileRequest = 1;
            Repaint(theChart.changed);
            EXPECT_EQ(scoreFiles, 1);
            EXPECT_EQ(counter.count, 0);
            EXPECT_EQ(theChart.changed, 1);  // left for the next paint

            Repaint(theData.scoringRequest);
            EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"No rules for scoring this set of data can be "
                                                                   "found./nTry again with other initials."});
            TheAnalysisHooks().jobs.scoringRuleCount = [] { return 3; };
            Repaint(theData.scoringRequest);
            EXPECT_EQ(dialogs.shown.back().type, static_cast<unsigned>(scorereport::kTemplateId));
        },
        &dialogs);
}

TEST(RepaintCycle, ProgressBarIsAllThatPaintDrawsWhileItIsUp) {
    InWindow([](CTabulonDlg&) {
        RecomputeCounter counter;
        theData.progressState.active = 1;
        theData.progressState.text = "Processing data";
        theData.progressState.current = theData.progressState.total = 1;
        Repaint(theChart.changed);
        EXPECT_EQ(counter.count, 0);
        EXPECT_EQ(theData.progressState.active, 0);
    });
}

}  // namespace
