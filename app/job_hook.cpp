// The job hook: long jobs (the user-formula fitting and the polynomial searches) are asked
// for with a job request and run as loops inside the main window's system-command handler.
// Between two steps a job pumps the waiting messages, so the window keeps painting and the
// pages' "Stop" buttons keep working.
#include "app/about_dlg.h"
#include "app/analysis_hooks.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "fitting/useruf_page.h"
#include "formula/constructor_multi.h"
#include "platform/requests.h"

void PumpWaitingMessages() { platform::PumpWaitingMessages(); }

void WaitWhileBusy() {
    for (int i = 0; i < 360000 && theUseruf.running; ++i) {
        platform::SleepMs(1000);
        PumpWaitingMessages();
    }
}

void CTabulonDlg::OnSysCommand(unsigned command, long) {
    if ((command & platform::kSysCommandMask) == kSysCommandAbout) {
        CAboutDlg about;
        about.RunModal(this);
        return;
    }
    RunPendingJobs();
    // Ordinary system commands need nothing more here: the window system has done them.
}

void CTabulonDlg::RunPendingJobs() {
    const MainWindowJobs& jobs = TheAnalysisHooks().jobs;
    ServeUndoRequests();
    if (theUseruf.running && !theUseruf.busy) {
        RunJob(Job::UserFormulaFitting, jobs.userFormulaFitting);
    }
    if (dataArguments >= 2 && dataValues == 1 && theMultistat.bestPolynome && !theMultistat.bestPolynomeAuto &&
        (theConstructorMulti.polySearchOneNext || theConstructorMulti.polySearchFull)) {
        if (RunJob(Job::BestPolynomialSearch, jobs.bestPolynomialSearch)) {
            recomputeNeeded = 1;
            platform::PostRepaintRequest();
        }
    }
    if (dataArguments >= 2 && dataValues == 1 && theMultistat.bestPolynomeAuto && !theMultistat.bestPolynome) {
        if (RunJob(Job::AutoPolynomialSearch, jobs.autoPolynomialSearch)) {
            recomputeNeeded = 1;
            platform::PostRepaintRequest();
        }
    }
}

bool CTabulonDlg::RunJob(Job job, const std::function<void()>& work) {
    if (!work || closing_) return false;
    if (runningJob_ != Job::None) {
        // Jobs do not nest: a request that comes while one runs is served once it has ended.
        jobRequestWaiting_ = true;
        return false;
    }
    runningJob_ = job;
    const bool userFitting = job == Job::UserFormulaFitting;
    if (userFitting) theUseruf.busy = 1;
    work();
    if (userFitting) theUseruf.busy = 0;
    runningJob_ = Job::None;
    if (jobRequestWaiting_ && !closing_) {
        jobRequestWaiting_ = false;
        platform::PostJobRequest();
    }
    return true;
}

bool CTabulonDlg::PumpJobStep(std::uint64_t storeChangeCount) {
    PumpWaitingMessages();
    if (closing_ || IsDialogEnded() || !HasWindow()) return false;
    return theData.ChangeCount() == storeChangeCount;
}

void CTabulonDlg::StopRunningJobs() {
    theUseruf.running = 0;
    theConstructorMulti.polySearchStop = 1;
    theConstructorMulti.polySearchOneNext = 0;
    theConstructorMulti.polySearchFull = 0;
    theMultistat.searchRunning = 0;
    jobRequestWaiting_ = false;
}
