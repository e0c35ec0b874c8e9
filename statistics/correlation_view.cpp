#include "statistics/correlation_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "charts/chart_page.h"
#include "charts/chart_text.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "widgets/progress_bar.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/xystatistic_page.h"
#include "statistics/color_maps.h"
#include "statistics/correlation_matrix.h"
#include "statistics/one_variable.h"

std::vector<double> correlationMatrix;

namespace {

using platform::Pen;
using platform::PenStyle;

std::vector<std::vector<double>> ColumnsOf(int series) {
    const Series& se = theData.series[static_cast<size_t>(series)];
    std::vector<std::vector<double>> columns(static_cast<size_t>(std::max(0, se.nParameters)));
    for (int p = 0; p < se.nParameters; ++p) theData.GetParameterValues(series, p, columns[static_cast<size_t>(p)]);
    return columns;
}

const std::string& ParameterName(int series, int p) {
    return theData.parameterNames[static_cast<size_t>(theData.series[static_cast<size_t>(series)].firstParameter + p)];
}

struct ColumnRange {
    double min = 0, max = 0;
};

// The plot mapping onto one cell, over the columns' ranges widened by 5 % at both ends.
void MapCell(int left, int top, int right, int bottom, const ColumnRange& x, const ColumnRange& y) {
    plotLeft = left, plotRight = right, plotTop = top, plotBottom = bottom;
    plotXMin = x.min, plotXMax = x.max;
    plotYMin = y.min, plotYMax = y.max;
    const double dx = std::fabs(plotXMax - plotXMin) * 0.05, dy = std::fabs(plotYMax - plotYMin) * 0.05;
    plotXMin -= dx, plotXMax += dx, plotYMin -= dy, plotYMax += dy;
    ComputePlotScales();
}

std::string Format(const char* format, double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

}  // namespace

int PaintCorrelationView(platform::Canvas& dc, int series, const CorrelationContext& context) {
    if (!context.hasMultiArgumentData) return 0;
    const int count = static_cast<int>(theData.series.size());
    if (context.dataSeriesCount) *context.dataSeriesCount = count;
    if (count < 1 || series < 0 || series >= count) return 0;
    const Series& se = theData.series[static_cast<size_t>(series)];
    if (se.nRecords < se.nArguments + 4 || se.nParameters < 1) return 0;

    const Pen oldPen = dc.SelectPen(context.nullPen);
    const platform::Brush oldBrush = dc.SelectBrush(platform::Brush(theChart.borderAreaColor));
    dc.Rectangle(-5, -5, plotFrameRight - plotMarginLeft + 5, plotFrameBottom - plotMarginTop + 5);

    const int n = se.nParameters;
    const platform::ColorRef oldColor = dc.SetTextColor(theLegend.captionColor);
    const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
    int widest = 0, tallest = 0;
    for (int p = 0; p < n; ++p) {
        int h = 0;
        widest = std::max(widest, MeasureText(dc, &theLegend.xCaptionFont, ParameterName(series, p), h));
        tallest = std::max(tallest, h);
    }
    const int W = widest + 10, H = 2 * tallest + 10, h = tallest;
    const int cw = (plotFrameRight - plotMarginLeft - W) / n;
    const int ch = (plotFrameBottom - plotMarginTop - H) / n;
    for (int i = 0; i < n; ++i) {
        const int y = i % 2 == 1 && W >= cw ? h + 2 : 2;
        DrawTextClipped(dc, plotMarginLeft + W + 5 + i * cw, y, ParameterName(series, i));
        DrawTextClipped(dc, 5, i * ch + plotMarginTop + H - h / 2, ParameterName(series, i));
    }
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);

    const std::vector<std::vector<double>> columns = ColumnsOf(series);
    correlationMatrix = CorrelationMatrix(columns);
    std::vector<ColumnRange> ranges(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) MinMaxOfArray(columns[c], ranges[c].min, ranges[c].max);
    const Pen cellPen(PenStyle::Solid, 1, platform::Rgb(180, 180, 255));
    const Pen crossPen(PenStyle::Solid, 1, platform::kBlack);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double r = correlationMatrix[static_cast<size_t>(i) * n + j];
            const int left = plotMarginLeft + W + i * cw, top = plotMarginTop + H + j * ch;
            dc.SelectPen(cellPen);
            dc.SelectBrush(platform::Brush(ValueToGreenShade(r)));
            dc.Rectangle(left, top, left + cw, top + ch);
            const std::vector<double>& x = columns[static_cast<size_t>(i)];
            const std::vector<double>& y = columns[static_cast<size_t>(j)];
            MapCell(left, top, left + cw, top + ch, ranges[static_cast<size_t>(i)], ranges[static_cast<size_t>(j)]);
            // The bar stands still at 0.6: drawing it once per column keeps the window alive
            // without repainting it for every cell.
            if (j == 0) DrawProgressBar(0, "Painting data to virtual screen", 0.6);
            dc.SelectPen(crossPen);
            // A cross drawn again at the same pixel changes nothing: each is drawn once.
            const int spanX = cw + 3, spanY = ch + 3;
            std::vector<bool> drawn(static_cast<size_t>(std::max(0, spanX) * std::max(0, spanY)), false);
            for (size_t k = 0; k < x.size() && k < y.size(); ++k) {
                const int px = WorldToPixelX(x[k]), py = WorldToPixelY(y[k]);
                const int u = px - left + 1, v = py - top + 1;
                if (u >= 0 && v >= 0 && u < spanX && v < spanY) {
                    const size_t at = static_cast<size_t>(v) * static_cast<size_t>(spanX) + static_cast<size_t>(u);
                    if (drawn[at]) continue;
                    drawn[at] = true;
                }
                dc.MoveTo(px + 1, py);
                dc.LineTo(px - 1, py);
                dc.MoveTo(px, py + 1);
                dc.LineTo(px, py - 1);
            }
        }
    }
    dc.SelectPen(oldPen);
    dc.SelectBrush(oldBrush);
    return 1;
}

int ReportCorrelationOfParameters(platform::Canvas& dc, const CorrelationContext& context) {
    if (!context.hasMultiArgumentData || theData.series.empty()) return 0;
    resultDocument& doc = theResultDocument;
    resultTables& tables = theResultTables;
    doc.Clear();
    tables.Clear();
    if (context.coefficientsText) context.coefficientsText->clear();
    doc.AddText("Correlation of parameters:", platform::Rgb(130, 130, 255), 140);
    doc.NewLine();
    tables.AddParagraphStyled("Correlation of parameters:\n", 1, 0);
    const platform::Font& font = theResult.font;
    int h = 0;
    const int narrowest = MeasureText(dc, &font, "0.999", h) + 20;

    for (int s = 0; s < static_cast<int>(theData.series.size()); ++s) {
        const Series& se = theData.series[static_cast<size_t>(s)];
        if (se.nRecords < se.nArguments + 3) continue;
        const int n = se.nParameters;
        // Each series' own coefficients: the view's matrix is of the series it painted.
        const std::vector<double> matrix = CorrelationMatrix(ColumnsOf(s));
        char title[400];
        std::snprintf(title, sizeof title, "%s (%d points):", theData.seriesNames[static_cast<size_t>(s)].c_str(), se.nRecords);
        doc.AddText(title, 0, 140);
        doc.NewLine();
        tables.AddParagraphStyled(title, 1, 0);
        tables.AddParagraphStyled("\n", 1, 0);
        tables.AddTable(n + 1, n + 1);

        std::vector<int> widths(static_cast<size_t>(n));
        int first = narrowest;
        for (int p = 0; p < n; ++p) {
            widths[static_cast<size_t>(p)] = std::max(narrowest, MeasureText(dc, &font, ParameterName(s, p), h) + 30);
            first = std::max(first, widths[static_cast<size_t>(p)]);
        }
        doc.AddText("\\", 0, 140);
        tables.AddCellStyled("\\", 1, 0);
        unsigned x = static_cast<unsigned>(first);
        for (int p = 0; p < n; ++p) {
            doc.AddTab(x);
            doc.AddText(ParameterName(s, p), 0, 140);
            tables.AddCellStyled(ParameterName(s, p), 1, 0);
            x += static_cast<unsigned>(widths[static_cast<size_t>(p)]);
        }
        doc.NewLine();
        std::string copy;
        for (int i = 0; i < n; ++i) {
            doc.AddText(ParameterName(s, i), 0, 140);
            tables.AddCellStyled(ParameterName(s, i), 1, 0);
            x = static_cast<unsigned>(first);
            for (int j = 0; j < n; ++j) {
                const double r = matrix[static_cast<size_t>(i) * n + j];
                const std::string text = Format("%.3g   ", r);
                doc.AddTab(x);
                doc.AddText(text, AbsValueToColor(r), 140);
                tables.AddCellStyled(text, 0, AbsValueToColor(r));
                // Every cell goes into the copy, negative ones too, so its columns stay aligned.
                copy += text;
                copy += '\t';
                x += static_cast<unsigned>(widths[static_cast<size_t>(j)]);
            }
            doc.NewLine();
            copy += '\n';
        }
        if (context.coefficientsText) *context.coefficientsText += copy;
    }
    return 1;
}

void ReportCorrelationOfTwoParameters(const std::vector<double>& x, const std::vector<double>& y, int argument,
                                      int value, const CorrelationContext& context) {
    if (!theXystatistic.correlationCoefficient) return;
    const auto nameOf = [](int p) {
        return p >= 0 && p < static_cast<int>(theData.parameterNames.size()) ? theData.parameterNames[static_cast<size_t>(p)]
                                                                            : std::string();
    };
    const std::string V = nameOf(value);
    std::string X;
    if (context.dataArguments == 0 && !theXyview.histogram) X = "n";
    else if (context.dataArguments == 1) X = nameOf(argument);
    const double r = CorrelationCoefficient(x, y);
    char line[600];
    std::snprintf(line, sizeof line, "Coefficient of correlation %s and %s is %.4g", V.c_str(), X.c_str(), r);
    if (context.legendTexts) context.legendTexts->push_back(line);
    if (context.legendMarks) context.legendMarks->push_back(static_cast<unsigned>(value));
    theResult.formulaText += line;
    theResult.formulaText += "\n";

    char lead[600];
    std::snprintf(lead, sizeof lead, "Coefficient of correlation %s and %s is ", V.c_str(), X.c_str());
    const std::string rText = Format("%.3g", r);
    resultDocument& doc = theResultDocument;
    doc.AddTab(10);
    doc.AddSeriesMark(static_cast<std::uint32_t>(std::max(0, value)));
    doc.AddTab(45);
    doc.AddText(lead, 0, 100);
    doc.AddText(rText, AbsValueToColor(r), 100);
    doc.NewLine();
    if (context.coefficientsText) *context.coefficientsText += rText + "\n";
    theResultTables.AddParagraph(lead);
    theResultTables.AddParagraph(rText);
    theResultTables.AddParagraphStyled("\n", 0, 0);
}
