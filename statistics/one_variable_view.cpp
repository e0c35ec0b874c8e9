#include "statistics/one_variable_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "charts/axes.h"
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
#include "formula/number_formatting.h"
#include "statistics/color_maps.h"
#include "statistics/conditional_values.h"
#include "statistics/distrimution_page.h"
#include "statistics/erlang.h"
#include "statistics/poisson.h"
#include "statistics/student.h"

std::array<double, 3> distributionCorrelations = {0, 0, 0};
std::vector<unsigned> legendColumnX;
erlangFit shownErlangFit;

namespace {

constexpr platform::ColorRef kTitleColor = platform::Rgb(200, 30, 255);
constexpr platform::ColorRef kConditionColor = platform::Rgb(0, 125, 255);
constexpr int kMaxBins = distrimution::kMaxBins;

std::string Format(const char* format, double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

std::string Tidy(const char* format, double v) {
    std::string text = Format(format, v);
    TidyExponentText(text);
    return text;
}

// A value parameter of a series that takes part: role 1 in a series of at least 3 records.
struct Variable {
    int series = 0, position = 0, global = 0;
};

std::vector<Variable> Variables() {
    std::vector<Variable> out;
    for (int s = 0; s < static_cast<int>(theData.series.size()); ++s) {
        const Series& se = theData.series[static_cast<size_t>(s)];
        if (se.nRecords < 3) continue;
        for (int p = 0; p < se.nParameters; ++p) {
            const int global = se.firstParameter + p;
            if (global < 0 || global >= static_cast<int>(theData.parameters.size())) continue;
            if (theData.parameters[static_cast<size_t>(global)].role == kRoleValue) out.push_back({s, p, global});
        }
    }
    return out;
}

std::string NameOf(const Variable& v) {
    return v.global < static_cast<int>(theData.parameterNames.size()) ? theData.parameterNames[static_cast<size_t>(v.global)]
                                                                     : std::string();
}

platform::ColorRef ColorOf(const Variable& v) {
    return static_cast<platform::ColorRef>(theData.parameters[static_cast<size_t>(v.global)].color);
}

std::string ErlangHeader() {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s(%d)", "Corl.Coeff. Erlang", static_cast<int>(shownErlangFit.shape));
    return buffer;
}

// A range of no width (a constant variable, or no value at all) is opened around its value.
void OpenEmptyXRange() {
    if (plotXMin > plotXMax) {
        plotXMin = 0;
        plotXMax = 1;
    } else if (!(plotXMax - plotXMin > 0)) {
        const double pad = plotXMin != 0 ? std::fabs(plotXMin) * 0.1 : 1.0;
        plotXMin -= pad;
        plotXMax += pad;
    }
}

// The bin grid over the plot's x range: origin a whole multiple of the width below plotXMin,
// so that every value lands in one bin by floor, and bins reaching plotXMax.
void FixBinGrid(int smallestCount) {
    distrimution& page = theDistrimution;
    const double range = plotXMax - plotXMin;
    double width = 0;
    int bins = 0;
    if (page.autoIntervals) {
        const int k = smallestCount > 1 ? std::max(1, static_cast<int>(3.0 * std::log(static_cast<double>(smallestCount)))) : 1;
        width = NiceTickStep(range / k);
        if (!(width > 0) || !std::isfinite(width)) width = range / k;
        const double origin = width * std::floor(plotXMin / width);
        const double count = std::floor((plotXMax - origin) / width) + 1;
        bins = static_cast<int>(std::clamp(count, 1.0, static_cast<double>(kMaxBins)));
        page.binOrigin = origin;
    } else {
        bins = std::clamp(page.binCount, 1, kMaxBins);
        width = range / bins;
        page.binOrigin = width * std::floor(plotXMin / width);
        // The alignment moves the grid left; widen the bins so the last one still reaches
        // past plotXMax.
        if (page.binOrigin + bins * width < plotXMax) width = (plotXMax - page.binOrigin) / bins;
    }
    page.binCount = bins;
    page.binWidth = width;
    if (page.HasWindow()) page.UpdateData(false);
}

void KeepVisible(std::vector<double>& values) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return !(v > plotXMin && v < plotXMax); }),
                 values.end());
}

// The conditions in force, on the document and as a table.
void ReportConditions() {
    const std::vector<conditions>& list = theDistrimution.conditions;
    resultDocument& doc = theResultDocument;
    doc.AddTab(40);
    doc.AddText("Conditions of parameters:", kConditionColor, 100);
    doc.NewLine();
    const char* headers[] = {"Bool operation", "Name of parameter", "From", "Till"};
    const unsigned tabs[] = {40, 140, 300, 400};
    for (int c = 0; c < 4; ++c) {
        doc.AddTab(tabs[c]);
        doc.AddText(headers[c], kConditionColor, 100);
    }
    doc.NewLine();
    const int firstParameter = theData.series.empty() ? 0 : theData.series[0].firstParameter;
    auto nameOf = [&](const conditions& c) {
        const long long g = static_cast<long long>(firstParameter) + c.parameterIndex;
        return c.parameterIndex >= 0 && g < static_cast<long long>(theData.parameterNames.size())
                   ? theData.parameterNames[static_cast<size_t>(g)]
                   : std::string();
    };
    for (const conditions& c : list) {
        const std::string cells[] = {ConditionOperationWord(c.operation), nameOf(c), Format("%g", c.from),
                                     Format("%g", c.till)};
        for (int k = 0; k < 4; ++k) {
            doc.AddTab(tabs[k]);
            doc.AddText(cells[k], kConditionColor, 100);
        }
        doc.NewLine();
    }
    doc.NewLine();

    resultTables& tables = theResultTables;
    tables.AddParagraphStyled("Conditions of parameters:", 0, kConditionColor);
    tables.AddParagraphStyled("\n", 0, kConditionColor);
    tables.AddTable(static_cast<int>(list.size()) + 1, 4);
    for (const char* h : headers) tables.AddCellStyled(h, 1, 0);
    for (const conditions& c : list) {
        tables.AddCellStyled(ConditionOperationWord(c.operation), 1, 0);
        tables.AddCellStyled(nameOf(c), 1, 0);
        tables.AddCellStyled(Format("%g", c.from), 0, 0);
        tables.AddCellStyled(Format("%g", c.till), 0, 0);
    }
    tables.AddParagraph("\n");
}

// A legend-table cell on the chart and in the result page's table text.
void LegendCell(platform::Canvas& dc, int column, int y, const std::string& text) {
    DrawTextClipped(dc, plotLeft + static_cast<int>(legendColumnX[static_cast<size_t>(column)]), y, text);
    theResult.formulaText += text;
    theResult.formulaText += '\t';
}

void LegendHeader(platform::Canvas& dc, const OneVariableViewState& state) {
    const platform::Font& font = theLegend.formulaFont;
    int h = 0;
    const char* measured[] = {"Average", "St.Dev.", "Coef. of Var.", "Xmin   ", "Xmax   ", "N", "Corl.Coeff. Student",
                              "Corl.Coeff. Poisson"};
    legendColumnX.assign(10, 0);
    legendColumnX[0] = 50;
    legendColumnX[1] = static_cast<unsigned>(TextExtentWithFont(dc, &font, "Name", h) + 150);
    for (int c = 0; c < 8; ++c) {
        const int gap = c == 5 ? 50 : 20;
        legendColumnX[static_cast<size_t>(c) + 2] =
            legendColumnX[static_cast<size_t>(c) + 1] + static_cast<unsigned>(TextExtentWithFont(dc, &font, measured[c], h) + gap);
    }
    const distrimution& page = theDistrimution;
    const int y = state.textLineY(0);
    const char* headers[] = {"Name", "Average", "St.Dev.", "Coef. of Var.", "Xmin", "Xmax", "N"};
    for (int c = 0; c < 7; ++c) LegendCell(dc, c, y, headers[c]);
    if (page.showStudent) LegendCell(dc, 7, y, "Corl.Coeff. Student");
    if (page.showPoisson) LegendCell(dc, 8, y, "Corl.Coeff. Poisson");
    if (page.showErlang) LegendCell(dc, 9, y, ErlangHeader());
    theResult.formulaText += '\n';
}

// The y range from the highest bar and the highest peak of every curve shown.
void FixYRange(const std::vector<Variable>& variables, const OneVariableViewState& state) {
    const distrimution& page = theDistrimution;
    const double width = page.binWidth;
    double counts = 0, percents = 0, shares = 0;
    ParameterDistribution d;
    for (const Variable& v : variables) {
        DistributionOfParameter(v.series, v.position, state.visibleDataOnly, d);
        const distributionSummary& s = d.conditionalSummary;
        const double n = s.n;
        double top = s.maxCount;
        std::vector<double> peaks;
        if (page.showStudent) peaks.push_back(StudentPeakBinProbability(s.mean, s.spread, s.n, plotXMin, plotXMax, width) * n * width);
        if (page.showPoisson && s.mean > 0) peaks.push_back(PoissonPeakBinProbability(s.mean, plotXMin, plotXMax) * n * width);
        if (page.showErlang && s.mean > 0) {
            shownErlangFit = ErlangSetup(s.mean, s.spread);
            peaks.push_back(ErlangPeakDensity(shownErlangFit, s.mean, plotXMin, plotXMax) * n * width);
        }
        for (double p : peaks) top = std::max(top, std::isfinite(p) ? p : 0.0);
        counts = std::max(counts, top);
        if (page.percentage && n > 0) percents = std::max(percents, 100.0 * top / n);
        for (double share : d.shares) shares = std::max(shares, share);
    }
    double top = counts;
    if (page.percentage) top = percents;
    if (page.partOfWhole) top = shares;
    if (!(top > 0)) top = 1;  // nothing to show: an empty but valid range
    const double pad = std::fabs(top * theXyview.stepPercent * 0.01);
    plotYMin = -pad;
    plotYMax = top + pad;
    theXyview.yMin = plotYMin;
    theXyview.yMax = plotYMax;
}

// Steps 2 to 10 of one variable: legend row, result lines and table row, the probability
// line, the zero line and the histogram.
void PaintVariable(platform::Canvas& dc, const Variable& v, int j, double subWidth, const OneVariableViewState& state,
                   ParameterDistribution& d) {
    const distrimution& page = theDistrimution;
    DistributionOfParameter(v.series, v.position, state.visibleDataOnly, d);
    const distributionSummary& s = d.conditionalSummary;
    const std::string name = NameOf(v);
    const platform::ColorRef color = ColorOf(v);
    std::string meanText, sdText;
    FormatValueWithDeviation(s.mean, s.spread, meanText, sdText, s.n, theResult.autoDigits, theResult.digits);
    const double cv = CoefficientOfVariation(s.mean, s.spread);
    // The Erlang shape shown is this variable's own.
    if (page.showErlang && s.mean > 0) shownErlangFit = ErlangSetup(s.mean, s.spread);

    if (theLegend.showFormulas) {
        const int y = state.textLineY(j + 1);
        platform::ColorRef old = dc.SetTextColor(color);
        LegendCell(dc, 0, y, name);
        dc.SetTextColor(old);
        LegendCell(dc, 1, y, meanText);
        LegendCell(dc, 2, y, sdText);
        LegendCell(dc, 3, y, Format("%.3g", cv));
        LegendCell(dc, 4, y, Format("%.3g", s.min));
        LegendCell(dc, 5, y, Format("%.3g", s.max));
        LegendCell(dc, 6, y, std::to_string(s.n));
        if (state.legendBlockLines) ++*state.legendBlockLines;
    }

    resultDocument& doc = theResultDocument;
    AddVariableHeader();
    doc.AddTab(350);
    doc.AddText("Xmin", 0, 100);
    doc.AddTab(400);
    doc.AddText("Xmax", 0, 100);
    doc.AddTab(450);
    doc.AddText("N", 0, 100);
    doc.AddTab(500);
    unsigned column = 500;
    if (page.showStudent) {
        doc.AddTab(column += 75);
        doc.AddText("Corl.Student", 0, 100);
    }
    if (page.showPoisson) {
        doc.AddTab(column += 75);
        doc.AddText("Corl.Poisson", 0, 100);
    }
    if (page.showErlang) {
        doc.AddTab(column += 75);
        doc.AddText(ErlangHeader(), 0, 100);
    }
    doc.NewLine();
    doc.AddSeriesMark(static_cast<std::uint32_t>(v.global));
    doc.AddTab(40);
    doc.AddText(name, color, 100);
    doc.AddTab(120);
    doc.AddText(meanText, 0, 100);
    doc.AddTab(180);
    doc.AddText(sdText, 0, 100);
    doc.AddTab(240);
    doc.AddText(Tidy("%.3g", cv), ColorForPercent(cv), 100);
    doc.AddTab(350);
    doc.AddText(Tidy("%.3g", s.min), 0, 100);
    doc.AddTab(400);
    doc.AddText(Tidy("%.3g", s.max), 0, 100);
    doc.AddTab(450);
    doc.AddText(std::to_string(s.n), 0, 100);
    doc.AddTab(500);

    resultTables& tables = theResultTables;
    std::vector<std::string> headers{"Name", "Average", "St. Dev.", "Coef. of Var.(%)", "Xmin.", "Xmax", "N"};
    if (page.showStudent) headers.push_back("Corl.Coeff. Student");
    if (page.showPoisson && s.mean > 0) headers.push_back("Corl.Coeff. Poisson");
    if (page.showErlang && s.mean > 0) headers.push_back(ErlangHeader());
    tables.AddTable(2, static_cast<int>(headers.size()));
    for (const std::string& h : headers) tables.AddCellStyled(h, 1, 0);
    tables.AddCellStyled(name, 0, color);
    tables.AddCellStyled(meanText, 0, 0);
    tables.AddCellStyled(sdText, 0, 0);
    tables.AddCellStyled(Tidy("%.3g", cv), 0, ColorForPercent(cv));
    tables.AddCellStyled(Tidy("%.3g", s.min), 0, 0);
    tables.AddCellStyled(Tidy("%.3g", s.max), 0, 0);
    tables.AddCellStyled(std::to_string(s.n), 0, 0);

    if (!page.showStudent && !page.showPoisson && !page.showErlang) {
        doc.NewLine();
        tables.AddParagraph("\n");
    }

    if (!page.conditions.empty()) {
        const int all = d.allSummary.n;
        const double share = all > 0 ? static_cast<double>(s.n) / all : 0.0;
        const double p = SelectionNotRandomProbability(d.all, share, s.mean);
        // Enough digits to tell p from 1; p of exactly 1 is shown as it is.
        const int digits = p < 1 ? 2 - static_cast<int>(std::trunc(std::log10(1 - p))) : 3;
        char format[80];
        std::snprintf(format, sizeof format, "Probability that conditional selection is not random = %%.%dg", digits);
        char text[120];
        std::snprintf(text, sizeof text, format, p);
        doc.AddTab(40);
        doc.AddText(text, 0, 100);
        doc.NewLine();
        tables.AddParagraph(text);
        tables.AddParagraph("\n");
    }

    if (plotYMin < 0 && 0 < plotYMax) {
        const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, theChart.borderWidth, theChart.borderAreaColor));
        dc.MoveTo(WorldToPixelX(plotXMin), WorldToPixelY(0));
        dc.LineTo(WorldToPixelX(plotXMax), WorldToPixelY(0));
        dc.SelectPen(old);
    }

    HistogramArguments a;
    a.conditional = &d.conditional;
    a.bins = page.partOfWhole ? &d.shares : &d.conditionalBins;
    a.conditionalBins = &d.conditionalBins;
    a.allBins = &d.allBins;
    a.index = j;
    a.subWidth = subWidth;
    a.binWidth = page.binWidth;
    a.color = color;
    a.summary = page.partOfWhole ? d.shareSummary : s;
    a.conditionalSummary = s;
    a.origin = page.binOrigin;
    PaintDistributionHistogram(dc, a, state);
}

}  // namespace

void AddVariableHeader() {
    resultDocument& doc = theResultDocument;
    doc.AddTab(40);
    doc.AddText("Variable", 0, 100);
    doc.AddTab(120);
    doc.AddSymbol(kSymbolAverage);
    doc.AddTab(180);
    doc.AddSymbol(kSymbolSigma);
    doc.AddTab(240);
    doc.AddSymbol(kSymbolVariation);
}

void DistributionOfParameter(int s, int p, int visibleDataOnly, ParameterDistribution& out) {
    const distrimution& page = theDistrimution;
    out.all.clear();
    theData.GetParameterValues(s, p, out.all);
    GetConditionalValues(theData, s, p, page.conditions, out.conditional);
    if (visibleDataOnly) {
        KeepVisible(out.all);
        KeepVisible(out.conditional);
    }
    const int bins = std::clamp(page.binCount, 1, kMaxBins);
    if (page.cumulative) {
        out.conditionalSummary.FromCumulativeValues(out.conditional, out.conditionalBins, page.binOrigin, bins, page.binWidth);
        out.allSummary.FromCumulativeValues(out.all, out.allBins, page.binOrigin, bins, page.binWidth);
    } else {
        out.conditionalSummary.FromBinnedValues(out.conditional, out.conditionalBins, page.binOrigin, bins, page.binWidth);
        out.allSummary.FromBinnedValues(out.all, out.allBins, page.binOrigin, bins, page.binWidth);
    }
    out.shares.assign(static_cast<size_t>(bins), 0.0);
    out.shareSummary = distributionSummary();
    if (!page.partOfWhole) return;
    for (size_t i = 0; i < out.shares.size(); ++i) {
        const double all = out.allBins[i];
        out.shares[i] = all > 0 ? out.conditionalBins[i] * 100.0 / all : 0.0;
    }
    out.shareSummary.FromDeviations(out.shares, static_cast<int>(out.all.size()), static_cast<int>(out.conditional.size()));
}

int PaintDistributionOfOneVariable(platform::Canvas& dc, const OneVariableViewState& state) {
    if (state.seriesCount < 1 || state.arguments != 0 || state.values < 1 ||
        (state.values == 2 && theXyview.colorMapMode))
        return 0;
    distrimution& page = theDistrimution;
    const bool legendShown = theLegend.showFormulas != 0;

    resultDocument& doc = theResultDocument;
    doc.Clear();
    if (state.legendBlockLines) *state.legendBlockLines = legendShown ? 1 : 0;
    doc.NewLine();
    doc.AddText("Distribution of one variable.", kTitleColor, 140);
    doc.NewLine();
    doc.NewLine();
    theResultTables.AddParagraphStyled("Distribution of one variable.", 1, kTitleColor);
    theResultTables.AddParagraphStyled("\n", 0, 0);

    const std::vector<Variable> variables = Variables();
    long long smallest = -1;
    std::vector<double> values;
    for (const Variable& v : variables) {
        if (legendShown && state.legendBlockLines) ++*state.legendBlockLines;
        GetConditionalValues(theData, v.series, v.position, page.conditions, values);
        if (theXyview.autozoom) ExtendXRange(values);
        const long long count = static_cast<long long>(values.size());
        smallest = smallest < 0 ? count : std::min(smallest, count);
    }

    if (theXyview.autozoom) {
        OpenEmptyXRange();
        const double pad = std::fabs(0.1 * (plotXMax - plotXMin));
        plotXMin -= pad;
        plotXMax += pad;
        theXyview.xMin = plotXMin;
        theXyview.xMax = plotXMax;
    } else {
        plotXMin = theXyview.xMin;
        plotXMax = theXyview.xMax;
        plotYMin = theXyview.yMin;
        plotYMax = theXyview.yMax;
        OpenEmptyXRange();
    }
    FixBinGrid(static_cast<int>(std::min<long long>(std::max<long long>(smallest, 0), 1 << 30)));
    if (theXyview.autozoom) {
        FixYRange(variables, state);
        if (theXyview.HasWindow()) theXyview.UpdateData(false);
    }

    ComputePlotScales();
    DrawProgressBar(0, "Painting data to virtual screen", 0.6);
    theResult.formulaText.clear();

    if (!page.conditions.empty()) ReportConditions();

    if (legendShown) {
        if (state.legendBlockLines) *state.legendBlockLines = 0;
        const platform::Font old = dc.SelectFont(theLegend.formulaFont);
        LegendHeader(dc, state);
        dc.SelectFont(old);
    }

    const double subWidth = variables.empty() ? page.binWidth : page.binWidth / static_cast<double>(variables.size());
    ParameterDistribution d;
    for (size_t j = 0; j < variables.size(); ++j) {
        const platform::Font old = dc.SelectFont(theLegend.formulaFont);
        PaintVariable(dc, variables[j], static_cast<int>(j), subWidth, state, d);
        dc.SelectFont(old);
    }
    DrawAxes(dc);
    return 1;
}
