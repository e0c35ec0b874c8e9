// Following a text file: the "Synchronize" dialog's period and spins, and the re-read of the
// only series at each tick, with the file rewritten between ticks.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QToolButton>
#include <fstream>

#include "data/synchronize_dialog.h"
#include "import_test_support.h"
#include "platform/control.h"

namespace {

using import_test::SeriesValues;
using import_test::TempFile;

void Rewrite(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Lines(int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i) text += std::to_string(i) + " " + std::to_string(i * 10) + "\n";
    return text;
}

class SyncReread : public ::testing::Test {
protected:
    void SetUp() override {
        theText2.separators.assign(1, ' ');
        theText2.synchronizeRequested = 0;
        theSynchronize.minutes = 0;
        theSynchronize.seconds = 10;
        ASSERT_TRUE(page.Create(nullptr));
    }

    // A text import of the file with "synchronize" ticked; the period dialog answered by
    // `answer` ("Do" or "Cancel") after typing the period.
    void ImportFollowed(const std::string& path, int minutes, int seconds, int answer = synchronize::kDoButton,
                        std::vector<int> deselect = {}) {
        dialogs.fileAnswers.push_back(path);
        dialogs.modalSteps.push_back([deselect](platform::Dialog& dialog) {
            auto& text = static_cast<Text&>(dialog);
            for (int i : deselect) text.Control(Text::kFieldList).SetSelected(i, false);
            text.Control(Text::kSynchronizeCheck).Click();
            text.Control(Text::kOkButton).Click();
        });
        dialogs.modalSteps.push_back([this, minutes, seconds, answer](platform::Dialog& dialog) {
            ++periodDialogs;
            dialog.Control(synchronize::kMinutesEdit).SetText(std::to_string(minutes));
            dialog.Control(synchronize::kSecondsEdit).SetText(std::to_string(seconds));
            dialog.Control(answer).Click();
        });
        page.OnOpenTextDataFile();
    }

    // The file rewritten with the content, then one tick of the re-read timer.
    void Tick(const std::string& path, const std::string& content) {
        Rewrite(path, content);
        page.OnTimer(data::kSyncTimerId);
    }

    platform::ScriptedDialogs dialogs;
    data page;
    int periodDialogs = 0;
};

TEST(SyncPeriod, MillisecondsOfTheTypedPeriod) {
    struct Case {
        long long minutes, seconds;
        int ms;
    } cases[] = {
        {0, 10, 10000}, {0, 0, 1000}, {0, -5, 1000}, {-3, 0, 1000},  // no period: one second
        {35791, 0, 2147460000}, {1000000000, 0, 2147483647},          // clamped, never overflowing
    };
    for (const Case& c : cases) EXPECT_EQ(SyncPeriodMs(c.minutes, c.seconds), c.ms) << c.minutes << " " << c.seconds;
}

TEST(SynchronizeDialog, SpinsStepMinutesAndSecondsAcrossTheMinute) {
    struct Case {
        int minutes, seconds;
        bool secondsSpin;
        int delta;  // -1 the up arrow
        int minutesAfter, secondsAfter;
    } cases[] = {
        {0, 0, true, +1, 0, 0},  {2, 0, true, +1, 1, 0},   {0, 59, true, -1, 1, 0},
        {0, 5, false, -1, 1, 5}, {0, 5, false, +1, 0, 5}, {3, 5, false, +1, 2, 5},
    };
    for (const Case& c : cases) {
        synchronize dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        dialog.minutes = c.minutes;
        dialog.seconds = c.seconds;
        platform::Notify n;
        n.delta = c.delta;
        if (c.secondsSpin)
            dialog.OnDeltaPosSeconds(n);
        else
            dialog.OnDeltaPosMinutes(n);
        EXPECT_EQ(std::tie(dialog.minutes, dialog.seconds), std::tie(c.minutesAfter, c.secondsAfter))
            << c.minutes << ":" << c.seconds;
        dialog.DestroyWindow();
    }
}

// The stepping itself is the table above; here the real up arrows reach it and the boxes show it.
TEST(SynchronizeDialog, TheArrowsStepTheBoxes) {
    synchronize dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.minutes = 0;
    dialog.seconds = 59;
    dialog.UpdateData(false);
    for (int spin : {synchronize::kSecondsSpin, synchronize::kMinutesSpin}) {
        QToolButton* up = nullptr;
        for (QToolButton* b : dialog.Control(spin).Widget()->findChildren<QToolButton*>()) {
            if (b->arrowType() == Qt::UpArrow) up = b;
        }
        ASSERT_NE(up, nullptr) << spin;
        up->click();
    }
    EXPECT_EQ(std::tuple(dialog.Control(synchronize::kMinutesEdit).Text(), dialog.Control(synchronize::kSecondsEdit).Text()),
              std::tuple("2", "0"));
    dialog.DestroyWindow();
}

TEST(SynchronizeDialog, EnterTakesTheValuesInAndStaysDoEndsCancelKeepsTheLastValues) {
    platform::ScriptedDialogs dialogs;
    synchronize dialog;
    bool stillOpen = false;
    dialogs.modalSteps.push_back([&](platform::Dialog& d) {
        d.Control(synchronize::kSecondsEdit).SetText("25");
        d.OnOK();  // Enter: the hidden default button
        stillOpen = !d.IsDialogEnded();
        EXPECT_EQ(static_cast<synchronize&>(d).seconds, 25);
        d.Control(synchronize::kMinutesEdit).SetText("4");
        d.Control(synchronize::kDoButton).Click();
    });
    EXPECT_EQ(dialog.RunModal(), platform::kOk);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(std::tie(dialog.minutes, dialog.seconds), std::make_tuple(4, 25));
    dialogs.modalSteps.push_back([](platform::Dialog& d) {
        d.Control(synchronize::kMinutesEdit).SetText("9");
        d.Control(synchronize::kCancelButton).Click();
    });
    EXPECT_EQ(dialog.RunModal(), platform::kCancel);
    EXPECT_EQ(dialog.minutes, 4);
}

TEST_F(SyncReread, TicksFollowTheFileAsItGrowsShrinksAndVanishes) {
    TempFile file(Lines(1, 5));
    ImportFollowed(file.Path(), 1, 30);
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(std::tie(page.syncTimerOn, page.syncIntervalMs), std::make_tuple(1, 90000));
    const std::int32_t colorBefore = page.parameters[1].color;

    Tick(file.Path(), Lines(1, 15));  // ten more lines
    ASSERT_EQ(page.series[0].nRecords, 15);
    EXPECT_EQ(SeriesValues(page, 0).back(), 150);
    EXPECT_EQ(page.parameters[1].color, colorBefore);

    Tick(file.Path(), "junk line\n" + Lines(3, 18) + "\n" + "5 x\n");  // header-like and bad lines dropped
    ASSERT_EQ(page.series[0].nRecords, 16);
    EXPECT_EQ(SeriesValues(page, 0)[0], 3);

    std::remove(file.Path().c_str());
    page.OnTimer(data::kSyncTimerId);  // cannot be opened: the series stays
    EXPECT_EQ(std::tie(page.series[0].nRecords, page.syncTimerOn), std::make_tuple(16, 1));

    // Mend: the name given to a FIFO froze the program at the tick; it is not read.
    ASSERT_EQ(mkfifo(file.Path().c_str(), 0600), 0);
    page.OnTimer(data::kSyncTimerId);
    EXPECT_EQ(page.series[0].nRecords, 16);
    std::remove(file.Path().c_str());
}

TEST_F(SyncReread, AFileBeingRewrittenNeverShrinksTheSeriesOrGivesAPartialLine) {
    TempFile file(Lines(1, 5));
    ImportFollowed(file.Path(), 0, 10);
    ASSERT_EQ(page.series.size(), 1u);
    const std::vector<double> before = SeriesValues(page, 0);
    // Emptied, cut mid-line, reduced to fewer lines: the logger is writing it again.
    for (const std::string& content : {std::string(), std::string("1 10\n2 2"), Lines(1, 2), std::string("1 1")}) {
        SCOPED_TRACE(content);
        Tick(file.Path(), content);
        EXPECT_EQ(SeriesValues(page, 0), before);
    }
    // The file back with a line still being written: whole lines only.
    Tick(file.Path(), Lines(1, 6) + "7 7");
    ASSERT_EQ(page.series[0].nRecords, 6);
    EXPECT_EQ(SeriesValues(page, 0).back(), 60);
    EXPECT_EQ(CheckStoreInvariants(page), "");
    page.StopSyncTimer();
}

TEST_F(SyncReread, HeaderSelectionAndSeparatorsAreThoseOfTheImportNotOfALaterDialog) {
    TempFile file("t a b\n1 2 3\n4 5 6\n");
    ImportFollowed(file.Path(), 0, 0, synchronize::kDoButton, {1});  // field "a" left out
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(SeriesValues(page, 0), (std::vector<double>{1, 3, 4, 6}));

    // A later import refused for its parameter count leaves other fields in the text dialog.
    TempFile other("1;2;3;4\n");
    dialogs.fileAnswers.push_back(other.Path());
    dialogs.modalSteps.push_back([](platform::Dialog& dialog) {
        dialog.Control(Text::kSeparatorsEdit).SetText(";");
        dialog.Control(Text::kOkButton).Click();
    });
    page.OnOpenTextDataFile();
    ASSERT_EQ(page.series.size(), 1u);

    Tick(file.Path(), "t a b\n1 2 3\n4 5 6\n7 8 9\n");
    EXPECT_EQ(SeriesValues(page, 0), (std::vector<double>{1, 3, 4, 6, 7, 9}));
}

TEST_F(SyncReread, AFileWithOtherColumnsStopsTheReread) {
    TempFile file(Lines(1, 3));
    ImportFollowed(file.Path(), 0, 10);
    ASSERT_EQ(page.syncTimerOn, 1);
    Tick(file.Path(), "1 2 3\n4 5 6\n");
    EXPECT_EQ(std::tie(page.syncTimerOn, page.series[0].nRecords), std::make_tuple(0, 3));
    EXPECT_FALSE(page.HasTimer(data::kSyncTimerId));
}

TEST_F(SyncReread, CancelStartsNothingAndTwoSeriesAreLeftAlone) {
    TempFile file(Lines(1, 3));
    ImportFollowed(file.Path(), 0, 10, synchronize::kCancelButton);
    EXPECT_EQ(std::tie(periodDialogs, page.syncTimerOn), std::make_tuple(1, 0));

    page.OnDeleteAll();
    ImportFollowed(file.Path(), 0, 10);
    ASSERT_EQ(page.syncTimerOn, 1);
    page.AddNewSeries(0, {"p", "q"});  // a second series: ticks change nothing
    page.pendingSeries = page.series[0];
    const std::vector<double> before = page.allValues;
    Tick(file.Path(), Lines(1, 8));
    EXPECT_EQ(std::tuple(page.allValues, page.series[0].nRecords), std::tuple(before, 3));
}

TEST_F(SyncReread, TheTimerItselfRereadsAFileRewrittenBetweenTicks) {
    TempFile file(Lines(1, 2));
    ImportFollowed(file.Path(), 0, 1);
    ASSERT_EQ(page.syncTimerOn, 1);
    Rewrite(file.Path(), Lines(1, 7));
    QElapsedTimer clock;
    clock.start();
    while (page.series[0].nRecords != 7 && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(page.series[0].nRecords, 7);
    EXPECT_TRUE(page.HasTimer(data::kSyncTimerId));  // started again after the re-read
    page.StopSyncTimer();
}

}  // namespace
