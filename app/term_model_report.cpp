// "Polynom fitting", "Harmonic analysis" and "Search for best formula": each selects a term
// model for the points, then fits, paints and reports it.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/tabulon_dlg.h"
#include "charts/plot_mapping.h"
#include "data/data_page.h"
#include "fitting/fit_curves.h"
#include "fitting/fit_report.h"
#include "fitting/term_models.h"
#include "fitting/xystatistic_page.h"
#include "formula/constructor.h"

namespace {

constexpr int kCurveSteps = 200;

// A scheme runner: when its scheme is chosen, a fresh model of the search, then its report.
void SelectAndReport(CTabulonDlg& window, int chosen, const std::function<void(TermSelection&)>& select,
                     platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y, int xParameter,
                     int yParameter)
{
    if (!chosen)
        return;
    window.yTransformCode = 0;
    window.periods.clear();
    window.termCodes.clear();
    TermSelection search = window.TermSearch();
    select(search);
    if (search.fitCount > 0) {
        window.lastTermFitResidual = search.lastResidual;
        window.lastTermFitRatios = search.lastRatios;
    }
    window.PaintTermModelFit(dc, x, y, xParameter, yParameter);
}

}  // namespace

void CTabulonDlg::RunPolynomFitting(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                    int xParameter, int yParameter)
{
    SelectAndReport(*this, theXystatistic.polynomFitting, [&](TermSelection& s) { s.SelectTermsStepwise(x, y); }, dc,
                    x, y, xParameter, yParameter);
}

void CTabulonDlg::RunHarmonicAnalysis(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                      int xParameter, int yParameter)
{
    const auto select = [&](TermSelection& s) {
        s.FitHarmonicModel(x, y);
        s.NormalizeTermList();
    };
    SelectAndReport(*this, theXystatistic.harmonicAnalysis, select, dc, x, y, xParameter, yParameter);
}

void CTabulonDlg::RunBestFormulaSearch(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                       int xParameter, int yParameter)
{
    SelectAndReport(*this, theXystatistic.searchForBestFormula, [&](TermSelection& s) { s.SearchBestFormula(x, y); },
                    dc, x, y, xParameter, yParameter);
}

void CTabulonDlg::PaintTermModelFit(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                    int xParameter, int yParameter)
{
    TermModelFitReport(dc, x, y, termCodes, yTransformCode, periods, xParameter, yParameter);
}

void CTabulonDlg::TermModelFitReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                     const std::vector<unsigned>& codes, int yTransform,
                                     const std::vector<double>& modelPeriods, int xParameter, int yParameter)
{
    const int n = static_cast<int>(codes.size());
    std::vector<double> a(codes.size(), 0.0), d(codes.size(), 0.0);
    double criterion = 0;
    const double e = FitTermModel(x, y, yTransform, codes, modelPeriods, a, d, &criterion);
    // A model the fit could not make (or made with no degree of freedom) scores the
    // unfitted criterion: its zero coefficients are no result to report.
    if (!FitReportAccepted(a.data(), d.data(), n, e) || !(criterion < kUnfittedTermCriterion))
        return;

    PaintTermModelCurve(dc, plotXMin, plotXMax, modelPeriods, kCurveSteps, a, yTransform, codes);
    theData.schemeReady = 1;
    // The last fit's coefficients, which the theoretical values of this scheme evaluate.
    std::copy_n(a.begin(), std::min(a.size(), fitCoefficients.size()), fitCoefficients.begin());
    std::copy_n(d.begin(), std::min(d.size(), fitDeviations.size()), fitDeviations.begin());

    const std::string yName = ReportParameterName(yParameter);
    GiveCalculatorModelValues(dataArguments, yName, [&](double argument) {
        return TermModelValue(argument, modelPeriods, codes, a.data(), n, yTransform);
    });

    const std::string xName = ReportArgumentName(dataArguments, xParameter);
    std::string leftSide;
    constructor::TransformLabelLong(leftSide, 0, yTransform, yName);
    std::vector<std::string> labels(codes.size());
    for (std::size_t k = 0; k < codes.size(); ++k)
        constructor::TransformLabelLong(labels[k], 1, static_cast<int>(codes[k]), xName);
    FitReport report(leftSide, static_cast<int>(x.size()));
    AddModelTerms(report, labels, a.data(), d.data(), codes, kFirstPeriodicTermCode, modelPeriods.data(),
                     modelPeriods.size(), xName);
    report.Write(yParameter, e);
}
