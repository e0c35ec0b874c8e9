// The chart's frame and its formula legend block, as the chart paint places them: the border
// area, the title and the two axis captions around a plot rectangle shrunk to leave room for
// them and for the axis labels, and after the analysis the legend of the painted models.
#include <algorithm>
#include <cmath>

#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "charts/chart_text.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "data/data_page.h"
#include "data/point_marks.h"
#include "widgets/progress_bar.h"

namespace {

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// Left x of a title or x caption of width `w` placed by a slider at p (0..100): from the
// left end of the plot (past the y labels) to 3 pixels beyond the right end, never left of
// the plot.
int AlignedX(int w, int p, int lw) {
    const double right = plotRight - Trunc(lw * 0.5) - w + 3;
    const double left = lw + plotLeft + 5;
    return std::max(Trunc((right * p + left * (100 - p)) * 0.01), plotLeft);
}

// One formula text of the legend block, on one line in the selected font; a text without
// "=" (or empty) is not drawn. Returns the y below the text; `lines` gets the lines drawn.
// Texts wider than the room are not wrapped: the block's texts always start right of the
// plot's left edge, where the wrapping form of this routine never ran.
int DrawWrappedText(platform::Canvas& dc, const platform::Font& font, const std::string& text, int x, int y,
                    int /*limit*/, int& lines) {
    lines = 0;
    if (text.empty() || text.find('=') == std::string::npos) return y;
    int height = 0;
    MeasureText(dc, &font, text, height);
    DrawTextClipped(dc, x, y, text);
    lines = 1;
    return y + height;
}

}  // namespace

void CTabulonDlg::PaintChartFrame(platform::Canvas& dc) {
    // Rows grow downwards for every frame this paint lays out (SetChartFrame puts the top at 0);
    // before any scales exist the direction is read from the rectangle itself, so the first
    // chart after start-up keeps its title clear of the plot like every later one.
    double dir = plotYDirection;
    if (dir == 0) dir = plotTop < plotBottom ? 1.0 : -1.0;

    const platform::Brush borderBrush(theChart.borderAreaColor);
    platform::Brush oldBrush = dc.SelectBrush(borderBrush);
    platform::Pen oldPen = dc.SelectPen(nullPen);
    dc.Rectangle(-50, -50, (plotRight - plotLeft) + 100, std::abs(plotTop - plotBottom) + 100);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);

    int lh = 0;
    const int lw = MeasureText(dc, &theLegend.xCaptionFont, "1234E67", lh);
    dc.SetBkMode(platform::BkMode::Transparent);

    // Title.
    if (!theLegend.title.empty()) {
        int th = 0;
        const int tw = MeasureText(dc, &theLegend.titleFont, theLegend.title, th);
        const int x = AlignedX(tw, theLegend.titleAlign, lw);
        int y = 0;
        if (dir > 0) {
            y = Trunc(5 * dir);
            plotTop = y + Trunc((th + 5) * dir);
        } else {
            y = plotTop + 5;
            plotTop += Trunc((th + 5) * dir);
        }
        dc.SetTextColor(theLegend.titleColor);
        DrawTextWithFont(dc, theLegend.titleFont, x, y, theLegend.title);
    } else if (dir > 0) {
        plotTop = Trunc(5 * dir) - Trunc(-5.0 * dir);
    } else {
        plotTop += Trunc(5.0 * dir);
    }

    // Room for the x axis labels, then the x caption below them.
    plotBottom -= 3 + lh;
    if (!theLegend.xCaption.empty()) {
        int ch = 0;
        const int cw = MeasureText(dc, &theLegend.xCaptionFont, theLegend.xCaption, ch);
        const int x = AlignedX(cw, theLegend.xCaptionAlign, lw);
        dc.SetTextColor(theLegend.captionColor);
        DrawTextWithFont(dc, theLegend.xCaptionFont, x, plotBottom - 3, theLegend.xCaption);
        plotBottom -= Trunc((lh + 7) * dir);
    }

    // The y caption, turned, in the left margin that the y labels leave.
    if (!theLegend.yCaption.empty()) {
        int yh = 0;
        const int yw = MeasureText(dc, &theLegend.xCaptionFont, theLegend.yCaption, yh);
        const int x = dir >= 0 ? 3 : std::max(WorldToPixelX(plotXMin) - 20 - yh, yh + 20);
        const double q = theLegend.yCaptionAlign * 0.01;
        const int y = std::max(Trunc(q * (yw + plotTop) + (1 - q) * plotBottom), plotTop);
        dc.SetTextColor(theLegend.captionColor);
        DrawTextWithFont(dc, dir > 0 ? theLegend.yCaptionFontUp : theLegend.yCaptionFontDown, x, y,
                         theLegend.yCaption);
    }

    plotLeft += lw + 5;
    plotRight -= Trunc(lw * 0.5 + 3.0);
    // The colour-map shapes keep a strip right of the plot for their colour scale.
    const bool colourMapShape =
        (dataArguments == 2 && dataValues >= 1) || (dataArguments == 0 && dataValues == 2);
    if (dataSeriesCount >= 1 && !view3D && colourMapShape) plotRight -= colorScaleWidth;

    ComputePlotScales();
    DrawProgressBar(0, "Painting data to virtual screen", 0.6);

    const platform::Brush areaBrush(theChart.chartAreaColor);
    const platform::Pen outline = theChart.borderWidth >= 1
                                      ? platform::Pen(platform::PenStyle::Solid, theChart.borderWidth,
                                                      theChart.borderLineColor)
                                      : nullPen;
    oldBrush = dc.SelectBrush(areaBrush);
    oldPen = dc.SelectPen(outline);
    dc.Rectangle(plotLeft, plotTop, plotRight, plotBottom);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

int CTabulonDlg::MeasureFormulaLegend(platform::Canvas& dc) {
    if (!theLegend.showFormulas) return 0;
    dc.SelectFont(theLegend.formulaFont);
    int widest = 0;
    for (const std::string& text : legendTexts) widest = std::max(widest, dc.GetTextExtent(text).cx);
    return widest;
}

int CTabulonDlg::PaintLegendBlock(platform::Canvas& dc, int x) {
    if (dataSeriesCount < 1 || !theLegend.showFormulas) return 0;
    const int top = savedPlotRect.top;
    const int h = legendLineHeight;
    int lines = 0;
    dc.SetBkMode(platform::BkMode::Transparent);
    for (std::size_t i = 0; i < legendTexts.size(); ++i) {
        dc.SelectFont(theLegend.formulaFont);
        // A painter that left no parameter for the entry (or one the store no longer has)
        // gets its text without a mark.
        const std::size_t parameter = i < legendMarks.size() ? legendMarks[i] : theData.parameters.size();
        if (parameter < theData.parameters.size()) {
            const Initial& initial = theData.parameters[parameter];
            dc.SetTextColor(static_cast<platform::ColorRef>(initial.color));
            DrawMarkerSample(dc, x + 15, top + 5 + Trunc((i + 0.5) * h), initial, theChart.chartAreaColor);
        }
        int drawn = 0;
        DrawWrappedText(dc, theLegend.formulaFont, legendTexts[i], x + 30, top + 5 + h * lines, plotRight - 100,
                        drawn);
        lines += drawn;
    }
    return lines;
}

void CTabulonDlg::ReserveLegendSpace(platform::Canvas& dc, int lines) {
    if (theLegend.overlap) return;
    int ah = 0;
    MeasureText(dc, &theLegend.formulaFont, "Average", ah);
    legendLineHeight = Trunc(ah * 1.2);
    if (lines > 0) {
        legendBlockTop = plotTop;
        plotTop += legendLineHeight * lines + ah + 1;
    }
}
