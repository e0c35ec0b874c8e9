// The imports through their real paths: a 1,000,000-line text file of five numeric fields
// read through the file dialog and the "Read from text file" dialog (answered by the
// scripted service), and 10 MB of clipboard text. Counters: the share of the time spent in
// progress reports (which pump the event loop) and the process's peak memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>


#include "data/data_page.h"
#include "platform/clipboard.h"
#include "platform/control.h"
#include "platform/scripted_dialogs.h"
#include "widgets/text_dialog.h"

namespace {

// The data page with the time its progress reports take.
class TimedPage : public data {
public:
    double progressSeconds = 0;
    int progressCalls = 0;
    void SetProgress(int kind, const std::string& text, int current, int total) override {
        const auto start = std::chrono::steady_clock::now();
        data::SetProgress(kind, text, current, total);
        progressSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++progressCalls;
    }
};

std::string Records(int lines, int fields, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * fields * 11);
    char buffer[32];
    for (int r = 0; r < lines; ++r) {
        for (int f = 0; f < fields; ++f) {
            const int n = std::snprintf(buffer, sizeof buffer, "%.4f", value(random));
            text.append(buffer, static_cast<std::size_t>(n));
            text += f + 1 < fields ? '\t' : '\n';
        }
    }
    return text;
}

// The written file goes when the program ends.
struct RemovedAtExit {
    std::string path;
    ~RemovedAtExit() {
        if (!path.empty()) std::remove(path.c_str());
    }
} createdFile;

const std::string& TextFilePath() {
    static const std::string path = [] {
        const std::string p = "/tmp/tabulon_imports_bench_" + std::to_string(getpid()) + ".txt";
        const std::string text = Records(1000000, 5, 1);
        std::FILE* f = std::fopen(p.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        createdFile.path = p;
        return p;
    }();
    return path;
}

// A line of /proc/self/status ("VmRSS:", "VmHWM:") in megabytes; 0 when unknown.
double StatusMegabytes(const char* key) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    double kb = 0;
    const std::size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, keyLength) == 0) kb = std::strtod(line + keyLength, nullptr);
    std::fclose(f);
    return kb / 1024.0;
}

// Lowers the process's recorded peak to its present size.
void ResetPeak() {
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

void BM_TextFileImport(benchmark::State& state) {
    const std::string& path = TextFilePath();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    double peakRise = 0;
    double progressShare = 0;
    int progressCalls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<TimedPage>();
        platform::ScriptedDialogs dialogs;
        dialogs.fileAnswers.push_back(path);
        dialogs.modalSteps.push_back([](platform::Dialog& dialog) {
            auto& text = static_cast<Text&>(dialog);
            text.Control(Text::kSeparatorsEdit).SetText("");
            text.Control(Text::kOkButton).Click();
        });
        ResetPeak();
        const double before = StatusMegabytes("VmRSS:");
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        page->OnOpenTextDataFile();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        peakRise = StatusMegabytes("VmHWM:") - before;
        if (page->series.size() != 1 || page->series[0].nRecords != 1000000) state.SkipWithError("import failed");
        progressShare = page->progressSeconds / seconds;
        progressCalls = page->progressCalls;
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_MB"] = size / 1048576.0;
    state.counters["values_MB"] = 5e6 * sizeof(double) / 1048576.0;
    state.counters["peak_rise_MB"] = peakRise;
    state.counters["progress_share"] = progressShare;
    state.counters["progress_calls"] = progressCalls;
}
BENCHMARK(BM_TextFileImport)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ClipboardImport(benchmark::State& state) {
    // About 10 MB: 225,000 rows of five cells.
    const std::string text = Records(225000, 5, 2);
    platform::SetClipboardText(text);
    double progressShare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<TimedPage>();
        platform::ScriptedDialogs dialogs;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        page->ReadClipboard();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (page->series.size() != 1 || page->series[0].nRecords != 225000) state.SkipWithError("import failed");
        progressShare = page->progressSeconds / seconds;
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
    state.counters["text_MB"] = text.size() / 1048576.0;
    state.counters["progress_share"] = progressShare;
}
BENCHMARK(BM_ClipboardImport)->Unit(benchmark::kMillisecond)->Iterations(5);

// The "Read from text file" dialog coming up on a file of one line of N fields and going
// away by "Cancel": the first line read, split and listed (at most 10,000 items).
void BM_TextPreviewOfOneLine(benchmark::State& state) {
    const long fields = state.range(0);
    const std::string path = "/tmp/tabulon_preview_bench_" + std::to_string(getpid()) + ".txt";
    {
        std::string line;
        line.reserve(static_cast<std::size_t>(fields) * 2);
        for (long i = 0; i < fields; ++i) line += "7 ";
        line += '\n';
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
    std::size_t items = 0;
    for (auto _ : state) {
        data page;
        platform::ScriptedDialogs dialogs;
        dialogs.fileAnswers.push_back(path);
        dialogs.modalSteps.push_back([&items](platform::Dialog& dialog) {
            items = static_cast<std::size_t>(dialog.Control(Text::kFieldList).Count());
            dialog.Control(Text::kCancelButton).Click();
        });
        page.OnOpenTextDataFile();
    }
    std::remove(path.c_str());
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_TextPreviewOfOneLine)->Arg(16000)->Arg(100000000)->Unit(benchmark::kMillisecond);

}  // namespace
