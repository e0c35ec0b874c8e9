// The result pane with a long document: every scroll step measures the document and
// paints a pane-sized window of it.
#include <string>

#include <benchmark/benchmark.h>

#include "charts/result_document.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

// Built by appending: g++ 12 warns falsely about "literal" + std::string at -O2.
std::string Join(const char* a, const std::string& b, const char* c = "") {
    std::string s(a);
    s += b;
    s += c;
    return s;
}

const platform::Font kFont = platform::Font::Make("Arial", 16);
constexpr int kPaneWidth = 420, kPaneHeight = 640;

// 10,000 lines; every 25th line starts a coefficient table of 5 rows and 4 columns.
void FillLong(resultDocument& doc) {
    doc.Clear();
    int line = 0;
    while (line < 10000) {
        if (line % 25 == 24) {
            doc.AddText("Coefficients:", 0x800000, 140);
            doc.NewLine();
            doc.AddObject(4, 5, 20, 15);
            for (int r = 0; r < 5; ++r) {
                doc.AddText(Join("a", std::to_string(r)), 0, 100);
                doc.AddTab(60);
                doc.AddText(std::to_string(1.2345 * (line + r)), 0, 100);
                doc.AddTab(160);
                doc.AddSymbol(1);
                doc.AddTab(200);
                doc.AddText(Join("+-", std::to_string(0.01 * r)), 0xFF, 100);
                doc.NewLine();
            }
            line += 6;
            continue;
        }
        doc.AddSeriesMark(static_cast<std::uint32_t>(line % 3));
        doc.AddText(Join("Line ", std::to_string(line), ": average"), 0, 100);
        doc.AddSymbol(0);
        doc.AddTab(220);
        doc.AddText(Join("= ", std::to_string(line * 0.37)), 0x0000C8, 100);
        doc.NewLine();
        ++line;
    }
}

// One scroll step of the pane: measure (the layout is kept), then a fresh white bitmap of
// the pane's size with the visible window painted into it.
void BM_ResultPaneStep(benchmark::State& state) {
    resultDocument doc;
    FillLong(doc);
    platform::Bitmap scratch(4, 4);
    platform::Canvas measure(scratch);
    doc.Measure(measure, kFont);
    int position = 0;
    for (auto _ : state) {
        doc.Measure(measure, kFont);
        const int offset = static_cast<int>((doc.height - kPaneHeight) * position * 0.01);
        platform::Bitmap pane(kPaneWidth, kPaneHeight);
        platform::Canvas dc(pane);
        doc.PaintWindow(dc, kFont, 0, offset, kPaneWidth, kPaneHeight);
        benchmark::DoNotOptimize(pane.Image().constBits());
        position = (position + 7) % 101;
    }
    state.counters["docHeight"] = doc.height;
}
BENCHMARK(BM_ResultPaneStep)->Unit(benchmark::kMillisecond);

// The first measure after the analyses wrote the document: every text is measured once.
void BM_ResultMeasureAfterChange(benchmark::State& state) {
    resultDocument doc;
    FillLong(doc);
    platform::Bitmap scratch(4, 4);
    platform::Canvas measure(scratch);
    for (auto _ : state) {
        doc.NewLine();  // any change invalidates the kept layout
        doc.Measure(measure, kFont);
        benchmark::DoNotOptimize(doc.height);
    }
}
BENCHMARK(BM_ResultMeasureAfterChange)->Unit(benchmark::kMillisecond);

void BM_ResultToText(benchmark::State& state) {
    resultDocument doc;
    FillLong(doc);
    std::string text;
    for (auto _ : state) {
        doc.ToText(text);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ResultToText)->Unit(benchmark::kMillisecond);

}  // namespace
