// The score file of a task file of 100,000 lines of six numbers under eight rules: both
// passes, reading and writing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "fitting/score_file.h"
#include "fitting/scoring_rules.h"

namespace {

void BM_WriteScoreFile100kLines(benchmark::State& state) {
    std::vector<scoreAction> scoringRules;
    for (int v = 0; v < 6; ++v) {
        scoreAction r;
        r.kind = v % 2 ? 1 : 0;
        r.comparison = 2;
        r.variable = v;
        r.low = 10, r.high = 60, r.points = 5 + v, r.c0 = 1, r.c1 = 0.5;
        scoringRules.push_back(r);
    }
    const auto dir = std::filesystem::temp_directory_path() / ("score_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string task = (dir / "task.txt").string();
    {
        std::ofstream out(task);
        for (int i = 0; i < 100000; ++i)
            for (int v = 0; v < 6; ++v) out << (i * 7 + v * 13) % 97 << (v == 5 ? "\n" : " ");
    }
    int skipped = 0;
    for (auto _ : state) benchmark::DoNotOptimize(WriteScoreFile(task, scoringRules, 0, 400, 30, 6, skipped));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WriteScoreFile100kLines)->Unit(benchmark::kMillisecond);

}  // namespace
