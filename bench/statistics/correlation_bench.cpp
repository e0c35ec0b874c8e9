// The correlation matrix of 30 parameters over 10^5 records, read in place from the records,
// beside the pair-by-pair computation it replaced and numpy.corrcoef on the same values.
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/support/python_peer.h"
#include "statistics/correlation_matrix.h"
#include "statistics/one_variable.h"
#include "statistics/random.h"

namespace {

constexpr std::size_t kParameters = 30;

// Records of 30 parameters, parameter p normal around p with spread 1 + p % 3.
std::vector<double> Records(int records) {
    RandomSeed(337643, 62047, 2751976);
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(records) * kParameters);
    for (int r = 0; r < records; ++r)
        for (std::size_t p = 0; p < kParameters; ++p) values.push_back(RandomNormal(double(p), double(1 + p % 3)));
    return values;
}

void BM_CorrelationMatrix30Parameters(benchmark::State& state) {
    const std::size_t records = static_cast<std::size_t>(state.range(0));
    const std::vector<double> values = Records(static_cast<int>(records));
    for (auto _ : state) {
        std::vector<double> m = CorrelationMatrixOfRecords(values.data(), records, kParameters, kParameters);
        benchmark::DoNotOptimize(m.data());
    }
}
BENCHMARK(BM_CorrelationMatrix30Parameters)->Arg(100000)->Unit(benchmark::kMillisecond);

// The pair-by-pair computation the matrix replaces (465 passes over copied columns), as the
// figure before.
void BM_CorrelationMatrixPairByPair(benchmark::State& state) {
    const std::size_t records = static_cast<std::size_t>(state.range(0));
    const std::vector<double> values = Records(static_cast<int>(records));
    for (auto _ : state) {
        std::vector<std::vector<double>> columns(kParameters, std::vector<double>(records));
        for (std::size_t r = 0; r < records; ++r)
            for (std::size_t p = 0; p < kParameters; ++p) columns[p][r] = values[r * kParameters + p];
        std::vector<double> m(kParameters * kParameters);
        for (std::size_t i = 0; i < kParameters; ++i)
            for (std::size_t j = i; j < kParameters; ++j)
                m[i * kParameters + j] = m[j * kParameters + i] = CorrelationCoefficient(columns[i], columns[j]);
        benchmark::DoNotOptimize(m.data());
    }
}
BENCHMARK(BM_CorrelationMatrixPairByPair)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NumpyCorrcoef30Parameters(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    TimePythonPeer(state, Records(records), "corrcoef", records, std::to_string(kParameters));
}
BENCHMARK(BM_NumpyCorrcoef30Parameters)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
