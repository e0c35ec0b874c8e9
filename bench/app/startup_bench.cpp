// Start-up to the first shown main window (offscreen): goal below 0.5 s. Timed twice: the
// main window inside a running application, and a whole new process (fork and exec of this
// program, which then starts as the program does) until its window is shown. The whole-process
// figure has a peer timed in the same iterations: minimal_qt_window, built beside this program,
// the least a Qt 6 program does to show a window (counters "peer_ms" and "ratio").
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "app/program_objects.h"
#include "app/tabulon_app.h"
#include "app/tabulon_dlg.h"
#include "platform/application.h"
#include "platform/dialog.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"
#include "platform/system.h"

#ifndef TABULON_MINIMAL_QT_WINDOW
#define TABULON_MINIMAL_QT_WINDOW "minimal_qt_window"
#endif

namespace {

void MainWindowShown(benchmark::State& state) {
    platform::ScriptedDialogs dialogs;
    for (auto _ : state) {
        bool shown = false;
        dialogs.modalSteps.push_back([&](platform::Dialog& d) {
            platform::PumpWaitingMessages();  // the first paint
            shown = d.IsVisible();
        });
        CTabulonDlg dlg;
        platform::SetMainWindow(&dlg);
        dlg.RunModal();
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(MainWindowShown)->Unit(benchmark::kMillisecond);

constexpr const char* kChildFlag = "--startup-child";

// The child: starts as the program does and, once the main window has painted, reports on
// the descriptor whether it is shown ('1') and closes it.
int RunStartupChild(int argc, char** argv, int reportFd) {
    platform::Application application(argc, argv);
    platform::SetCommandLine("");
    platform::ScriptedDialogs dialogs;
    dialogs.modalSteps.push_back([reportFd](platform::Dialog& d) {
        platform::PumpWaitingMessages();
        const char shown = d.IsVisible() ? '1' : '0';
        (void)!write(reportFd, &shown, 1);
        close(reportFd);
        d.EndDialog(platform::kCancel);
    });
    theApp.InitInstance();
    return 0;
}

// Seconds from fork to the '1' the new process sends once its window is shown; negative when
// it showed none. The program gets the descriptor as its last argument.
double SecondsToShownWindow(const char* program, const char* flag) {
    int fds[2];
    if (pipe(fds) != 0) return -1.0;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        if (flag)
            execl(program, program, flag, fd.c_str(), static_cast<char*>(nullptr));
        else
            execl(program, program, fd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char shown = 0;
    const bool reported = read(fds[0], &shown, 1) == 1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return reported && shown == '1' && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1.0;
}

void ProcessStartToShownWindow(benchmark::State& state) {
    double peerTotal = 0, ownTotal = 0;
    for (auto _ : state) {
        const double own = SecondsToShownWindow("/proc/self/exe", kChildFlag);
        const double peer = SecondsToShownWindow(TABULON_MINIMAL_QT_WINDOW, nullptr);
        if (own < 0 || peer < 0) {
            state.SkipWithError(own < 0 ? "the new process showed no main window" : "the peer showed no window");
            break;
        }
        state.SetIterationTime(own);
        ownTotal += own;
        peerTotal += peer;
    }
    if (peerTotal > 0) {
        state.counters["peer_ms"] = 1000 * peerTotal / static_cast<double>(state.iterations());
        state.counters["ratio"] = ownTotal / peerTotal;
    }
}
BENCHMARK(ProcessStartToShownWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc == 3 && std::strcmp(argv[1], kChildFlag) == 0) return RunStartupChild(argc, argv, std::atoi(argv[2]));
    platform::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
