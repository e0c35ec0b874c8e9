// Speed of drawing many point marks into a screen-sized bitmap.
#include <algorithm>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "data/mark_buffer.h"
#include "data/point_marks.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A scatter of n marks of every shape, sizes 2 to 6 and distinct depths.
MarkBuffer Scatter(int n) {
    MarkBuffer b;
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), shape(0, 13), size(2, 6);
    std::uniform_real_distribution<double> depth(-1.0, 1.0);
    for (int i = 0; i < n; ++i)
        b.AddMark(x(rng), y(rng), size(rng), shape(rng), platform::Rgb(i % 256, 80, 200 - i % 200), depth(rng));
    return b;
}

void BM_DrawMarks(benchmark::State& state) {
    const MarkBuffer b = Scatter(static_cast<int>(state.range(0)));
    platform::Bitmap screen(kWidth, kHeight);
    platform::Canvas dc(screen);
    for (auto _ : state) {
        b.DrawMarks(dc, platform::kWhite);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DrawMarks)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_AddMarks(benchmark::State& state) {
    for (auto _ : state) {
        MarkBuffer b = Scatter(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(b.markCount);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddMarks)->Arg(100000)->Unit(benchmark::kMillisecond);

// A series as charts show it: x growing across the screen, y wandering.
void BM_DrawMarksAtPoints(benchmark::State& state) {
    const int n = static_cast<int>(state.range(1));
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(-3, 3);
    std::vector<int> xs(static_cast<std::size_t>(n)), ys(static_cast<std::size_t>(n));
    int y = kHeight / 2;
    for (int i = 0; i < n; ++i) {
        y = std::clamp(y + step(rng), 0, kHeight - 1);
        xs[static_cast<std::size_t>(i)] = static_cast<int>(static_cast<long long>(i) * kWidth / n);
        ys[static_cast<std::size_t>(i)] = y;
    }
    platform::Bitmap screen(kWidth, kHeight);
    platform::Canvas dc(screen);
    for (auto _ : state) {
        DrawMarksAtPoints(dc, platform::Rgb(200, 0, 0), platform::kWhite, 4, static_cast<int>(state.range(0)), xs, ys);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
// A filled circle, a plus and the joining line.
BENCHMARK(BM_DrawMarksAtPoints)->Args({0, 100000})->Args({10, 100000})->Args({15, 100000})->Unit(benchmark::kMillisecond);

}  // namespace
