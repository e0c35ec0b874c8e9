// Requests, pumps, timers and the exception boundary.
#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <vector>

#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"

namespace {

constexpr int kTemplate = 9301;
constexpr int kThrowOutOfRange = 1001, kThrowBadAlloc = 1002, kThrowError = 1003, kRepaint = 1004;

const platform::DialogTemplateRegistration requestTemplate({.id = kTemplate, .caption = "Requests", .cx = 120, .cy = 80,
    .controls = {
        {kThrowOutOfRange, platform::ControlKind::Button, "Index", 5, 5, 40, 14},
        {kThrowBadAlloc, platform::ControlKind::Button, "Memory", 5, 22, 40, 14},
        {kThrowError, platform::ControlKind::Button, "Error", 5, 39, 40, 14},
        {kRepaint, platform::ControlKind::Button, "Repaint", 5, 56, 40, 14},
    }});

class Counting : public platform::Dialog {
public:
    Counting() : Dialog(kTemplate) {
        RouteCommand(kThrowOutOfRange, &Counting::ThrowOutOfRange);
        RouteCommand(kThrowBadAlloc, &Counting::ThrowBadAlloc);
        RouteCommand(kThrowError, &Counting::ThrowError);
        RouteCommand(kRepaint, &Counting::Repaint);
    }
    void OnPaint() override { ++paints; }
    void OnSysCommand(unsigned command, long) override { sysCommands.push_back(command); }
    void OnTimer(int id) override {
        ticks.push_back(id);
        if (id == 2) throw std::runtime_error("tick failed");
    }
    void ThrowOutOfRange() {
        std::vector<int> v(2);
        afterThrow += v.at(5);
    }
    void ThrowBadAlloc() { throw std::bad_alloc(); }
    void ThrowError() { throw std::runtime_error("Broken file"); }
    void Repaint() { platform::PostRepaintRequest(); }
    int paints = 0;
    int afterThrow = 0;
    std::vector<unsigned> sysCommands;
    std::vector<int> ticks;
};

class RequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(nullptr));
        platform::PumpWaitingMessages();  // the paint that creating a window asks for
        dlg.paints = 0;
        platform::SetMainWindow(&dlg);
    }
    void TearDown() override { platform::SetMainWindow(nullptr); }
    platform::ScriptedDialogs dialogs;
    Counting dlg;
};

TEST_F(RequestTest, RequestsArePostedDroppedWithoutAMainWindowAndABurstCostsOneRecomputation) {
    platform::SetMainWindow(nullptr);
    platform::PostRepaintRequest();
    platform::PostJobRequest();
    platform::PumpWaitingMessages();
    platform::SetMainWindow(&dlg);
    for (int i = 0; i < 10000; ++i) {
        platform::PostRepaintRequest();
        platform::PostJobRequest();
    }
    EXPECT_EQ(dlg.paints + dlg.sysCommands.size(), 0u);  // posted, not sent
    platform::PumpWaitingMessages();
    platform::PumpWaitingMessages();
    EXPECT_EQ(dlg.paints, 1);
    EXPECT_EQ(dlg.sysCommands, std::vector<unsigned>{0});
    // A request made while serving one is served again later.
    dlg.Control(kRepaint).Click();
    platform::PumpWaitingMessages();
    EXPECT_EQ(dlg.paints, 2);
}

TEST_F(RequestTest, TimersTickByIdUntilKilled) {
    EXPECT_TRUE(dlg.SetTimer(7, 10));
    EXPECT_TRUE(dlg.SetTimer(2, 10));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    auto ticksOf = [&](int id) { return std::count(dlg.ticks.begin(), dlg.ticks.end(), id); };
    while ((ticksOf(7) < 2 || ticksOf(2) < 2) && std::chrono::steady_clock::now() < until) {
        platform::PumpWaitingMessages();
        platform::SleepMs(2);
    }
    EXPECT_GE(ticksOf(7), 2);
    EXPECT_GE(ticksOf(2), 2);  // a tick that throws is reported and the timer goes on
    EXPECT_EQ(dialogs.Messages().front(), "tick failed");
    EXPECT_TRUE(dlg.KillTimer(7));
    EXPECT_FALSE(dlg.HasTimer(7));
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.HasTimer(2));  // timers go with the window
    EXPECT_FALSE(dlg.SetTimer(3, 10));
}

TEST_F(RequestTest, ExceptionInAHandlerBecomesAMessageBox) {
    struct Case {
        int button;
        std::string message;
    };
    const Case cases[] = {
        {kThrowOutOfRange, "Encountered an improper argument."},
        {kThrowBadAlloc, "Out of memory."},
        {kThrowError, "Broken file"},
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        static_cast<QPushButton*>(dlg.Control(c.button).Widget())->click();
        ASSERT_EQ(dialogs.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(dialogs.shown[0].caption, "Tabulon");
    }
    EXPECT_EQ(dlg.afterThrow, 0);  // the operation was abandoned
    EXPECT_TRUE(dlg.HasWindow());
}

}  // namespace
