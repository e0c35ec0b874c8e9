// The insert-parameter and modify-parameter dialogs driven through their real widgets on
// the Data page's store: defaults, enabling rules, what each choice does to the store,
// the kept state between uses and the one step of undo.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "data/data_page.h"
#include "data/insert_dialog.h"
#include "data/modify_dialog.h"
#include "platform/control.h"
#include "platform/scripted_dialogs.h"
#include "recording_store.h"

namespace {

class DataDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        theData.OnDeleteAll();
        theData.schemeReady = 0;
        theData.schemeFillRequest = 0;
        theData.scoringRequest = 0;
        theData.selectedParameter = -1;
        theData.modifyCurrentSeriesOnly = 0;
        theInsert.name.clear();
        theInsert.runScoring = nullptr;
        theInsert.simpleAlgorithm = 0;  // the check box toggles what the last run left
        theModify.formula = "x";
        theModify.action = modify::kDeleteInside;
        theModify.fromValue = theModify.toValue = 0;
        theModify.currentSeriesOnly = 0;
        theModify.undoAvailable = 0;
        theModify.operations = {};
    }
    void TearDown() override { theData.OnDeleteAll(); }

    // Runs the Insert or the Modify command with one scripted step in its dialog.
    template <class Dialog>
    void Run(std::function<void(Dialog&)> step, void (*command)(data&)) {
        dialogs.modalSteps.push_back([step](platform::Dialog& d) { step(static_cast<Dialog&>(d)); });
        command(theData);
    }
    void Insert(std::function<void(insert&)> step) { Run(step, InsertParameterCommand); }
    void Modify(std::function<void(modify&)> step) { Run(step, ModifyParameterCommand); }

    platform::ScriptedDialogs dialogs;
};

TEST_F(DataDialogs, InsertIntoEmptyStoreCreatesTheFirstSeries) {
    // Untouched, the dialog's defaults (name x0, a value, 1000 records from 0 by 0.01) make the series.
    Insert([](insert& d) { d.Control(insert::kInsertButton).Click(); });
    ASSERT_EQ(theData.series.size(), 1u);
    EXPECT_EQ(std::tie(theData.series[0].nValues, theData.series[0].nRecords), std::make_tuple(1, 1000));
    std::vector<double> progression;
    for (int i = 0; i < 1000; ++i) progression.push_back(i * 0.01 + 0.0);
    EXPECT_EQ(theData.allValues, progression);
    EXPECT_EQ(CheckStoreInvariants(theData), "");
}

TEST_F(DataDialogs, InsertAColumnByProgressionAndByFormula) {
    AddRecords(theData, {"v"}, {{5}, {6}, {7}});
    // A series without an argument gets an argument by default; the record count is the series'.
    Insert([](insert& d) {
        EXPECT_FALSE(d.Control(insert::kRecordsEdit).IsEnabled());
        d.Control(insert::kFromEdit).SetText("1");
        d.Control(insert::kStepEdit).SetText("2");
        d.Control(insert::kInsertButton).Click();
    });
    ASSERT_EQ(theData.parametersPerSeries, 2);
    EXPECT_EQ(StoredColumn(theData, 0, 0), (std::vector<double>{5, 6, 7}));
    EXPECT_EQ(StoredColumn(theData, 0, 1), (std::vector<double>{1, 3, 5}));
    EXPECT_EQ(std::tie(theData.parameterNames[1], theData.parameters[1].role), std::make_tuple("x1", kRoleArgument));

    // With an argument the default is a value; the formula sees the other columns and N.
    Insert([](insert& d) {
        d.Control(insert::kFormulaRadio).Click();
        d.Control(insert::kFormulaEdit).SetText("v*x1 + N");
        d.Control(insert::kInsertButton).Click();
    });
    EXPECT_EQ(StoredColumn(theData, 0, 2), (std::vector<double>{5, 19, 37}));
    EXPECT_EQ(std::tie(theData.parameters[2].role, theData.series[0].nValues), std::make_tuple(kRoleValue, 2));
    EXPECT_EQ(CheckStoreInvariants(theData), "");

    // Two series: the command does nothing.
    AddRecords(theData, {"a", "b", "c"}, {{1, 2, 3}});
    const std::size_t shown = dialogs.shown.size();
    InsertParameterCommand(theData);
    EXPECT_EQ(dialogs.shown.size(), shown);
}

TEST_F(DataDialogs, InsertSchemeCancelNameAndScores) {
    AddRecords(theData, {"v"}, {{5}, {6}});
    theData.schemeReady = 1;
    // Choosing the scheme while "Argument" is chosen makes the parameter a value.
    Insert([](insert& d) {
        d.Control(insert::kSchemeRadio).Click();
        d.Control(insert::kInsertButton).Click();
    });
    EXPECT_EQ(std::tie(theData.parameters[1].role, theData.schemeFillRequest), std::make_tuple(kRoleValue, 1));

    // Cancel changes nothing; another name is replaced by the default, "score" kept.
    const std::vector<double> values = theData.allValues;
    theInsert.name = "mine";
    Insert([](insert& d) {
        EXPECT_EQ(d.Control(insert::kNameEdit).Text(), "x2");
        d.Control(insert::kArgumentRadio).Click();  // an argument cannot come from the scheme
        EXPECT_FALSE(d.Control(insert::kSchemeRadio).IsEnabled());
        d.Control(insert::kCancelButton).Click();
    });
    EXPECT_EQ(std::tuple(theData.allValues, theData.parameters.size()), std::tuple(values, 2u));
    theInsert.name = "Score";
    Insert([](insert& d) {
        EXPECT_EQ(d.Control(insert::kNameEdit).Text(), "Score");
        // Without the scoring run "Scores" cannot be chosen.
        EXPECT_FALSE(d.Control(insert::kScoresRadio).IsEnabled());
    });

    std::vector<std::pair<int, double>> runs;
    theInsert.runScoring = [&runs](int p, double t) { runs.emplace_back(p, t); };
    Insert([](insert& d) {
        d.Control(insert::kScoresRadio).Click();
        d.Control(insert::kScoreCombo).SetCurSel(1);
        d.SendCommand(insert::kScoreCombo, platform::Notification::SelChange);
        d.Control(insert::kThresholdEdit).SetText("0.75");
        d.Control(insert::kSimpleCheck).Click();
        d.Control(insert::kInsertButton).Click();
    });
    EXPECT_EQ(runs, (std::vector<std::pair<int, double>>{{1, 0.75}}));
    EXPECT_EQ(std::tie(theData.scoringRequest, theData.scoringSimple, theData.parameterNames.back()),
              std::make_tuple(1, 1, "score"));
}

TEST_F(DataDialogs, InsertRefusesABadRecordCount) {
    dialogs.messageAnswers.push_back(platform::kOk);
    Insert([](insert& d) {
        d.Control(insert::kRecordsEdit).SetText("0");
        d.Control(insert::kInsertButton).Click();
        EXPECT_FALSE(d.IsDialogEnded());
        d.Control(insert::kCancelButton).Click();
    });
    EXPECT_EQ(dialogs.Messages(), (std::vector<std::string>{"Please enter an integer between 1 and 100000000."}));
}

TEST_F(DataDialogs, ModifyByFormulaWithUndo) {
    AddRecords(theData, {"a0", "a1"}, {{1, 10}, {2, 20}, {3, 30}});
    theData.selectedParameter = 0;
    Modify([](modify& m) {
        EXPECT_FALSE(m.Control(modify::kActionRadio).IsEnabled());  // no record operations wired
        m.Control(modify::kFormulaEdit).SetText("a1*3 + a0[1]");
        m.Control(modify::kModifyButton).Click();
    });
    EXPECT_EQ(StoredColumn(theData, 0, 0), (std::vector<double>{32, 63}));

    // The formula stays; "Undo" brings the dropped record back (a second undo is the store's).
    Modify([](modify& m) {
        EXPECT_EQ(m.Control(modify::kFormulaEdit).Text(), "a1*3 + a0[1]");
        m.Control(modify::kUndoButton).Click();
    });
    EXPECT_EQ(StoredColumn(theData, 0, 0), (std::vector<double>{1, 2, 3}));

    // Any other change of the store drops the copy.
    theData.allValues[0] = 9;
    theData.NoteStoreChanged();
    Modify([](modify& m) {
        EXPECT_FALSE(m.Control(modify::kUndoButton).IsEnabled());
        m.Control(modify::kCancelButton).Click();
    });
    EXPECT_EQ(theData.allValues[0], 9.0);

    // No parameter selected: nothing is shown.
    theData.selectedParameter = -1;
    const int modals = dialogs.CountOf("modal");
    ModifyParameterCommand(theData);
    EXPECT_EQ(dialogs.CountOf("modal"), modals);
}

struct Call {
    std::string what;
    int parameter;
    double a, b;
    bool operator==(const Call&) const = default;
};

void ChooseAction(modify& m, int action) {
    m.Control(modify::kActionRadio).Click();
    m.Control(modify::kActionList).SetCurSel(action);
    m.SendCommand(modify::kActionList, platform::Notification::SelChange);
}

TEST_F(DataDialogs, ModifyActionsRunTheRecordOperations) {
    std::vector<Call> calls;
    theModify.operations.deleteByCondition = [&](int p, int mode, double a, double b) {
        calls.push_back({"delete" + std::to_string(mode), p, a, b});
    };
    theModify.operations.scaleToRange = [&](int p, double lo, double hi) { calls.push_back({"scale", p, lo, hi}); };
    theModify.operations.sortRecords = [&](int p, int ascending) { calls.push_back({"sort", p, double(ascending), 0}); };
    theModify.operations.splitSeries = [&](int p, int parts) { calls.push_back({"split", p, double(parts), 0}); };

    const std::pair<int, std::vector<Call>> cases[] = {
        {modify::kDeleteAbove, {{"delete0", 4, 3.9, 8}}},
        {modify::kDeleteInside, {{"delete2", 4, 3.9, 8}}},
        {modify::kNormalize, {{"scale", 1, 3.9, 8}, {"scale", 4, 3.9, 8}, {"scale", 7, 3.9, 8}}},
        {modify::kSortDown, {{"sort", 4, 0, 0}}},
        {modify::kSortUp, {{"sort", 4, 1, 0}}},
        {modify::kSplit, {}},  // three series: refused
    };
    for (int k = 0; k < 3; ++k) AddRecords(theData, {"a", "b", "c"}, {{1, 2, 3}, {4, 5, 6}});
    theData.selectedParameter = 4;  // column b of series 1
    for (const auto& [action, expected] : cases) {
        SCOPED_TRACE(action);
        calls.clear();
        Modify([action](modify& m) {
            ChooseAction(m, action);
            m.Control(modify::kFromEdit).SetText("3.9");
            m.Control(modify::kToEdit).SetText("8");
            m.Control(modify::kModifyButton).Click();
        });
        EXPECT_EQ(calls, expected);
        EXPECT_EQ(theData.modifySeriesIndex, 1);
    }
    EXPECT_EQ(dialogs.Messages().back(),
              "An operation of splitting into series is availiable\n only if there are only one series in data set");

    // The dialog opens in formula mode again, the action kept.
    Modify([](modify& m) {
        EXPECT_EQ(m.Control(modify::kFormulaRadio).Check(), 1);
        EXPECT_EQ(m.Control(modify::kActionList).CurSel(), modify::kSplit);
        m.Control(modify::kCurrentSeriesCheck).Click();
        m.Control(modify::kCancelButton).Click();
    });

    // One series: split after an ascending sort into trunc(3.9) parts; normalise the one. The
    // bounds typed last time are offered again.
    theData.OnDeleteAll();
    AddRecords(theData, {"a", "b", "c"}, {{1, 2, 3}});
    theData.selectedParameter = 1;
    const std::pair<int, std::vector<Call>> oneSeries[] = {
        {modify::kSplit, {{"sort", 1, 1, 0}, {"split", 1, 3, 0}}},
        {modify::kNormalize, {{"scale", 1, 3.9, 8}}},
    };
    for (const auto& [action, expected] : oneSeries) {
        calls.clear();
        Modify([action](modify& m) {
            ChooseAction(m, action);
            m.Control(modify::kModifyButton).Click();
        });
        EXPECT_EQ(calls, expected);
        EXPECT_EQ(theData.modifyCurrentSeriesOnly, 1);
    }
}

}  // namespace
