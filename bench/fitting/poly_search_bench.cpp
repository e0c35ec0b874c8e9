#include "fitting/poly_fit.h"
#include "fitting/scoring_rules.h"
#include "statistics/random.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// 10^5 records of three arguments and a value.
struct Records {
    std::vector<double> values;
    PolySearchData data;
    Records()
    {
        const int n = 100000;
        std::mt19937 generator(122);
        std::uniform_real_distribution<double> uniform(0.5, 2.0);
        for (int r = 0; r < n; ++r) {
            const double x0 = uniform(generator), x1 = uniform(generator), x2 = uniform(generator);
            values.insert(values.end(), {x0, x1, x2, 1 + 2 * x0 + 3 * x0 * x1 * x1 - x2 * x2 * x2});
        }
        data.values = &values;
        data.records = n;
        data.stride = 4;
        data.roles = {-1, -1, -1, 1};
    }
    polyFit fit{};
};

}  // namespace

// One step from 10 terms: 8 random candidates added, then thinned back to 10 (9 refits).
static void BM_GrowPolynomialStep_10Terms8Candidates3Args1e5Records(benchmark::State& state)
{
    Records records;
    const TermSet start = {0, 0, 0, 1, 0, 0, 1, 2, 0, 0, 0, 3, 2, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 2, 2, 0};
    randomState = kRandomStartState;
    for (auto _ : state) {
        TermSet set = start;
        int fitError = 0;
        double residual = 0;
        benchmark::DoNotOptimize(GrowPolynomialStep(records.data, records.fit, set, 8, 10, 1, fitError, residual, 0));
    }
}
BENCHMARK(BM_GrowPolynomialStep_10Terms8Candidates3Args1e5Records)->Unit(benchmark::kMillisecond);

// Rule derivation for one continuous variable of 10^5 records: bin counts 2 to 1000.
static void BM_DeriveScoreRules_Continuous1e5Records(benchmark::State& state)
{
    const int n = 100000;
    std::mt19937 generator(123);
    std::uniform_real_distribution<double> uniform(0.0, 10.0), chance(0.0, 1.0);
    std::vector<double> variable(n), response(n);
    for (int i = 0; i < n; ++i) {
        variable[i] = uniform(generator);
        response[i] = chance(generator) < 0.05 + 0.5 * std::exp(-0.5 * std::pow((variable[i] - 5) / 1.5, 2));
    }
    std::vector<scoreAction> rules;
    for (auto _ : state) {
        rules.clear();
        DeriveScoreRules(variable, response, 1.0, 0, rules);
        benchmark::DoNotOptimize(rules.size());
    }
}
BENCHMARK(BM_DeriveScoreRules_Continuous1e5Records)->Unit(benchmark::kMillisecond);

namespace {

// records x (arguments + 1) values, the value a smooth function of the arguments.
struct SearchRecords {
    std::vector<double> values;
    PolySearchData data;
    SearchRecords(int n, int a)
    {
        std::mt19937 generator(321);
        std::uniform_real_distribution<double> uniform(0.5, 2.0);
        for (int r = 0; r < n; ++r) {
            double y = 1;
            for (int k = 0; k < a; ++k) {
                const double x = uniform(generator);
                values.push_back(x);
                y += (k + 1) * x * x - x / (k + 2);
            }
            values.push_back(y);
        }
        data.values = &values;
        data.records = n;
        data.stride = a + 1;
        data.roles.assign(static_cast<std::size_t>(a), -1);
        data.roles.push_back(1);
    }
    polyFit fit{};
};

// A start model of three terms: the constant and the first argument's x and x^2.
TermSet StartTerms(int a)
{
    TermSet set(static_cast<std::size_t>(3 * a), 0);
    set[static_cast<std::size_t>(a)] = 1;
    set[static_cast<std::size_t>(2 * a)] = 2;
    return set;
}

}  // namespace

// One pass of "Search one next": 8 random terms added to 3, pruned back to 4.
static void BM_OneNextSearchStep(benchmark::State& state)
{
    SearchRecords records(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const TermSet start = StartTerms(static_cast<int>(state.range(1)));
    randomState = kRandomStartState;
    for (auto _ : state) {
        TermSet set = start;
        int fitError = 0;
        double residual = 0;
        benchmark::DoNotOptimize(GrowPolynomialStep(records.data, records.fit, set, 8, 4, 3, fitError, residual, 0));
    }
    state.SetItemsProcessed(state.iterations());  // steps per second
}
BENCHMARK(BM_OneNextSearchStep)
    ->ArgsProduct({{1000, 10000, 100000}, {2, 5}})
    ->Unit(benchmark::kMillisecond);

// One pass of the automatic search: up to 8 terms added within 30, worst terms pruned.
static void BM_AutoSearchStep(benchmark::State& state)
{
    SearchRecords records(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const TermSet start = StartTerms(static_cast<int>(state.range(1)));
    randomState = kRandomStartState;
    for (auto _ : state) {
        TermSet set = start;
        int termCount = 0, fitError = 0;
        double residual = 0;
        benchmark::DoNotOptimize(AutoPolynomialStep(records.data, records.fit, set, 8, 1, termCount, fitError, 30, residual, 0));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AutoSearchStep)->ArgsProduct({{1000, 10000, 100000}, {2, 5}})->Unit(benchmark::kMillisecond);
