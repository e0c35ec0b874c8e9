// The user-formula fitting run by the job hook: it reaches scipy's curve_fit coefficients,
// the unified-argument measure matches numpy's polyfit, the window stays responsive and
// "Stop" ends it, and shapes it cannot fit are refused rather than fitted perfectly.
#include <cmath>
#include <fstream>
#include <sstream>

#include <QTimer>
#include <gtest/gtest.h>

#include "fitting/user_fit_search.h"
#include "fitting/user_formula_scheme.h"
#include "main_window_steps.h"
#include "user_path.h"

namespace {

using mainwin_test::HooksGuard;
using mainwin_test::WithMainWindow;

struct OracleLine {
    std::string formula;
    std::vector<double> numbers;
};

std::vector<OracleLine> Oracle(const std::string& kind) {
    std::istringstream in(mainwin_test::FileText(std::string(TABULON_SOURCE_DIR) + "/tests/app/user_fit_oracle.txt"));
    std::vector<OracleLine> lines;
    for (std::string line, k; std::getline(in, line);) {
        std::istringstream f(line);
        OracleLine o;
        if (!(f >> k) || k != kind) continue;
        if (kind == "fit") f >> o.formula;
        for (double v; f >> v;) o.numbers.push_back(v);
        lines.push_back(o);
    }
    return lines;
}

// One series (or several alike) of the given columns, the last one the value, shown on the window.
void LoadColumns(CTabulonDlg& dlg, const std::vector<std::string>& names, const std::vector<double>& rows,
                 int seriesCount = 1) {
    mainwin_test::LoadRows(names, rows, seriesCount);
    theData.dataPageChanged = 1;
    platform::PostRepaintRequest();
    PumpWaitingMessages();
    ASSERT_EQ(dlg.dataValues, 1);
}

void SetFormula(const std::string& formula, const std::vector<std::string>& names, const std::vector<double>& values,
                const std::vector<double>& steps) {
    useruf& u = theUseruf;
    u.formula = formula;
    u.names = names;
    u.values = values;
    u.steps = steps;
    u.minima.assign(names.size(), -1e40);
    u.maxima.assign(names.size(), 1e40);
    u.plusConst = 0;
}

class UserFormulaFitting : public ::testing::Test {
protected:
    void TearDown() override {
        theUseruf.useruf_settings::operator=(useruf_settings{});
        theUseruf.running = theUseruf.busy = 0;
        theUseruf.fittingScheme = 1;
        theUseruf.fetchSetting = 0;
        theUseruf.stopCondition = 1e-6;
        theMultistat.multistat_settings::operator=(multistat_settings{});
        theData.OnDeleteAll();
    }
    HooksGuard guard;
};

TEST_F(UserFormulaFitting, ReachesCurveFitCoefficients) {
    WithMainWindow([](CTabulonDlg& dlg) {
        for (const OracleLine& o : Oracle("fit")) {
            SCOPED_TRACE(o.formula);
            const int n = static_cast<int>(o.numbers[0]);
            LoadColumns(dlg, {"x", "y"}, std::vector<double>(o.numbers.begin() + 3, o.numbers.begin() + 3 + 2 * n));
            const bool exp = o.formula.find("exp") != std::string::npos;
            SetFormula(o.formula, {"a", "b"}, exp ? std::vector<double>{1, 0.2} : std::vector<double>{1, 2},
                       exp ? std::vector<double>{0.1, 0.02} : std::vector<double>{0.1, 0.2});
            theUseruf.fittingScheme = kRandomGauss;
            theUseruf.fetchSetting = 1;  // "Detail (slow)"
            theUseruf.stopCondition = 1e-5;
            RandomSeed(theUseruf.fitRandom, 337643, 62047, 2751976);
            theUseruf.running = 1;
            dlg.UserFormulaFitting();
            EXPECT_NEAR(theUseruf.values[0], o.numbers[1], 1e-3 * std::fabs(o.numbers[1]));
            EXPECT_NEAR(theUseruf.values[1], o.numbers[2], 1e-3 * std::fabs(o.numbers[2]));
        }
    });
}

TEST_F(UserFormulaFitting, UnifiedArgumentMeasureMatchesPolyfit) {
    WithMainWindow([](CTabulonDlg& dlg) {
        for (const OracleLine& o : Oracle("unified")) {
            SCOPED_TRACE(o.numbers[0]);
            LoadColumns(dlg, {"x1", "x2", "y"}, std::vector<double>(o.numbers.begin() + 4, o.numbers.end()));
            SetFormula("x1+b*x2", {"b"}, {o.numbers[1]}, {0.1});
            std::vector<double> measured, combined, series;
            const double e = dlg.UnifiedArgumentValues(measured, combined, 2, {o.numbers[1]}, series);
            EXPECT_EQ(static_cast<int>(series.size()), static_cast<int>(o.numbers[2]));
            EXPECT_NEAR(e, o.numbers[3], 1e-7 * o.numbers[3]);
            EXPECT_EQ(userFormulaOffset, 0.0);
        }
    });
}

// The combined argument far from 0 (stackloss near 70, a generated set near 1e4): the measure
// is numpy.polyfit's of degree 6 (tests/fitting/make_power_series_oracle.py), its correlation to
// 1e-6, and the series handed back in powers of the argument is what the Part names.
TEST_F(UserFormulaFitting, UnifiedArgumentFarFromZeroMatchesPolyfit) {
    WithMainWindow([](CTabulonDlg& dlg) {
        std::istringstream in(mainwin_test::FileText(std::string(TABULON_SOURCE_DIR) + "/tests/fitting/power_series.txt"));
        const auto numbers = [&in] {
            std::string line;
            std::getline(in, line);
            std::istringstream f(line);
            std::vector<double> v;
            for (double d; f >> d;) v.push_back(d);
            return v;
        };
        int cases = 0;
        for (std::string head; std::getline(in, head); ++cases) {
            SCOPED_TRACE(head);
            const std::vector<double> x = numbers(), y = numbers(), fitted = numbers(), e = numbers();
            std::vector<double> rows;
            for (std::size_t i = 0; i < x.size(); ++i) rows.insert(rows.end(), {x[i], 1.0, y[i]});
            LoadColumns(dlg, {"x1", "x2", "y"}, rows);
            SetFormula("x1+b*x2", {"b"}, {0}, {0.1});
            std::vector<double> measured, combined, series;
            const double measure = dlg.UnifiedArgumentValues(measured, combined, 2, {0}, series);
            EXPECT_EQ(series.size(), 7u);
            EXPECT_NEAR(1 - std::sqrt(measure), 1 - std::sqrt(e.at(0)), 1e-6);
        }
        EXPECT_EQ(cases, 2);
    });
}

TEST_F(UserFormulaFitting, RefusalsAreNeverPerfectFits) {
    platform::ScriptedDialogs dialogs;
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            const std::vector<double> rows{1, 2, 5, 2, 3, 9, 3, 1, 4, 4, 4, 12, 5, 2, 8};
            LoadColumns(dlg, {"x1", "x2", "y"}, rows);
            SetFormula("a*x1+b*x2", {"a", "b"}, {1, 2}, {0.1, 0.2});
            std::vector<double> measured{42}, computed;
            double offset = 0;
            // A formula that fails at a record is no fit; nor is a formula of a missing name.
            theUseruf.formula = "ln(x1-3)+a";
            EXPECT_EQ(dlg.MultivariantFormulaValues(measured, computed, 2, {1, 2}, offset, 0), 1e40);
            EXPECT_TRUE(std::isnan(computed[0]));
            theUseruf.formula = "a*x1+b*x2";
            EXPECT_LT(dlg.MultivariantFormulaValues(measured, computed, 2, {1, 2}, offset, 1), 1);
            // Several series: refused, outputs untouched.
            LoadColumns(dlg, {"x1", "x2", "y"}, rows, 2);
            measured = {42};
            EXPECT_EQ(dlg.MultivariantFormulaValues(measured, computed, 2, {1, 2}, offset, 0), 1e40);
            EXPECT_EQ(dlg.UnifiedArgumentValues(measured, computed, 2, {1, 2}, computed), 1e40);
            EXPECT_EQ(measured, std::vector<double>{42});

            // Two arguments and no formula scheme chosen: the fitting refuses and says why.
            LoadColumns(dlg, {"x1", "x2", "y"}, rows);
            theMultistat.plane = 1;
            const std::size_t before = dialogs.Messages().size();
            theUseruf.StartFitting();
            PumpWaitingMessages();
            EXPECT_EQ(theUseruf.running, 0);
            ASSERT_EQ(dialogs.Messages().size(), before + 1);
            EXPECT_NE(dialogs.Messages().back().find("User defined formula"), std::string::npos);
            EXPECT_EQ(theUseruf.values, (std::vector<double>{1, 2}));
        },
        &dialogs);
}

TEST_F(UserFormulaFitting, WindowStaysResponsiveAndStopEndsTheRun) {
    WithMainWindow([](CTabulonDlg& dlg) {
        std::vector<double> rows;
        for (int i = 0; i < 30; ++i) rows.insert(rows.end(), {0.5 * i, 0.3 * i * i - 2 + std::sin(i)});
        LoadColumns(dlg, {"x", "y"}, rows);
        SetFormula("a*x^2+b", {"a", "b"}, {1, 2}, {0.1, 0.2});
        theUseruf.stopCondition = 0;  // never converges: only "Stop" ends it
        int repaints = 0;
        TheAnalysisHooks().painters.correlationView = [&](platform::Canvas&, int) {
            if (theUseruf.running && ++repaints == 3) {
                QTimer::singleShot(0, [] { theUseruf.Control(useruf::kStopButton).Click(); });
            }
            return 0;
        };
        theUseruf.Control(useruf::kRunFittingButton).Click();
        ASSERT_TRUE(mainwin_test::PumpUntil([] { return theUseruf.running == 0 && theUseruf.busy == 0; }, 60000));
        EXPECT_GE(repaints, 3);
        EXPECT_NE(theUseruf.values, (std::vector<double>{1, 2}));  // improvements were kept
    });
}

// The formula schemes of several arguments as the user reaches them, over data that the
// page's own coefficients a = 1 and b = 2 describe exactly: the report's formula, its
// correlation and the coefficients line that Results > "Copy coefficients" copies.
TEST_F(UserFormulaFitting, ReportShowsFormulaAndCorrelation) {
    mainwin_test::ScratchFolder folder("user_formula_report");
    const std::string file = folder / "exact.txt";
    {
        std::ofstream out(file);
        out << "x1 x2 y\n";
        for (int i = 0; i < 12; ++i) out << i << ' ' << (i * 7) % 5 << ' ' << i + 2 * ((i * 7) % 5) << '\n';
    }
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            using user_path::Press;
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Statistics"));
            const auto expectReport = [&](const char* header, const char* formula, const char* coefficients) {
                SCOPED_TRACE(formula);
                const std::string text = user_path::ResultText(dlg);
                for (const char* part : {header, formula, "Coefficient of correlation = "}) {
                    EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
                }
                platform::SetClipboardText("");
                ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Copy coefficients"}));
                EXPECT_EQ(platform::ClipboardText(), coefficients);
            };
            ASSERT_TRUE(Press(dlg, "User defined formula"));
            ASSERT_TRUE(user_path::Type(qobject_cast<QLineEdit*>(theUseruf.Control(useruf::kFormulaEdit).Widget()),
                                        "a*x1+b*x2"));
            ASSERT_TRUE(Press(dlg, "Ok"));
            expectReport("Multivariant fitting with formula:", "y = 1*x1+2*x2", "1\t2\t1   ");
            ASSERT_TRUE(Press(dlg, "+ const"));
            ASSERT_TRUE(Press(dlg, "Ok"));
            expectReport("Multivariant fitting with formula:", "y = 1*x1+2*x2 +0", "1\t2\t0\t1   ");
            ASSERT_TRUE(Press(dlg, ">>"));  // back to the scheme page
            ASSERT_TRUE(Press(dlg, "Unitary argument"));
            expectReport("Unified argument to fit as curve:", "y(1*x1+2*x2)", "1\t2\t1   ");
        },
        &dialogs);
}

}  // namespace
