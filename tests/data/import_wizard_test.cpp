// "Add": the import wizard's choice of source, the empty series it can make, the question
// about a followed file, and the selection of the new last series.
#include <gtest/gtest.h>

#include "data/import_wizard.h"
#include "import_test_support.h"
#include "platform/clipboard.h"
#include "platform/control.h"

namespace {

using import_test::SeriesNames;

class ImportWizard : public ::testing::Test {
protected:
    void SetUp() override {
        theImportData.source = ImportData::kClipboard;
        theImportData.newNames.clear();
        ASSERT_TRUE(page.Create(nullptr));
    }
    // Runs "Add" with the source radio and names chosen, ended by `button`.
    void Add(int radio, const std::string& names, int button = ImportData::kNextButton) {
        dialogs.modalSteps.push_back([this, radio, names, button](platform::Dialog& dialog) {
            shownSource = -1;
            for (int id = ImportData::kAccessRadio; id <= ImportData::kEmptySeriesRadio; ++id)
                if (dialog.Control(id).Check() == 1) shownSource = id - ImportData::kAccessRadio;
            editEnabledBefore = dialog.Control(ImportData::kNamesEdit).IsEnabled();
            dialog.Control(radio).Click();
            editEnabledAfter = dialog.Control(ImportData::kNamesEdit).IsEnabled();
            dialog.Control(ImportData::kNamesEdit).SetText(names);
            dialog.Control(button).Click();
        });
        RunImportWizard(page);
    }

    platform::ScriptedDialogs dialogs;
    data page;
    int shownSource = -2;
    bool editEnabledBefore = false;
    bool editEnabledAfter = false;
};

TEST_F(ImportWizard, AnEmptySeriesOfTypedNames) {
    Add(ImportData::kEmptySeriesRadio, "t, voltage;current");
    EXPECT_EQ(shownSource, ImportData::kClipboard);  // the first use offers the clipboard
    // The names box is enabled only while an empty series is chosen.
    EXPECT_FALSE(editEnabledBefore);
    EXPECT_TRUE(editEnabledAfter);
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"t", "voltage", "current"}));
    EXPECT_EQ(page.series[0].nRecords, 0);
    EXPECT_EQ(page.parameters[2].role, kRoleValue);

    // The next opening shows the last choice; the new last series is selected.
    Add(ImportData::kEmptySeriesRadio, "a b c");
    EXPECT_EQ(shownSource, ImportData::kEmptySeries);
    ASSERT_EQ(page.series.size(), 2u);
    EXPECT_EQ(page.selectedSeries, 1);
    EXPECT_EQ(page.selectedRow, 4);
    EXPECT_EQ(CheckStoreInvariants(page), "");
}

TEST_F(ImportWizard, RefusedCountsAndCancel) {
    Add(ImportData::kEmptySeriesRadio, " ,; ");
    Add(ImportData::kEmptySeriesRadio, "x y");
    Add(ImportData::kEmptySeriesRadio, "p q r");
    Add(ImportData::kEmptySeriesRadio, "p q r", ImportData::kCancelButton);
    EXPECT_EQ(dialogs.Messages(), (std::vector<std::string>{"Number of fields must be at least one",
                                                            "Number of fields must be equal to existing"}));
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(theImportData.newNames, "p q r");  // kept for the next opening
}

TEST_F(ImportWizard, EverySourceLeadsToItsImport) {
    platform::SetClipboardText("u\tv\n1\t2\n3\t4\n");
    Add(ImportData::kClipboardRadio, "");
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"u", "v"}));

    import_test::TempFile file("5 6\n");
    dialogs.fileAnswers.push_back(file.Path());
    Add(ImportData::kTextFileRadio, "");  // its own dialog unscripted: cancelled
    EXPECT_EQ(dialogs.shown.back().text, "Read from text file");
    EXPECT_EQ(page.series.size(), 1u);
}

TEST_F(ImportWizard, TheQuestionAboutAFollowedFile) {
    page.syncTimerOn = 1;
    page.SetTimer(data::kSyncTimerId, 60000);
    dialogs.messageAnswers.push_back(platform::kNo);
    Add(ImportData::kEmptySeriesRadio, "a", ImportData::kCancelButton);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0], "Only one series are allowed with synchonization\nKill timer?");
    EXPECT_EQ(dialogs.shown[0].type, platform::kButtonsYesNo | platform::kIconQuestion);
    EXPECT_TRUE(page.HasTimer(data::kSyncTimerId));
    dialogs.messageAnswers.push_back(platform::kYes);
    Add(ImportData::kEmptySeriesRadio, "a", ImportData::kCancelButton);
    EXPECT_EQ(page.syncTimerOn, 0);
    EXPECT_FALSE(page.HasTimer(data::kSyncTimerId));
}

}  // namespace
