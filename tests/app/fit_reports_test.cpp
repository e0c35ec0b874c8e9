// The single-argument fit reports built on the shared kit: term models, the constructor
// model and custom formulas. Coefficients against statsmodels (fit_reports.txt), the texts
// exactly, and what an unusable fit or calculator request leaves out.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "app/custom_formula_fit.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/series_painting.h"
#include "fitting/fit_report.h"
#include "formula/approxcustom.h"
#include "formula/calculator.h"
#include "formula/constructor.h"
#include "main_window_support.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using namespace mainwin_test;
using Column = std::vector<double>;

struct OracleCase {
    Column x, y, coefficients, deviations;
};

std::map<std::string, OracleCase> ReadOracle() {
    std::map<std::string, OracleCase> cases;
    std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/tests/app/fit_reports.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        std::string name, bar;
        int n = 0;
        s >> name >> n;
        OracleCase c;
        c.x.resize(static_cast<std::size_t>(n));
        c.y.resize(c.x.size());
        for (double& v : c.x) s >> v;
        for (double& v : c.y) s >> v;
        s >> bar;
        for (double v; s >> v;) c.coefficients.push_back(v);
        s.clear();
        s >> bar;
        for (double v; s >> v;) c.deviations.push_back(v);
        cases[name] = c;
    }
    return cases;
}

// `n` points x = step * i, y = f(x, i).
void Sample(int n, double step, double (*f)(double, int), Column& x, Column& y) {
    for (int i = 0; i < n; ++i) {
        x.push_back(step * i);
        y.push_back(f(x.back(), i));
    }
}

class FitReports : public ::testing::Test {
protected:
    void SetUp() override {
        ResetChoices();
        LoadShape(1, 1, 0, 4);
        Clear();
        theResult.autoDigits = 0;
        theResult.digits = 4;
        theCalculator.typedCount = 0;
        theCalculator.argumentsValid = 1;
        theCalculator.valuesText.clear();
        theConstructor.showDeviationLines = 0;
        dlg.dataArguments = 1;
        plotLeft = 0, plotRight = 200, plotTop = 0, plotBottom = 150;
        plotXMin = 0, plotXMax = 7, plotYMin = -5, plotYMax = 15;
        ComputePlotScales();
    }
    void TearDown() override {
        theApproxcustom.settings = savedCustom;
        theConstructor.settings = savedConstructor;
        ResetChoices();
        theResult.autoDigits = 1;
        theResult.digits = 2;
        theCalculator.typedCount = 0;
    }
    void Clear() {
        theResultTables.Clear();
        theResultDocument.Clear();
        coefficientsText.clear();
        theResult.formulaText.clear();
        dlg.legendTexts.clear();
        dlg.legendMarks.clear();
        theData.schemeReady = 0;
    }
    void SetCustom(const std::string& transform, const std::vector<std::string>& basis) {
        theXystatistic.customFormulas = 1;
        theApproxcustom.settings.transformText = transform;
        theApproxcustom.settings.basisTexts = basis;
        theApproxcustom.settings.basisCount = static_cast<int>(basis.size());
    }
    void SetConstructor(int yTransform, const std::vector<unsigned>& codes) {
        theXystatistic.constructorStyle = 1;
        theConstructor.yTransform = yTransform;
        theConstructor.selectedCodeCount = static_cast<int>(codes.size());
        std::copy(codes.begin(), codes.end(), theConstructor.selectedCodes.begin());
    }
    // Value and deviation cells of every coefficient row (header and pair captions skipped).
    void TableNumbers(Column& values, Column& deviations) const {
        const auto& cells = theResultTables.cells;
        for (std::size_t i = 4; i + 3 < cells.size(); i += 4) {
            if (cells[i + 1].empty()) continue;
            values.push_back(std::atof(cells[i + 1].c_str()));
            deviations.push_back(std::atof(cells[i + 2].c_str()));
        }
    }

    CTabulonDlg dlg;
    platform::Bitmap bitmap{200, 150};
    platform::Canvas dc{bitmap};
    approxcustom_settings savedCustom = theApproxcustom.settings;
    constructor_settings savedConstructor = theConstructor.settings;
};

// Each report's table against OLS on the same design, in the space its model fits.
TEST_F(FitReports, CoefficientsAndDeviationsMatchStatsmodels) {
    const auto oracle = ReadOracle();
    ASSERT_EQ(oracle.size(), 2u);
    theResult.digits = 15;
    struct Run {
        const char* oracleCase;
        char report;  // 't'erm model, 'c'ustom formula, con's'tructor
        std::string transform;
        std::vector<std::string> basis;
        int yTransform;
        std::vector<unsigned> codes;
        double tolerance;  // custom formulas go through the evaluator's number texts: fewer digits survive
    };
    const Run runs[] = {
        {"quadratic", 't', "", {}, 0, {0, 1, 2}, 1e-9},
        {"quadratic", 'c', "y", {"1.0", "x", "x^2"}, 0, {}, 1e-9},
        {"lnline", 'c', "ln(y)", {"1", "x"}, 0, {}, 1e-5},
        {"lnline", 's', "", {}, 5, {0, 1}, 1e-9},
        {"quadratic", 's', "", {}, 0, {0, 1, 2}, 1e-9},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(std::string(run.oracleCase) + " " + run.report + " " + run.transform);
        ResetChoices();
        Clear();
        const OracleCase& c = oracle.at(run.oracleCase);
        if (run.report == 't') {
            dlg.TermModelFitReport(dc, c.x, c.y, run.codes, 0, {}, 0, 1);
        } else if (run.report == 'c') {
            SetCustom(run.transform, run.basis);
            dlg.CustomFormulaFitReport(dc, c.x, c.y, 0, 1);
        } else {
            SetConstructor(run.yTransform, run.codes);
            dlg.ConstructorFitReport(dc, c.x, c.y, 0, 1);
        }
        Column values, deviations;
        TableNumbers(values, deviations);
        ASSERT_EQ(values.size(), c.coefficients.size());
        for (std::size_t k = 0; k < values.size(); ++k) {
            const double tolerance = run.tolerance;
            EXPECT_NEAR(values[k], c.coefficients[k], tolerance * (1 + std::fabs(c.coefficients[k]))) << k;
            EXPECT_NEAR(deviations[k], c.deviations[k], tolerance * (1 + c.deviations[k])) << k;
        }
        EXPECT_EQ(theData.schemeReady, 1);
    }
}

TEST_F(FitReports, ConstantTermModelTexts) {
    const Column x{1, 2, 3, 4}, y{1, 3, 1, 3};
    dlg.TermModelFitReport(dc, x, y, {0}, 0, {}, 0, 1);
    EXPECT_EQ(dlg.legendTexts, std::vector<std::string>{"p1 =  2"});
    ASSERT_EQ(theResultTables.tables.size(), 1u);
    EXPECT_EQ(theResultTables.tables[0].rows, 2);
    EXPECT_EQ(theResultTables.paragraphs[0], "p1 =  2");
    EXPECT_EQ(theResultTables.paragraphs[5], "Number of points = 4");
    EXPECT_EQ(coefficientsText, "2\t" + theResultTables.paragraphs[3] + "\n");
    EXPECT_EQ(theResult.formulaText, "p1 =  2\n");
}

// A complete pair is reported as amplitude and shift; a lone sine is a row of its own (mend).
TEST_F(FitReports, PeriodicTerms) {
    Column x, y;
    Sample(40, 0.2, [](double v, int i) { return 1 + 2 * std::sin(6.2831853072 * v / 4) + 0.01 * std::cos(5.3 * i); }, x, y);
    theConstructor.periodValues[0] = 4;
    SetConstructor(0, {0, 23, 24});
    dlg.ConstructorFitReport(dc, x, y, 0, 1);
    ASSERT_EQ(dlg.legendTexts.size(), 1u);
    EXPECT_NE(dlg.legendTexts[0].find(" +2*cos((2*pi/4)*(p0+3))"), std::string::npos) << dlg.legendTexts[0];
    ASSERT_EQ(theResultTables.cells.size(), 20u);
    EXPECT_EQ(theResultTables.cells[8], "Cos with period = 4 ");
    EXPECT_EQ(theResultTables.cells[12], "Amplitude");
    EXPECT_EQ(theResultTables.cells[16], "Phase");

    Clear();
    dlg.TermModelFitReport(dc, x, y, {0, 41}, 0, {4.0}, 0, 1);
    ASSERT_EQ(theResultTables.cells.size(), 12u);
    EXPECT_EQ(theResultTables.cells[8], "sin((2*pi/4)*p0)");
    EXPECT_NE(dlg.legendTexts[0].find("*sin((2*pi/4)*p0)"), std::string::npos) << dlg.legendTexts[0];
}

// Mend: an amplitude of 0 gives finite deviations (no division by 0).
TEST_F(FitReports, ZeroAmplitudeNeverDivides) {
    FitReport report("y", 10);
    report.AddPeriodicPair(0, 0, 0.1, 0.2, 4, "x");
    for (const FitReportRow& row : report.Rows()) {
        EXPECT_EQ(row.deviationText.find("nan"), std::string::npos);
        EXPECT_EQ(row.deviationText.find("inf"), std::string::npos);
    }
    EXPECT_EQ(report.Rows()[1].shareText, "0");

    // Mend: the errors of a and b add in quadrature; with opposite signs a plain sum
    // cancelled (amplitude 5 gave 0.1 where propagation gives 0.5).
    const struct {
        double a, b, sa, sb, amplitude, shift;
    } cases[] = {{3, -4, 0.5, 0.5, 0.5, 0.1750704}, {3, 4, 0.3, 0.1, 0.1969772, 0.0866201}};
    for (const auto& c : cases) {
        FitReport pair("y", 10);
        pair.AddPeriodicPair(c.a, c.b, c.sa, c.sb, 11, "x");
        EXPECT_NEAR(std::atof(pair.Rows()[1].deviationText.c_str()), c.amplitude, 1e-3 * c.amplitude) << c.a << c.b;
        EXPECT_NEAR(std::atof(pair.Rows()[2].deviationText.c_str()), c.shift, 1e-3 * c.shift) << c.a << c.b;
    }
}

// Mend: anything not finite fails the acceptance test (a NaN ratio would pass "> 100").
TEST_F(FitReports, AcceptanceTest) {
    const double nan = std::nan(""), inf = INFINITY;
    struct Case {
        double a, d, e;
        bool accepted;
    };
    for (const Case& c : {Case{1, 1, 0.1, true}, Case{1, 200, 0.1, false}, Case{nan, 1, 0.1, false},
                          Case{1, nan, 0.1, false}, Case{inf, 1, 0.1, false}, Case{1, inf, 0.1, false},
                          Case{1, 1, nan, false}, Case{1, -1, 0.1, false}, Case{0, 10, 0.1, true}}) {
        EXPECT_EQ(FitReportAccepted(&c.a, &c.d, 1, c.e), c.accepted) << c.a << " " << c.d << " " << c.e;
    }
    // A term model that could not be fitted (fewer points than terms) leaves no trace.
    dlg.TermModelFitReport(dc, {1, 2}, {1, 2}, {0, 1, 2}, 0, {}, 0, 1);
    EXPECT_TRUE(theResultTables.paragraphs.empty());
    EXPECT_TRUE(coefficientsText.empty());
    EXPECT_EQ(theData.schemeReady, 0);
}

TEST_F(FitReports, CustomFormulaTexts) {
    // exp(y) = 2 + 3x exactly: F is fitted, the calculator value goes back through ln.
    Column x{1, 2, 3, 4, 5}, y;
    for (double v : x) y.push_back(std::log(2 + 3 * v));
    SetCustom("exp(y)", {"1.0", "x"});
    theCalculator.typedCount = 1;
    theCalculator.typedValueTable[0] = 2.0;
    dlg.CustomFormulaFitReport(dc, x, y, 0, 1);
    EXPECT_EQ(dlg.legendTexts, std::vector<std::string>{"exp(p1) =  2*1.0 +3*p0"});
    EXPECT_EQ(theCalculator.valuesText, "p1=2.07944; ");
    EXPECT_NEAR(dlg.calculatorValue, std::log(8.0), 1e-5);
    Column f;
    CustomTransformedValues(y, x, f);
    EXPECT_NEAR(f[2], 11.0, 1e-3);
}

// Mend: F without spread gets the failure ratio 1e40; mend: no argument, no calculator value.
TEST_F(FitReports, CustomFormulaWithoutSpreadAndWithoutArgument) {
    SetCustom("y", {"1.0"});
    dlg.dataArguments = 0;
    theCalculator.typedCount = 0;
    dlg.CustomFormulaFitReport(dc, {0, 1, 2}, {5, 5, 5}, 0, 1);
    ASSERT_GE(theResultTables.paragraphs.size(), 4u);
    EXPECT_EQ(theResultTables.paragraphs[3], "-1e+20   ");
    EXPECT_EQ(theResultTables.paragraphs[0], "p1 =  5*1.0");
    EXPECT_TRUE(theCalculator.valuesText.empty());
}

}  // namespace
