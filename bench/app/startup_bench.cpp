// Start-up to the first shown main window (offscreen): goal below 0.5 s. Timed twice: the
// main window inside a running application, and a whole new process (fork and exec of this
// program, which then starts as the program does) until its window is shown.
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

void ProcessStartToShownWindow(benchmark::State& state) {
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe failed");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execl("/proc/self/exe", "app_startup_bench", kChildFlag, fd.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char shown = 0;
        const bool reported = read(fds[0], &shown, 1) == 1;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        close(fds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!reported || shown != '1' || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the new process showed no main window");
            break;
        }
        state.SetIterationTime(seconds);
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
