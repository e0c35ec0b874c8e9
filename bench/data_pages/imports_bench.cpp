// The imports through their real paths: a 1,000,000-line text file of five fields with 17
// significant digits (or a file named by TABULON_IMPORT_FILE), and one with dates and 1 % bad
// lines, read through the file dialog and the "Read from text file" dialog (answered by the
// scripted service); beside them, on the same file, a single-thread std::from_chars reader
// and pandas read_csv. Also 10 MB of clipboard text. Counters: values stored per second, the
// share of the time spent in progress reports (which pump the event loop) and the rise of the
// process's peak memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>


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

// The written files go when the program ends.
struct RemovedAtExit {
    std::vector<std::string> paths;
    ~RemovedAtExit() {
        for (const std::string& p : paths) std::remove(p.c_str());
    }
} createdFiles;

enum class FileKind { Plain17, DatesAndBadLines };

// A header line of five names, then 1,000,000 lines of five values with 17 significant
// digits; the second kind has a date in its first field and 1 % of its lines unreadable.
std::string WriteGeneratedFile(FileKind kind) {
    const std::string p = "/tmp/tabulon_imports_bench_" + std::to_string(getpid()) +
                          (kind == FileKind::Plain17 ? "_plain17.txt" : "_dates.txt");
    std::mt19937 random(kind == FileKind::Plain17 ? 1 : 3);
    std::normal_distribution<double> value(0.0, 1000.0);
    std::string text = "time\tpressure\ttemperature\thumidity\twind\n";
    text.reserve(100u * 1000000u);
    char buffer[64];
    for (int r = 0; r < 1000000; ++r) {
        if (kind == FileKind::DatesAndBadLines && r % 100 == 50) {
            text += "sensor fault\t-\t-\t-\t-\n";
            continue;
        }
        for (int f = 0; f < 5; ++f) {
            int n = 0;
            if (kind == FileKind::DatesAndBadLines && f == 0) {
                n = std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", 1 + r % 12, 1 + r % 28, 1990 + r % 30);
            } else {
                n = std::snprintf(buffer, sizeof buffer, "%.17g", value(random));
            }
            text.append(buffer, static_cast<std::size_t>(n));
            text += f + 1 < 5 ? '\t' : '\n';
        }
    }
    std::FILE* f = std::fopen(p.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    createdFiles.paths.push_back(p);
    return p;
}

// The file of a kind: TABULON_IMPORT_FILE when set (to time the very file another program
// reads), else one generated once.
const std::string& ImportFile(FileKind kind) {
    static const char* given = std::getenv("TABULON_IMPORT_FILE");
    static std::string plain, dates;
    std::string& path = kind == FileKind::Plain17 ? plain : dates;
    if (path.empty()) path = given && *given && kind == FileKind::Plain17 ? std::string(given) : WriteGeneratedFile(kind);
    return path;
}

long FileSize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    return size;
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

// The whole "Text file" command on the file: file dialog, field dialog (every field taken),
// reading and storing. Counters per repetition: the highest rise of the peak memory over
// one import, the share of the time spent in progress reports, the values stored per second.
void BM_TextFileImport(benchmark::State& state, FileKind kind) {
    const std::string& path = ImportFile(kind);
    double peakRise = 0;
    double progressShare = 0;
    int progressCalls = 0;
    long long values = 0;
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
        state.PauseTiming();
        peakRise = std::max(peakRise, StatusMegabytes("VmHWM:") - before);
        if (page->series.size() != 1 || page->series[0].nRecords < 1) state.SkipWithError("import failed");
        else values += static_cast<long long>(page->series[0].nRecords) * page->series[0].nParameters;
        progressShare = page->progressSeconds / seconds;
        progressCalls = page->progressCalls;
        page.reset();
        state.ResumeTiming();
    }
    const long size = FileSize(path);
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_MB"] = size / 1048576.0;
    state.counters["values_per_s"] = benchmark::Counter(static_cast<double>(values), benchmark::Counter::kIsRate);
    state.counters["peak_rise_MB"] = peakRise;
    state.counters["progress_share"] = progressShare;
    state.counters["progress_calls"] = progressCalls;
}
BENCHMARK_CAPTURE(BM_TextFileImport, plain17, FileKind::Plain17)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_TextFileImport, dates_bad_lines, FileKind::DatesAndBadLines)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The yardstick: one thread reading the same file whole and converting every field after the
// header with std::from_chars into a vector reserved beforehand.
void BM_FromCharsReference(benchmark::State& state) {
    const std::string& path = ImportFile(FileKind::Plain17);
    long long values = 0;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        const long size = FileSize(path);
        std::string text(static_cast<std::size_t>(size), '\0');
        if (std::fread(text.data(), 1, text.size(), f) != text.size()) state.SkipWithError("read failed");
        std::fclose(f);
        std::vector<double> out;
        out.reserve(5000000);
        const char* p = text.data() + text.find('\n') + 1;
        const char* const last = text.data() + text.size();
        while (p < last) {
            double v;
            const std::from_chars_result r = std::from_chars(p, last, v);
            if (r.ec != std::errc()) {
                ++p;
                continue;
            }
            out.push_back(v);
            p = r.ptr + 1;  // past the tab or line end
        }
        values += static_cast<long long>(out.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.counters["values_per_s"] = benchmark::Counter(static_cast<double>(values), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FromCharsReference)->Unit(benchmark::kMillisecond)->Iterations(3);

// pandas read_csv on the same file, timed inside Debian's Python (the time of starting
// Python and importing pandas is left out); skipped when pandas is missing.
void BM_PandasReadCsv(benchmark::State& state) {
    const std::string& path = ImportFile(FileKind::Plain17);
    const std::string command = "/usr/bin/python3 '" TABULON_BENCH_DIR "/pandas_read_csv.py' '" + path + "'";
    for (auto _ : state) {
        std::FILE* pipe = popen(command.c_str(), "r");
        double seconds = 0;
        if (!pipe || std::fscanf(pipe, "%lf", &seconds) != 1) {
            if (pipe) pclose(pipe);
            state.SkipWithError("pandas not available (apt-get install python3-pandas)");
            break;
        }
        pclose(pipe);
        state.SetIterationTime(seconds);
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.counters["values_per_s"] = benchmark::Counter(5e6 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PandasReadCsv)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

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
