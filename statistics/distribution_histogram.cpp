// The histogram of one variable of the one-variable view, its fitted curves and the rest of
// its result lines.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "charts/chart_page.h"
#include "charts/chart_text.h"
#include "charts/distribution_curves.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "documents/result_page.h"
#include "formula/number_formatting.h"
#include "statistics/color_maps.h"
#include "statistics/distrimution_page.h"
#include "statistics/erlang.h"
#include "statistics/one_variable_view.h"

namespace {

constexpr platform::ColorRef kTableColor = platform::Rgb(0, 0, 255);

std::string Text(const char* format, double v, bool tidy) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, v);
    std::string text = buffer;
    if (tidy) TidyExponentText(text);
    return text;
}

// Each byte raised by 100 below 128, lowered by 100 from 128 on.
platform::ColorRef LightColor(platform::ColorRef c) {
    auto shift = [](int b) { return b < 128 ? b + 100 : b - 100; };
    return platform::Rgb(shift(platform::RedOf(c)), shift(platform::GreenOf(c)), shift(platform::BlueOf(c)));
}

// A bin's bar clipped to the plot; false when it lies wholly left of it. stop is set at the
// first bin beyond the right edge.
struct ClippedBar {
    double x0, x1, h;
};

bool ClipBar(double x0, double x1, double h, ClippedBar& out, bool& stop) {
    out.x0 = std::max(x0, plotXMin);
    out.x1 = std::min(x1, plotXMax);
    out.h = std::clamp(h, std::min(plotYMin, plotYMax), std::max(plotYMin, plotYMax));
    if (out.x0 > plotXMax) {
        stop = true;
        return false;
    }
    return x1 >= plotXMin;
}

// One curve's agreement: legend cell, curve, document cell and table cell.
struct CurveColumn {
    unsigned documentColumn = 500;
};

void ReportAgreement(platform::Canvas& dc, double r, int legendColumn, int y, CurveColumn& column) {
    const std::string t = Text("%.3g", r, true);
    if (theLegend.showFormulas && legendColumn < static_cast<int>(legendColumnX.size())) {
        DrawTextClipped(dc, plotLeft + static_cast<int>(legendColumnX[static_cast<size_t>(legendColumn)]), y, t);
        theResult.formulaText += t;
        theResult.formulaText += '\t';
    }
    column.documentColumn += 75;
    theResultDocument.AddTab(column.documentColumn);
    theResultDocument.AddText(t, ValueToColor(r), 100);
    theResultTables.AddCellStyled(t, 0, ValueToColor(r));
}

void AddLine(const std::string& text) {
    theResultDocument.AddTab(40);
    theResultDocument.AddText(text, 0, 100);
    theResultDocument.NewLine();
    theResultTables.AddParagraph(text);
    theResultTables.AddParagraph("\n");
}

void BinTable(const HistogramArguments& a, double n) {
    const distrimution& page = theDistrimution;
    resultDocument& doc = theResultDocument;
    resultTables& tables = theResultTables;
    const bool part = page.partOfWhole != 0;
    const bool cumulative = page.cumulative != 0;
    const char* countHeader = part ? "N cond" : page.percentage ? "% /bin" : "N";
    const double w = a.binWidth;
    const std::vector<double>& bins = part ? *a.conditionalBins : *a.bins;
    // Rows up to the first bin starting beyond the plot; the table is sized to them.
    int rows = 0;
    while (rows < static_cast<int>(bins.size()) && !(a.origin + rows * w > plotXMax)) ++rows;

    std::vector<std::pair<unsigned, std::string>> headers;
    if (cumulative) headers = {{30, "Less than"}, {160, countHeader}};
    else headers = {{30, "From"}, {150, "Till"}, {280, countHeader}};
    if (part) {
        headers.push_back({cumulative ? 240u : 360u, "N all"});
        headers.push_back({cumulative ? 320u : 440u, "% cases under conditions to all in interval"});
    }
    for (size_t k = 0; k < headers.size(); ++k) {
        doc.AddTab(headers[k].first);
        doc.AddText(headers[k].second, kTableColor, part && k + 1 == headers.size() ? 80 : 100);
    }
    doc.NewLine();
    tables.AddTable(rows + 1, static_cast<int>(headers.size()));
    for (size_t k = 0; k < headers.size(); ++k) {
        const bool last = part && k + 1 == headers.size();
        tables.AddCellStyled(last ? "% cases under conditions to all in the interval" : headers[k].second, 1, 0);
    }
    for (int i = 0; i < rows; ++i) {
        const double lo = a.origin + i * w, hi = lo + w;
        std::string loText, hiText;
        AxisLabelDigits(lo, loText, hi, hiText);
        TidyExponentText(loText);
        TidyExponentText(hiText);
        const double value = bins[static_cast<size_t>(i)];
        std::vector<std::string> cells;
        if (cumulative) cells = {hiText};
        else cells = {loText, hiText};
        if (!part && page.percentage) cells.push_back(Text("%.2g", n > 0 ? 100.0 * value / n : 0.0, false));
        else cells.push_back(std::to_string(static_cast<long long>(value)));
        if (part) {
            const long long all = static_cast<long long>((*a.allBins)[static_cast<size_t>(i)]);
            const long long cond = static_cast<long long>(value);
            cells.push_back(std::to_string(all));
            cells.push_back(Text("%.3g", all > 0 ? 100.0 * static_cast<double>(cond) / static_cast<double>(all) : 0.0, true));
        }
        for (size_t k = 0; k < cells.size(); ++k) {
            doc.AddTab(headers[k].first);
            doc.AddText(cells[k], kTableColor, 100);
            tables.AddCellStyled(cells[k], 0, 0);
        }
        doc.NewLine();
    }
    tables.AddParagraph("\n");
    doc.NewLine();
}

}  // namespace

void PaintDistributionHistogram(platform::Canvas& dc, const HistogramArguments& a, const OneVariableViewState& state) {
    const distrimution& page = theDistrimution;
    const distributionSummary& s = a.summary;
    const distributionSummary& c = a.conditionalSummary;
    const bool part = page.partOfWhole != 0;
    // Bars as percentages of the summary's count; part-of-whole bars are percentages already.
    const double scale = !part && page.percentage ? (s.n > 0 ? 100.0 / s.n : 0.0) : 1.0;
    const double base = plotYMin > 0 ? plotYMin : 0.0;
    const platform::ColorRef light = LightColor(a.color);
    const platform::Pen own(platform::PenStyle::Solid, 1, a.color);
    const platform::Pen oldPen = dc.SelectPen(own);
    const platform::Brush oldBrush = dc.SelectBrush(platform::Brush::Solid(a.color));

    const std::vector<double>& bins = *a.bins;
    bool stop = false;
    for (size_t i = 0; i < bins.size() && !stop; ++i) {
        const double x0 = a.origin + static_cast<double>(i) * a.binWidth + a.index * a.subWidth;
        ClippedBar bar;
        if (!ClipBar(x0, x0 + a.subWidth, bins[i] * scale, bar, stop)) continue;
        const int top = WorldToPixelY(bar.h), bottom = WorldToPixelY(base);
        dc.Rectangle(WorldToPixelX(bar.x0), std::min(top, bottom), WorldToPixelX(bar.x1) + 1, std::max(top, bottom));
    }
    const int baseRow = WorldToPixelY(base);
    for (double v : *a.conditional) {
        const int px = WorldToPixelX(v);
        dc.MoveTo(px, baseRow);
        dc.LineTo(px, baseRow + 10);
    }

    const platform::Pen lightPen(platform::PenStyle::Solid, theChart.fittingLineWidth, light);
    if (part) {
        stop = false;
        const double level = s.mean;
        for (size_t i = 0; i < bins.size() && static_cast<int>(i) < page.binCount && !stop; ++i) {
            const double x0 = a.origin + static_cast<double>(i) * a.binWidth + a.index * a.subWidth;
            ClippedBar bar;
            if (!ClipBar(x0, x0 + a.subWidth, bins[i], bar, stop)) continue;
            dc.SelectPen(bar.h < level ? own : lightPen);
            dc.MoveTo(WorldToPixelX(bar.x0), WorldToPixelY(level));
            dc.LineTo(WorldToPixelX(bar.x1), WorldToPixelY(level));
        }
    }
    dc.SelectPen(oldPen);
    dc.SelectBrush(oldBrush);

    if (page.showStudent || page.showPoisson || page.showErlang || page.maxConcentration || page.showMedian ||
        page.minAbsDeviation) {
        dc.SelectPen(lightPen);
        CurveColumn column;
        const int y = state.textLineY(a.index + 1);
        const int total = page.percentage && !part ? 100 : c.n;
        const std::vector<double>& values = *a.conditional;
        if (page.showStudent) {
            const double r = DistributionCorrelation(values, c.mean, c.spread, c.n, 0);
            distributionCorrelations[0] = r;
            if (!part) DrawStudentCurve(dc, c.mean, c.spread, total, a.binWidth, 0, page.cumulative);
            ReportAgreement(dc, r, 7, y, column);
        }
        if (page.showPoisson && c.mean > 0) {
            const double r = DistributionCorrelation(values, c.mean, c.spread, c.n, 1);
            distributionCorrelations[1] = r;
            if (!part) DrawPoissonCurve(dc, c.mean, total, a.binWidth, 0, page.cumulative);
            ReportAgreement(dc, r, 8, y, column);
        }
        if (page.showErlang && c.mean > 0) {
            shownErlangFit = ErlangSetup(c.mean, c.spread);
            const double r = DistributionCorrelation(values, c.mean, c.spread, c.n, 2);
            distributionCorrelations[2] = r;
            if (!part) DrawErlangCurve(dc, c.mean, c.spread, total, a.binWidth, 0, page.cumulative);
            ReportAgreement(dc, r, 9, y, column);
        }
        if (page.showStudent || page.showPoisson || page.showErlang) {
            theResultDocument.NewLine();
            theResultTables.AddParagraph("\n");
        }
        theResultDocument.NewLine();
        theResultTables.AddParagraph("\n");
        if (page.showMedian) AddLine(Text("Median = %g", Median(values), false));
        if (page.minAbsDeviation) {
            double d = 0;
            const double centre = MinimumAbsoluteDeviation(values, d);
            char text[160];
            std::snprintf(text, sizeof text, "Avr.Min.Abs. Deviation = %g at (%g)", d, centre);
            AddLine(text);
        }
        if (page.maxConcentration) {
            // Fewer than two values, or all equal, have no densest interval: no line, no marks.
            double from = NAN, till = NAN;
            MostDenseInterval(values, page.percentOfData * 0.01, from, till);
            if (!std::isnan(from)) {
                char text[200];
                std::snprintf(text, sizeof text, "Most dense interval with %g%% of points is from %g till %g",
                              page.percentOfData, from, till);
                AddLine(text);
                const int top = WorldToPixelY(0.2 * plotYMin + 0.8 * plotYMax), zero = WorldToPixelY(0);
                for (double x : {from, till}) {
                    dc.MoveTo(WorldToPixelX(x), zero);
                    dc.LineTo(WorldToPixelX(x), top);
                }
            }
        }
        dc.SelectPen(oldPen);
    }

    theResult.formulaText += '\n';
    theResultDocument.NewLine();
    BinTable(a, s.n);
}
