// Entry point of the benchmarks that paint or drive pages: a QApplication on the offscreen
// platform, so they run without a display, in the program's "C" numeric locale. A benchmark
// file with its own main() keeps it: the linker takes this one only when none is defined.
#include <clocale>
#include <cstdlib>

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
