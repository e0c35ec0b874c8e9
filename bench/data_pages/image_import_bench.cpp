// "Read image file" on a 4000 x 3000 picture (12 million records of three values), as RGB and
// as HSV, from a PNG written once: the whole path from loading the file to the new series.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

#include <QImage>

#include "data/data_page.h"
#include "data/image_import.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// The written file goes when the program ends.
struct RemovedAtExit {
    std::string path;
    ~RemovedAtExit() {
        if (!path.empty()) std::remove(path.c_str());
    }
} createdFile;

const std::string& PicturePath() {
    static const std::string path = [] {
        const std::string p = "/tmp/tabulon_image_bench_" + std::to_string(getpid()) + ".png";
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        std::mt19937 random(11);
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            // Smooth gradients with some noise, as a photograph has.
            for (int x = 0; x < kWidth; ++x)
                row[x] = qRgb((x / 16 + random() % 8) & 0xFF, (y / 12 + random() % 8) & 0xFF, ((x + y) / 28) & 0xFF);
        }
        image.save(QString::fromStdString(p), "png", 90);
        createdFile.path = p;
        return p;
    }();
    return path;
}

void BM_ReadImage(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const std::string& path = PicturePath();
    for (auto _ : state) {
        data page;
        if (ReadImageFromPath(page, mode, path) != 1) {
            state.SkipWithError("the picture was not read");
            break;
        }
        benchmark::DoNotOptimize(page.allValues.data());
    }
    state.counters["pixels"] = static_cast<double>(kWidth) * kHeight;
}
BENCHMARK(BM_ReadImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
