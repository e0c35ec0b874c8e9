// The chart's frame and its formula legend block, as the chart paint places them. The frame's
// border area, title and captions come with the chart frame's own work; until then the frame
// leaves the whole image to the plot.
#include <algorithm>
#include <cmath>

#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "data/data_page.h"
#include "data/point_marks.h"

namespace {

// One formula text of the legend block on one line; a text without "=" (or empty) is not
// drawn. Returns the y below the text; `lines` gets the number of lines drawn.
int DrawWrappedText(platform::Canvas& dc, const std::string& text, int x, int y, int& lines) {
    lines = 0;
    if (text.empty() || text.find('=') == std::string::npos) return y;
    dc.TextOut(x, y, text);
    lines = 1;
    return y + dc.GetTextExtent(text).cy;
}

}  // namespace

void CTabulonDlg::PaintChartFrame(platform::Canvas&) { ComputePlotScales(); }

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
        const std::size_t parameter = i < legendMarks.size() ? legendMarks[i] : theData.parameters.size();
        if (parameter < theData.parameters.size()) {
            const Initial& initial = theData.parameters[parameter];
            dc.SetTextColor(static_cast<platform::ColorRef>(initial.color));
            DrawMarkerSample(dc, x + 15, top + 5 + static_cast<int>(std::trunc((i + 0.5) * h)), initial,
                             theChart.chartAreaColor);
            dc.SelectFont(theLegend.formulaFont);
        }
        int drawn = 0;
        DrawWrappedText(dc, legendTexts[i], x + 30, top + 5 + h * lines, drawn);
        lines += drawn;
    }
    return lines;
}

void CTabulonDlg::ReserveLegendSpace(platform::Canvas& dc, int lines) {
    if (theLegend.overlap) return;
    dc.SelectFont(theLegend.formulaFont);
    const int ah = dc.GetTextExtent("Average").cy;
    legendLineHeight = static_cast<int>(std::trunc(ah * 1.2));
    if (lines > 0) {
        legendBlockTop = plotTop;
        plotTop += legendLineHeight * lines + ah + 1;
    }
}
