// The job hook: which job a job request starts, a job that pumps keeps the window painting
// and stops by its page's "Stop" button, jobs never nest, and a job stops cleanly when the
// data change under it or the window closes.
#include <algorithm>

#include <QTimer>
#include <gtest/gtest.h>

#include "main_window_steps.h"

namespace {

using mainwin_test::HooksGuard;
using mainwin_test::LoadShape;
using mainwin_test::ResetChoices;
using mainwin_test::WithMainWindow;
using mainwin_steps::InWindow;
using mainwin_steps::RecomputeCounter;
using mainwin_steps::Repaint;

// A stand-in for the user-formula fitting with the same protocol: while the page's running
// flag is set, one step, a repaint request, then the pump between steps.
struct TestJob {
    CTabulonDlg* dlg = nullptr;
    int entries = 0, depth = 0, maxDepth = 0, steps = 0;
    bool stoppedByPump = false;
    std::function<void()> perStep;
    std::function<void()> afterStep;  // after the step's repaint request, before its pump

    void Run() {
        ++entries;
        maxDepth = std::max(maxDepth, ++depth);
        const std::uint64_t storeCount = theData.ChangeCount();
        while (theUseruf.running) {
            ++steps;
            if (perStep) perStep();
            theUseruf.changed = 1;
            platform::PostRepaintRequest();
            if (afterStep) afterStep();
            if (!dlg->PumpJobStep(storeCount)) {
                stoppedByPump = true;
                break;
            }
        }
        // As the fitting does when it ends by itself.
        if (theUseruf.running) theUseruf.StopFitting();
        --depth;
    }
};

// Two arguments of `records` records charted without the plane, the search's start terms set.
void SearchShape(int records, int bestPolynome, const std::vector<unsigned>& terms) {
    LoadShape(2, 1, 0, records);
    theMultistat.plane = 0;
    theMultistat.bestPolynome = bestPolynome;
    Repaint(theData.dataPageChanged);
    theConstructorMulti.currentPolyTerms = terms;
}

TEST(JobHook, PumpingJobKeepsPaintingUntilItsStopButton) {
    InWindow([](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 50);
        PumpWaitingMessages();
        RecomputeCounter counter;
        TestJob job{&dlg};
        int recomputedBefore = 0;
        bool stopAsked = false;
        job.perStep = [&] {
            // Once the chart has been recomputed a few times while the job runs, the user stops it;
            // the click is delivered by the job's own pump.
            if (job.steps == 1) recomputedBefore = counter.count;
            if (!stopAsked && ((counter.count >= recomputedBefore + 3 && job.steps > 5) || job.steps > 2000)) {
                stopAsked = true;
                QTimer::singleShot(0, [] { theUseruf.Control(useruf::kStopButton).Click(); });
            }
        };
        TheAnalysisHooks().jobs.userFormulaFitting = [&] { job.Run(); };
        theUseruf.Control(useruf::kRunFittingButton).Click();
        PumpWaitingMessages();  // the job request: the job runs to its end in here

        EXPECT_EQ(job.entries, 1);
        EXPECT_FALSE(job.stoppedByPump);
        EXPECT_GT(counter.count, 2);  // the chart kept being recomputed while the job ran
        EXPECT_EQ(theUseruf.running + theUseruf.busy, 0);
    });
}

TEST(JobHook, JobRequestDuringAJobStartsNoSecondJob) {
    InWindow([](CTabulonDlg& dlg) {
        SearchShape(20, 1, {});
        TestJob fitting{&dlg};
        fitting.perStep = [&] {
            platform::PostJobRequest();  // a second request for the fitting itself
            if (fitting.steps == 3) {
                // A search asked for while the fitting runs.
                theConstructorMulti.polySearchOneNext = 1;
                platform::PostJobRequest();
            }
            if (fitting.steps == 10) theUseruf.running = 0;
        };
        int searches = 0, fittingDepthAtSearch = -1;
        TheAnalysisHooks().jobs.userFormulaFitting = [&] { fitting.Run(); };
        TheAnalysisHooks().jobs.bestPolynomialSearch = [&] {
            ++searches;
            fittingDepthAtSearch = fitting.depth;
            theConstructorMulti.polySearchOneNext = 0;  // the search's end clears its request
        };
        theUseruf.StartFitting();
        for (int i = 0; i < 3; ++i) PumpWaitingMessages();

        EXPECT_EQ(fitting.entries, 1);
        EXPECT_EQ(fitting.maxDepth, 1);
        EXPECT_EQ(searches, 1);
        EXPECT_EQ(fittingDepthAtSearch, 0);  // after the fitting, never inside it
        EXPECT_FALSE(dlg.JobRunning());
    });
}

TEST(JobHook, DeletingAllDataFromATimerEndsTheJobCleanly) {
    InWindow([](CTabulonDlg& dlg) {
        LoadShape(1, 2, 0, 2000);
        PumpWaitingMessages();
        TestJob job{&dlg};
        double sum = 0;
        job.perStep = [&] {
            // Reads the store within one step only: the next pump may change it.
            std::vector<double> column;
            ASSERT_EQ(theData.GetParameterValues(0, 1, column), 1);
            for (double v : column) sum += v;
            const Series& s = theData.series.at(0);
            sum += theData.allValues.at(static_cast<std::size_t>(s.firstValue + (s.nRecords - 1) * s.nParameters));
        };
        TheAnalysisHooks().jobs.userFormulaFitting = [&] { job.Run(); };
        job.afterStep = [&] {
            if (job.steps == 10) QTimer::singleShot(0, [] { theData.OnDeleteAll(); });
        };
        theUseruf.StartFitting();
        PumpWaitingMessages();

        EXPECT_TRUE(job.stoppedByPump);
        EXPECT_GT(sum, 0);
        EXPECT_TRUE(theData.series.empty());
        EXPECT_EQ(theUseruf.running, 0);
    });
}

TEST(JobHook, ClosingTheWindowStopsTheJobFirst) {
    HooksGuard guard;
    bool endedWhileRunning = false;
    WithMainWindow([&](CTabulonDlg& dlg) {
        ResetChoices();
        TestJob job{&dlg};
        TheAnalysisHooks().jobs.userFormulaFitting = [&] {
            job.Run();
            endedWhileRunning = dlg.HasWindow();  // the window still stands when the job returns
        };
        job.afterStep = [&] {
            if (job.steps == 10) QTimer::singleShot(0, [&] { dlg.TopWidget()->close(); });
        };
        theUseruf.StartFitting();
        PumpWaitingMessages();
        EXPECT_TRUE(job.stoppedByPump);
        EXPECT_TRUE(dlg.IsDialogEnded());
        EXPECT_EQ(dlg.ModalResult(), platform::kCancel);
        // No job starts any more once the window is going.
        theUseruf.running = 1;
        dlg.OnSysCommand(0, 0);
        EXPECT_EQ(job.entries, 1);
        theUseruf.running = 0;
    });
    EXPECT_TRUE(endedWhileRunning);
}

struct HookCase {
    int arguments, values;
    int running, busy;
    int bestPolynome, bestPolynomeAuto, oneNext, full;
    std::vector<std::string> ran;
};

TEST(JobHook, RequestStartsTheJobsThePagesAskFor) {
    const HookCase cases[] = {
        {2, 1, 0, 0, 0, 0, 0, 0, {}},
        {1, 1, 1, 0, 0, 0, 0, 0, {"fitting"}},
        {1, 1, 1, 1, 0, 0, 0, 0, {}},
        {2, 1, 0, 0, 1, 0, 1, 0, {"search"}},
        {3, 1, 0, 0, 1, 0, 0, 1, {"search"}},
        {2, 1, 0, 0, 1, 0, 0, 0, {}},
        {1, 1, 0, 0, 1, 0, 1, 0, {}},
        {2, 2, 0, 0, 1, 0, 1, 0, {}},
        {2, 1, 0, 0, 0, 1, 0, 0, {"auto"}},
        {2, 1, 0, 0, 1, 1, 1, 0, {}},
        {2, 1, 1, 0, 0, 1, 0, 0, {"fitting", "auto"}},
    };
    HooksGuard guard;
    std::vector<std::string> ran;
    MainWindowJobs& jobs = TheAnalysisHooks().jobs;
    jobs.userFormulaFitting = [&] { ran.push_back("fitting"); };
    jobs.bestPolynomialSearch = [&] { ran.push_back("search"); };
    jobs.autoPolynomialSearch = [&] { ran.push_back("auto"); };
    for (const HookCase& c : cases) {
        SCOPED_TRACE(&c - cases);
        CTabulonDlg dlg;
        ResetChoices();
        dlg.dataArguments = c.arguments;
        dlg.dataValues = c.values;
        theUseruf.running = c.running;
        theUseruf.busy = c.busy;
        theMultistat.bestPolynome = c.bestPolynome;
        theMultistat.bestPolynomeAuto = c.bestPolynomeAuto;
        theConstructorMulti.polySearchOneNext = c.oneNext;
        theConstructorMulti.polySearchFull = c.full;
        ran.clear();
        dlg.OnSysCommand(0, 0);
        EXPECT_EQ(ran, c.ran);
        const bool searched = std::find(ran.begin(), ran.end(), "fitting") != ran.end() ? ran.size() > 1 : !ran.empty();
        EXPECT_EQ(dlg.recomputeNeeded, searched ? 1 : 0);
        EXPECT_EQ(theUseruf.busy, c.busy);
    }
    ResetChoices();
}

TEST(JobHook, DeleteAllEndsTheAutomaticSearchAndResetsItsButton) {
    InWindow([](CTabulonDlg& dlg) {
        SearchShape(500, 0, {0, 0, 1, 0});
        QTimer::singleShot(200, [] { theData.OnDeleteAll(); });
        theMultistat.Control(multistat::kBestPolynomeAutoButton).Click();
        PumpWaitingMessages();
        EXPECT_FALSE(dlg.JobRunning());
        EXPECT_EQ(theMultistat.Control(multistat::kBestPolynomeAutoButton).Text(), "Best polynome auto");
    });
}

}  // namespace
