// Shapes as the charts draw them, on the 1920 x 1080 virtual screen: many small
// outlined ellipses and short wide lines (point marks), and text.
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/canvas.h"

namespace {

using platform::Bitmap;
using platform::Canvas;
using platform::Pen;
using platform::PenStyle;
using platform::Point;
using platform::Rgb;

constexpr int kWidth = 1920, kHeight = 1080;

std::vector<Point> Spots(int n) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
    std::vector<Point> p(static_cast<size_t>(n));
    for (Point& q : p) q = Point{x(rng), y(rng)};
    return p;
}

// Filled circles of half size 4 with a 2-pixel outline.
void BM_SmallEllipses(benchmark::State& state) {
    const std::vector<Point> spots = Spots(static_cast<int>(state.range(0)));
    Bitmap screen(kWidth, kHeight);
    Canvas c(screen);
    c.SelectPen(Pen(PenStyle::Solid, 2, Rgb(200, 0, 0)));
    c.SelectBrush(platform::Brush(Rgb(255, 255, 0)));
    for (auto _ : state) {
        for (const Point& p : spots) c.Ellipse(p.x - 4, p.y - 4, p.x + 4, p.y + 4);
        benchmark::DoNotOptimize(screen.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SmallEllipses)->Arg(100000)->Unit(benchmark::kMillisecond);

// Crosses of two 2-pixel strokes.
void BM_WideStrokes(benchmark::State& state) {
    const std::vector<Point> spots = Spots(static_cast<int>(state.range(0)));
    Bitmap screen(kWidth, kHeight);
    Canvas c(screen);
    c.SelectPen(Pen(PenStyle::Solid, 2, Rgb(0, 0, 160)));
    for (auto _ : state) {
        for (const Point& p : spots) {
            const Point a[2] = {{p.x - 4, p.y - 4}, {p.x + 4, p.y + 4}};
            const Point b[2] = {{p.x - 4, p.y + 4}, {p.x + 4, p.y - 4}};
            c.Polyline(a, 2);
            c.Polyline(b, 2);
        }
        benchmark::DoNotOptimize(screen.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WideStrokes)->Arg(100000)->Unit(benchmark::kMillisecond);

// Axis labels: short numbers, upright and rotated.
void BM_TextOut(benchmark::State& state) {
    const std::vector<Point> spots = Spots(1000);
    Bitmap screen(kWidth, kHeight);
    Canvas c(screen);
    c.SetBkMode(platform::BkMode::Transparent);
    const platform::Font upright = platform::Font::Make("Arial", 14);
    const platform::Font rotated = platform::Font::Make("Arial", 14, platform::kWeightNormal, false, 900);
    for (auto _ : state) {
        int i = 0;
        for (const Point& p : spots) {
            c.SelectFont(++i % 4 == 0 ? rotated : upright);
            c.TextOut(p.x, p.y, "1.25e+06");
        }
        benchmark::DoNotOptimize(screen.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_TextOut)->Unit(benchmark::kMillisecond);

}  // namespace
