#include "app/peaks_report.h"

#include "app/program_objects.h"
#include "app/tabulon_dlg.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/series_painting.h"
#include "data/data_page.h"
#include "documents/fitted_formulas.h"
#include "documents/result_page.h"
#include "fitting/base_line.h"
#include "fitting/normal_equations.h"
#include "fitting/peak_detection.h"
#include "fitting/peak_painters.h"
#include "fitting/sinaldlg_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/calculator.h"
#include "formula/number_formatting.h"
#include "platform/format.h"
#include "platform/requests.h"

#include <string>

namespace {

CTabulonDlg* MainDialog() { return dynamic_cast<CTabulonDlg*>(platform::MainWindow()); }

std::string ParameterName(int index)
{
    const auto& names = theData.parameterNames;
    return index >= 0 && static_cast<std::size_t>(index) < names.size() ? names[static_cast<std::size_t>(index)]
                                                                          : std::string();
}

// One report line into both stores.
void ReportLine(const std::string& text)
{
    theResultDocument.AddText(text, 0, 100);
    theResultDocument.NewLine();
    theResultTables.AddParagraphStyled(text, 0, 0);
    theResultTables.AddParagraph("\n");
}

std::string BaseLineText(int kind, const std::string& argument)
{
    double c[3] = {};
    for (std::size_t k = 0; k < 3 && k < theSinaldlg.baseLineFit.coefficients.size(); ++k)
        c[k] = theSinaldlg.baseLineFit.coefficients[k];
    const char* a = argument.c_str();
    switch (kind) {
    case 1: return platform::Format("Base line: %.6g*%s %+.6g ", c[1], a, c[0]);
    case 2: return platform::Format("Base line: %.6g*%s^2 %+.6g*%s %+.6g ", c[2], a, c[1], a, c[0]);
    case 3: return platform::Format("Base line: %.6g*exp(-%s) %+.6g ", c[1], a, c[0]);
    case 4: return platform::Format("Base line:  %.6g*exp(-%s)^2 %+.6g*exp(-%s) %+.6g", c[2], a, c[1], a, c[0]);
    default: return std::string();
    }
}


double ModelAt(double x) { return PeakModelValue(theSinaldlg.peakSummary, theSinaldlg.peakList, x); }

void GiveCalculatorValues(CTabulonDlg* window, int valueIndex)
{
    const int arguments = window ? window->dataArguments : 0;
    calculator& calc = theCalculator;
    if (calc.WantsTypedValue(arguments) && !calc.typedValues.empty()) {
        const double v = ModelAt(calc.typedValues[0]);
        if (window)
            window->calculatorValue = v;
        calc.AddTypedValue(ParameterName(valueIndex), v);
    }
    calc.ComputeRows(arguments, [](const double* row) { return ModelAt(row[0]); });
}

}  // namespace

void AnalysePeaks(const std::vector<double>& x, const std::vector<double>& y, const sinaldlg_settings& settings)
{
    if (!theXystatistic.peaksRevealing)
        return;
    std::vector<peakSignal>& peakList = theSinaldlg.peakList;
    peakSignal& peakSummary = theSinaldlg.peakSummary;
    double plates = 0.0;
    peakList.clear();
    FindPeaks(x, y, peakList, settings.noiseFactor, settings.spikeWidth, settings.chromatogramOnly, plates);
    if (peakList.empty())
        return;
    peakSummary.base = peakList[0].base;
    RefinePeaks(peakSummary, x, y, peakList);
    ExtendRangeForPeaks(peakSummary, peakList);
}

void PeaksReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                 int argumentIndex, int valueIndex, const sinaldlg_settings& settings)
{
    if (!theXystatistic.peaksRevealing)
        return;
    std::vector<peakSignal>& peakList = theSinaldlg.peakList;
    peakSignal& peakSummary = theSinaldlg.peakSummary;
    const double plates =
        FindAndRefinePeaks(x, y, settings.noiseFactor, settings.spikeWidth, settings.chromatogramOnly, peakList, peakSummary);
    if (peakList.empty())
        return;
    peakSummary.noise = peakList[0].noise;
    PaintPeakSumCurve(peakSummary, dc, peakList);
    PaintPeakMarkers(dc, peakList);
    theData.schemeReady = 1;

    CTabulonDlg* window = MainDialog();
    GiveCalculatorValues(window, valueIndex);

    const bool oneArgument = window && window->dataArguments == 1;
    const std::string argument = oneArgument ? ParameterName(argumentIndex) : std::string("n");
    const std::string label = platform::Format("%s=F(%s)", ParameterName(valueIndex).c_str(), argument.c_str());
    AppendFittedFormula(label, valueIndex);

    theResultDocument.AddTab(10);
    theResultDocument.AddSeriesMark(static_cast<std::uint32_t>(valueIndex));
    theResultDocument.AddTab(45);
    ReportLine(label);
    // A base line whose fit failed was not subtracted and is not reported.
    if (settings.baseLine != 0 && theSinaldlg.baseLineCorrected)
        ReportLine(BaseLineText(settings.baseLine, argument));
    ReportLine(platform::Format("%d peaks found:", static_cast<int>(peakList.size())));
    ReportLine(platform::Format("Noise level = %g", peakList[0].base));
    if (settings.chromatogramOnly)
        ReportLine(platform::Format("Chromatogram. Number of theoretical colomns = %g", plates));
    ReportLine(platform::Format("Sum of gauss like peaks: (0.39894228*A/sigma)*exp(-0.5*((%s-Average)/St.Dev.)^2)",
                                argument.c_str()));

    const std::uint32_t tabs[6] = {10, 100, 200, 300, 450, 600};
    theResultDocument.AddTab(tabs[0]);
    theResultDocument.AddTextLiteral("N", 0, 100);
    theResultDocument.AddTab(tabs[1]);
    theResultDocument.AddSymbol(0);
    theResultDocument.AddTab(tabs[2]);
    theResultDocument.AddSymbol(1);
    theResultDocument.AddTab(tabs[3]);
    theResultDocument.AddTextLiteral("A", 0, 100);
    theResultDocument.AddTab(tabs[4]);
    theResultDocument.AddTextLiteral("Max. pos.", 0, 100);
    theResultDocument.AddTab(tabs[5]);
    theResultDocument.AddTextLiteral("Max. signal", 0, 100);
    theResultDocument.NewLine();
    theResultTables.AddTable(static_cast<int>(peakList.size()) + 1, 6);
    for (const char* head : {"N", "Xo", "Sigma", "A", "Position of maximum.", "Height of maximum"})
        theResultTables.AddCellStyled(head, 1, 0);

    for (std::size_t i = 0; i < peakList.size(); ++i) {
        const peakSignal& p = peakList[i];
        // The centre is the value and sigma its deviation: one call gives both texts.
        std::string centre, sigma;
        FormatValueWithDeviation(p.centre, p.sigma, centre, sigma, p.widthPoints, theResult.autoDigits,
                                 theResult.digits);
        coefficientsText += centre + "\n";
        const std::string cells[6] = {platform::Format("%d", static_cast<int>(i) + 1), centre, sigma,
                                      platform::Format("%g", p.area), platform::Format("%g", p.maxPosition),
                                      platform::Format("%g", p.maxSignal)};
        for (int k = 0; k < 6; ++k) {
            theResultDocument.AddTab(tabs[k]);
            theResultDocument.AddText(cells[k], 0, 100);
            theResultTables.AddCellStyled(cells[k], 0, 0);
        }
        theResultDocument.NewLine();
    }
}
