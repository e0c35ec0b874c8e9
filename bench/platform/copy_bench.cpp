// Copying the 1920 x 1080 virtual screen into the window's backing image: the cost of
// every ordinary repaint (goal: well under 5 ms).
#include <benchmark/benchmark.h>


#include "platform/canvas.h"

namespace {

using platform::Bitmap;
using platform::Canvas;
using platform::Rgb;

Bitmap MakeScreen() {
    Bitmap screen(1920, 1080, Rgb(240, 240, 240));
    Canvas c(screen);
    c.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, Rgb(0, 0, 160)));
    for (int i = 0; i < 1080; i += 7) {
        c.MoveTo(0, i);
        c.LineTo(1919, 1079 - i);
    }
    return screen;
}

void BM_CopyVirtualScreen(benchmark::State& state) {
    const Bitmap screen = MakeScreen();
    Bitmap backing(1920, 1080);
    Canvas window(backing);
    for (auto _ : state) {
        window.CopyFrom(0, 0, 1920, 1080, screen, 0, 0);
        benchmark::DoNotOptimize(backing.Image().constBits());
    }
}
BENCHMARK(BM_CopyVirtualScreen)->Unit(benchmark::kMillisecond);

void BM_StretchVirtualScreen(benchmark::State& state) {
    const Bitmap screen = MakeScreen();
    Bitmap backing(1600, 900);
    Canvas window(backing);
    for (auto _ : state) {
        window.StretchFrom(0, 0, 1600, 900, screen, 0, 0, 1920, 1080);
        benchmark::DoNotOptimize(backing.Image().constBits());
    }
}
BENCHMARK(BM_StretchVirtualScreen)->Unit(benchmark::kMillisecond);

void BM_DrawLines(benchmark::State& state) {
    Bitmap screen(1920, 1080);
    Canvas c(screen);
    c.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, Rgb(0, 0, 160)));
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            c.MoveTo(i, 0);
            c.LineTo(1919 - i, 1079);
        }
        benchmark::DoNotOptimize(screen.Image().constBits());
    }
}
BENCHMARK(BM_DrawLines)->Unit(benchmark::kMillisecond);

}  // namespace
