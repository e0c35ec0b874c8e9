// The user formula of several arguments (as a formula of the value, and as one combined
// argument fitted by a power series) and the stepped random search over the formula's
// coefficients that the job hook runs.
#include <cmath>

#include "app/tabulon_dlg.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "fitting/polynomial_fits.h"
#include "fitting/user_fit_search.h"
#include "fitting/user_formula_scheme.h"
#include "fitting/useruf_page.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/requests.h"

namespace {

constexpr double kNoFit = kUserFitNoFit;

bool CanFit(const CTabulonDlg& d, int valueColumn) {
    return d.dataSeriesCount == 1 && theData.series.size() == 1 && valueColumn >= 0 &&
           valueColumn < d.dataParameters;
}

// SSR / SST of measured against model values; no fit when a model value failed. Values
// without spread give noSpread.
double ResidualRatio(const std::vector<double>& measured, const std::vector<double>& model, double noSpread = kNoFit) {
    const std::size_t n = measured.size();
    if (n < 1) return kNoFit;
    double mean = 0;
    for (double y : measured) mean += y;
    mean /= static_cast<double>(n);
    double ssr = 0, sst = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(model[i])) return kNoFit;
        ssr += (measured[i] - model[i]) * (measured[i] - model[i]);
        sst += (measured[i] - mean) * (measured[i] - mean);
    }
    const double e = sst == 0 ? noSpread : ssr / sst;
    return std::isfinite(e) ? e : kNoFit;
}

}  // namespace

void CTabulonDlg::FillFormulaSubstitution(int parameters, const std::vector<double>& coefficients) {
    theData.BuildFormulaNameList();
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        const std::size_t k = static_cast<std::size_t>(parameters) + i;
        if (k < theData.formulaValueTexts.size()) theData.formulaValueTexts[k] = platform::Format("%g", coefficients[i]);
    }
    theData.parametersPerSeries = parameters;
}

double CTabulonDlg::MultivariantFormulaValues(std::vector<double>& measured, std::vector<double>& computed,
                                              int valueColumn, const std::vector<double>& coefficients,
                                              double& offset, int plusConst) {
    if (!CanFit(*this, valueColumn)) return kNoFit;
    theData.GetParameterValues(0, valueColumn, measured);
    const std::size_t n = measured.size();
    FillFormulaSubstitution(dataParameters, coefficients);
    theData.EvaluateFormulaAtRecords(theUseruf.formula, static_cast<int>(n), computed);
    double sumY = 0, sumV = 0;
    std::size_t good = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(computed[i])) continue;
        sumY += measured[i];
        sumV += computed[i];
        ++good;
    }
    offset = plusConst && good > 0 ? (sumY - sumV) / static_cast<double>(good) : 0.0;
    if (plusConst) {
        for (double& v : computed) v += offset;
    }
    return ResidualRatio(measured, computed);
}

double CTabulonDlg::UnifiedArgumentValues(std::vector<double>& measured, std::vector<double>& combined,
                                          int valueColumn, const std::vector<double>& coefficients,
                                          std::vector<double>& series, ScaledPowerSeries* scaled) {
    if (!CanFit(*this, valueColumn)) return kNoFit;
    theData.GetParameterValues(0, valueColumn, measured);
    const std::size_t n = measured.size();
    FillFormulaSubstitution(dataParameters, coefficients);
    userFormulaOffset = 0;
    theData.EvaluateFormulaAtRecords(theUseruf.formula, static_cast<int>(n), combined);
    bool failed = false;
    for (double v : combined) failed = failed || !std::isfinite(v);
    const int m = -3 - static_cast<int>(std::trunc(-0.5 * static_cast<double>(n)));
    const int terms = m < 2 ? 2 : (m > 7 ? 7 : m);
    series.assign(static_cast<std::size_t>(terms), 0.0);
    if (scaled) *scaled = ScaledPowerSeries{};
    if (failed || n < 1) return kNoFit;
    // Solved, and evaluated, in the combined argument centred and scaled: in its raw powers the
    // normal equations are rounding noise; the series itself is handed back in those powers.
    ScaledPowerSeries fit;
    const bool independent = FitScaledPowerSeries(combined, measured, terms, fit) != 0.0;
    if (scaled) *scaled = fit;
    if (!independent) return kNoFit;
    series = fit.PowersOfArgument();
    std::vector<double> model(n);
    for (std::size_t i = 0; i < n; ++i) model[i] = fit.Value(combined[i]);
    // A least-squares series with its own constant: no spread in the values is no residual.
    return ResidualRatio(measured, model, 0.0);
}

void CTabulonDlg::UserFormulaFitting() {
    useruf& page = theUseruf;
    if (!page.running) return;
    const multistat& scheme = theMultistat;
    const bool several = dataArguments >= 2;
    std::string refusal;
    if (dataValues != 1) {
        refusal = "User formula fitting needs data with exactly one value parameter.";
    } else if (several && !scheme.userDefinedFormula && !scheme.unitaryArgument) {
        refusal = "Choose \"User defined formula\" or \"Unitary argument\" on the scheme page\nbefore fitting a "
                  "formula of several arguments.";
    }
    if (!refusal.empty()) {
        // A request that cannot run is dropped, not kept to be retried by every later job request.
        page.StopFitting();
        platform::MessageBox(refusal);
        return;
    }
    page.busy = 1;
    int valueIndex = 0;
    for (int p = 0; p < theData.parametersPerSeries && p < static_cast<int>(theData.parameters.size()); ++p) {
        if (theData.parameters[static_cast<std::size_t>(p)].role == kRoleValue) {
            valueIndex = p;
            break;
        }
    }
    page.ApplyFetchSetting();
    const UserFitRules rules{page.fittingScheme, page.trialsBeforeShrink, page.shrinkFactor, page.stopCondition};
    UserFitState state;
    UserFitBegin(state, page);
    const std::uint64_t storeCount = theData.ChangeCount();
    std::vector<double> measured, computed, series;

    for (int iteration = 0; page.running; ++iteration) {
        page.ShowRound(iteration);
        UserFitLimitTrial(state.trial, page);
        double e = kNoFit;
        if (!several) {
            e = UserFormulaError(UserFormulaWithValues(state.trial));
        } else if (scheme.userDefinedFormula) {
            e = MultivariantFormulaValues(measured, computed, valueIndex, state.trial, formulaOffset, page.plusConst);
        } else {
            e = UnifiedArgumentValues(measured, computed, valueIndex, state.trial, series);
        }
        if (UserFitRecordError(state, page, rules, e)) {
            page.changed = 1;
            page.ShowSelectedCoefficient();
            platform::PostRepaintRequest();
        }
        // The data changing under the search, or the window closing, ends it.
        if (!PumpJobStep(storeCount)) break;
        ++state.stale;
        bool stop = UserFitConverged(state, page, rules);
        if (page.limitOn) {
            const double elapsed = static_cast<double>((UserFitWallSeconds() - page.startTime) / 60) / 60.0;
            if (elapsed > page.limitHours) {
                page.limitOn = 0;
                stop = true;
            }
        }
        if (stop) {
            page.running = 0;
            page.RefillCoefficientList();
            page.StopOnTimeLimit();
            break;
        }
        if (!page.running) break;
        if (rules.scheme == kOrvelMethod) {
            UserFitNextTrialOrvelMethod(state, page, rules, page.fitRandom);
        } else {
            UserFitNextTrial(state, page, rules, page.fitRandom);
        }
    }
    if (page.running) page.StopFitting();  // buttons back after a stop by the job protocol
    page.running = 0;
    page.busy = 0;
    page.RefillCoefficientList();
    recomputeNeeded = 1;
    page.changed = 1;
    platform::PostRepaintRequest();
}
