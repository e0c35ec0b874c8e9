// The "Constructor style" and "From list of formulas" schemes of one argument: their range
// passes and the list-of-formulas report.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/program_objects.h"
#include "app/tabulon_dlg.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/fit_curves.h"
#include "fitting/listed_fits.h"
#include "fitting/schemes.h"
#include "fitting/xystatistic_page.h"
#include "formula/calculator.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "formula/number_formatting.h"
#include "platform/format.h"
#include "statistics/color_maps.h"
#include "statistics/math_domain.h"

namespace {

constexpr int kCurveSteps = 200;
constexpr int kBandPoints = 300;
constexpr int kBandTrials = 100;

// The preset list names its constant "1.0": a basis that is the number 1 adds no factor.
bool IsConstantBasis(const std::string& basis)
{
    if (basis.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(basis.c_str(), &end);
    return *end == '\0' && v == 1.0;
}

// One band line through (x_i, back-transform of value_i); points outside the domain lift the pen.
void DrawBandLine(platform::Canvas& dc, const std::vector<double>& xs, const std::vector<double>& mid,
                  const std::vector<double>& band, double sign, int scheme)
{
    PlotCurvePen pen(dc);
    bool penIsUp = true;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const double y = SchemeInverseY(mid[i] + sign * band[i], scheme);
        if (mathDomainError || !std::isfinite(y)) {
            pen.PenUp();
            penIsUp = true;
            continue;
        }
        if (penIsUp)
            pen.MoveTo(xs[i], y);
        else
            pen.LineTo(xs[i], y);
        penIsUp = false;
    }
}

}  // namespace

int CTabulonDlg::ChosenListedFormula(const std::vector<double>& x, const std::vector<double>& y)
{
    collection& page = theCollection;
    if (page.searchRequested) {
        ListedSearchModes modes;
        modes.overallFit = page.overallFit;
        modes.stability = page.stabilitySearch;
        modes.minOfMaxOut = page.minOfMaxOutSearch;
        page.selectedModel = SearchBestListedFormula(x, y, modes, collection::kModelCount);
        page.searchRequested = 0;
    }
    // No formula qualified (or a stored choice out of range): the first formula is fitted.
    if (page.selectedModel < 0 || page.selectedModel >= kSchemeCount)
        page.selectedModel = 0;
    if (page.HasWindow())
        page.SelectModelInList();
    page.fittedModel = page.selectedModel;
    return page.selectedModel;
}

void CTabulonDlg::ConstructorFitYRange(const std::vector<double>& x, const std::vector<double>& y)
{
    if (!theXystatistic.constructorStyle)
        return;
    const constructor& page = theConstructor;
    const int termCount = page.selectedCodeCount;
    FitConstructorModel(x, y, page.periodValues.data(), fitCoefficients.data(), fitDeviations.data(),
                        page.selectedCodes.data(), page.yTransform, termCount, fitRms);
    if (!ListedFitAccepted(fitCoefficients.data(), fitDeviations.data(), termCount))
        return;
    TermModelYRange(plotXMin, plotXMax, kCurveSteps, page.periodValues.data(), fitCoefficients.data(), termCount,
                    page.selectedCodes.data(), page.yTransform);
    if (!page.showDeviationLines)
        return;
    const double meanX = BandMeanX(x, theResult.visibleDataOnly, plotXMin, plotXMax);
    std::vector<double> xs, band, mid;
    double step = 0;
    ConstructorStdDevBand(plotXMin, plotXMax, xs, step, band, mid, kBandPoints, kBandTrials, page.periodValues.data(),
                          fitCoefficients.data(), fitDeviations.data(), page.selectedCodes.data(), page.yTransform,
                          termCount, fitRms, meanX, &plotYMin, &plotYMax);
}

void CTabulonDlg::CollectionFitYRange(const std::vector<double>& x, const std::vector<double>& y)
{
    if (!theXystatistic.fromListOfFormulas)
        return;
    const int index = ChosenListedFormula(x, y);
    const int count = SchemeCoefficientCount(index);
    double maxDeviation = 0;
    FitCollectionModel(x, y, fitCoefficients.data(), fitDeviations.data(), count, fitRms, index, maxDeviation);
    if (!ListedFitAccepted(fitCoefficients.data(), fitDeviations.data(), count))
        return;
    SchemeYRange(plotXMin, plotXMax, kCurveSteps, fitCoefficients.data(), count, index);
    if (!theCollection.showDeviationLines)
        return;
    const double meanX = BandMeanX(x, theResult.visibleDataOnly, plotXMin, plotXMax);
    std::vector<double> xs, band, mid;
    double step = 0;
    CollectionStdDevBand(plotXMin, plotXMax, xs, step, band, mid, kBandPoints, kBandTrials, fitCoefficients.data(),
                         fitDeviations.data(), count, fitRms, meanX, index, &plotYMin, &plotYMax);
}

void CTabulonDlg::FitResultReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                  int argumentParameter, int valueParameter)
{
    if (!theXystatistic.fromListOfFormulas)
        return;
    const int index = ChosenListedFormula(x, y);
    const int count = SchemeCoefficientCount(index);
    double* a = fitCoefficients.data();
    double* s = fitDeviations.data();
    double maxDeviation = 0;
    const double e = FitCollectionModel(x, y, a, s, count, fitRms, index, maxDeviation);
    // A rejected fit shows nothing: no curve, no text and no band.
    if (!ListedFitAccepted(a, s, count))
        return;

    DrawSchemeCurve(dc, plotXMin, plotXMax, kCurveSteps, a, count, index);
    theData.schemeReady = 1;

    const auto& names = theData.parameterNames;
    const auto nameOf = [&names](int p) {
        return p >= 0 && static_cast<std::size_t>(p) < names.size() ? names[static_cast<std::size_t>(p)]
                                                                     : std::string();
    };
    const std::string yName = nameOf(valueParameter);
    const auto modelAt = [a, count, index](double argument) { return SchemeModelValue(argument, a, count, index); };
    if (theCalculator.WantsTypedValue(dataArguments))
        theCalculator.AddTypedValue(yName, modelAt(theCalculator.typedValueTable[0]));
    theCalculator.ComputeRows(dataArguments, [&modelAt](const double* row) { return modelAt(row[0]); });

    const std::string xName = dataArguments == 0 ? std::string("n") : nameOf(argumentParameter);
    theCollection.GetPresetModelFormulas(theCollection.modelTransform, theCollection.modelBasis, xName, yName);
    const std::vector<std::string>& basis = theCollection.modelBasis;
    const auto basisOf = [&basis](int k) {
        return static_cast<std::size_t>(k) < basis.size() ? basis[static_cast<std::size_t>(k)] : std::string();
    };

    const int n = static_cast<int>(x.size());
    std::vector<std::string> valueTexts(static_cast<std::size_t>(count)), deviationTexts(valueTexts.size()),
        percentTexts(valueTexts.size());
    std::vector<double> percents(valueTexts.size());
    std::string formula = theCollection.modelTransform + " = ";
    for (int k = 0; k < count; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        FormatValueWithDeviation(a[k], s[k], valueTexts[i], deviationTexts[i], n, theResult.autoDigits,
                                 theResult.digits);
        coefficientsText += valueTexts[i] + "\t";
        std::string term = " ";
        if (k > 0 && a[k] >= 0)
            term += "+";
        term += valueTexts[i];
        if (!IsConstantBasis(basisOf(k)))
            term += "*" + basisOf(k);
        formula += term;
        percents[i] = std::fabs(100.0 * s[k] / a[k]);
        percentTexts[i] = std::fabs(a[k]) < 1e-10 ? std::string("0") : platform::Format("%.2g", percents[i]);
    }
    const double r = 1.0 - std::sqrt(e);
    const std::string rText = platform::Format("%.4g   ", r);
    correlationText = rText;
    coefficientsText += rText + "\n";
    theResult.formulaText += formula + "\n";
    legendTexts.push_back(formula);
    legendMarks.push_back(static_cast<unsigned>(valueParameter));

    resultDocument& doc = theResultDocument;
    constexpr platform::ColorRef black = 0;
    doc.AddTab(10);
    doc.AddSeriesMark(static_cast<std::uint32_t>(valueParameter));
    doc.AddTab(45);
    doc.AddText(formula, black, 100);
    doc.NewLine();
    doc.AddTab(45);
    doc.AddText("Coefficient of correlation = ", black, 100);
    doc.AddText(rText, ValueToColor(r), 100);
    doc.NewLine();
    doc.AddText(platform::Format("Number of points = %d", n), black, 100);
    doc.NewLine();
    doc.AddText("Coefficients:", black, 100);
    doc.NewLine();
    doc.AddTab(40);
    doc.AddText("Argument", black, 100);
    doc.AddTab(180);
    doc.AddSymbol(kSymbolAverage);
    doc.AddTab(300);
    doc.AddSymbol(kSymbolSigma);
    doc.AddTab(400);
    doc.AddSymbol(kSymbolVariation);
    doc.NewLine();
    for (int k = 0; k < count; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        doc.AddTab(40);
        doc.AddText(basisOf(k), black, 100);
        doc.AddTab(180);
        doc.AddText(valueTexts[i], black, 100);
        doc.AddTab(300);
        doc.AddText(deviationTexts[i], black, 100);
        doc.AddTab(400);
        doc.AddText(percentTexts[i], ColorForPercent(percents[i]), 100);
        doc.NewLine();
    }

    resultTables& tables = theResultTables;
    tables.AddParagraphStyled(formula, 0, black);
    tables.AddParagraphStyled("\n", 0, black);
    tables.AddParagraphStyled("Coefficient of correlation = ", 0, black);
    tables.AddParagraphStyled(rText, 0, ValueToColor(r));
    tables.AddParagraphStyled("\n", 0, black);
    tables.AddParagraphStyled(platform::Format("Number of points = %d", n), 0, black);
    tables.AddParagraphStyled("\n", 0, black);
    tables.AddParagraphStyled("Coefficients:\n", 0, black);
    tables.AddTable(count + 1, 4);
    for (const char* header : {"Argument", "Value", "St. Dev.", "Corl. Coef.(%)"})
        tables.AddCellStyled(header, 1, black);
    for (int k = 0; k < count; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        tables.AddCellStyled(basisOf(k), 0, black);
        tables.AddCellStyled(valueTexts[i], 0, black);
        tables.AddCellStyled(deviationTexts[i], 0, black);
        tables.AddCellStyled(percentTexts[i], 0, ColorForPercent(percents[i]));
    }

    if (!theCollection.showDeviationLines)
        return;
    const double meanX = BandMeanX(x, theResult.visibleDataOnly, plotXMin, plotXMax);
    std::vector<double> xs, band, mid;
    double step = 0;
    if (!CollectionStdDevBand(plotXMin, plotXMax, xs, step, band, mid, kBandPoints, kBandTrials, a, s, count, fitRms,
                              meanX, index))
        return;
    DrawBandLine(dc, xs, mid, band, 1.0, index);
    DrawBandLine(dc, xs, mid, band, -1.0, index);
}
