// The scene: triangulation of scattered points (far above linear in their number) and
// whole paints of 5,000 points: the cell map, the forced band map and a 3-D picture.
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "charts/scene3d.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/font.h"

namespace {

struct Points {
    std::vector<double> x, y, z;
};

// Uniform points over [0, 10) x [0, 10) from a fixed linear congruential sequence, with
// a smooth surface for z.
Points Scatter(int n) {
    Points p;
    std::uint64_t state = 88172645463325252ull;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (int i = 0; i < n; ++i) {
        p.x.push_back(next() * 10);
        p.y.push_back(next() * 10);
        p.z.push_back(p.x.back() * p.x.back() * 0.1 - p.y.back());
    }
    return p;
}

scene3d FlatScene(int w, int h) {
    scene3d s;
    s.mapXMin = 0, s.mapXMax = 10, s.mapYMin = 0, s.mapYMax = 10;
    s.mapPixelXMin = 0, s.mapPixelXMax = w, s.mapPixelYMax = 0, s.mapPixelYMin = h;
    s.ComputePlotScales();
    return s;
}

void BM_Triangulate(benchmark::State& state) {
    const Points p = Scatter(static_cast<int>(state.range(0)));
    scene3d s;
    std::vector<triangle> tris;
    for (auto _ : state) {
        s.Triangulate(p.x, p.y, tris);
        benchmark::DoNotOptimize(tris.data());
    }
    state.counters["triangles"] = static_cast<double>(tris.size());
}
BENCHMARK(BM_Triangulate)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

constexpr int kWidth = 800, kHeight = 600;

void BM_PaintCellMap(benchmark::State& state) {
    const Points p = Scatter(5000);
    const scene3d s = FlatScene(kWidth, kHeight);
    platform::Bitmap bmp(kWidth, kHeight);
    platform::Canvas dc(bmp);
    for (auto _ : state) benchmark::DoNotOptimize(s.PaintCellMap(dc, p.x, p.y, p.z, 10, 0xFF0000, 0x0000FF));
}
BENCHMARK(BM_PaintCellMap)->Unit(benchmark::kMillisecond);

void BM_PaintLevels(benchmark::State& state) {
    const Points p = Scatter(5000);
    const scene3d s = FlatScene(kWidth, kHeight);
    platform::Bitmap bmp(kWidth, kHeight);
    platform::Canvas dc(bmp);
    for (auto _ : state) s.PaintLevels(dc, p.x, p.y, p.z, 10, 0xFF0000, 0x0000FF);
}
BENCHMARK(BM_PaintLevels)->Unit(benchmark::kMillisecond);

// What the three-dimensional painter does each repaint: set the camera up, triangulate,
// project every point, draw the axes and a fitted surface's net.
void BM_Paint3DScene(benchmark::State& state) {
    const Points p = Scatter(5000);
    platform::Bitmap bmp(kWidth, kHeight);
    platform::Canvas dc(bmp);
    const platform::Font font = platform::Font::Make("Arial", 14);
    scene3d s;
    std::vector<triangle> tris;
    for (auto _ : state) {
        s.SetupView(0, 10, 0, 10, -10, 10, 0, 0, kWidth, kHeight);
        s.Triangulate(p.x, p.y, tris);
        double sum = 0;
        for (size_t i = 0; i < p.x.size(); ++i) {
            double px, py, size, depth;
            if (s.ProjectPoint(p.x[i], p.y[i], p.z[i], px, py, size, depth)) sum += px + py;
        }
        benchmark::DoNotOptimize(sum);
        s.PaintAxes(dc, &font, 0, 0, -10, 0, 0, -10, 10, 10, 10, 5);
        s.PaintSurfaceNet(dc, {0, 0, -1, 0.1, 0}, 1, 20, 0, 0, 10, 10);
    }
}
BENCHMARK(BM_Paint3DScene)->Unit(benchmark::kMillisecond);

}  // namespace
