// "Read image file" through the main menu, and the data page's "Add" and "Image" buttons
// reaching the import wizard and the chart digitiser in the running program.
#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "data/fromimage_dialog.h"
#include "data/import_wizard.h"
#include "main_window_support.h"

namespace {

using namespace mainwin_test;

TEST(ImageCommands, ReadImageAsHsvAddsColouredValuesAndTheHistogramView) {
    const ScratchFolder folder("image_command");
    const std::string path = folder / "image.png";
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(qRgb(200, 100, 50));
    ASSERT_TRUE(image.save(QString::fromStdString(path), "png"));
    platform::ScriptedDialogs dialogs;
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            theData.OnDeleteAll();
            theXyview.histogram = 0;
            theMultistat.plane = 1;
            theMultistat.parabolic = 1;
            dialogs.fileAnswers.push_back(path);
            dlg.SendCommand(kCommandReadImageAsHsv);
            ASSERT_EQ(theData.series.size(), 1u);
            const Series& s = theData.series[0];
            EXPECT_EQ(std::vector<int>({s.nRecords, s.nArguments, s.nValues}), std::vector<int>({12, 0, 3}));
            EXPECT_EQ(theData.parameterNames, (std::vector<std::string>{"H", "S", "V"}));
            EXPECT_EQ(theXyview.histogram, 1);
            EXPECT_EQ(theMultistat.parabolic, 0);

            // "Add" opens the wizard, "Image" the digitiser; both cancelled here.
            theImportData.source = ImportData::kClipboard;
            int wizardTemplate = 0, digitiserTemplate = 0;
            dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                wizardTemplate = d.TemplateId();
                d.Control(ImportData::kCancelButton).Click();
            });
            theData.SendCommand(data::kAddButton);
            dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                digitiserTemplate = d.TemplateId();
                d.Control(fromimage::kCancelButton).Click();
            });
            theData.SendCommand(data::kImageButton);
            EXPECT_EQ(wizardTemplate, ImportData::kTemplateId);
            EXPECT_EQ(digitiserTemplate, fromimage::kTemplateId);
            EXPECT_EQ(theData.series.size(), 1u);
            theData.OnDeleteAll();
            theXyview.histogram = 0;
            theMultistat.plane = 1;
            dlg.EndDialog(platform::kOk);
        },
        &dialogs);
}

}  // namespace
