#include "statistics/two_variables_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "charts/axes.h"
#include "charts/chart_page.h"
#include "charts/chart_text.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "widgets/progress_bar.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/scene3d.h"
#include "charts/two_argument_views.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "formula/number_formatting.h"
#include "platform/pixel.h"
#include "statistics/color_maps.h"
#include "statistics/distribution2_page.h"
#include "statistics/one_variable.h"
#include "statistics/one_variable_view.h"

TwoVariableGrid twoVariableGrid;
double twoVariableBox[6] = {0, 0, 0, 0, 0, 0};

namespace {

using platform::Canvas;
using platform::Pen;
using platform::PenStyle;

constexpr platform::ColorRef kTitleColor = 0xFF8264;
constexpr platform::ColorRef kDensityColor = 0x32C800;
const char kPaintingMessage[] = "Painting data to virtual screen";

// A series with at least 3 records and its first two value columns, read in place.
struct TwoVariableSeries {
    int series = 0;
    int first = 0, second = 0;  // global parameter indexes
    TwoColumns columns;
    std::size_t Size() const { return columns.records; }
    double X(std::size_t k) const { return columns.x[k * columns.stride]; }
    double Y(std::size_t k) const { return columns.y[k * columns.stride]; }
};

// Mean and standard deviation as MeanStdDev forms them (the mean shifted by the first value,
// then the squares about it), over one column read in place.
void ColumnMeanStdDev(const TwoVariableSeries& t, int v, double& mean, double& sd) {
    const std::size_t n = t.Size();
    mean = sd = 0;
    if (n < 2) return;
    const auto at = [&](std::size_t k) { return v == 0 ? t.X(k) : t.Y(k); };
    const double shift = at(0);
    double sum = 0;
    for (std::size_t k = 0; k < n; ++k) sum += at(k) - shift;
    mean = shift + sum / static_cast<double>(n);
    double squares = 0;
    for (std::size_t k = 0; k < n; ++k) squares += (at(k) - mean) * (at(k) - mean);
    sd = std::sqrt(std::max(0.0, squares / static_cast<double>(n - 1)));
}

// Widens [lo, hi] by the finite values of one column, as ExtendXRange does.
void ExtendByColumn(const TwoVariableSeries& t, int v, double& lo, double& hi) {
    for (std::size_t k = 0; k < t.Size(); ++k) {
        const double x = v == 0 ? t.X(k) : t.Y(k);
        if (!std::isfinite(x)) continue;
        if (x > hi) hi = x;
        if (x < lo) lo = x;
    }
}

std::vector<TwoVariableSeries> QualifyingSeries() {
    std::vector<TwoVariableSeries> out;
    for (int s = 0; s < static_cast<int>(theData.series.size()); ++s) {
        const Series& se = theData.series[static_cast<size_t>(s)];
        if (se.nRecords < se.nArguments + 3) continue;
        std::vector<int> columns;
        for (int p = 0; p < se.nParameters && columns.size() < 2; ++p)
            if (theData.parameters[static_cast<size_t>(se.firstParameter + p)].role == kRoleValue) columns.push_back(p);
        if (columns.size() < 2) continue;
        // A series the store does not hold whole is taken as having no records.
        const long long end = static_cast<long long>(se.firstValue) + static_cast<long long>(se.nRecords) * se.nParameters;
        const bool held = se.firstValue >= 0 && end <= static_cast<long long>(theData.allValues.size());
        TwoVariableSeries t;
        t.series = s;
        t.first = se.firstParameter + columns[0];
        t.second = se.firstParameter + columns[1];
        const double* records = theData.allValues.data() + (held ? se.firstValue : 0);
        t.columns = TwoColumns{records + columns[0], records + columns[1], held ? static_cast<std::size_t>(se.nRecords) : 0,
                               static_cast<std::size_t>(se.nParameters)};
        out.push_back(t);
    }
    return out;
}

platform::ColorRef ColorOf(int global) { return static_cast<platform::ColorRef>(theData.parameters[static_cast<size_t>(global)].color); }
const std::string& NameOf(int global) { return theData.parameterNames[static_cast<size_t>(global)]; }

std::string Tidy(const char* format, double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    std::string text = buffer;
    TidyExponentText(text);
    return text;
}

// A range of no width (a constant variable) is opened to one unit around its value.
void OpenRange(double& lo, double& hi) {
    if (!(hi - lo > 0)) {
        lo -= 0.5;
        hi += 0.5;
    }
}

void ApplyAutomaticIntervals() {
    distribution2& page = theDistribution2;
    if (!page.autoIntervals) return;
    const int n = AutomaticIntervalCount(page.largestRecordCount);
    page.firstIntervals = page.secondIntervals = n;
    if (page.HasWindow()) page.UpdateData(false);
}

void WriteTitle() {
    resultDocument& doc = theResultDocument;
    doc.Clear();
    doc.NewLine();
    doc.AddText("Distribution of two variables.", kTitleColor, 140);
    doc.NewLine();
    doc.NewLine();
    AddVariableHeader();
    doc.AddTab(300);
    doc.AddText("N", 0, 100);
    doc.AddTab(320);
    doc.NewLine();
    theResultTables.AddParagraphStyled("Distribution of two variables.\n", 1, kTitleColor);
}

// The legend-block table drawn on the chart and kept as the result page's text.
class LegendBlock {
public:
    LegendBlock(Canvas& dc, const TwoVariablesViewState& state) : dc_(dc), state_(state), shown_(theLegend.showFormulas != 0) {
        if (!shown_) return;
        theResult.formulaText.clear();
        old_ = dc.SelectFont(theLegend.formulaFont);
        int h = 0;
        columns_[0] = 50;
        const char* measured[] = {"Name", "Average", "St.Dev", "Coef. of Var."};
        for (int c = 0; c < 4; ++c) columns_[c + 1] = columns_[c] + TextExtentWithFont(dc, nullptr, measured[c], h) + 20;
        const platform::ColorRef oldColor = dc.SetTextColor(0);
        const char* headers[] = {"Name", "Average", "St.Dev.", "Coef. of Var.", "N"};
        for (int c = 0; c < 5; ++c) Cell(c, 0, headers[c]);
        theResult.formulaText += "\n";
        dc.SetTextColor(oldColor);
    }
    ~LegendBlock() {
        if (shown_) dc_.SelectFont(old_);
    }
    LegendBlock(const LegendBlock&) = delete;
    LegendBlock& operator=(const LegendBlock&) = delete;

    // One more line: the texts at columns 0, 1, ... in the colour given.
    void Line(const std::vector<std::string>& texts, platform::ColorRef color) {
        if (!shown_) return;
        ++line_;
        const platform::ColorRef oldColor = dc_.SetTextColor(color);
        for (size_t c = 0; c < texts.size() && c < 5; ++c) Cell(static_cast<int>(c), line_, texts[c]);
        dc_.SetTextColor(oldColor);
    }

private:
    void Cell(int column, int line, const std::string& text) {
        DrawTextClipped(dc_, plotLeft + columns_[column], state_.textLineY(line), text);
        theResult.formulaText += text;
        theResult.formulaText += '\t';
    }
    Canvas& dc_;
    const TwoVariablesViewState& state_;
    bool shown_;
    platform::Font old_;
    int columns_[5] = {0, 0, 0, 0, 0};
    int line_ = 0;
};

// Steps 9.1 and 9.2 of a series: its name and both variables' rows.
void ReportSeries(const TwoVariableSeries& t, LegendBlock& legend) {
    resultDocument& doc = theResultDocument;
    resultTables& tables = theResultTables;
    const Series& se = theData.series[static_cast<size_t>(t.series)];
    const std::string& seriesName = theData.seriesNames[static_cast<size_t>(t.series)];
    doc.AddText(seriesName, ColorOf(se.firstParameter + se.nParameters - 1), 100);
    doc.NewLine();
    tables.AddParagraph(seriesName);
    tables.AddParagraph("\n");
    legend.Line({seriesName}, 0);
    tables.AddTable(3, 5);
    for (const char* h : {"Variable", "Average", "St. Dev.", "Coef. of Var.(%)", "N"}) tables.AddCellStyled(h, 1, 0);
    for (int v = 0; v < 2; ++v) {
        const int global = v == 0 ? t.first : t.second;
        double mean = 0, sd = 0;
        ColumnMeanStdDev(t, v, mean, sd);
        std::string meanText, sdText;
        FormatValueWithDeviation(mean, sd, meanText, sdText, static_cast<int>(t.Size()), theResult.autoDigits,
                                 theResult.digits);
        const double cv = CoefficientOfVariation(mean, sd);
        const std::string cvText = Tidy("%.3g", cv), nText = std::to_string(t.Size());
        const platform::ColorRef color = ColorOf(global);
        doc.AddSeriesMark(static_cast<std::uint32_t>(global));
        doc.AddTab(40);
        doc.AddText(NameOf(global), color, 100);
        doc.AddTab(120);
        doc.AddText(meanText, 0, 100);
        doc.AddTab(180);
        doc.AddText(sdText, 0, 100);
        doc.AddTab(240);
        doc.AddText(cvText, ColorForPercent(cv), 100);
        doc.AddTab(300);
        doc.AddText(nText, 0, 100);
        doc.AddTab(320);
        doc.NewLine();
        tables.AddCellStyled(NameOf(global), 0, color);
        tables.AddCellStyled(meanText, 0, 0);
        tables.AddCellStyled(sdText, 0, 0);
        tables.AddCellStyled(cvText, 0, ColorForPercent(cv));
        tables.AddCellStyled(nText, 0, 0);
        legend.Line({NameOf(global), meanText, sdText, cvText, nText}, color);
    }
    tables.AddParagraph("\n");
}

// Counts the series into the grid and, when asked, reports where the records are densest.
void CountAndReportDensity(const TwoVariableSeries& t, LegendBlock& legend) {
    TwoVariableGrid& g = twoVariableGrid;
    const std::int64_t densest = CountRecords(g, t.columns);
    double meanX = 0, meanY = 0;
    if (!theDistribution2.maximumDensity || densest < 0 || !MeansInCell(g, t.columns, densest, meanX, meanY)) return;
    const std::string mx = Tidy(" = %.3g and ", meanX), my = Tidy(" = %.3g", meanY);
    resultDocument& doc = theResultDocument;
    doc.AddText("Maximum density at ", kDensityColor, 100);
    doc.AddText(NameOf(t.first), ColorOf(t.first), 100);
    doc.AddText(mx, 0, 100);
    doc.AddText(NameOf(t.second), ColorOf(t.second), 100);
    doc.AddText(my, 0, 100);
    doc.NewLine();
    const std::string line = "Maximum density at " + NameOf(t.first) + mx + NameOf(t.second) + my;
    theResultTables.AddParagraph(line);
    theResultTables.AddParagraph("\n");
    legend.Line({line}, 0);
}

bool ProjectTo(const scene3d& s, double x, double y, double z, int& px, int& py) {
    double fx = 0, fy = 0, size = 0, depth = 0;
    if (!s.ProjectPoint(x, y, z, fx, fy, size, depth)) return false;
    px = platform::SaturatingToInt(fx);
    py = platform::SaturatingToInt(fy);
    return true;
}

// The plot x and y ranges of every qualifying series (0..0 without one), and the largest
// record count of them.
void DataRanges(const std::vector<TwoVariableSeries>& all) {
    distribution2& page = theDistribution2;
    page.largestRecordCount = 0;
    ResetPlotRanges();
    for (const TwoVariableSeries& t : all) {
        ExtendByColumn(t, 0, plotXMin, plotXMax);
        ExtendByColumn(t, 1, plotYMin, plotYMax);
        page.largestRecordCount = std::max(page.largestRecordCount, static_cast<int>(t.Size()));
    }
    if (plotXMin > plotXMax) plotXMin = plotXMax = 0;
    if (plotYMin > plotYMax) plotYMin = plotYMax = 0;
}

// The view box from the data: ranges, automatic intervals, the grid, the counts, the camera
// and a zoom that fits every bar.
void RebuildBox(const std::vector<TwoVariableSeries>& all, int w, int h) {
    distribution2& page = theDistribution2;
    DataRanges(all);
    OpenRange(plotXMin, plotXMax);
    OpenRange(plotYMin, plotYMax);
    ApplyAutomaticIntervals();
    TwoVariableGrid& g = twoVariableGrid;
    const int nx = ClampIntervals(page.firstIntervals), ny = ClampIntervals(page.secondIntervals);
    SetGrid(g, plotXMin, plotYMin, (plotXMax - plotXMin) / nx, (plotYMax - plotYMin) / ny, nx, ny);
    page.densityGrid[0] = g.originX;
    page.densityGrid[1] = g.originY;
    g.largest = 0;
    for (const TwoVariableSeries& t : all) CountRecords(g, t.columns);
    plotZMin = 0;
    plotZMax = g.largest;
    const double box[6] = {plotXMin, plotXMax, plotYMin, plotYMax, 0, static_cast<double>(g.largest)};
    std::copy(box, box + 6, twoVariableBox);
    scene3d& scene = theD3view.theScene3d;
    scene.SetupView(box[0], box[1], box[2], box[3], box[4], std::max(box[5], 1.0), 0, 0, w, h);

    double m = -1e30;
    for (const TwoVariableSeries& t : all) {
        CountRecords(g, t.columns);
        for (int i = 0; i < g.nx; ++i) {
            for (int j = 0; j < g.ny; ++j) {
                const std::int64_t k = std::clamp<std::int64_t>(static_cast<std::int64_t>(i) * g.ny + j - 1, 0, g.cells - 1);
                const double x = g.originX + i * g.widthX, y = g.originY + j * g.widthY;
                for (double z : {static_cast<double>(g.counts[static_cast<size_t>(k)]), 0.0}) {
                    double px = 0, py = 0, size = 0, depth = 0;
                    if (!scene.ProjectPoint(x, y, z, px, py, size, depth)) continue;
                    if (scene.halfWidth > 0) m = std::max(m, std::fabs(px - scene.halfWidth) / scene.halfWidth);
                    if (scene.halfHeight > 0) m = std::max(m, std::fabs(py - scene.halfHeight) / scene.halfHeight);
                }
            }
        }
    }
    // No point measured (no qualifying series) leaves the zoom of the set-up.
    const double zoom = scene.zoom / (m * 1.17);
    if (m > 0 && std::isfinite(zoom)) scene.zoom = zoom;
    ShowCameraOnPage();
    theD3view.sceneRebuildRequest = 0;
}

void PaintBars(Canvas& mem, const scene3d& scene, const TwoVariableSeries& t) {
    const TwoVariableGrid& g = twoVariableGrid;
    const Pen oldPen = mem.SelectPen(Pen(PenStyle::Solid, std::max(1, theChart.gridWidthEdit), theChart.sceneLineColor));
    int px = 0, py = 0;
    for (int i = 0; i <= g.nx; ++i) {
        for (int j = 0; j <= g.ny; ++j) {
            std::uint32_t lo = static_cast<std::uint32_t>(g.largest) + 1, hi = 0;
            bool any = false;
            for (const auto& [ci, cj] : {std::pair{i, j}, std::pair{i, j - 1}, std::pair{i - 1, j - 1}, std::pair{i - 1, j}}) {
                if (ci < 0 || cj < 0 || ci >= g.nx || cj >= g.ny) continue;
                const std::uint32_t c = g.counts[static_cast<size_t>(static_cast<std::int64_t>(ci) * g.ny + cj)];
                lo = std::min(lo, c);
                hi = std::max(hi, c);
                any = true;
            }
            if (!any || lo == hi) continue;
            const double x = g.originX + i * g.widthX, y = g.originY + j * g.widthY;
            if (ProjectTo(scene, x, y, lo, px, py)) mem.MoveTo(px, py);
            if (ProjectTo(scene, x, y, hi, px, py)) mem.LineTo(px, py);
        }
    }
    const Pen a(PenStyle::Solid, theChart.fittingLineWidth, ColorOf(t.first));
    const Pen b(PenStyle::Solid, theChart.fittingLineWidth, ColorOf(t.second));
    for (int i = 0; i < g.nx; ++i) {
        for (int j = 0; j < g.ny; ++j) {
            const double h = g.counts[static_cast<size_t>(static_cast<std::int64_t>(i) * g.ny + j)];
            const double x = g.originX + i * g.widthX, y = g.originY + j * g.widthY;
            if (ProjectTo(scene, x, y, h, px, py)) mem.MoveTo(px, py);
            const struct {
                double x, y;
                const Pen* pen;
            } edges[] = {{x, y + g.widthY, &a}, {x + g.widthX, y + g.widthY, &b}, {x + g.widthX, y, &a}, {x, y, &b}};
            for (const auto& e : edges) {
                mem.SelectPen(*e.pen);
                if (ProjectTo(scene, e.x, e.y, h, px, py)) mem.LineTo(px, py);
            }
        }
    }
    mem.SelectPen(oldPen);
}

}  // namespace

int PaintDistributionOfTwoVariables(Canvas& dc, const TwoVariablesViewState& state) {
    if (state.seriesCount < 1 || state.arguments != 0 || state.values != 2 || !state.view3D) return 0;
    const int w = plotRight - plotLeft, h = plotBottom - plotTop;
    if (w <= 0 || h <= 0) return 0;
    platform::Bitmap bitmap(w + 2, h + 2);
    if (bitmap.IsNull()) return 0;
    Canvas mem(bitmap);
    PaintPlotBackground(mem, w, h, state.nullPen);
    WriteTitle();

    scene3d& scene = theD3view.theScene3d;
    FollowPanelSize(state.frameResized, w, h);
    const std::vector<TwoVariableSeries> all = QualifyingSeries();
    if (theD3view.sceneRebuildRequest) RebuildBox(all, w, h);
    ApplyAutomaticIntervals();

    distribution2& page = theDistribution2;
    TwoVariableGrid& g = twoVariableGrid;
    const double* box = twoVariableBox;
    const int nx = ClampIntervals(page.firstIntervals), ny = ClampIntervals(page.secondIntervals);
    SetGrid(g, box[0], box[2], (box[1] - box[0]) / nx, (box[3] - box[2]) / ny, nx, ny);
    page.densityGrid[0] = g.originX;
    page.densityGrid[1] = g.originY;

    LegendBlock legend(dc, state);
    g.largest = 0;
    for (const TwoVariableSeries& t : all) {
        ReportSeries(t, legend);
        CountAndReportDensity(t, legend);
        plotZMin = 0;
        plotZMax = g.largest;
        PaintBars(mem, scene, t);
    }

    if (theChart.gridWidthEdit >= 1) {
        const Pen oldPen = mem.SelectPen(Pen(PenStyle::Solid, theChart.gridWidthEdit, theChart.sceneLineColor));
        const platform::ColorRef oldColor = mem.SetTextColor(theLegend.captionColor);
        scene.PaintBoxAxes(mem, &theLegend.xCaptionFont, g.originX, g.originY, plotZMin, g.originX + g.nx * g.widthX,
                           g.originY + g.ny * g.widthY, std::max(plotZMax, plotZMin + 1), theChart.intervals);
        mem.SetTextColor(oldColor);
        mem.SelectPen(oldPen);
    }
    dc.CopyFrom(plotLeft, plotTop, w, std::max(0, h - theChart.borderWidth), bitmap, 0, 0);
    return 1;
}

int PaintDistributionOfTwoVariablesFlat(Canvas& dc, const TwoVariablesViewState& state) {
    if (state.seriesCount < 1 || state.arguments != 0 || state.values != 2 || state.view3D ||
        theXyview.colorMapMode == 0)
        return 0;
    const int w = plotRight - plotLeft, h = plotBottom - plotTop;
    if (w <= 0 || h <= 0) return 0;
    WriteTitle();
    platform::Bitmap bitmap(w + 2, h + 2);
    if (bitmap.IsNull()) return 1;
    Canvas mem(bitmap);
    PaintPlotBackground(mem, w, h, state.nullPen);

    xyview& view = theXyview;
    distribution2& page = theDistribution2;
    const std::vector<TwoVariableSeries> all = QualifyingSeries();
    double* grid = page.densityGrid;
    if (!view.autozoom) {
        plotXMin = view.xMin, plotXMax = view.xMax;
        plotYMin = view.yMin, plotYMax = view.yMax;
        plotZMin = view.zMin, plotZMax = view.zMax;
    } else {
        DataRanges(all);
        grid[0] = plotXMin, grid[1] = plotYMin, grid[2] = plotXMax, grid[3] = plotYMax;
        const double p = view.stepPercent * 0.005;
        const double dx = std::fabs((plotXMax - plotXMin) * p), dy = std::fabs((plotYMax - plotYMin) * p);
        plotXMin -= dx, plotXMax += dx, plotYMin -= dy, plotYMax += dy;
        view.xMin = plotXMin, view.xMax = plotXMax, view.yMin = plotYMin, view.yMax = plotYMax;
        if (view.HasWindow()) view.UpdateData(false);
    }
    ApplyAutomaticIntervals();

    // A grid never built (all zero) or over a constant variable: the data's own range.
    double minX = grid[0], minY = grid[1], maxX = grid[2], maxY = grid[3];
    if (!(maxX - minX > 0) || !(maxY - minY > 0)) {
        double lo = 1e300, hi = -1e300, loY = 1e300, hiY = -1e300;
        for (const TwoVariableSeries& t : all) {
            for (std::size_t k = 0; k < t.Size(); ++k) {
                lo = std::min(lo, t.X(k)), hi = std::max(hi, t.X(k));
                loY = std::min(loY, t.Y(k)), hiY = std::max(hiY, t.Y(k));
            }
        }
        if (!(maxX - minX > 0) && hi >= lo) minX = lo, maxX = hi;
        if (!(maxY - minY > 0) && hiY >= loY) minY = loY, maxY = hiY;
        OpenRange(minX, maxX);
        OpenRange(minY, maxY);
    }
    TwoVariableGrid& g = twoVariableGrid;
    const int nx = ClampIntervals(page.firstIntervals), ny = ClampIntervals(page.secondIntervals);
    // Nodes at both ends: n nodes span the range in n - 1 steps (one node: the whole range).
    SetGrid(g, minX, minY, (maxX - minX) / std::max(1, nx - 1), (maxY - minY) / std::max(1, ny - 1), nx, ny);

    if (view.autozoom) {
        g.largest = 0;
        for (const TwoVariableSeries& t : all) CountRecords(g, t.columns);
        plotZMin = 0;
        plotZMax = g.largest;
        view.zMin = 0;
        view.zMax = plotZMax;
        if (view.HasWindow()) view.UpdateData(false);
    }
    ComputePlotScales();
    DrawProgressBar(0, kPaintingMessage, 0.6);

    LegendBlock legend(dc, state);
    const TwoVariableSeries* shown = nullptr;
    for (const TwoVariableSeries& t : all)
        if (t.series == state.mapSelection) shown = &t;
    if (shown) {
        ReportSeries(*shown, legend);
        CountAndReportDensity(*shown, legend);
        std::vector<double> xs, ys, zs;
        for (int i = 0; i < g.nx; ++i) {
            for (int j = 0; j < g.ny; ++j) {
                const std::int64_t k = std::clamp<std::int64_t>(static_cast<std::int64_t>(i) * g.ny + j, 0, g.cells - 1);
                xs.push_back(g.originX + i * g.widthX + g.widthX / 2);
                ys.push_back(g.originY + j * g.widthY + g.widthY / 2);
                zs.push_back(g.counts[static_cast<size_t>(k)]);
            }
        }
        plotXMin = view.xMin, plotXMax = view.xMax, plotYMin = view.yMin, plotYMax = view.yMax;
        std::vector<triangle> triangles;
        for (int i = 0; i + 1 < g.nx; ++i) {
            for (int j = 0; j + 1 < g.ny; ++j) {
                const std::int64_t k = static_cast<std::int64_t>(i) * g.ny + j;
                if (k + g.ny >= g.cells) continue;
                const auto a = static_cast<std::int32_t>(k), b = static_cast<std::int32_t>(k + g.ny);
                triangles.emplace_back(a, a + 1, b);
                triangles.emplace_back(a + 1, b + 1, b);
            }
        }
        if (view.autozoom) {
            plotXMin += g.widthX / 2, plotXMax += g.widthX / 2;
            plotYMin += g.widthY / 2, plotYMax += g.widthY / 2;
        }
        scene3d& scene = MapSceneToPlot(w, h);
        scene.PaintTriangles(mem, triangles, xs, ys, zs, view.colorSteps, view.lowColor, view.highColor, view.zMin,
                             view.zMax);
    }
    dc.CopyFrom(plotLeft, plotTop, w, std::max(0, h - theChart.borderWidth), bitmap, 0, 0);
    ComputePlotScales();
    DrawProgressBar(0, kPaintingMessage, 0.6);
    DrawAxes(dc);
    DrawProgressBar(0, kPaintingMessage, 0.6);
    plotZMin = view.zMin;
    plotZMax = view.zMax;
    PaintColourStrip(dc);
    return 1;
}
