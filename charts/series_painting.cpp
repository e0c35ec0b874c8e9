#include "charts/series_painting.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "charts/axes.h"
#include "charts/chart_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "data/point_marks.h"
#include "fitting/multistat_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/calculator.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/format.h"
#include "widgets/progress_bar.h"

OneArgumentSchemeCalls& TheOneArgumentSchemes() {
    static OneArgumentSchemeCalls calls;
    return calls;
}

SeveralArgumentModel& TheSeveralArgumentModel() {
    static SeveralArgumentModel model;
    return model;
}

int AutomaticMarkSize(long long n) {
    const long long r = 150 / (std::max(n, 0LL) + 2);
    return static_cast<int>(std::clamp(r, 2LL, 10LL));
}

void WidenDegenerateRange(double& lo, double& hi) {
    if (lo < hi) return;
    if (lo > hi || !std::isfinite(lo)) {
        lo = 0;
        hi = 1;
        return;
    }
    const double half = std::fmax(0.5, std::fabs(lo) * 1e-5);
    lo -= half;
    hi += half;
}

namespace {

constexpr const char* kPaintingText = "Painting data to virtual screen";
constexpr platform::ColorRef kTitleColor = platform::Rgb(20, 130, 255);
constexpr platform::ColorRef kPeaksColor = platform::Rgb(30, 50, 100);

using Column = std::vector<double>;

// The working arrays of one painting, sized once and reused for every parameter.
struct Columns {
    Column x, y, transformed, visibleX, visibleY;
    std::vector<int> px, py;
    std::vector<unsigned char> seen;  // pixels of the plot already holding a mark
};

void Margin(double& lo, double& hi, unsigned percent) {
    const double d = std::fabs((hi - lo) * percent * 0.01);
    lo -= d;
    hi += d;
}

// The argument column of series s (the first, or the last when `last`) into x; -1 when the
// series has none, else its global index.
int ReadArgument(int s, bool last, Column& x) {
    const Series& se = theData.series[static_cast<size_t>(s)];
    int found = -1;
    for (int p = 0; p < se.nParameters; ++p) {
        const int g = se.firstParameter + p;
        if (theData.parameters[static_cast<size_t>(g)].role != kRoleArgument) continue;
        if (!theData.GetParameterValues(s, p, x)) return -1;
        found = g;
        if (!last) break;
    }
    return found;
}

void Transform(const Column& y, const Column& x, Column& out) {
    const OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    if (calls.customTransformedValues) {
        calls.customTransformedValues(y, x, out);
        if (out.size() == y.size()) return;
    }
    out.assign(y.begin(), y.end());
}

// How the two views differ: the one-value view draws each value against its record number
// times a decimal step, the function view against the argument of its series.
struct ViewKind {
    bool oneValue = false;
    double step = 1;  // record step of the one-value view
};

// The x column of series s: the record numbers times the step, or the argument (the first, or
// the last when `last`). The argument's global index, 0 in the one-value view, -1 for none.
int ReadX(const ViewKind& kind, int s, bool last, Column& x) {
    if (!kind.oneValue) return ReadArgument(s, last, x);
    const int n = theData.series[static_cast<size_t>(s)].nRecords;
    x.resize(static_cast<size_t>(std::max(n, 0)));
    for (int r = 0; r < n; ++r) x[static_cast<size_t>(r)] = r * kind.step;
    return 0;
}

// The value column, base-line corrected in the function view while the peaks scheme is on.
bool ReadY(const ViewKind& kind, int s, int p, Column& x, Column& y) {
    if (!theData.GetParameterValues(s, p, y)) return false;
    const OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    if (!kind.oneValue && theXystatistic.peaksRevealing && calls.correctBaseLine) calls.correctBaseLine(x, y);
    return true;
}

void RangePass(const ViewKind& kind, Columns& c) {
    const OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    const int seriesCount = static_cast<int>(theData.series.size());
    for (int s = 0; s < seriesCount; ++s) {
        const Series se = theData.series[static_cast<size_t>(s)];
        if (se.nRecords < 3) continue;
        if (ReadX(kind, s, true, c.x) < 0) continue;
        for (int p = 0; p < se.nParameters; ++p) {
            if (theData.parameters[static_cast<size_t>(se.firstParameter + p)].role != kRoleValue) continue;
            if (!ReadY(kind, s, p, c.x, c.y)) continue;
            Transform(c.y, c.x, c.transformed);
            for (const auto* call : {&calls.constructorFitYRange, &calls.customFitYRange, &calls.collectionFitYRange,
                                     &calls.userFormulaYRange, &calls.analysePeaks}) {
                if (*call) (*call)(c.x, c.y);
            }
            ExtendYRange(c.transformed);
        }
    }
}

void Reports(platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
    const OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    for (const auto* call : {&calls.constructorFitReport, &calls.customFormulaFitReport, &calls.fitResultReport,
                             &calls.userFormulaReport, &calls.peaksReport}) {
        if (*call) (*call)(dc, x, y, a, v);
    }
    if (calls.reportCorrelationOfTwoParameters) calls.reportCorrelationOfTwoParameters(x, y, a, v);
    for (const auto* call : {&calls.runPolynomFitting, &calls.runHarmonicAnalysis, &calls.runBestFormulaSearch}) {
        if (*call) (*call)(dc, x, y, a, v);
    }
}

void PaintParameter(const ViewKind& kind, platform::Canvas& dc, Columns& c, int s, int p, int a, int visibleOnly) {
    const Series se = theData.series[static_cast<size_t>(s)];
    const int v = se.firstParameter + p;
    if (!ReadY(kind, s, p, c.x, c.y)) return;
    Transform(c.y, c.x, c.transformed);
    const size_t n = std::min(c.x.size(), c.transformed.size());
    c.px.clear();
    c.py.clear();
    const Initial initial = theData.parameters[static_cast<size_t>(v)];
    // Marks of one colour give the same pixels whatever their order, so a mark on a pixel
    // already marked is left out: dense data draw far fewer marks. Not so for the circle
    // with its fill (the fill would cover a neighbour's outline) nor for the line, which
    // only loses steps of no length.
    const bool oneColour = initial.markShape != kMarkCircleWithFill && initial.markShape != kMarkLine;
    const int w = plotRight - plotLeft, h = plotBottom - plotTop;
    if (oneColour) c.seen.assign(static_cast<size_t>(w + 1) * static_cast<size_t>(h + 1), 0);
    long long kept = 0;
    for (size_t i = 0; i < n; ++i) {
        const double xi = c.x[i], ti = c.transformed[i];
        if (plotXMin < xi && xi < plotXMax && plotYMin < ti && ti < plotYMax) {
            ++kept;
            const int px = WorldToPixelX(xi), py = WorldToPixelY(ti);
            if (oneColour && px >= 0 && px <= w && py >= 0 && py <= h) {
                unsigned char& mark = c.seen[static_cast<size_t>(py) * static_cast<size_t>(w + 1) + static_cast<size_t>(px)];
                if (mark) continue;
                mark = 1;
            } else if (!c.px.empty() && c.px.back() == px && c.py.back() == py) {
                continue;
            }
            c.px.push_back(px);
            c.py.push_back(py);
        }
    }
    const int r = initial.autoSize ? AutomaticMarkSize(kept) : initial.markSize;
    DrawMarksAtPoints(dc, static_cast<platform::ColorRef>(initial.color), theChart.chartAreaColor, r, initial.markShape,
                      c.px, c.py);
    const platform::Pen old = dc.SelectPen(
        platform::Pen(platform::PenStyle::Solid, theChart.fittingLineWidth, static_cast<platform::ColorRef>(initial.color)));
    if (visibleOnly) {
        c.visibleX.clear();
        c.visibleY.clear();
        const size_t m = std::min(n, c.y.size());
        for (size_t i = 0; i < m; ++i) {
            const double xi = c.x[i], ti = c.transformed[i];
            if (plotXMin <= xi && xi <= plotXMax && plotYMin <= ti && ti <= plotYMax) {
                c.visibleX.push_back(xi);
                c.visibleY.push_back(c.y[i]);
            }
        }
        Reports(dc, c.visibleX, c.visibleY, a, v);
    } else {
        Reports(dc, c.x, c.y, a, v);
    }
    dc.SelectPen(old);
}

void ReserveColumns(Columns& c) {
    size_t most = 0;
    for (const Series& se : theData.series) most = std::max(most, static_cast<size_t>(std::max(se.nRecords, 0)));
    for (Column* col : {&c.x, &c.y, &c.transformed, &c.visibleX, &c.visibleY}) col->reserve(most);
    c.px.reserve(most);
    c.py.reserve(most);
}

}  // namespace

namespace {

int PaintSingleArgumentView(platform::Canvas& target, const SeriesPaintContext& context, ViewKind kind) {
    const OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    if (theXystatistic.customFormulas && calls.refreshCustomModel) calls.refreshCustomModel();

    coefficientsText.clear();
    theResultDocument.Clear();
    theResultDocument.NewLine();
    theResultDocument.AddText(kind.oneValue ? "Line of one value." : "Function of one argument.", kTitleColor, 140);
    theResultDocument.NewLine();
    theResultDocument.NewLine();
    if (!kind.oneValue) theResultTables.AddParagraphStyled("Function of one argument.\n", 1, kTitleColor);

    Columns c;
    ReserveColumns(c);
    const int seriesCount = static_cast<int>(theData.series.size());
    const unsigned margin = theXyview.stepPercent;
    if (theXyview.autozoom && kind.oneValue) {
        ResetPlotRanges();
        plotXMin = 0;
        plotXMax = LargestRecordCount() * kind.step;
    } else if (theXyview.autozoom) {
        ResetPlotRanges();
        for (int s = 0; s < seriesCount; ++s) {
            const Series se = theData.series[static_cast<size_t>(s)];
            if (se.nRecords < 3) continue;
            for (int p = 0; p < se.nParameters; ++p) {
                if (theData.parameters[static_cast<size_t>(se.firstParameter + p)].role != kRoleArgument) continue;
                if (theData.GetParameterValues(s, p, c.x)) ExtendXRange(c.x);
            }
        }
    }
    Margin(plotXMin, plotXMax, margin);
    if (theXyview.autozoom) {
        if (kind.oneValue) {
            plotYMin = 1e40;
            plotYMax = -1e40;
        }
        RangePass(kind, c);
        Margin(plotYMin, plotYMax, margin);
        // No data in reach, or every value the same: still a range the chart can show.
        WidenDegenerateRange(plotXMin, plotXMax);
        WidenDegenerateRange(plotYMin, plotYMax);
    } else {
        plotXMin = theXyview.xMin;
        plotXMax = theXyview.xMax;
        plotYMin = theXyview.yMin;
        plotYMax = theXyview.yMax;
        // Stored ranges of no width (a View page never zoomed) would map every point to one pixel.
        WidenDegenerateRange(plotXMin, plotXMax);
        WidenDegenerateRange(plotYMin, plotYMax);
    }

    // The marks and curves are painted into a bitmap of the plot area, copied in one go.
    const int w = std::max(0, plotRight - plotLeft);
    const int h = std::max(0, plotBottom - plotTop);
    platform::Bitmap bitmap(w + 2, h + 2, theChart.chartAreaColor);
    // The canvas ends (and puts down all it drew) before the bitmap is copied.
    auto canvas = std::make_unique<platform::Canvas>(bitmap);
    platform::Canvas& dc = *canvas;
    dc.SetBkMode(platform::BkMode::Transparent);
    {
        const platform::Brush oldBrush = dc.SelectBrush(platform::Brush::Solid(theChart.chartAreaColor));
        dc.Rectangle(0, 0, w + 2, h + 2);
        const platform::Pen oldPen =
            theChart.borderWidth > 0
                ? dc.SelectPen(platform::Pen(platform::PenStyle::Solid, theChart.borderWidth, theChart.borderLineColor))
                : dc.CurrentPen();
        dc.Rectangle(0, 0, w, h);
        dc.SelectPen(oldPen);
        dc.SelectBrush(oldBrush);
    }
    const int savedLeft = plotLeft, savedRight = plotRight, savedBottom = plotBottom, savedTop = plotTop;
    plotLeft = 0;
    plotTop = 0;
    plotRight = w;
    plotBottom = h;
    ComputePlotScales();
    DrawProgressBar(0, kPaintingText, 0.6);

    if (theXystatistic.peaksRevealing) {
        theResultDocument.AddText(kind.oneValue ? "Signals" : "Peaks", kPeaksColor, 100);
        theResultDocument.NewLine();
        if (!kind.oneValue) theResultTables.AddParagraphStyled("Peaks\n", 1, kPeaksColor);
        DrawProgressBar(0, kPaintingText, 0.6);
    }

    for (int s = 0; s < seriesCount && s < static_cast<int>(theData.series.size()); ++s) {
        const Series se = theData.series[static_cast<size_t>(s)];
        if (se.nRecords < 3) continue;
        if (!kind.oneValue) {
            const std::string name =
                s < static_cast<int>(theData.seriesNames.size()) ? theData.seriesNames[static_cast<size_t>(s)] : "";
            const std::string line = platform::Format("%s (%d records)", name.c_str(), se.nRecords);
            theResultDocument.AddText(line, 0, 140);
            theResultDocument.NewLine();
            theResultTables.AddParagraph(line + "\n");
        }
        const int a = ReadX(kind, s, false, c.x);
        if (a < 0) continue;
        for (int p = 0; p < se.nParameters; ++p) {
            if (theData.parameters[static_cast<size_t>(se.firstParameter + p)].role != kRoleValue) continue;
            PaintParameter(kind, dc, c, s, p, a, context.visibleDataOnly);
        }
    }

    canvas.reset();
    plotLeft = savedLeft;
    plotRight = savedRight;
    plotBottom = savedBottom;
    plotTop = savedTop;
    target.CopyFrom(plotLeft, plotTop, w, std::max(0, h - theChart.borderWidth), bitmap, 0, 0);
    DrawProgressBar(0, kPaintingText, 0.6);
    ComputePlotScales();
    DrawAxes(target);
    return 1;
}

}  // namespace

int PaintFunctionOfOneArgument(platform::Canvas& target, const SeriesPaintContext& context) {
    if (context.seriesCount < 1 || context.arguments != 1 || context.values < 1) return 0;
    if (theData.series.empty()) return 0;
    return PaintSingleArgumentView(target, context, ViewKind{});
}

int PaintOneValueView(platform::Canvas& target, const SeriesPaintContext& context) {
    if (context.seriesCount < 1 || context.arguments != 0 || context.values < 1) return 0;
    // Two values shown as a value line: the two-variable views take them.
    if (context.values == 2 && !theXyview.histogram && theXyview.show3D && !theXyview.colorMapMode) return 0;
    if (theData.series.empty()) return 0;
    return PaintSingleArgumentView(target, context, ViewKind{true, RecordStep(LargestRecordCount())});
}

double RecordStep(int largestRecordCount) {
    if (largestRecordCount <= 10) return 1;
    const int k = static_cast<int>(std::trunc(std::log10(static_cast<double>(largestRecordCount))));
    return std::pow(10.0, -k);
}

int LargestRecordCount() {
    int most = 0;
    for (const Series& se : theData.series) most = std::max(most, se.nRecords);
    return most;
}

int PaintDataSeries(platform::Canvas& dc, const SeriesPaintContext& context) {
    const multistat& m = theMultistat;
    if (context.arguments < 2 || context.values != 1) return 0;
    if (!(m.userDefinedFormula || m.bestPolynome || m.bestPolynomeAuto)) return 0;
    if (theData.series.empty()) return 0;
    const Series first = theData.series[0];
    int value = -1;
    for (int p = 0; p < first.nParameters; ++p) {
        if (theData.parameters[static_cast<size_t>(first.firstParameter + p)].role == kRoleValue) {
            value = first.firstParameter + p;
            break;
        }
    }
    const SeveralArgumentModel& model = TheSeveralArgumentModel();
    if (value < 0 || !model.values) return 0;
    std::vector<double> measured, modelled;
    if (!model.values(measured, modelled) || measured.empty()) return 0;
    const size_t n = std::min(measured.size(), modelled.size());

    if (theXyview.autozoom) {
        ResetPlotRanges();
        ExtendXRange(measured);
        ExtendYRange(modelled);
        Margin(plotXMin, plotXMax, 5);
        Margin(plotYMin, plotYMax, 5);
        const double lo = std::min(plotXMin, plotYMin);
        const double hi = std::max(plotXMax, plotYMax);
        plotXMin = plotYMin = lo;
        plotXMax = plotYMax = hi;
        WidenDegenerateRange(plotXMin, plotXMax);
        WidenDegenerateRange(plotYMin, plotYMax);
        theXyview.xMin = plotXMin;
        theXyview.xMax = plotXMax;
        theXyview.yMin = plotYMin;
        theXyview.yMax = plotYMax;
        if (theXyview.HasWindow()) theXyview.UpdateData(false);
    }
    ComputePlotScales();
    DrawProgressBar(0, kPaintingText, 0.6);

    {
        const platform::Pen old =
            dc.SelectPen(platform::Pen(platform::PenStyle::Dash, theChart.fittingLineWidth, platform::kBlack));
        const double a = std::max(plotXMin, plotYMin);
        const double b = std::min(plotXMax, plotYMax);
        dc.MoveTo(WorldToPixelX(a), WorldToPixelY(a));
        dc.LineTo(WorldToPixelX(b), WorldToPixelY(b));
        dc.SelectPen(old);
    }

    const std::string& valueName = theData.parameterNames[static_cast<size_t>(value)];
    if (model.evaluate) {
        calculator& calc = theCalculator;
        if (calc.WantsTypedValue(context.arguments) && static_cast<int>(calc.typedValues.size()) >= context.arguments) {
            const double y = model.evaluate(calc.typedValues.data());
            calc.valuesText += platform::Format("%s = %g; ", valueName.c_str(), y);
        }
        calc.ComputeRows(context.arguments, model.evaluate);
    }

    std::vector<int> px, py;
    px.reserve(n);
    py.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const double x = measured[i], y = modelled[i];
        if (plotXMin <= x && x <= plotXMax && plotYMin <= y && y <= plotYMax) {
            px.push_back(WorldToPixelX(x));
            py.push_back(WorldToPixelY(y));
        }
    }
    const Initial initial = theData.parameters[static_cast<size_t>(value)];
    const int r = initial.autoSize ? AutomaticMarkSize(static_cast<long long>(n)) : initial.markSize;
    DrawMarksAtPoints(dc, static_cast<platform::ColorRef>(initial.color), theChart.chartAreaColor, r, initial.markShape,
                      px, py);
    if (context.paintedParameters) context.paintedParameters->push_back(static_cast<unsigned>(value));
    return 1;
}
