// Menus: removing items, routing their commands and the system menu's. Renaming and enabling
// by command are checked on the main window's menus (recent files, data commands).
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "platform/dialog.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"

namespace {

constexpr int kTemplate = 9201;
constexpr int kOpen = 100, kSave = 101, kMacro = 102, kTimeFormat = 103, kRecent1 = 200, kRecent4 = 203;

const platform::DialogTemplateRegistration menuTemplate({.id = kTemplate, .caption = "Menus", .cx = 100, .cy = 60, .controls = {}});

class MenuDialog : public platform::Dialog {
public:
    MenuDialog() : Dialog(kTemplate) {
        using platform::MenuCommand;
        using platform::MenuPopup;
        using platform::MenuSeparator;
        SetMenu({
            MenuPopup("&File", {MenuCommand("&Open", kOpen), MenuCommand("&Save", kSave),
                                MenuPopup("Recent Files", {MenuCommand("1", kRecent1), MenuCommand("4", kRecent4)})}),
            MenuPopup("&Data", {MenuCommand("Change time data format", kTimeFormat), MenuSeparator(),
                                MenuCommand("Run macro file", kMacro)}),
        });
        RouteCommand(kOpen, &MenuDialog::OnOpen);
        RouteRange(kRecent1, kRecent4, platform::Notification::Clicked, &MenuDialog::OnRecent);
    }
    void OnOpen() { ++opened; }
    void OnRecent(int id) { recent.push_back(id); }
    void OnCommand(int id, platform::Notification code) override {
        unrouted.push_back(id);
        Dialog::OnCommand(id, code);
    }
    void OnSysCommand(unsigned command, long) override { sysCommands.push_back(command); }
    int opened = 0;
    std::vector<int> recent, unrouted;
    std::vector<unsigned> sysCommands;
};

QAction* ActionOf(platform::Menu menu, int pos) { return menu.Widget()->actions().at(pos); }

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create(nullptr)); }
    MenuDialog dlg;
};

TEST_F(MenuTest, RemovesItemsByPosition) {
    platform::Menu data = dlg.MenuBar().SubMenu(1);
    EXPECT_TRUE(data.IsSeparator(1));
    EXPECT_TRUE(data.RemoveAt(2));
    EXPECT_TRUE(data.RemoveAt(1));
    EXPECT_FALSE(data.RemoveAt(5));
    ASSERT_EQ(data.ItemCount(), 1);
    EXPECT_EQ(data.ItemCommand(0), kTimeFormat);
    EXPECT_EQ(dlg.MenuBar().SubMenu(0).ItemCommand(2), -1);  // a submenu item
}

TEST_F(MenuTest, ItemsSendTheirCommandsAndSystemItemsReachOnSysCommand) {
    platform::Menu file = dlg.MenuBar().SubMenu(0);
    ActionOf(file, 0)->trigger();
    EXPECT_EQ(dlg.opened, 1);
    ActionOf(file.SubMenu(2), 1)->trigger();
    EXPECT_EQ(dlg.recent, std::vector<int>{kRecent4});
    ActionOf(file, 1)->trigger();
    file.Append("Appended", 300);
    ActionOf(file, 3)->trigger();
    platform::Menu system = dlg.SystemMenu();
    system.AppendSeparator();
    system.Append("&About...", 16);
    ActionOf(system, 1)->trigger();
    EXPECT_EQ(dlg.sysCommands, std::vector<unsigned>{16});
    EXPECT_EQ(dlg.unrouted, (std::vector<int>{kSave, 300}));
}

}  // namespace
