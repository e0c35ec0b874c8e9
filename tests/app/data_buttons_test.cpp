// The data page's "Insert" and "Modify" buttons in the running program: each brings up its
// real dialog, which acts on the store (the dialogs' own rules and undo are the data tests').
// And the "Data" menu's clipboard and text-file imports reaching the store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTabBar>
#include <QTreeWidget>
#include <QWidget>

#include "app/resource_ids.h"
#include "charts/d3view_page.h"
#include "data/data_page_list.h"
#include "data/insert_dialog.h"
#include "data/modify_dialog.h"
#include "main_window_support.h"
#include "user_path.h"
#include "platform/clipboard.h"
#include "widgets/text_dialog.h"

namespace {

using namespace mainwin_test;

void ClickCell(int row, int column) { ASSERT_TRUE(user_path::ClickSeriesTable(row, column)); }

TEST(DataPageButtons, InsertAndModifyRunTheirDialogs) {
    platform::ScriptedDialogs dialogs;
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            auto* bar = qobject_cast<QTabBar*>(dlg.Control(kTabControl).Widget());
            ASSERT_NE(bar, nullptr);
            bar->setCurrentIndex(kTabData);
            ASSERT_TRUE(theData.IsVisible());
            LoadShape(1, 1, 0, 3);  // p0 = 0, 10, 20 (argument); p1 = 1, 11, 21 (value)
            theData.UpdateButtonStates();
            theData.dataModified = 0;

            // "Insert": a value computed by formula over the other columns.
            int shown = 0;
            dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                shown = d.TemplateId();
                ASSERT_EQ(shown, insert::kTemplateId);
                d.Control(insert::kFormulaRadio).Click();
                d.Control(insert::kFormulaEdit).SetText("p0*2 + p1");
                d.Control(insert::kInsertButton).Click();
            });
            theData.Control(data::kInsertButton).Click();
            EXPECT_EQ(shown, insert::kTemplateId);
            ASSERT_EQ(theData.parametersPerSeries, 3);
            EXPECT_EQ(SeriesColumn(0, 2), (std::vector<double>{1, 31, 61}));

            // "Modify" waits for a parameter row to be ticked.
            EXPECT_FALSE(theData.Control(data::kModifyButton).IsEnabled());
            ClickCell(3, data::kColumnSelect);  // the series row, p0, p1, then x2
            ASSERT_TRUE(theData.Control(data::kModifyButton).IsEnabled());

            shown = 0;
            dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                shown = d.TemplateId();
                ASSERT_EQ(shown, modify::kTemplateId);
                EXPECT_TRUE(d.Control(modify::kActionRadio).IsEnabled());  // the record operations are wired
                d.Control(modify::kFormulaRadio).Click();
                d.Control(modify::kFormulaEdit).SetText("x2 - p1");
                d.Control(modify::kModifyButton).Click();
            });
            theData.Control(data::kModifyButton).Click();
            EXPECT_EQ(shown, modify::kTemplateId);
            EXPECT_EQ(SeriesColumn(0, 2), (std::vector<double>{0, 20, 40}));

            // With two series "Insert" is withdrawn.
            LoadShape(1, 1, 0, 3, 2);
            theData.UpdateButtonStates();
            EXPECT_FALSE(theData.Control(data::kInsertButton).IsEnabled());
            theData.OnDeleteAll();
            ResetChoices();
        },
        &dialogs);
}

TEST(DataMenuImports, ClipboardAndTextFileAddSeries) {
    const ScratchFolder folder("menu_import");
    const std::string path = folder / "import.txt";
    std::ofstream(path) << "5 6\n7 8\n9 10\n";
    platform::ScriptedDialogs dialogs;
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            theData.OnDeleteAll();

            platform::SetClipboardText("a\tb\n1\t2\n3\t4\n");
            theD3view.sceneRebuildRequest = 0;
            dlg.SendCommand(kCommandPasteFromClipboard);
            ASSERT_EQ(theData.series.size(), 1u);
            EXPECT_EQ(theData.parameterNames, (std::vector<std::string>{"a", "b"}));
            EXPECT_EQ(theD3view.sceneRebuildRequest, 1);

            int shown = 0;
            dialogs.fileAnswers.push_back(path);
            dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                shown = d.TemplateId();
                d.Control(Text::kSeparatorsEdit).SetText(" ");
                d.Control(Text::kOkButton).Click();
            });
            dlg.SendCommand(kCommandImportFromTextFile);
            EXPECT_EQ(shown, Text::kTemplateId);
            ASSERT_EQ(theData.series.size(), 2u);
            EXPECT_EQ(SeriesColumn(1, 0), (std::vector<double>{5, 7, 9}));
            EXPECT_EQ(theData.selectedSeries, 1);  // the new series is selected
            theData.OnDeleteAll();
            ResetChoices();
        },
        &dialogs);
}

}  // namespace
