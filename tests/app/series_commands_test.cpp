// The "Data" menu's commands on all series, run through the main window's command routing,
// and the data sheet docked beside the running main window, following the store.
#include <algorithm>

#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include <QPalette>
#include <QWidget>

#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "main_window_support.h"

namespace {

using namespace mainwin_test;

TEST(SeriesCommands, MenuCommandsChangeEveryParameterAndEndWithTheTail) {
    platform::ScriptedDialogs dialogs;
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            LoadShape(1, 2, 0, 3, 2);  // two series of x, two values
            dlg.SendCommand(kCommandDistinctColorMarks);
            EXPECT_EQ(theData.parameters[2].markShape, 1);
            EXPECT_EQ(theData.parameters[5].markShape, 3);
            dlg.SendCommand(kCommandMarksLines);
            EXPECT_EQ(theData.parameters[4].markShape, kMarkShapeLine);
            EXPECT_EQ(theData.parameters[3].markShape, 0);  // an argument
            dlg.SendCommand(kCommandIncreaseMarkSize);
            EXPECT_EQ(theData.parameters[4].markSize, 5);

            dlg.SendCommand(kCommandCopyNamesWithOrder);
            EXPECT_EQ(theData.parameterNames,
                      (std::vector<std::string>{"p0_1", "p1_1", "p2_1", "p0_2", "p1_2", "p2_2"}));

            dlg.SendCommand(kCommandValueParametersFrom0To1);
            EXPECT_EQ(theData.allValues[1], 0);
            EXPECT_EQ(theData.allValues[7], 1);

            dlg.SendCommand(kCommandUniteAllSeries);
            ASSERT_EQ(theData.series.size(), 1u);
            EXPECT_EQ(theData.series[0].nRecords, 6);
            EXPECT_EQ(CheckStoreInvariants(theData), "");

            const int before = theData.dateFormatFlag;
            dlg.SendCommand(kCommandChangeTimeDataFormat);
            dlg.SendCommand(kCommandChangeTimeDataFormat);
            EXPECT_EQ(theData.dateFormatFlag, before);
            const std::vector<std::string> messages = dialogs.Messages();
            ASSERT_GE(messages.size(), 2u);
            EXPECT_EQ(messages[messages.size() - 2], "Data format now is DD/MM/YY");
            EXPECT_EQ(messages.back(), "Data format now is MM/DD/YY");

            LoadShape(2, 2, 1, 3, 2);
            dlg.dataSeriesCount = 2;
            dlg.SetSingleValueParameter(7);
            EXPECT_EQ(theData.parameters[7].role, kRoleValue);
            EXPECT_EQ(theData.parameters[2].role, kRoleValue);
            EXPECT_EQ(dlg.dataArguments, 4);
            EXPECT_EQ(theLegend.yCaption, "p2, calculated");
            theData.OnDeleteAll();
        },
        &dialogs);
}

TEST(SeriesCommands, DockedSheetLeavesNothingOfTheWiderChart) {
    WithMainWindow([](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 50);
        platform::PostRepaintRequest();
        PumpWaitingMessages();
        const int W = dlg.ClientRect().Width();
        const QColor background = dlg.ClientWidget()->palette().color(QPalette::Window);
        // Pixels of the strip right of the chart (up to the border strip, and above the result
        // pane's frame, which reaches two rows up into it) that are not the background.
        auto leftOver = [&] {
            const platform::Rect& c = dlg.chartRect;
            if (c.right >= W - 5) return 0;
            const int bottom = std::min(c.bottom, dlg.resultRect.top - 2);
            return CountPixels(dlg.Surface().Image(), [&](QRgb p) { return QColor(p) != background; },
                               QRect(QPoint(c.right, c.top), QPoint(W - 6, bottom - 1)));
        };
        ASSERT_EQ(dlg.chartRect.right, W);  // the full-width chart first

        theData.ToggleDataSheet();
        PumpUntil([&] { return theDataEdit.IsVisible() && dlg.chartRect.right < W - 50 && leftOver() == 0; }, 3000);
        ASSERT_TRUE(theDataEdit.IsVisible());
        ASSERT_LT(dlg.chartRect.right, W - 50);
        EXPECT_EQ(leftOver(), 0);
        // A change of the store refills the sheet.
        theData.allValues[0] = 42;
        theData.RefreshSeriesList(1);
        EXPECT_EQ(theDataEdit.Control(DataEdit::kGrid).ItemText(0, 1), "42");

        // Hidden again, the chart takes the whole width back.
        theDataEdit.SendCommand(DataEdit::kCloseButton);
        for (int i = 0; i < 3; ++i) PumpWaitingMessages();
        EXPECT_EQ(dlg.chartRect.right, W);
        EXPECT_EQ(platform::FromQColor(dlg.Surface().Image().pixelColor(W - 60, dlg.chartRect.top + 5)),
                  theChart.borderAreaColor);
        theData.OnDeleteAll();
    });
}

}  // namespace
