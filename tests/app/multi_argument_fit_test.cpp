// The several-argument fit driver against least squares solved elsewhere (numpy's lstsq on
// the sample files), its refusals, and the best polynomial's predictions.
#include <cmath>
#include <stdexcept>
#include <sstream>

#include <gtest/gtest.h>

#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "main_window_steps.h"
#include "user_path.h"
#include "app/program_objects.h"
#include "fitting/polynomial_fits.h"

namespace {

using mainwin_steps::LoadRecords;

// Reads a sample file (a header line of names, then numbers) into the store as one series:
// every column an argument but the last, the value.
void LoadSample(const std::string& name) {
    std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/examples/" + name);
    ASSERT_TRUE(in) << name;
    std::string line;
    std::getline(in, line);
    std::istringstream header(line);
    std::vector<std::string> names;
    for (std::string n; header >> n;) names.push_back(n);
    std::vector<double> numbers;
    for (double v; in >> v;) numbers.push_back(v);
    const std::size_t width = names.size();
    const int records = static_cast<int>(numbers.size() / width);
    ASSERT_EQ(LoadRecords(names, records, [&](int r) {
                  const auto first = numbers.begin() + static_cast<std::ptrdiff_t>(r * width);
                  return std::vector<double>(first, first + static_cast<std::ptrdiff_t>(width));
              }),
              1);
}

void ShapeOf(CTabulonDlg& dlg) {
    const Series& s = theData.series[0];
    dlg.dataSeriesCount = static_cast<int>(theData.series.size());
    dlg.dataArguments = s.nArguments;
    dlg.dataValues = s.nValues;
    dlg.dataParameters = s.nParameters;
}

void Schemes(int plane, int parabolic, int best) {
    multistat& m = theMultistat;
    m.plane = plane;
    m.parabolic = parabolic;
    m.bestPolynome = best;
    m.bestPolynomeAuto = 0;
}

class MultiArgumentFitTest : public ::testing::Test {
protected:
    void TearDown() override {
        Schemes(1, 0, 0);
        theData.OnDeleteAll();
    }
    platform::ScriptedDialogs dialogs;
    CTabulonDlg dlg;
};

TEST_F(MultiArgumentFitTest, PlaneAndParabolicMatchLeastSquares) {
    std::ifstream oracle(std::string(TABULON_SOURCE_DIR) + "/tests/app/multi_fit_oracle.txt");
    ASSERT_TRUE(oracle);
    std::string line;
    int checked = 0;
    while (std::getline(oracle, line)) {
        std::istringstream fields(line);
        std::string file;
        int kind = 0;
        double e = 0;
        fields >> file >> kind >> e;
        std::vector<double> expected;
        for (double c; fields >> c;) expected.push_back(c);
        SCOPED_TRACE(file + " kind " + std::to_string(kind));
        LoadSample(file);
        ShapeOf(dlg);
        Schemes(kind == 0, kind == 1, 0);
        std::vector<double> c, d;
        const int valueParameter = dlg.dataParameters - 1;
        EXPECT_NEAR(dlg.RunMultiArgumentFit(0, valueParameter, c, d), e, 1e-6 * e);
        ASSERT_GE(c.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(c[i], expected[i], 1e-6 * std::max(1.0, std::fabs(expected[i]))) << i;
        }
        EXPECT_EQ(dlg.argumentMask.back(), 1);  // the mask follows the roles
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST_F(MultiArgumentFitTest, UnfitShapesFitNothing) {
    LoadSample("stackloss.txt");
    ShapeOf(dlg);
    std::vector<double> c{42}, d{42};
    // No scheme of the driver.
    Schemes(0, 0, 0);
    EXPECT_EQ(dlg.RunMultiArgumentFit(0, 3, c, d), 0);
    // A value parameter that is an argument, or belongs to no parameter of the series.
    Schemes(1, 0, 0);
    EXPECT_EQ(dlg.RunMultiArgumentFit(0, 1, c, d), 0);
    EXPECT_EQ(dlg.RunMultiArgumentFit(0, 7, c, d), 0);
    EXPECT_EQ(c, std::vector<double>{42});
    EXPECT_THROW(dlg.RunMultiArgumentFit(3, 3, c, d), std::invalid_argument);

    // Two arguments need six records: five fit nothing.
    ASSERT_EQ(LoadRecords({"a", "b", "z"}, 6, [](int r) { return std::vector<double>{double(r), double(r * r % 5), 1.0 + r}; }),
              1);
    ShapeOf(dlg);
    theData.series[0].nRecords = 5;
    EXPECT_EQ(dlg.RunMultiArgumentFit(0, 2, c, d), 0);
    EXPECT_EQ(c, std::vector<double>{42});
    theData.series[0].nRecords = 6;
    dlg.RunMultiArgumentFit(0, 2, c, d);
    ASSERT_EQ(c.size(), 3u);
    EXPECT_NEAR(c[0], 1, 1e-9);
    EXPECT_NEAR(c[1], 1, 1e-9);
}

// Three records more than the data's arguments are one too few for the fit: no line, never
// the coefficients of an earlier fit.
void LoadPlaneData(CTabulonDlg& dlg, int records, bool noisy) {
    ASSERT_EQ(LoadRecords({"x1", "x2", "y"}, records,
                          [noisy](int r) {
                              const double a = r, b = (r * 3) % 5;
                              return std::vector<double>{a, b, 1.5 + 2 * a - 0.25 * b + (noisy ? (r % 2) * 0.1 : 0)};
                          }),
              1);
    ShapeOf(dlg);
}

std::string Report(CTabulonDlg& dlg) {
    theResultDocument.Clear();
    theResultTables.Clear();
    dlg.MultiArgumentApproximationReport();
    std::string text;
    for (const std::string& t : theResultDocument.texts) text += t + "|";
    return text;
}

TEST_F(MultiArgumentFitTest, ReportTexts) {
    LoadPlaneData(dlg, 9, true);
    Schemes(1, 0, 0);
    EXPECT_EQ(Report(dlg), "Plane approximation:|Series #1 (9 records)|y = 1.54 + 2*x1 -0.25*x2|"
                           "Coefficient of correlation = |0.9902   |Number of points = 9|3 |Coefficients:|Argument|"
                           "1.0|1.54|0.034|2.2|x1|2|0.0067|0.34|x2|-0.25|0.011|4.6|");
    EXPECT_EQ(coefficientsText, "1.54\t2\t-0.25\t0.9902   \n");
    EXPECT_EQ(theResultTables.tables.back().rows, 4);

    // Parabolic: three rows per argument in the vertex form.
    Schemes(0, 1, 0);
    const std::string parabolic = Report(dlg);
    EXPECT_NE(parabolic.find("|a*(x1 + b)^2||||a|"), std::string::npos) << parabolic;
    EXPECT_EQ(theResultTables.tables.back().rows, 8);

    // Near neighbours: the heading and the weight line only.
    Schemes(0, 0, 0);
    theMultistat.nearNeighbors = 1;
    theMultistat.weightKind = 3;
    theMultistat.nearNeighborPercent = 3;
    EXPECT_EQ(Report(dlg), "Near neighbors estimation:|Closest 3% of points|");
    EXPECT_EQ(coefficientsText, "");
    theMultistat.nearNeighbors = 0;

    // The best polynomial with the constant first: no sign before it, its label "1.0".
    Schemes(0, 0, 1);
    theConstructorMulti.currentPolyTerms = {0, 0, 1, 0, 0, 1};
    const std::string best = Report(dlg);
    theConstructorMulti.currentPolyTerms.clear();
    EXPECT_NE(best.find("|y = 1.54 + 2*x1 -0.25*x2|"), std::string::npos) << best;

    // A series of nArguments + 3 records is skipped.
    Schemes(1, 0, 0);
    LoadPlaneData(dlg, 5, false);
    EXPECT_EQ(Report(dlg), "Plane approximation:|");
    EXPECT_EQ(coefficientsText, "");
}

TEST_F(MultiArgumentFitTest, PolynomialPredictions) {
    // z = 2*b + 3*a over two arguments: terms 1*b and a*1 under basis codes 0 (1) and 1 (x).
    ASSERT_EQ(LoadRecords({"a", "b", "z"}, 8,
                          [](int r) {
                              const double a = r, b = (r * 3) % 5;
                              return std::vector<double>{a, b, 2 * b + 3 * a};
                          }),
              1);
    ShapeOf(dlg);
    const std::vector<std::uint32_t> codes{0, 1, 1, 0};
    argumentColumns = {0, 1};
    dlg.fitCoefficients.fill(0);
    dlg.fitCoefficients[0] = 2, dlg.fitCoefficients[1] = 3;
    std::vector<double> values, predicted;
    dlg.fitCorrelation = 0.5;
    EXPECT_EQ(dlg.MultiPolynomialValues(values, predicted, 2, codes), 0);
    EXPECT_EQ(predicted, values);
    // A constant value column has no spread: 1e40.
    for (int r = 0; r < 8; ++r) theData.allValues[static_cast<std::size_t>(r * 3 + 2)] = 5;
    EXPECT_EQ(dlg.MultiPolynomialValues(values, predicted, 2, codes), 1e40);
    // A second series: nothing computed.
    dlg.dataSeriesCount = 2;
    values = {9};
    EXPECT_EQ(dlg.MultiPolynomialValues(values, predicted, 2, codes), 0);
    EXPECT_EQ(values, std::vector<double>{9});
}

// A sample file of six arguments imported and estimated by near neighbours, as the user does:
// the chart of measured against estimated values writes its line.
TEST(MultiArgumentSamples, NearNeighbourLineOfTheSampleFiles) {
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, std::string(TABULON_SOURCE_DIR) + "/examples/longley.txt"));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(user_path::Press(dlg, "Near neighbors method "));
            ASSERT_TRUE(user_path::ChooseItem(theMultistat.Control(multistat::kWeightCombo).Widget(),
                                              "Weight is invert exponent distance"));
            const std::string text = user_path::ResultText(dlg);
            // Distances in the hundred thousands: the exponent weights stay relative to the nearest.
            EXPECT_NE(text.find("TOTEMP(GNPDEFL,GNP,UNEMP,ARMED,POP,YEAR)  Number of records = 16  Coefficient of "
                                "correlation = \t0.6736"),
                      std::string::npos)
                << text;
        },
        &dialogs);
}

}  // namespace
