// The correlation view and reports against numpy, and the "Max" condition search finding a
// planted dependency.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "charts/chart_text.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/xystatistic_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"
#include "statistics/color_maps.h"
#include "statistics/correlation_view.h"
#include "statistics/distrimution_page.h"
#include "statistics/max_condition_search.h"
#include "statistics/one_variable.h"
#include "statistics/random.h"
#include "tests/statistics/oracle_table.h"
#include "tests/statistics/series_support.h"

namespace {

// Appends a series of records; parameters named p0, p1, ...
void AddSeries(const Records& records) {
    std::vector<std::string> names;
    for (size_t p = 0; p < records[0].size(); ++p) names.push_back("p" + std::to_string(p));
    AppendSeries(records, names);
}

struct OracleSeries {
    std::vector<double> corr;
    Records records;
};

std::vector<OracleSeries> LoadOracle() {
    std::vector<OracleSeries> out;
    for (const auto& row : ReadOracleTable("correlation_series.csv")) {
        OracleSeries s;
        s.corr.assign(row.begin() + 1, row.begin() + 17);
        for (auto at = row.begin() + 17; at < row.begin() + 17 + 4 * static_cast<long>(row[0]); at += 4)
            s.records.push_back(std::vector<double>(at, at + 4));
        out.push_back(s);
    }
    return out;
}

class CorrelationTest : public ::testing::Test {
protected:
    void SetUp() override {
        theData.OnDeleteAll();
        context.hasMultiArgumentData = 1;
        context.dataSeriesCount = &seriesCount;
        context.coefficientsText = &coefficients;
        SetChartFrame(600, 500, 1, PlotViewRanges{});
    }
    void TearDown() override { theData.OnDeleteAll(); }
    platform::ScriptedDialogs dialogs;
    CorrelationContext context;
    int seriesCount = 0;
    std::string coefficients;
};

TEST_F(CorrelationTest, CellsAgainstNumpyPerSeries) {
    const auto oracle = LoadOracle();
    ASSERT_EQ(oracle.size(), 2u);
    for (const auto& s : oracle) AddSeries(s.records);
    platform::Bitmap bitmap(600, 500);
    platform::Canvas dc(bitmap);
    for (int series = 0; series < 2; ++series) {
        ASSERT_EQ(PaintCorrelationView(dc, series, context), 1);
        ASSERT_EQ(correlationMatrix.size(), 16u);
        for (size_t k = 0; k < 16; ++k)
            EXPECT_NEAR(correlationMatrix[k], oracle[static_cast<size_t>(series)].corr[k], 1e-12) << k;
    }
    // The report shows each series' own coefficients, whatever matrix the view left.
    PaintCorrelationView(dc, 0, context);
    ASSERT_EQ(ReportCorrelationOfParameters(dc, context), 1);
    ASSERT_EQ(theResultTables.tables.size(), 2u);
    for (size_t t = 0; t < 2; ++t) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                char expected[40];
                std::snprintf(expected, sizeof expected, "%.3g   ", oracle[t].corr[static_cast<size_t>(i * 4 + j)]);
                EXPECT_EQ(*theResultTables.CellOf(t, i + 1, j + 1), expected) << t << " " << i << " " << j;
            }
        }
    }
    EXPECT_NE(coefficients.find("-0.578"), std::string::npos);  // negative cells stay in the copy
}

TEST_F(CorrelationTest, ViewNeedsFourRecordsMoreThanArguments) {
    Records records;
    for (int k = 0; k < 5; ++k) records.push_back({double(k), double(k * k), 5.0});
    AddSeries(records);
    platform::Bitmap bitmap(600, 500);
    platform::Canvas dc(bitmap);
    ASSERT_EQ(theData.series[0].nArguments, 2);  // the first parameters are arguments: 6 records needed
    EXPECT_EQ(PaintCorrelationView(dc, 0, context), 0);
    theData.OnDeleteAll();
    records.push_back({5, 25, 5});
    AddSeries(records);
    ASSERT_EQ(PaintCorrelationView(dc, 0, context), 1);
    EXPECT_EQ(correlationMatrix.size(), 9u);
    EXPECT_EQ(correlationMatrix[8], 0);  // a constant column: no correlation, not NaN
}

// Every record's cross, cell by cell (a later cell's square covering what an earlier cross
// left on it), as one-pixel lines would draw them: the pixels the view paints black in the
// cells' area, and the coefficients of every pair as the pairwise routine gives them.
TEST_F(CorrelationTest, EveryCrossOfEveryCellAndPairwiseCoefficients) {
    Records records;
    RandomSeed(11, 12, 13);
    for (int k = 0; k < 400; ++k) {
        const double a = RandomNormal(0, 1);
        records.push_back({a, RandomUnit(), a * a + RandomNormal(0, 0.1), -3 * a, k % 2 ? NAN : 1.0, RandomUnit() * 1e6});
    }
    AddSeries(records);
    const int n = 6;
    platform::Bitmap bitmap(600, 500);
    platform::Canvas dc(bitmap);
    ASSERT_EQ(PaintCorrelationView(dc, 0, context), 1);

    std::vector<std::vector<double>> columns(n);
    for (const auto& r : records)
        for (int p = 0; p < n; ++p) columns[static_cast<size_t>(p)].push_back(r[static_cast<size_t>(p)]);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
        for (int j = 0; j < n; ++j) {
            const double r = correlationMatrix[static_cast<size_t>(i * n + j)];
            const double pairwise = CorrelationCoefficient(columns[static_cast<size_t>(i)], columns[static_cast<size_t>(j)]);
            EXPECT_TRUE(r == pairwise || (std::isnan(r) && std::isnan(pairwise))) << i << " " << j;
        }

    int widest = 0, tallest = 0;
    for (int p = 0; p < n; ++p) {
        int h = 0;
        widest = std::max(widest, MeasureText(dc, &theLegend.xCaptionFont, "p" + std::to_string(p), h));
        tallest = std::max(tallest, h);
    }
    const int x0 = plotMarginLeft + widest + 10, y0 = plotMarginTop + 2 * tallest + 10;
    const int cw = (plotFrameRight - x0) / n, ch = (plotFrameBottom - y0) / n;
    std::vector<char> black(600 * 500, 0);
    const auto set = [&](int x, int y, char on) {
        if (x >= 0 && y >= 0 && x < 600 && y < 500) black[static_cast<size_t>(y * 600 + x)] = on;
    };
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int left = x0 + i * cw, top = y0 + j * ch;
            for (int y = top; y < top + ch; ++y)
                for (int x = left; x < left + cw; ++x) set(x, y, 0);
            const auto range = [](const std::vector<double>& c, double& lo, double& hi) {
                MinMaxOfArray(c, lo, hi);
                const double d = std::fabs(hi - lo) * 0.05;
                lo -= d, hi += d;
            };
            plotLeft = left, plotRight = left + cw, plotTop = top, plotBottom = top + ch;
            range(columns[static_cast<size_t>(i)], plotXMin, plotXMax);
            range(columns[static_cast<size_t>(j)], plotYMin, plotYMax);
            ComputePlotScales();
            for (size_t k = 0; k < records.size(); ++k) {
                const int px = WorldToPixelX(columns[static_cast<size_t>(i)][k]);
                const int py = WorldToPixelY(columns[static_cast<size_t>(j)][k]);
                set(px, py, 1), set(px + 1, py, 1), set(px, py + 1, 1);
            }
        }
    }
    int compared = 0, crosses = 0;
    for (int y = y0 - 1; y < std::min(500, y0 + n * ch + 2); ++y) {
        for (int x = x0 - 1; x < std::min(600, x0 + n * cw + 2); ++x) {
            const bool expected = black[static_cast<size_t>(y * 600 + x)] != 0;
            ASSERT_EQ(dc.GetPixel(x, y) == platform::kBlack, expected) << x << " " << y;
            ++compared;
            crosses += expected;
        }
    }
    EXPECT_GT(crosses, 1000);
    EXPECT_GT(compared, 100000);
}

TEST_F(CorrelationTest, TwoParameterLine) {
    AddSeries({{1, 2}, {2, 4}, {3, 7}});
    std::vector<std::string> legendTexts;
    std::vector<unsigned> legendMarks;
    context.legendTexts = &legendTexts;
    context.legendMarks = &legendMarks;
    theResult.formulaText.clear();
    theXystatistic.correlationCoefficient = 1;
    context.dataArguments = 0;  // no argument and no histogram: the record number
    ReportCorrelationOfTwoParameters({1, 2, 3}, {-2, -4, -7}, 0, 1, context);
    theXystatistic.correlationCoefficient = 0;
    ASSERT_EQ(legendTexts.size(), 1u);
    EXPECT_EQ(legendTexts[0], "Coefficient of correlation p1 and n is -0.9934");
    EXPECT_EQ(std::tuple(theResult.formulaText, coefficients), std::tuple(legendTexts[0] + "\n", "-0.993\n"));
}

// Records of a (uniform 0..10), b (codes 0..3), c (noise) and the value v, higher by one
// standard deviation where a lies in [6, 8] (a larger shift saturates every score at 1, and
// the first interval tried then wins).
std::vector<std::vector<double>> Planted(int n) {
    RandomSeed(4000000005u, 600000006u, 700000007u);
    std::vector<std::vector<double>> records;
    for (int k = 0; k < n; ++k) {
        const double a = RandomUnit() * 10, b = RandomInt(0, 3), c = RandomNormal(0, 1);
        const double v = RandomNormal(0, 1) + (a >= 6 && a <= 8 ? 1.0 : 0.0);
        records.push_back({a, b, c, v});
    }
    return records;
}

TEST_F(CorrelationTest, MaxSearchFindsAPlantedDependency) {
    AddSeries(Planted(600));
    for (int p = 0; p < 3; ++p) {
        theData.activeParameter = p;
        theData.MakeActiveParameterInactive();
    }
    distrimution& page = theDistrimution;
    page.conditions.clear();
    page.OnMax();
    ASSERT_FALSE(page.conditions.empty());
    EXPECT_LE(page.conditions.size(), 19u);
    const conditions& c = page.conditions[0];
    EXPECT_EQ(c.parameterIndex, 0);
    // The interval found is the planted one, taken in or (as here) left out; its lower bound
    // rises well above the range's minimum rather than being pulled down to it.
    EXPECT_TRUE(c.operation == kConditionAnd || c.operation == kConditionAndNot) << c.operation;
    EXPECT_NEAR(c.from, 6, 0.6);
    EXPECT_NEAR(c.till, 8, 0.6);
    theResult.visibleDataOnly = 1;
    page.partOfWhole = 0;
}

TEST_F(CorrelationTest, MaxSearchMessagesAndBounds) {
    distrimution& page = theDistrimution;
    AddSeries(Planted(20));
    AddSeries(Planted(20));
    page.conditions = {{1, 0, 1, 2}};
    page.OnMax();
    EXPECT_EQ(dialogs.Messages().back(), "The feature is only for one series of data");
    theData.OnDeleteAll();
    AddSeries(Planted(20));  // a, b, c arguments and v the value: two values are refused
    theData.activeParameter = 2;
    theData.MakeActiveParameterValue();
    page.OnMax();
    EXPECT_EQ(dialogs.Messages().back(), "The feature is only for one value relative all others");

    // The step search keeps both bounds inside the parameter's range.
    const auto records = Planted(300);
    std::vector<double> flat;
    for (const auto& r : records) flat.insert(flat.end(), r.begin(), r.end());
    std::vector<double> v;
    for (const auto& r : records) v.push_back(r[3]);
    MaxSearchTables tables;
    SplitDistributions(tables, v);
    std::vector<conditions> list{{0, kConditionAnd, 0.5, 3}};
    ConditionSearch search(flat.data(), 300, 4, 3, list, tables);
    search.OptimizeLastCondition();
    const auto [lo, hi] = std::minmax_element(records.begin(), records.end(),
                                              [](const auto& a, const auto& b) { return a[0] < b[0]; });
    EXPECT_GE(list[0].from, (*lo)[0]);
    EXPECT_LE(list[0].till, (*hi)[0]);

    // Fewer than 10 values: every spread 0.
    std::vector<double> spreads;
    double mean = 1;
    std::int32_t k = 0;
    SubsampleMeanSpread({1, 2, 3}, spreads, mean, k);
    EXPECT_EQ(std::tuple(k, mean, *std::max_element(spreads.begin(), spreads.end())), std::tuple(100, 0.0, 0.0));
    SubsampleMeanSpread(v, spreads, mean, k);
    EXPECT_EQ(spreads[99], 0);  // the last subset stays empty: its mean is the overall one
}

}  // namespace
