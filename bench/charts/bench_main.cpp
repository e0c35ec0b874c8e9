// Entry point of the charts benchmarks: painting needs a QApplication, on the offscreen
// platform so the benchmarks run without a display.
#include <clocale>
#include <cstdlib>

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
