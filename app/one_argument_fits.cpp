// The "Constructor style" and "From list of formulas" schemes of one argument: their range
// passes and the list-of-formulas report.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
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
#include "fitting/fit_report.h"
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
constexpr unsigned kFirstConstructorPeriodicCode = 23;  // sine of the first period, its cosine next

// The preset list names its constant "1.0": a basis that is the number 1 adds no factor.
bool IsConstantBasis(const std::string& basis)
{
    if (basis.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(basis.c_str(), &end);
    return *end == '\0' && v == 1.0;
}

// One band line through (x_i, back-transform of mid_i +- band_i); points outside the domain
// lift the pen.
void DrawBandLine(platform::Canvas& dc, const std::vector<double>& xs, const std::vector<double>& mid,
                  const std::vector<double>& band, double sign, const std::function<double(double)>& inverse)
{
    PlotCurvePen pen(dc);
    bool penIsUp = true;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        mathDomainError = 0;
        const double y = inverse(mid[i] + sign * band[i]);
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

// Computes a band around a fitted curve from the mean x of the points it was fitted to.
using BandMaker = std::function<int(double meanX, std::vector<double>& xs, double& step, std::vector<double>& band,
                                    std::vector<double>& mid)>;

// The band's upper and lower lines, when the band can be computed.
void DrawDeviationBand(platform::Canvas& dc, const std::vector<double>& x, const BandMaker& make,
                       const std::function<double(double)>& inverse)
{
    const double meanX = BandMeanX(x, theResult.visibleDataOnly, plotXMin, plotXMax);
    std::vector<double> xs, band, mid;
    double step = 0;
    if (!make(meanX, xs, step, band, mid))
        return;
    DrawBandLine(dc, xs, mid, band, 1.0, inverse);
    DrawBandLine(dc, xs, mid, band, -1.0, inverse);
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
    const auto drawBand = [&] {
        if (!theCollection.showDeviationLines)
            return;
        const BandMaker make = [&](double meanX, std::vector<double>& xs, double& step, std::vector<double>& band,
                                   std::vector<double>& mid) {
            return CollectionStdDevBand(plotXMin, plotXMax, xs, step, band, mid, kBandPoints, kBandTrials, a, s,
                                        count, fitRms, meanX, index);
        };
        DrawDeviationBand(dc, x, make, [index](double v) { return SchemeInverseY(v, index); });
    };
    // A rejected fit shows no curve and no text, only its band when asked for. A fit that
    // could not be made at all (bad input, a domain error) has placeholder values and no band.
    if (!FitReportAccepted(a, s, count, e)) {
        if (e < kFailedListedFit)
            drawBand();
        return;
    }

    DrawSchemeCurve(dc, plotXMin, plotXMax, kCurveSteps, a, count, index);
    theData.schemeReady = 1;

    const std::string yName = ReportParameterName(valueParameter);
    GiveCalculatorModelValues(dataArguments, yName,
                              [a, count, index](double argument) { return SchemeModelValue(argument, a, count, index); });

    const std::string xName = ReportArgumentName(dataArguments, argumentParameter);
    theCollection.GetPresetModelFormulas(theCollection.modelTransform, theCollection.modelBasis, xName, yName);
    const std::vector<std::string>& basis = theCollection.modelBasis;
    FitReport report(theCollection.modelTransform, static_cast<int>(x.size()));
    for (int k = 0; k < count; ++k) {
        const std::string label =
            static_cast<std::size_t>(k) < basis.size() ? basis[static_cast<std::size_t>(k)] : std::string();
        report.AddTerm(a[k], s[k], label, !IsConstantBasis(label));
    }
    report.Write(valueParameter, e);
    drawBand();
}

void CTabulonDlg::ConstructorFitReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                       int xParameter, int yParameter)
{
    if (!theXystatistic.constructorStyle)
        return;
    const constructor& page = theConstructor;
    const int n = std::clamp(page.selectedCodeCount, 0, static_cast<int>(page.selectedCodes.size()));
    const int* codes = page.selectedCodes.data();
    const double* periods = page.periodValues.data();
    const int yCode = page.yTransform;
    double* a = fitCoefficients.data();
    double* s = fitDeviations.data();
    const double e = FitConstructorModel(x, y, periods, a, s, codes, yCode, n, fitRms);
    if (!FitReportAccepted(a, s, n, e))
        return;

    DrawTermModelCurve(dc, plotXMin, plotXMax, kCurveSteps, periods, a, n, codes, yCode);
    theData.schemeReady = 1;

    const std::string yName = ReportParameterName(yParameter);
    GiveCalculatorModelValues(dataArguments, yName, [periods, a, n, yCode, codes](double argument) {
        return ConstructorModelValue(argument, periods, a, n, yCode, codes);
    });

    const std::string xName = ReportArgumentName(dataArguments, xParameter);
    std::string leftSide;
    page.TransformLabel(leftSide, 0, yCode, yName);
    const std::vector<unsigned> codeList(codes, codes + n);
    std::vector<std::string> labels(codeList.size());
    for (std::size_t k = 0; k < codeList.size(); ++k)
        if (codeList[k] < kFirstConstructorPeriodicCode)
            page.TransformLabel(labels[k], 1, codes[k], xName);
    FitReport report(leftSide, static_cast<int>(x.size()));
    AddModelTerms(report, labels, a, s, codeList, kFirstConstructorPeriodicCode, periods, kConstructorPeriods, xName);
    report.Write(yParameter, e);

    if (!page.showDeviationLines)
        return;
    const BandMaker make = [&](double meanX, std::vector<double>& xs, double& step, std::vector<double>& band,
                               std::vector<double>& mid) {
        return ConstructorStdDevBand(plotXMin, plotXMax, xs, step, band, mid, kBandPoints, kBandTrials, periods, a, s,
                                     codes, yCode, n, fitRms, meanX);
    };
    DrawDeviationBand(dc, x, make, [yCode](double v) { return ApplyYTransform(v, yCode); });
}
