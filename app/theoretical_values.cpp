// Fills the parameter just inserted at the end of every record of the first series with the
// values of the model the chart shows: the scheme chosen for one-argument data, or the
// several-argument scheme, evaluated from what the last painting left.
#include <cmath>

#include "app/tabulon_dlg.h"
#include "charts/series_painting.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "fitting/neighbour_estimate.h"
#include "fitting/peak_detection.h"
#include "fitting/sinaldlg_page.h"
#include "app/program_objects.h"
#include "fitting/polynomial_fits.h"
#include "fitting/schemes.h"
#include "fitting/term_models.h"
#include "fitting/user_formula_scheme.h"
#include "fitting/useruf_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/approxcustom.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "formula/constructor_multi.h"
#include "formula/model_evaluation.h"
#include "platform/format.h"
#include "widgets/progress_bar.h"

namespace {

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

// The single-argument scheme's value at x; false when no single-argument scheme is chosen.
bool CTabulonDlg::OneArgumentTheoreticalValue(double x, double& v) {
    const xystatistic& s = theXystatistic;
    const double* a = fitCoefficients.data();
    if (s.constructorStyle) {
        const constructor& c = theConstructor;
        v = ConstructorModelValue(x, c.periodValues.data(), a, c.selectedCodeCount, c.yTransform,
                                  c.selectedCodes.data());
    } else if (s.customFormulas) {
        approxcustom& c = theApproxcustom;
        c.transformText = Trim(c.transformText);
        double f = 0;
        std::vector<double> row;
        EvaluateModelAtPoint(x, 1, f, row, c.basisCount, c.transformText, c.basisTexts);
        double sum = 0;
        for (int i = 0; i < c.basisCount && i < static_cast<int>(row.size()); ++i) sum += a[i] * row[static_cast<std::size_t>(i)];
        v = InverseYTransform(sum, c.transformText);
    } else if (s.fromListOfFormulas) {
        const int scheme = theCollection.selectedModel;
        v = SchemeModelValue(x, a, SchemeCoefficientCount(scheme), scheme);
    } else if (s.harmonicAnalysis || s.polynomFitting || s.searchForBestFormula) {
        // The term model these reports selected and fitted.
        v = TermModelValue(x, periods, termCodes, a, static_cast<int>(termCodes.size()), yTransformCode);
    } else if (s.userFormula) {
        v = dataArguments <= 1
                ? EvaluateFormulaWithVariable(UserFormulaWithValues(), "x", platform::Format("%g", x)) + userFormulaOffset
                : 0;
    } else if (s.peaksRevealing) {
        v = 0;
        const std::vector<peakSignal>& peaks = theSinaldlg.peakList;
        if (!peaks.empty()) {
            v = peaks[0].base;
            for (const peakSignal& peak : peaks) v += GaussianPeak(peak, x);
        }
    } else {
        return false;
    }
    return true;
}

void CTabulonDlg::CalculateTheoreticalValues() {
    multistat& m = theMultistat;
    if (m.bestPolynome || m.bestPolynomeAuto) {
        m.unitaryArgument = m.userDefinedFormula = m.nearNeighbors = m.correlation = m.parabolic = m.plane = 0;
    }
    if (theData.series.empty()) return;
    const Series s = theData.series[0];
    std::vector<double> point(static_cast<std::size_t>(std::max(s.nArguments, 1)), 0.0);
    argumentMask.push_back(1);
    const bool formula = m.userDefinedFormula || m.unitaryArgument;
    if (formula) FillFormulaSubstitution(s.nParameters, theUseruf.values);
    const double step = RecordStep(LargestRecordCount());
    std::vector<double>& all = theData.allValues;
    for (int r = 0; r < s.nRecords; ++r) {
        if (r > 0 && r % 100 == 0) {
            DrawProgressBar(0, "Calculating theoretical values", static_cast<double>(r) / s.nRecords);
        }
        const std::size_t base = static_cast<std::size_t>(s.firstValue) + static_cast<std::size_t>(r) * s.nParameters;
        if (base + static_cast<std::size_t>(s.nParameters) > all.size()) break;
        int k = 0, valueColumn = 0;
        for (int p = 0; p < s.nParameters; ++p) {
            const int role = theData.parameters[static_cast<std::size_t>(s.firstParameter + p)].role;
            if (role == kRoleArgument && k < static_cast<int>(point.size())) point[static_cast<std::size_t>(k++)] = all[base + p];
            if (role == kRoleValue && p != s.nParameters - 1) valueColumn = p;
        }
        if (k == 0) point[0] = r * step;
        double v = 0;
        if (k >= 2 || !OneArgumentTheoreticalValue(point[0], v)) {
            v = SeveralArgumentTheoreticalValue(r, k, valueColumn, point);
        }
        all[base + static_cast<std::size_t>(s.nParameters) - 1] = v;
    }
}

double CTabulonDlg::SeveralArgumentTheoreticalValue(int r, int k, int valueColumn, const std::vector<double>& point) {
    const multistat& m = theMultistat;
    const Series s = theData.series[0];
    const double* a = fitCoefficients.data();
    if (m.plane) {
        double v = a[0];
        for (int j = 1; j <= k && j < 100; ++j) v += a[j] * point[static_cast<std::size_t>(j - 1)];
        return v;
    }
    if (m.parabolic) {
        double v = a[0];
        for (int j = 1; j <= k && 2 * j < 100; ++j) {
            const double p = point[static_cast<std::size_t>(j - 1)];
            v += a[2 * j - 1] * p * p + a[2 * j] * p;
        }
        return v;
    }
    if (m.nearNeighbors) {
        return NearestNeighbourEstimate(theData.allValues, s.nParameters, dataArguments, s.firstValue, s.nRecords,
                                        argumentMask, valueColumn, r, m.weightKind, m.nearNeighborPercent, point);
    }
    if (m.userDefinedFormula || m.unitaryArgument) {
        const double v = theData.EvaluateFormulaAtRecord(theUseruf.formula, r);
        return std::isfinite(v) ? v : 0;
    }
    if ((m.bestPolynome || m.bestPolynomeAuto) && dataArguments > 1) {
        int error = 1;
        const double v = EvaluateMultiPolynomial(r, theData.allValues, s.firstValue, s.nParameters, ::argumentColumns,
                                                 a, 100, dataArguments, theConstructorMulti.currentPolyTerms, &error);
        return error ? 0 : v;
    }
    return 0;
}
