// Macro files written by the tests and run through the main window's hidden command: imports,
// parameter changes, the user-formula page and result files, end to end.

#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "main_window_support.h"

namespace {

using namespace mainwin_test;

class MacroFileTest : public ::testing::Test {
protected:
    void TearDown() override {
        theData.OnDeleteAll();
        theUseruf.settings = savedUseruf;
        ResetChoices();
    }
    std::string Path(const std::string& name) const { return folder / name; }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
    std::string Read(const std::string& name) const { return FileText(Path(name)); }
    // Runs the macro through command 32804 on the running main window, the line pauses
    // recorded rather than slept.
    void RunMacro(CTabulonDlg& dlg, const std::string& text) {
        Write("macro.txt", text);
        dialogs.fileAnswers.push_back(Path("macro.txt"));
        pauses.clear();
        dlg.macroLinePause = [&](int ms) { pauses.push_back(ms); };
        dlg.SendCommand(kCommandRunMacroFile);
    }

    HooksGuard hooks;
    platform::ScriptedDialogs dialogs;
    ScratchFolder folder{"macro_file"};
    useruf_settings savedUseruf = theUseruf.settings;
    std::vector<int> pauses;
};

TEST_F(MacroFileTest, ImportsFiltersComputesAndWritesResults) {
    Write("a.txt", "x;y;z\n1;3;10\n1.5;4;20\n2;5;30\n2.5;6;40\n3;7;50\n");
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            // A fit report stand-in: the first and last value of y as its coefficients.
            int paints = 0;
            TheAnalysisHooks().painters.functionOfOneArgument = [&paints](platform::Canvas&) {
                ++paints;
                const std::vector<double>& v = theData.allValues;
                coefficientsText += std::to_string(static_cast<int>(v[1])) + "\t" +
                                    std::to_string(static_cast<int>(v.back())) + "\t0.5   \n";
                return 1;
            };
            RunMacro(dlg, "AddSeriesFromTextFile(location=" + Path("a.txt") + ", separators = ;, by_names=Y|x)\n"
                          "\n"  // a blank line imports nothing again
                          "modifyparameter(NAME=x,method=filter,scheme=deleteInInterval,lowRange=1,highRange=2)\n"
                          "ModifyParameter(method=formula,formula=y*100)\n"  // no name: nothing
                          "ModifyParameter(name=nosuch,method=formula,formula=y*100)\n"
                          "ModifyParameter(name=y,method=formula,formula=x*10+1)\n"
                          "SaveResults(location=" + Path("r.txt") + ",what=titleOfTxtFile,addEndOfString=yes)\n"
                          "HandleData(action=DeleteAll,)\n");
            EXPECT_EQ(pauses, std::vector<int>(8, 100));
            ASSERT_EQ(theData.series.size(), 1u);
            EXPECT_EQ(theData.parameterNames, (std::vector<std::string>{"x", "y"}));  // file order
            EXPECT_EQ(SeriesColumn(0, 0), (std::vector<double>{1, 2, 2.5, 3}));
            EXPECT_EQ(SeriesColumn(0, 1), (std::vector<double>{11, 21, 26, 31}));
            EXPECT_EQ(Read("r.txt"), Path("a.txt") + ",\n");
            // With x an argument, a change repaints at once: the fit of the new values is what
            // Copy coefficients and the result file get.
            theData.activeParameter = 0;
            theData.MakeActiveParameterArgument();
            PumpWaitingMessages();
            RunMacro(dlg, "ModifyParameter(name=y,method=formula,formula=x*2+1)\n"
                          "SaveResults(location=" + Path("c.txt") + ",what=coefficients,replaceTabs=yes)\n");
            // Written by the repaint that the change ran, from the changed values.
            EXPECT_EQ(Read("c.txt"), "3,7,0.5   \n");
            // A change without a parameter's name, or with an unknown one, changes and repaints nothing.
            const int paintsBefore = paints;
            RunMacro(dlg, "ModifyParameter(method=formula,formula=y*100)\n"
                          "ModifyParameter(method=filter,scheme=normalize,lowRange=0,highRange=1,name=nosuch)\n");
            EXPECT_EQ(paints, paintsBefore);
            EXPECT_EQ(SeriesColumn(0, 1), (std::vector<double>{3, 5, 6, 7}));
            EXPECT_TRUE(dialogs.Messages().empty());
        },
        &dialogs);
}

TEST_F(MacroFileTest, SetsUpAndRunsTheUserFormulaFitting) {
    Write("b.txt", "a;b;c\n1;0;2\n2;0;4\n3;0;6\n4;0;8\n5;0;10\n");
    int fittings = 0;
    TheAnalysisHooks().jobs.userFormulaFitting = [&] {
        ++fittings;
        EXPECT_EQ(theUseruf.limitOn, 1);
        EXPECT_DOUBLE_EQ(theUseruf.limitHours, 2.0);  // the pair after the action is not read
        theUseruf.values = {2.0, 0.0};
        theUseruf.StopFitting();
    };
    const std::string import = "AddSeriesFromTextFile(location=" + Path("b.txt") + ",separators=;,by_order=2|0|7)\n";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            RunMacro(dlg, "AddSeriesFromTextFile(location=" + Path("missing.txt") + ")\n" + import +
                              "HandleData(action=DeleteAll)\n" + import +
                              "SelectStatisticsScheme(scheme=multyUserFormula)\n"
                              "SetForUserDefinedFormula(formula=k*a+m,limit_coeff=0.001,limit_hours=2,"
                              "action=deleteAllCoefficients)\n"
                              "AddNewCoefficient(name=k,value=1.5,step=0.1,min=-5,max=5)\n"
                              "AddNewCoefficient(name=m,value=0)\n"
                              "\n"  // a blank line adds no third row
                              "SetForUserDefinedFormula(action=run,limit_hours=7)\n");
            ASSERT_EQ(theData.series.size(), 1u);
            EXPECT_EQ(SeriesColumn(0, 1), (std::vector<double>{2, 4, 6, 8, 10}));
            EXPECT_EQ(theMultistat.userDefinedFormula, 1);
            EXPECT_EQ(theUseruf.formula, "k*a+m");
            EXPECT_DOUBLE_EQ(theUseruf.stopCondition, 0.001);
            EXPECT_EQ(theUseruf.names, (std::vector<std::string>{"k", "m"}));
            EXPECT_EQ(theUseruf.steps, (std::vector<double>{0.1, 0.1}));  // keys not given keep the fields
            EXPECT_EQ(fittings, 1);
            ASSERT_EQ(dialogs.Messages().size(), 1u);  // the missing file, named
            EXPECT_NE(dialogs.Messages()[0].find("missing.txt"), std::string::npos);
            EXPECT_EQ(theUseruf.values, (std::vector<double>{2.0, 0.0}));
        },
        &dialogs);
}

// A macro file that can't be opened is named, in the words of the text import.
TEST_F(MacroFileTest, AMacroFileThatCannotBeOpenedIsNamed) {
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            dialogs.fileAnswers.push_back(Path("absent.txt"));
            dlg.SendCommand(kCommandRunMacroFile);
            EXPECT_EQ(dialogs.Messages(),
                      std::vector<std::string>{"Cannot open the file \"" + Path("absent.txt") + "\": No such file or directory."});
        },
        &dialogs);
}

}  // namespace
