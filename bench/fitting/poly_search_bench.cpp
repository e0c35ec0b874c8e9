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
};

}  // namespace

// One step from 10 terms: 8 random candidates added, then thinned back to 10 (9 refits).
static void BM_GrowPolynomialStep_10Terms8Candidates3Args1e5Records(benchmark::State& state)
{
    Records records;
    const TermSet start = {0, 0, 0, 1, 0, 0, 1, 2, 0, 0, 0, 3, 2, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 2, 2, 0};
    randomState = RandomState{{390451501u, 613566701u, 858993401u}};
    for (auto _ : state) {
        TermSet set = start;
        int fitError = 0;
        double residual = 0;
        benchmark::DoNotOptimize(GrowPolynomialStep(records.data, set, 8, 10, 1, fitError, residual, 0));
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
    for (auto _ : state) {
        scoringRules.clear();
        DeriveScoreRules(variable, response, 1.0, 0);
        benchmark::DoNotOptimize(scoringRules.size());
    }
    scoringRules.clear();
}
BENCHMARK(BM_DeriveScoreRules_Continuous1e5Records)->Unit(benchmark::kMillisecond);
