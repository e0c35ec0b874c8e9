#include "statistics/correlation_view.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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
#include "platform/pixel.h"
#include "fitting/xystatistic_page.h"
#include "statistics/color_maps.h"
#include "statistics/correlation_matrix.h"
#include "statistics/one_variable.h"

std::vector<double> correlationMatrix;

namespace {

using platform::Pen;
using platform::PenStyle;

// The series' records where the store keeps them (parameter p of record r at
// [r * nParameters + p]); null, with no record, when the store does not hold them all.
const double* RecordsOf(const Series& se, size_t& records) {
    records = 0;
    const long long end = static_cast<long long>(se.firstValue) + static_cast<long long>(se.nRecords) * se.nParameters;
    if (se.firstValue < 0 || se.nRecords < 0 || se.nParameters < 1 || end > static_cast<long long>(theData.allValues.size()))
        return nullptr;
    records = static_cast<size_t>(se.nRecords);
    return theData.allValues.data() + se.firstValue;
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


// Smallest and largest value of every parameter, as MinMaxOfArray finds them column by column.
void RangesOf(const double* at, size_t records, size_t n, std::vector<ColumnRange>& ranges) {
    if (records == 0) return;
    for (size_t p = 0; p < n; ++p) ranges[p].min = ranges[p].max = at[p];
    for (size_t k = 1; k < records; ++k) {
        const double* record = at + k * n;
        for (size_t p = 0; p < n; ++p) {
            const double v = record[p];
            if (v < ranges[p].min) ranges[p].min = v;
            if (v > ranges[p].max) ranges[p].max = v;
        }
    }
}

// Where every record's cross centre falls within a cell, per parameter: as the x of a cell in
// its column and as the y of a cell in its row (every cell of a column maps x alike, every
// cell of a row y alike). Offsets count from one pixel left of and above the cell, so a cell
// of cw x ch pixels takes centres 0 .. cw + 2 and 0 .. ch + 2; kOff marks a centre beyond.
// Marks every centre that lies inside a w x h cell; the ones beyond all go to the slot after
// the cell, which tells whether there were any. A function of its own, so that its few
// values stay in registers; for a cell of fewer than 65535 places the slots of a block of
// records are worked out side by side in 16 bits first, then marked.
[[gnu::noinline]] bool MarkInside(const std::uint16_t* __restrict x, const std::uint16_t* __restrict y, size_t records,
                                  unsigned w, unsigned h, std::uint8_t* __restrict centres) {
    const size_t beyond = static_cast<size_t>(w) * h;
    if (beyond < 0xFFFF) {
        constexpr size_t kBlock = 2048;
        std::uint16_t at[kBlock];
        const std::uint16_t w16 = static_cast<std::uint16_t>(w), h16 = static_cast<std::uint16_t>(h);
        const std::uint16_t off = static_cast<std::uint16_t>(beyond);
        for (size_t start = 0; start < records; start += kBlock) {
            const size_t count = std::min(kBlock, records - start);
            const std::uint16_t* xs = x + start;
            const std::uint16_t* ys = y + start;
            for (size_t k = 0; k < count; ++k) {
                const std::uint16_t u = xs[k], v = ys[k];
                const std::uint16_t inside = static_cast<std::uint16_t>(v * w16 + u);
                at[k] = u < w16 && v < h16 ? inside : off;
            }
            for (size_t k = 0; k < count; ++k) centres[at[k]] = 1;
        }
    } else {
        for (size_t k = 0; k < records; ++k) {
            const unsigned u = x[k], v = y[k];
            centres[u < w && v < h ? static_cast<size_t>(v) * w + u : beyond] = 1;
        }
    }
    return centres[beyond] != 0;
}

class CrossOffsets {
public:
    static constexpr std::uint16_t kOff = 0xFFFF;

    CrossOffsets(const double* at, size_t records, size_t n, const std::vector<ColumnRange>& ranges, int left0,
                 int top0, int cw, int ch)
        : records_(records), x_(records * n), y_(records * n) {
        // Each parameter's mapping as a cell of its column and of its row sets it.
        std::vector<Mapping> maps(n);
        for (size_t p = 0; p < n; ++p) {
            const int left = left0 + static_cast<int>(p) * cw, top = top0 + static_cast<int>(p) * ch;
            MapCell(left, top, left + cw, top + ch, ranges[p], ranges[p]);
            maps[p] = Mapping{plotXMin, plotScaleX, static_cast<double>(plotLeft), left,
                              plotYMin, plotScaleY, static_cast<double>(plotBottom), top};
        }
        // Record by record, as they lie in the store.
        for (size_t k = 0; k < records; ++k) {
            const double* record = at + k * n;
            for (size_t p = 0; p < n; ++p) {
                const Mapping& m = maps[p];
                x_[p * records + k] = Offset(Pixel((record[p] - m.xMin) * m.scaleX + m.xPixel) - m.left + 1, cw + 3);
                y_[p * records + k] = Offset(Pixel((record[p] - m.yMin) * m.scaleY + m.yPixel) - m.top + 1, ch + 3);
            }
        }
    }

    // Marks the centres of cell (column i, row j) in `centres` (spanX by spanY, row by row,
    // and one slot more) and lists the records whose centre lies beyond it.
    void MarkCentres(size_t i, size_t j, int spanX, int spanY, std::vector<std::uint8_t>& centres,
                     std::vector<size_t>& outside) const {
        std::fill(centres.begin(), centres.end(), std::uint8_t{0});
        outside.clear();
        const std::uint16_t* x = x_.data() + i * records_;
        const std::uint16_t* y = y_.data() + j * records_;
        const unsigned w = static_cast<unsigned>(std::max(0, spanX)), h = static_cast<unsigned>(std::max(0, spanY));
        if (!MarkInside(x, y, records_, w, h, centres.data())) return;
        for (size_t k = 0; k < records_; ++k)
            if (!(x[k] < w && y[k] < h)) outside.push_back(k);
    }

private:
    // WorldToPixelX and WorldToPixelY of one cell: the same arithmetic on the same values.
    struct Mapping {
        double xMin, scaleX, xPixel;
        int left;
        double yMin, scaleY, yPixel;
        int top;
    };
    static int Pixel(double v) { return std::isnan(v) ? -platform::kPixelLimit : platform::SaturatingToInt(v); }
    static std::uint16_t Offset(int d, int span) {
        return d >= 0 && d < span && d < kOff ? static_cast<std::uint16_t>(d) : kOff;
    }
    size_t records_;
    std::vector<std::uint16_t> x_, y_;
};

// A cross at centre (px, py) covers (px, py), (px + 1, py) and (px, py + 1): the two one-pixel
// lines leave out their end pixels. The union of the marked crosses goes in one fill per run
// of pixels on a row; (x0, y0) is the pixel of centre offset (0, 0).
void PaintCrosses(platform::Canvas& dc, int x0, int y0, int spanX, int spanY, const std::vector<std::uint8_t>& centres) {
    if (spanX <= 0 || spanY <= 0) return;
    const size_t w = static_cast<size_t>(spanX);
    const auto marked = [&](int u, int v) {
        return u >= 0 && v >= 0 && u < spanX && v < spanY && centres[static_cast<size_t>(v) * w + static_cast<size_t>(u)];
    };
    for (int v = 0; v <= spanY; ++v) {
        int run = -1;
        for (int u = 0; u <= spanX + 1; ++u) {
            const bool on = u <= spanX && (marked(u, v) || marked(u - 1, v) || marked(u, v - 1));
            if (on && run < 0) run = u;
            if (!on && run >= 0) {
                dc.FillRect(platform::Rect{x0 + run, y0 + v, x0 + u, y0 + v + 1}, platform::kBlack);
                run = -1;
            }
        }
    }
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

    size_t records = 0;
    const double* at = RecordsOf(se, records);
    const size_t columns = static_cast<size_t>(n);
    correlationMatrix = CorrelationMatrixOfRecords(at, records, columns, columns);
    std::vector<ColumnRange> ranges(columns);
    RangesOf(at, records, columns, ranges);
    const int spanX = cw + 3, spanY = ch + 3;
    const CrossOffsets offsets(at, records, columns, ranges, plotMarginLeft + W, plotMarginTop + H, cw, ch);
    std::vector<std::uint8_t> centres(static_cast<size_t>(std::max(0, spanX)) * static_cast<size_t>(std::max(0, spanY)) + 1);
    std::vector<size_t> outside;
    const Pen cellPen(PenStyle::Solid, 1, platform::Rgb(180, 180, 255));
    const Pen crossPen(PenStyle::Solid, 1, platform::kBlack);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double r = correlationMatrix[static_cast<size_t>(i) * n + j];
            const int left = plotMarginLeft + W + i * cw, top = plotMarginTop + H + j * ch;
            dc.SelectPen(cellPen);
            dc.SelectBrush(platform::Brush(ValueToGreenShade(r)));
            dc.Rectangle(left, top, left + cw, top + ch);
            MapCell(left, top, left + cw, top + ch, ranges[static_cast<size_t>(i)], ranges[static_cast<size_t>(j)]);
            // The bar stands still at 0.6 and drawing it repaints the whole window, so it is
            // drawn at the first cell only.
            if (i == 0 && j == 0) DrawProgressBar(0, "Painting data to virtual screen", 0.6);
            // Every record's cross is one set of the same three pixels around its centre, so
            // the cell marks the centres first and then paints each pixel row of the union
            // of their crosses once. A centre off the cell (a value the ranges do not hold)
            // is drawn on its own.
            offsets.MarkCentres(static_cast<size_t>(i), static_cast<size_t>(j), spanX, spanY, centres, outside);
            PaintCrosses(dc, left - 1, top - 1, spanX, spanY, centres);
            dc.SelectPen(crossPen);
            for (size_t k : outside) {
                const int px = WorldToPixelX(at[k * columns + static_cast<size_t>(i)]);
                const int py = WorldToPixelY(at[k * columns + static_cast<size_t>(j)]);
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
        size_t records = 0;
        const double* at = RecordsOf(se, records);
        const std::vector<double> matrix =
            CorrelationMatrixOfRecords(at, records, static_cast<size_t>(n), static_cast<size_t>(std::max(0, n)));
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
