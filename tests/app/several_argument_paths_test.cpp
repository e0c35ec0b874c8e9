// Every several-argument analysis the way a user reaches it: the data come in through
// Data > "Import from text file", the scheme is chosen on the page that the "Statistics" tab
// shows, and what the user sees is read back: the chart's plot area and the text that
// Results > "Copy content of result control" copies.
#include <cmath>
#include <fstream>
#include <functional>

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/plot_mapping.h"
#include "data/insert_dialog.h"
#include "fitting/parameters_of_multi_search1.h"
#include "fitting/scorereport.h"
#include "fitting/scoring_run.h"
#include "formula/calculator.h"
#include "main_window_steps.h"
#include "user_path.h"

namespace {

using user_path::ChooseItem;
using user_path::ChooseMenu;
using user_path::ChooseTab;
using user_path::Press;
using user_path::Type;

// A text file `name` of the folder: the header line, then `count` records written by `row`.
std::string WriteRecords(const mainwin_test::ScratchFolder& folder, const std::string& name, const std::string& header,
                         int count, const std::function<void(std::ostream&, int)>& row) {
    const std::string path = folder / name;
    std::ofstream out(path);
    out << header << '\n';
    for (int i = 0; i < count; ++i) {
        row(out, i);
        out << '\n';
    }
    return path;
}

// A file of records x1 x2 y of the test's own folder, y as given.
std::string WriteSurface(const mainwin_test::ScratchFolder& folder, const std::function<double(double, double)>& y) {
    return WriteRecords(folder, "surface.txt", "x1 x2 y", 40, [&](std::ostream& out, int r) {
        const double a = r % 7 + 0.5, b = (r * 3) % 11 * 0.3 + 0.2;
        out << a << ' ' << b << ' ' << y(a, b);
    });
}

double Wobbly(double a, double b) { return 1 + 2 * a + 3 * b * b + 0.3 * std::sin(7 * a * b); }

QWidget* ControlOf(platform::Dialog& page, int id) { return page.Control(id).Widget(); }

// Pixels of the chart's plot area that are not the chart area's colour, left aside a small
// margin for the frame and its ticks and the top quarter, where the formulas of the legend go.
int PlotInk(CTabulonDlg& dlg) {
    const QImage image = dlg.virtualScreenBitmap.Image();
    const platform::ColorRef c = theChart.chartAreaColor;
    const QRgb background = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                                 static_cast<int>((c >> 16) & 0xFF));
    const int top = std::min(plotTop, plotBottom), bottom = std::max(plotTop, plotBottom);
    const QRect area =
        QRect(QPoint(plotLeft, top + (bottom - top) / 4), QPoint(plotRight, bottom)).adjusted(6, 0, -6, -6).intersected(image.rect());
    return mainwin_test::CountPixels(
        image, [&](QRgb p) { return (p & 0xFFFFFFu) != (background & 0xFFFFFFu); }, area);
}

// Runs `step` in a fresh main window, then puts back what the steps chose on the pages that
// InWindow leaves as they are.
void InFreshWindow(const std::function<void(CTabulonDlg&)>& step, platform::ScriptedDialogs& dialogs) {
    mainwin_steps::InWindow(step, &dialogs);
    theMultistat.settings = multistat_settings{};
    theParametersOfMultiSearch1.settings = parameters_of_multi_search1_settings{};
    theCalculator.settings = calculator_settings{};
    theCalculator.changed = 1;  // the typed arguments are read again
    theUseruf.stopCondition = 1e-6;
    mainwin_test::ResetChoices();
}

// Presses `caption` of the shown page once the search that the next step starts has run a while.
void PressLater(CTabulonDlg& dlg, const std::string& caption) {
    QTimer::singleShot(400, [&dlg, caption] { Press(dlg, caption); });
}

// The user formula typed on the page "Statistics" shows for the formula schemes, over the
// page's own coefficients a and b, applied by "Ok".
void TypeUserFormula(CTabulonDlg& dlg, const std::string& formula) {
    ASSERT_TRUE(Type(qobject_cast<QLineEdit*>(ControlOf(theUseruf, useruf::kFormulaEdit)), formula));
    ASSERT_TRUE(Press(dlg, "Ok"));
}

struct SchemeCase {
    const char* name;
    std::function<void(CTabulonDlg&)> choose;  // steps on the "Statistics" tab
    std::vector<std::string> lines;             // lines the result text holds
};

const SchemeCase kSchemes[] = {
    {"plane, chosen at start", [](CTabulonDlg&) {}, {"Plane approximation:", "y = "}},
    {"parabolic",
     [](CTabulonDlg& dlg) { Press(dlg, "Parabolic (y=a0+a1(x1+b1)^2+a2*(x+b2)^2+...an*(x+bn)^2"); },
     {"Parabolic approximation:", "a*(x1 + b)^2"}},
    {"correlation", [](CTabulonDlg& dlg) { Press(dlg, "Correlation"); }, {"Correlation of parameters:"}},
    {"near neighbours",
     [](CTabulonDlg& dlg) {
         ASSERT_TRUE(Press(dlg, "Near neighbors method "));
         ChooseItem(ControlOf(theMultistat, multistat::kWeightCombo), "Closest neighbors (%)");
     },
     {"Near neighbors estimation:", "Closest 3% of points"}},
    {"user defined formula, fitted, with the calculator",
     [](CTabulonDlg& dlg) {
         ASSERT_TRUE(Press(dlg, "User defined formula"));
         TypeUserFormula(dlg, "a*x1+b*x2^2");
         ASSERT_TRUE(Press(dlg, "+ const"));
         ASSERT_TRUE(Press(dlg, "Run fitting"));
         ASSERT_TRUE(mainwin_test::PumpUntil([] { return theUseruf.running == 0 && theUseruf.busy == 0; }, 60000));
         // One typed value per parameter: the model's value in the calculator's words.
         ASSERT_TRUE(ChooseTab(dlg, "Calculator"));
         ASSERT_TRUE(Type(qobject_cast<QLineEdit*>(ControlOf(theCalculator, calculator::kArgumentEdit)), "1 2 3"));
         ASSERT_TRUE(Press(dlg, "Ok"));
         const std::string values = theCalculator.Control(calculator::kValuesEdit).Text();
         EXPECT_NE(values.find("y = "), std::string::npos) << values;
         EXPECT_EQ(values.find("y="), std::string::npos) << values;
     },
     {"Multivariant fitting with formula:", "y = ", "Coefficient of correlation = "}},
    {"unitary argument",
     [](CTabulonDlg& dlg) {
         ASSERT_TRUE(Press(dlg, "Unitary argument"));
         TypeUserFormula(dlg, "x1+a*x2");
     },
     {"Unified argument to fit as curve:", "y(x1+1*x2)"}},
    {"best polynome, one term searched",
     [](CTabulonDlg& dlg) {
         ASSERT_TRUE(Press(dlg, "Best polynome"));
         PressLater(dlg, "Stop");
         ASSERT_TRUE(Press(dlg, "Search one next"));
         EXPECT_EQ(theConstructorMulti.currentPolyTerms.size(), 2u);
     },
     {"Best multypolynom:", "y = "}},
    {"best polynome auto",
     [](CTabulonDlg& dlg) {
         PressLater(dlg, "Stop search");
         ASSERT_TRUE(Press(dlg, "Best polynome auto"));
         EXPECT_FALSE(theConstructorMulti.currentPolyTerms.empty());
     },
     {"Best multypolynom:", "y = "}},
};

TEST(SeveralArgumentPaths, EverySchemeOfTheSchemePageChartsAndReports) {
    mainwin_test::ScratchFolder folder("several_paths");
    const std::string file = WriteSurface(folder, Wobbly);
    for (const SchemeCase& c : kSchemes) {
        SCOPED_TRACE(c.name);
        platform::ScriptedDialogs dialogs;
        InFreshWindow(
            [&](CTabulonDlg& dlg) {
                ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
                ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
                c.choose(dlg);
                if (::testing::Test::HasFatalFailure()) return;
                EXPECT_GT(PlotInk(dlg), 200);
                const std::string text = user_path::ResultText(dlg);
                for (const std::string& line : c.lines) EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
            },
            dialogs);
    }
}

// What follows "Coefficient of correlation = " in the result text, to the end of its line, or
// "none" when the text has no correlation.
std::string CorrelationShown(const std::string& text) {
    const std::string label = "Coefficient of correlation = ";
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return "none";
    std::string rest = text.substr(at + label.size());
    rest = rest.substr(0, rest.find('\n'));
    const std::size_t first = rest.find_first_not_of(" \t|");
    const std::size_t last = rest.find_last_not_of(" \t|\r");
    return first == std::string::npos ? "" : rest.substr(first, last - first + 1);
}

// The calculator's values for the typed arguments `typed`, as its values edit shows them.
std::string CalculatorValues(CTabulonDlg& dlg, const std::string& typed) {
    EXPECT_TRUE(ChooseTab(dlg, "Calculator"));
    EXPECT_TRUE(Type(qobject_cast<QLineEdit*>(ControlOf(theCalculator, calculator::kArgumentEdit)), typed));
    EXPECT_TRUE(Press(dlg, "Ok"));
    const std::string values = theCalculator.Control(calculator::kValuesEdit).Text();
    EXPECT_TRUE(ChooseTab(dlg, "Statistics"));
    return values;
}

// An argument that takes only the values 0 and 100: its square is a straight line in it, so the
// parabolic surface's terms are not independent, and so are the powers of the unified argument
// when it is that argument. One line says so instead of a formula whose coefficients are
// rounding noise (or in place of the correlation), and the calculator gets no value; the plane
// is a fit.
TEST(SeveralArgumentPaths, TermsNotIndependentAreReportedAsNoFit) {
    mainwin_test::ScratchFolder folder("no_fit_paths");
    const std::string file = WriteRecords(folder, "two_valued.txt", "x1 x2 height", 21, [](std::ostream& out, int r) {
        const double x1 = r % 2 ? 100 : 0, x2 = 1.7 + 0.37 * r;
        out << x1 << ' ' << x2 << ' ' << 3 + 0.02 * x1 + x2 + 0.1 * std::sin(r);
    });
    const std::string noFit = "No fit: the terms are not independent for these data.";
    platform::ScriptedDialogs dialogs;
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            std::string text = user_path::ResultText(dlg);
            EXPECT_EQ(text.find(noFit), std::string::npos) << text;
            EXPECT_EQ(CorrelationShown(text).substr(0, 4), "0.97") << text;
            EXPECT_NE(CalculatorValues(dlg, "100 2").find("height="), std::string::npos);

            ASSERT_TRUE(Press(dlg, "Parabolic (y=a0+a1(x1+b1)^2+a2*(x+b2)^2+...an*(x+bn)^2"));
            text = user_path::ResultText(dlg);
            EXPECT_NE(text.find("Parabolic approximation:"), std::string::npos) << text;
            EXPECT_NE(text.find(noFit), std::string::npos) << text;
            EXPECT_EQ(CorrelationShown(text), "none") << text;
            EXPECT_EQ(text.find("height = "), std::string::npos) << text;
            EXPECT_EQ(text.find("Coefficients:"), std::string::npos) << text;
            EXPECT_EQ(CalculatorValues(dlg, "100 2").find("height="), std::string::npos);

            // The unified argument x1 alone: seven powers of an argument of two values.
            ASSERT_TRUE(Press(dlg, "Unitary argument"));
            TypeUserFormula(dlg, "a*x1");
            text = user_path::ResultText(dlg);
            EXPECT_NE(text.find("height(1*x1)"), std::string::npos) << text;
            EXPECT_NE(text.find(noFit), std::string::npos) << text;
            EXPECT_EQ(CorrelationShown(text), "none") << text;
            EXPECT_EQ(CalculatorValues(dlg, "100 2 3").find("height"), std::string::npos);
        },
        dialogs);

    // An argument that is always 0: the plane's normal matrix is singular outright.
    const std::string zero = WriteRecords(folder, "zero.txt", "x1 x2 height", 21, [](std::ostream& out, int r) {
        out << 0 << ' ' << 1.7 + 0.37 * r << ' ' << 3 + 0.1 * std::sin(r);
    });
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, zero));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            const std::string text = user_path::ResultText(dlg);
            EXPECT_NE(text.find(noFit), std::string::npos) << text;
            EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        },
        dialogs);
}

// A value without spread (every record 5): every route reports what the least-squares fit gives,
// no residual, never -inf or a correlation far below -1. "Best polynome" before any term is
// searched fits nothing, and says so rather than showing a perfect fit.
TEST(SeveralArgumentPaths, NoSpreadAndNoTermsAreNeverNonsense) {
    mainwin_test::ScratchFolder folder("no_spread_paths");
    const std::string flat = WriteSurface(folder, [](double, double) { return 5.0; });
    platform::ScriptedDialogs dialogs;
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, flat));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            EXPECT_EQ(CorrelationShown(user_path::ResultText(dlg)), "1");
            ASSERT_TRUE(Press(dlg, "Parabolic (y=a0+a1(x1+b1)^2+a2*(x+b2)^2+...an*(x+bn)^2"));
            EXPECT_EQ(CorrelationShown(user_path::ResultText(dlg)), "1");
            ASSERT_TRUE(Press(dlg, "Unitary argument"));
            TypeUserFormula(dlg, "x1+a*x2");
            EXPECT_EQ(CorrelationShown(user_path::ResultText(dlg)), "1");
        },
        dialogs);
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, flat));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(Press(dlg, "Best polynome"));
            ASSERT_TRUE(theConstructorMulti.currentPolyTerms.empty());
            const std::string text = user_path::ResultText(dlg);
            EXPECT_NE(text.find("Best multypolynom:"), std::string::npos) << text;
            EXPECT_NE(text.find("No fit: the polynomial has no terms yet."), std::string::npos) << text;
            EXPECT_EQ(CorrelationShown(text), "none") << text;
        },
        dialogs);
}

// "Unitary argument" on the stack-loss data with the combined argument 0.671482*AIRFLOW +
// 1.29531*WATERTEMP, values near 70: the power series of degree 6 reaches numpy.polyfit's
// correlation 0.7580 (in the raw powers the normal equations gave 0.7398).
TEST(SeveralArgumentPaths, UnifiedArgumentOfStacklossMatchesPolyfit) {
    platform::ScriptedDialogs dialogs;
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, TABULON_SOURCE_DIR "/examples/stackloss.txt"));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(Press(dlg, "Unitary argument"));
            TypeUserFormula(dlg, "a*AIRFLOW+b*WATERTEMP");
            auto* list = qobject_cast<QListWidget*>(ControlOf(theUseruf, useruf::kCoefficientList));
            ASSERT_NE(list, nullptr);
            for (const auto& [row, value] : {std::pair<int, const char*>{0, "0.671482"}, {1, "1.29531"}}) {
                ASSERT_LT(row, list->count());
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list->visualItemRect(list->item(row)).center());
                PumpWaitingMessages();
                ASSERT_TRUE(Type(qobject_cast<QLineEdit*>(ControlOf(theUseruf, useruf::kValueEdit)), value));
                ASSERT_TRUE(Press(dlg, "Ok"));
            }
            ASSERT_EQ(theUseruf.values, (std::vector<double>{0.671482, 1.29531}));
            const std::string text = user_path::ResultText(dlg);
            EXPECT_NE(text.find("STACKLOSS(0.671482*AIRFLOW+1.29531*WATERTEMP)"), std::string::npos) << text;
            EXPECT_EQ(CorrelationShown(text), "0.758") << text;
        },
        dialogs);
}

// Data > Insert's "Current theoretical scheme" after each model the chart shows: the new last
// parameter holds the model's value at every record.
TEST(SeveralArgumentPaths, InsertTheoreticalValuesOfEachScheme) {
    mainwin_test::ScratchFolder folder("insert_paths");
    const auto plane = [](double a, double b) { return 1 + 2 * a - 0.5 * b; };
    const std::string surface = WriteSurface(folder, plane);
    const std::string parabola = WriteRecords(folder, "parabola.txt", "x y", 30, [](std::ostream& out, int r) {
        out << 0.1 * r << ' ' << 1 + 0.2 * r + 0.005 * r * r;
    });
    const std::string peaks = WriteRecords(folder, "peaks.txt", "t s", 200, [](std::ostream& out, int i) {
        out << i << ' ' << 1 + 50 * std::exp(-(i - 80) * (i - 80) / 50.0);
    });
    const struct {
        const char* name;
        const std::string& file;
        std::function<void(CTabulonDlg&, platform::ScriptedDialogs&)> choose;
        double tolerance;  // of the inserted values against the file's values; < 0: only not all 0 (the
                           // search draws its terms at random)
    } cases[] = {
        {"plane", surface, [](CTabulonDlg&, platform::ScriptedDialogs&) {}, 1e-6},
        {"parabolic", surface,
         [](CTabulonDlg& dlg, platform::ScriptedDialogs&) {
             Press(dlg, "Parabolic (y=a0+a1(x1+b1)^2+a2*(x+b2)^2+...an*(x+bn)^2");
         },
         1e-6},
        {"best polynome of a full search (two terms beside the constant)", surface,
         [](CTabulonDlg& dlg, platform::ScriptedDialogs& dialogs) {
             ASSERT_TRUE(Press(dlg, "Best polynome"));
             dialogs.modalSteps.push_back([](platform::Dialog& d) {
                 using P = parametersOfMultiSearch1;
                 Press(d, "Include constant term");
                 Type(qobject_cast<QLineEdit*>(ControlOf(d, P::kMaxTermsEdit)), "3");
                 Type(qobject_cast<QLineEdit*>(ControlOf(d, P::kVainTriesEdit)), "10");
                 Press(d, "OK");
             });
             ASSERT_TRUE(Press(dlg, "Parameters"));
             ASSERT_TRUE(Press(dlg, "Start full search"));
             // The last steps aim at one term more than the largest size asked for.
             EXPECT_LE(theConstructorMulti.currentPolyTerms.size(), 2u * 4);
             EXPECT_GT(PlotInk(dlg), 200);
         },
         -1},
        {"polynom fitting of one argument", parabola,
         [](CTabulonDlg& dlg, platform::ScriptedDialogs&) { Press(dlg, "Polynom fitting"); }, 1e-6},
        {"peaks", peaks, [](CTabulonDlg& dlg, platform::ScriptedDialogs&) { Press(dlg, "Peaks revealing"); }, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScriptedDialogs dialogs;
        InFreshWindow(
            [&](CTabulonDlg& dlg) {
                ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, c.file));
                ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
                c.choose(dlg, dialogs);
                if (::testing::Test::HasFatalFailure()) return;
                ASSERT_TRUE(ChooseTab(dlg, "Data"));
                bool inserted = false;
                dialogs.modalSteps.push_back([&inserted](platform::Dialog& d) {
                    inserted = Press(d, "Current theoretical scheme") && Press(d, "Insert -->");
                    if (!inserted) Press(d, "Cancel");
                });
                ASSERT_TRUE(Press(dlg, "Insert"));
                ASSERT_TRUE(inserted);
                const Series& s = theData.series.at(0);
                ASSERT_EQ(s.nParameters, s.nArguments + 2);
                const std::vector<double> measured = mainwin_test::SeriesColumn(0, s.nParameters - 2);
                const std::vector<double> model = mainwin_test::SeriesColumn(0, s.nParameters - 1);
                if (c.tolerance < 0) {
                    EXPECT_NE(model, std::vector<double>(model.size(), 0.0));
                } else {
                    for (std::size_t r = 0; r < model.size(); ++r) EXPECT_NEAR(model[r], measured[r], c.tolerance) << r;
                }
            },
            dialogs);
    }
}

// The user formula over one argument: typed with its coefficients, fitted by "Run fitting",
// charted and reported, and its values inserted as a new parameter.
TEST(SeveralArgumentPaths, OneArgumentUserFormulaFittedChartedAndInserted) {
    mainwin_test::ScratchFolder folder("user_formula_path");
    const std::string file = WriteRecords(folder, "curve.txt", "x y", 30, [](std::ostream& out, int i) {
        out << 0.5 * i << ' ' << 1.2 * 0.25 * i * i + 2.5 + 0.1 * std::sin(i);
    });
    platform::ScriptedDialogs dialogs;
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(Press(dlg, "User formula"));
            TypeUserFormula(dlg, "a*x^2+b");
            // Steps below a thousandth are close enough here, and much sooner reached.
            ASSERT_TRUE(Type(qobject_cast<QLineEdit*>(ControlOf(theUseruf, useruf::kStopConditionEdit)), "0.001"));
            ASSERT_TRUE(Press(dlg, "Run fitting"));
            ASSERT_TRUE(mainwin_test::PumpUntil([] { return theUseruf.running == 0 && theUseruf.busy == 0; }, 60000));
            ASSERT_EQ(theUseruf.values.size(), 2u);
            EXPECT_NEAR(theUseruf.values[0], 1.2, 0.01);
            EXPECT_NEAR(theUseruf.values[1], 2.5, 0.2);
            EXPECT_GT(PlotInk(dlg), 200);
            const std::string text = user_path::ResultText(dlg);
            for (const char* line : {"y = ", "Coefficient of correlation = "})
                EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;

            ASSERT_TRUE(ChooseTab(dlg, "Data"));
            dialogs.modalSteps.push_back([](platform::Dialog& d) {
                Press(d, "Current theoretical scheme");
                Press(d, "Insert -->");
            });
            ASSERT_TRUE(Press(dlg, "Insert"));
            ASSERT_EQ(theData.series.at(0).nParameters, 3);
            const std::vector<double> x = mainwin_test::SeriesColumn(0, 0), model = mainwin_test::SeriesColumn(0, 2);
            // The formula is evaluated with its coefficients written in six digits.
            for (std::size_t r = 0; r < x.size(); ++r) {
                const double expected = theUseruf.values[0] * x[r] * x[r] + theUseruf.values[1];
                EXPECT_NEAR(model[r], expected, 1e-5 * std::fabs(expected)) << r;
            }
        },
        dialogs);
}

// Two arguments as the View tab shows them: the three-dimensional scene first, then, after
// "2D", the plane of the arguments with marks sized by the value, and the coloured map.
TEST(SeveralArgumentPaths, ThreeDimensionalPointsAndMapViews) {
    mainwin_test::ScratchFolder folder("view_paths");
    const std::string file = WriteSurface(folder, Wobbly);
    platform::ScriptedDialogs dialogs;
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(ChooseTab(dlg, "View"));
            EXPECT_EQ(dlg.view3D, 1);
            EXPECT_GT(PlotInk(dlg), 200);
            ASSERT_TRUE(Press(dlg, "2D"));
            EXPECT_EQ(dlg.view3D, 0);
            EXPECT_GT(PlotInk(dlg), 200);
            ASSERT_TRUE(Press(dlg, "Ok"));  // the View page offers the colour map for the data again
            ASSERT_TRUE(user_path::PressPicture(dlg.TopWidget(), xyview::kColorMapButton));
            EXPECT_EQ(theXyview.colorMapMode, 1);
            EXPECT_GT(PlotInk(dlg), 200);
            EXPECT_NE(user_path::ResultText(dlg).find("Plane approximation:"), std::string::npos);
        },
        dialogs);
}

// A document that chose the near-neighbour scheme opens with the weight list, and for the
// "Closest neighbors (%)" weight the percentage, ready to use.
TEST(SeveralArgumentPaths, OpenedNeighbourSchemeKeepsItsWeightControls) {
    mainwin_test::ScratchFolder folder("neighbour_document");
    const std::string file = WriteSurface(folder, Wobbly);
    const std::string document = folder / "neighbours.cdf";
    platform::ScriptedDialogs dialogs;
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            // The recent-files list goes to the test's own folder.
            dlg.recentFilesListPath = folder / "files_Tabulon.txt";
            dlg.recentFiles.fill("");
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(Press(dlg, "Near neighbors method "));
            ASSERT_TRUE(ChooseItem(ControlOf(theMultistat, multistat::kWeightCombo), "Closest neighbors (%)"));
            dialogs.fileAnswers.push_back(document);
            ASSERT_TRUE(ChooseMenu(dlg, {"File", "Save as"}));
            ASSERT_TRUE(Press(dlg, "Plane (y=a0+a1*x1+a2*x2+...an*xn)"));  // the weight controls close

            dialogs.messageAnswers.push_back(platform::kNo);  // the changed scheme is not saved
            dialogs.fileAnswers.push_back(document);
            ASSERT_TRUE(ChooseMenu(dlg, {"File", "Open"}));
            ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(Type(qobject_cast<QLineEdit*>(ControlOf(theMultistat, multistat::kPercentEdit)), "5"));
            ASSERT_TRUE(Press(dlg, "Ok"));
            EXPECT_NE(user_path::ResultText(dlg).find("Closest 5% of points"), std::string::npos);
            ASSERT_TRUE(ChooseItem(ControlOf(theMultistat, multistat::kWeightCombo), "Weight is invert distance"));
            EXPECT_FALSE(theMultistat.Control(multistat::kPercentEdit).IsEnabled());
        },
        dialogs);
}

// Data > Insert's "Scores" scores the records into a new parameter, and the scoring report
// that follows shows its recipe and its gain chart.
TEST(SeveralArgumentPaths, ScoresInsertedThenTheReportShows) {
    mainwin_test::ScratchFolder folder("scoring_path");
    const std::string file = WriteRecords(folder, "responses.txt", "x resp", 600, [](std::ostream& out, int i) {
        const int x = i % 3;
        const bool positive = x == 2 ? i % 5 != 0 : x == 1 ? i % 4 == 0 : i % 20 == 0;
        out << x << ' ' << (positive ? 1 : 0);
    });
    // The insert dialog keeps its fields between showings: put them back for the next test.
    const std::string name = theInsert.name;
    const double threshold = theInsert.scoreThreshold;
    const std::int32_t simple = theInsert.simpleAlgorithm;
    platform::ScriptedDialogs dialogs;
    InFreshWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(ChooseTab(dlg, "Data"));
            dialogs.modalSteps.push_back([](platform::Dialog& d) {
                Press(d, "Scores");
                ChooseItem(ControlOf(d, insert::kScoreCombo), "resp");
                Type(qobject_cast<QLineEdit*>(ControlOf(d, insert::kThresholdEdit)), "1");
                Press(d, "Insert -->");
            });
            std::string recipe;
            int chartInk = 0;
            dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                EXPECT_EQ(d.TemplateId(), scorereport::kTemplateId);
                recipe = d.Control(scorereport::kRecipeEdit).Text();
                platform::SetClipboardText("");
                Press(d, "Copy chart");
                chartInk = mainwin_test::CountPixels(platform::ClipboardImage(),
                                                     [](QRgb p) { return (p & 0xFFFFFFu) != 0xFFFFFFu; });
                Press(d, "Close");
            });
            ASSERT_TRUE(Press(dlg, "Insert"));
            ASSERT_TRUE(mainwin_test::PumpUntil([&] { return !recipe.empty(); }));
            EXPECT_EQ(theData.parametersPerSeries, 3);
            EXPECT_NE(recipe.find("Scoring rules:"), std::string::npos) << recipe;
            EXPECT_GT(chartInk, 200);
            EXPECT_EQ(theScorereport.totalRecords, 600);
        },
        dialogs);
    ClearScoringResults();
    theInsert.name = name;
    theInsert.scoreThreshold = threshold;
    theInsert.simpleAlgorithm = simple;
}

}  // namespace
