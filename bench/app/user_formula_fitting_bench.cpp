// User-formula fitting iterations per second: one iteration of the search (limit the trial,
// its error over every record, keep or drop it, the next trial), without the message pump,
// for a one-argument formula and a two-argument one, at 10^2, 10^3 and 10^4 records.
#include <cmath>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/tabulon_dlg.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "fitting/user_fit_search.h"
#include "fitting/user_formula_scheme.h"
#include "fitting/useruf_page.h"

namespace {

void Load(int arguments, int n) {
    theData.OnDeleteAll();
    const int p = arguments + 1;
    theData.CheckNewSeriesShape(p, theData.pendingSeries);
    std::vector<std::string> names;
    for (int k = 0; k < arguments; ++k) names.push_back("x" + std::to_string(k + 1));
    names.push_back("y");
    for (int r = 0; r < n; ++r) {
        double y = 0.5;
        for (int k = 0; k < arguments; ++k) {
            const double x = (r * (k + 3)) % 1000 * 0.01;
            theData.allValues.push_back(x);
            y += (k + 1.5) * x;
        }
        theData.allValues.push_back(y + 0.01 * std::sin(r));
    }
    theData.AddNewSeries(n, names);
}

void Iterations(benchmark::State& state, int arguments, bool exponential = false) {
    const int n = static_cast<int>(state.range(0));
    Load(arguments, n);
    CTabulonDlg dlg;
    dlg.dataSeriesCount = 1, dlg.dataArguments = arguments, dlg.dataValues = 1, dlg.dataParameters = arguments + 1;
    useruf& page = theUseruf;
    page.formula = arguments == 1 ? "a*x+b" : "a*x1+b*x2+0.5";
    page.names = {"a", "b"}, page.values = {1, 2}, page.steps = {0.1, 0.2};
    page.minima = {-1e40, -1e40}, page.maxima = {1e40, 1e40};
    if (exponential) {
        page.formula = "a*exp(b*x)+c";
        page.names = {"a", "b", "c"}, page.values = {1, 0.1, 0.5}, page.steps = {0.1, 0.01, 0.1};
        page.minima = {-1e40, -1e40, -1e40}, page.maxima = {1e40, 1e40, 1e40};
    }
    theMultistat.plane = 0, theMultistat.userDefinedFormula = arguments > 1 ? 1 : 0;
    const UserFitRules rules{kRandomGauss, 50, 0.69, 1e-6};
    UserFitState s;
    UserFitBegin(s, page);
    std::vector<double> measured, computed;
    for (auto _ : state) {
        UserFitLimitTrial(s.trial, page);
        const double e = arguments == 1 ? UserFormulaError(UserFormulaWithValues(s.trial))
                                        : dlg.MultivariantFormulaValues(measured, computed, arguments, s.trial,
                                                                        dlg.formulaOffset, 0);
        UserFitRecordError(s, page, rules, e);
        ++s.stale;
        UserFitNextTrial(s, page, rules, page.fitRandom);
    }
    state.SetItemsProcessed(state.iterations());
    theMultistat.plane = 1, theMultistat.userDefinedFormula = 0;
    page.useruf_settings::operator=(useruf_settings{});
    theData.OnDeleteAll();
}

void BM_UserFormulaIterationsOneArgument(benchmark::State& state) { Iterations(state, 1); }
void BM_UserFormulaIterationsTwoArguments(benchmark::State& state) { Iterations(state, 2); }
// The exponential model a*exp(b*x)+c of the slow-fitting report.
void BM_UserFormulaIterationsExponential(benchmark::State& state) { Iterations(state, 1, true); }

BENCHMARK(BM_UserFormulaIterationsOneArgument)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UserFormulaIterationsTwoArguments)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UserFormulaIterationsExponential)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
