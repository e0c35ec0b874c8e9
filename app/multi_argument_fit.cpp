// The several-argument fits of the main window: the driver that runs the plane, parabolic
// and best-polynomial fits on the data store, and the best polynomial's predictions, which
// the chart of measured against model values draws.
#include <cmath>
#include <stdexcept>
#include <string>

#include "app/tabulon_dlg.h"
#include "charts/series_painting.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "fitting/neighbour_estimate.h"
#include "app/program_objects.h"
#include "fitting/polynomial_fits.h"
#include "formula/constructor_multi.h"

// The best polynomial's values at every record of the only series, beside the measured ones;
// the report that ran just before left its coefficients. The report serves the calculator,
// so the chart is given no point evaluator of its own.
int BestPolynomialValues(std::vector<double>& measured, std::vector<double>& modelled) {
    CTabulonDlg* d = SeriesPaintingDialog();
    if (!d || !(theMultistat.bestPolynome || theMultistat.bestPolynomeAuto) || theData.series.size() != 1) return 0;
    if (theConstructorMulti.currentPolyTerms.empty()) return 0;  // no polynomial searched or built yet
    const Series& s = theData.series[0];
    for (int p = 0; p < s.nParameters; ++p) {
        if (theData.parameters[static_cast<std::size_t>(s.firstParameter + p)].role != kRoleValue) continue;
        d->MultiPolynomialValues(measured, modelled, p, theConstructorMulti.currentPolyTerms);
        if (measured.empty()) return 0;
        theData.schemeReady = 1;  // the polynomial can fill an inserted parameter
        return 1;
    }
    return 0;
}

namespace {

const char kTermsDependent[] = "No fit: the terms are not independent for these data.";
const char kNoTerms[] = "No fit: the polynomial has no terms yet.";
const char kTermRejected[] = "No fit: a term can not be computed for these data.";

}  // namespace

double CTabulonDlg::RunMultiArgumentFit(int seriesIndex, int valueParameter, std::vector<double>& coefficients,
                                        std::vector<double>& deviations, std::string* noFit) {
    if (noFit) noFit->clear();
    const multistat& m = theMultistat;
    const bool polynomial = m.bestPolynome || m.bestPolynomeAuto;
    if (dataSeriesCount < 1 || dataArguments < 2 || dataValues < 1) return 0;
    if (!m.plane && !m.parabolic && !polynomial) return 0;
    if (seriesIndex < 0 || seriesIndex >= static_cast<int>(theData.series.size())) {
        throw std::invalid_argument("RunMultiArgumentFit: no such series");
    }
    const Series s = theData.series[static_cast<std::size_t>(seriesIndex)];
    if (s.nRecords < s.nArguments + 4) return 0;
    argumentMask.assign(static_cast<std::size_t>(s.nParameters), 0);
    for (int p = 0; p < s.nParameters; ++p) {
        argumentMask[static_cast<std::size_t>(p)] =
            theData.parameters[static_cast<std::size_t>(s.firstParameter + p)].role;
    }
    // A parameter of another series would name a column of this one by accident.
    const int column = valueParameter - s.firstParameter;
    if (column < 0 || column >= s.nParameters || argumentMask[static_cast<std::size_t>(column)] != kRoleValue) return 0;

    double e = 0, deviation = 0;
    const std::vector<double>& values = theData.allValues;
    // A singular normal matrix leaves an infinite residual measure.
    const auto singular = [noFit](double measure) {
        if (noFit && std::isinf(measure)) *noFit = kTermsDependent;
    };
    if (m.plane) {
        e = FitMultipleRegression(values, s.nParameters, dataArguments, s.firstValue, s.nRecords, argumentMask, column,
                                  coefficients, deviations, &deviation, kPlaneRegression);
        singular(e);
    }
    if (m.parabolic) {
        e = FitMultipleRegression(values, s.nParameters, dataArguments, s.firstValue, s.nRecords, argumentMask, column,
                                  coefficients, deviations, &deviation, kParabolicRegression);
        singular(e);
    }
    if (polynomial && dataArguments > 1) {
        // The polynomial is fitted to the value asked for; other value columns stand aside.
        std::vector<int> roles = argumentMask;
        for (int p = 0; p < s.nParameters; ++p) {
            if (p != column && roles[static_cast<std::size_t>(p)] == kRoleValue) roles[static_cast<std::size_t>(p)] = 0;
        }
        double maxDeviation = 0;
        int error = 0;
        e = FitTermCodeRegression(values, s.firstValue, s.nRecords, s.nParameters, roles, argumentColumns, coefficients,
                                  deviations, &deviation, &maxDeviation, theConstructorMulti.currentPolyTerms, &error);
        // A polynomial without terms, or with a term rejected at a record, fits nothing: never a
        // perfect fit.
        if (noFit && theConstructorMulti.currentPolyTerms.empty()) {
            *noFit = kNoTerms;
        } else if (noFit && error) {
            *noFit = kTermRejected;
        } else {
            singular(e);
        }
    }
    return e;
}

double CTabulonDlg::MultiPolynomialValues(std::vector<double>& values, std::vector<double>& predicted,
                                          int valueParameter, const std::vector<std::uint32_t>& codes) {
    if (dataSeriesCount != 1 || theData.series.size() != 1) return 0;
    if (valueParameter < 0 || valueParameter >= dataParameters) return 0;
    const Series s = theData.series[0];
    theData.GetParameterValues(0, valueParameter, values);
    const std::size_t n = values.size();
    predicted.assign(n, 0.0);
    for (std::size_t r = 0; r < n; ++r) {
        int error = 0;
        const double v =
            EvaluateMultiPolynomial(static_cast<std::int64_t>(r), theData.allValues, s.firstValue, s.nParameters,
                                    argumentColumns, fitCoefficients.data(), static_cast<int>(fitCoefficients.size()),
                                    dataArguments, codes, &error);
        predicted[r] = error ? 0 : v;
    }
    fitCorrelation = 0;
    if (n == 0) return 1e40;
    double mean = 0;
    for (double v : values) mean += v;
    mean /= static_cast<double>(n);
    double ssr = 0, sst = 0;
    for (std::size_t r = 0; r < n; ++r) {
        ssr += (values[r] - predicted[r]) * (values[r] - predicted[r]);
        sst += (values[r] - mean) * (values[r] - mean);
    }
    return sst == 0 ? 1e40 : ssr / sst;
}
