// "Custom formulas": F(y, x) = a0*f0(x) + ... fitted by least squares in the space of F. The
// marks show F of the points, the curve and the correlation refer to F; only the calculator's
// values go back to y through the inverse of a named F.
#include <algorithm>
#include <string>
#include <vector>

#include "app/custom_formula_fit.h"
#include "app/tabulon_dlg.h"
#include "charts/plot_mapping.h"
#include "data/data_page.h"
#include "fitting/fit_report.h"
#include "fitting/listed_fits.h"
#include "fitting/schemes.h"
#include "fitting/xystatistic_page.h"
#include "formula/approxcustom.h"
#include "formula/curve_painters.h"
#include "formula/formula_evaluator.h"
#include "formula/model_evaluation.h"

namespace {

constexpr int kCurveSteps = 200;

// The model texts as last fetched from the custom approximation page.
struct CustomModel {
    std::string transform = "y";
    std::vector<std::string> basis;
    int count = 0;
};

CustomModel& TheCustomModel()
{
    static CustomModel model;
    return model;
}

}  // namespace

// The page's list when it has a window, else its saved texts.
void RefreshCustomModel()
{
    CustomModel& model = TheCustomModel();
    const approxcustom_settings& saved = theApproxcustom.settings;
    model.transform = saved.transformText.empty() ? std::string("y") : saved.transformText;
    model.basis = saved.basisTexts;
    model.count = std::clamp(saved.basisCount, 0, static_cast<int>(saved.basisTexts.size()));
    theApproxcustom.GetModelFormulas(model.transform, model.basis, model.count);
    model.transform.erase(std::remove(model.transform.begin(), model.transform.end(), ' '), model.transform.end());
}

namespace {

// Fits the model into the main window's arrays; the residual ratio e, or a negative number
// when nothing could be fitted (no points, or more terms than the arrays hold).
double FitCustomModel(CTabulonDlg& window, const std::vector<double>& x, const std::vector<double>& y)
{
    const CustomModel& model = TheCustomModel();
    const int n = model.count;
    if (x.empty() || x.size() != y.size() || n < 1 || n >= static_cast<int>(window.fitCoefficients.size()))
        return -1;
    std::vector<double> a, s;
    double e = FitUserBasisModel(x, y, a, s, n, window.fitRms, model.transform, model.basis);
    std::copy_n(a.begin(), n, window.fitCoefficients.begin());
    std::copy_n(s.begin(), n, window.fitDeviations.begin());
    if (e == 0) {
        // F without spread gives no ratio at all: that counts as a failed fit.
        std::vector<double> f;
        CustomTransformedValues(y, x, f);
        if (std::all_of(f.begin(), f.end(), [&f](double v) { return v == f.front(); }))
            e = kFailedFitMeasure;
    }
    return e;
}

}  // namespace

void CustomTransformedValues(const std::vector<double>& y, const std::vector<double>& x, std::vector<double>& out)
{
    out.resize(y.size());
    if (!theXystatistic.customFormulas) {
        std::copy(y.begin(), y.end(), out.begin());
        return;
    }
    const CustomModel& model = TheCustomModel();
    std::vector<double> values;
    for (std::size_t i = 0; i < y.size(); ++i) {
        double f = 0;
        EvaluateModelAtPoint(i < x.size() ? x[i] : 0.0, y[i], f, values, 0, model.transform, model.basis);
        out[i] = f;
    }
}

void CTabulonDlg::CustomFitYRange(const std::vector<double>& x, const std::vector<double>& y)
{
    if (!theXystatistic.customFormulas)
        return;
    RefreshCustomModel();
    if (FitCustomModel(*this, x, y) < 0)
        return;
    const CustomModel& model = TheCustomModel();
    const std::vector<double> a(fitCoefficients.begin(), fitCoefficients.begin() + model.count);
    UserModelCurveRange(plotXMin, plotXMax, kCurveSteps, a, model.count, model.transform, model.basis);
}

void CTabulonDlg::CustomFormulaFitReport(platform::Canvas& dc, const std::vector<double>& x,
                                         const std::vector<double>& y, int xParameter, int yParameter)
{
    if (!theXystatistic.customFormulas)
        return;
    RefreshCustomModel();
    const double e = FitCustomModel(*this, x, y);
    const CustomModel& model = TheCustomModel();
    const int n = model.count;
    if (e < 0 || !FitReportAccepted(fitCoefficients.data(), fitDeviations.data(), n, e))
        return;

    const std::vector<double> a(fitCoefficients.begin(), fitCoefficients.begin() + n);
    PaintUserModelCurve(dc, plotXMin, plotXMax, kCurveSteps, a, n, model.transform, model.basis);
    theData.schemeReady = 1;

    const std::string yName = ReportParameterName(yParameter);
    std::vector<double> values;
    const auto modelAt = [&](double argument) {
        double f = 0;
        EvaluateModelAtPoint(argument, 1.0, f, values, n, model.transform, model.basis);
        double m = 0;
        for (int k = 0; k < n; ++k)
            m += a[static_cast<std::size_t>(k)] * values[static_cast<std::size_t>(k)];
        return InverseYTransform(m, model.transform);
    };
    GiveCalculatorModelValues(dataArguments, yName, modelAt, &calculatorValue);

    const std::string xName = ReportArgumentName(dataArguments, xParameter);
    std::string leftSide = model.transform;
    theFormulaEvaluator.ReplaceWholeWord(leftSide, "y", yName);
    FitReport report(leftSide, static_cast<int>(x.size()));
    for (int k = 0; k < n; ++k) {
        std::string label = static_cast<std::size_t>(k) < model.basis.size() ? model.basis[static_cast<std::size_t>(k)]
                                                                             : std::string();
        theFormulaEvaluator.ReplaceWholeWord(label, "x", xName);
        report.AddTerm(a[static_cast<std::size_t>(k)], fitDeviations[static_cast<std::size_t>(k)], label, label != "1");
    }
    report.Write(yParameter, e);
}
