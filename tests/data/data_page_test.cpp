// The Data page driven through its real widgets: the series table's rows, clicks on role,
// name and selection cells, the rename box, the mark pickers, the data buttons, the
// owner-drawn faces and the progress report.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "charts/result_document.h"
#include "data/data_page.h"
#include "data/data_page_list.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"
#include "recording_store.h"

namespace {

using platform::Notification;

struct Cell {
    int x, y;
};

Cell CellCentre(data& page, int row, int column) {
    SeriesTableView* view = page.TableView();
    const platform::Rect r = view->RowRect(row);
    return {view->ColumnLeft(column) + view->ColumnWidth(column) / 2, (r.top + r.bottom) / 2};
}

// A left click on a cell of the table, delivered to its viewport as the window system would.
void ClickCell(data& page, int row, int column) {
    QWidget* viewport = page.TableView()->View()->viewport();
    const Cell at = CellCentre(page, row, column);
    const QPointF local(at.x, at.y), global = viewport->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

// The combo shows `item` and reports the user's choice.
void Choose(data& page, int comboId, int item) {
    page.Control(comboId).SetCurSel(item);
    page.SendCommand(comboId, Notification::SelChange);
}

std::vector<std::string> RowTexts(data& page, int row) {
    std::vector<std::string> texts;
    for (int c = 0; c < 4; ++c) texts.push_back(page.Control(data::kSeriesList).ItemText(row, c));
    return texts;
}

class DataPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.Create(nullptr));
        page.Show(true);
        page.links.sceneRebuild = [this] { ++sceneRebuilds; };
        page.links.sheetCurrentSeries = [this] { return sheetSeries; };
        page.links.sheetSetCurrentSeries = [this](int s, int top) {
            sheetSeries = s;
            sheetTop = top;
        };
    }

    platform::ScriptedDialogs dialogs;
    data page;
    int sceneRebuilds = 0;
    int sheetSeries = 0;
    int sheetTop = -1;
};

TEST_F(DataPageTest, EmptyStoreShowsNoDataAndDisablesTheDataButtons) {
    platform::Control list = page.Control(data::kSeriesList);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(RowTexts(page, 0), (std::vector<std::string>{"No data", "", "", ""}));
    for (int id : {data::kDeleteButton, data::kDeleteAllButton, data::kShowSheetButton, data::kMakeAllInactiveButton})
        EXPECT_FALSE(page.Control(id).IsEnabled()) << id;
    EXPECT_NE(resultDocument::markStyleHook, nullptr);

    // Rows of deleted data do not stay behind.
    ASSERT_EQ(AddTestSeries(page, 2, 3, 0, "x"), 1);
    page.SendCommand(data::kDeleteAllButton);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(RowTexts(page, 0), (std::vector<std::string>{"No data", "", "", ""}));
}

TEST_F(DataPageTest, TableRowsFollowTheStore) {
    ASSERT_EQ(AddTestSeries(page, 2, 7, 0, "t"), 1);
    ASSERT_EQ(AddTestSeries(page, 2, 123456, 0, "t"), 1);
    ASSERT_EQ(AddTestSeries(page, 2, 0, 0, "t"), 1);
    platform::Control list = page.Control(data::kSeriesList);
    ASSERT_EQ(list.Count(), 9);
    // A series row with its record count, then its parameters: the value's name in the first
    // column, an argument's in the second.
    EXPECT_EQ(RowTexts(page, 3), (std::vector<std::string>{"Series #2", "  123456", "records", ""}));
    EXPECT_EQ(RowTexts(page, 4), (std::vector<std::string>{" ", "t0", " ", " "}));
    EXPECT_EQ(RowTexts(page, 5), (std::vector<std::string>{"t1", " ", " ", " "}));

    // Removing a series drops its rows; an inactive parameter's name stands in the third column.
    page.activeParameter = 0;
    page.MakeActiveParameterInactive();
    page.RemoveSeries(2);
    page.RefreshSeriesList(1);  // the store's callers refresh after a removal
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(RowTexts(page, 1), (std::vector<std::string>{" ", " ", "t0", " "}));
}

TEST_F(DataPageTest, RoleCellsActOnlyOnTheFirstSeries) {
    ASSERT_EQ(AddTestSeries(page, 3, 4, 0, "x"), 1);
    ASSERT_EQ(AddTestSeries(page, 3, 2, 0, "x"), 1);
    // Rows: 0 series 0, 1..3 its parameters, 4 series 1, 5..7 its parameters.
    sceneRebuilds = 0;
    page.dataModified = 0;
    ClickCell(page, 1, data::kColumnValue);  // x0: argument -> value
    EXPECT_EQ(std::tie(page.parameters[0].role, page.parameters[3].role), std::make_tuple(kRoleValue, kRoleValue));
    EXPECT_EQ(std::tie(page.series[1].nValues, sceneRebuilds, page.dataModified), std::make_tuple(2, 1, 1));

    ClickCell(page, 6, data::kColumnValue);  // x1 of series 1: no role change
    EXPECT_EQ(std::tie(page.parameters[1].role, page.parameters[4].role), std::make_tuple(kRoleArgument, kRoleArgument));

    ClickCell(page, 3, data::kColumnInactive);  // x2: value -> inactive
    EXPECT_EQ(page.parameters[5].role, kRoleInactive);
}

TEST_F(DataPageTest, NamesAreRenamedInPlace) {
    ASSERT_EQ(AddTestSeries(page, 2, 3, 0, "x"), 1);
    page.dataModified = 0;
    ClickCell(page, 2, data::kColumnValue);  // the value x1 shows its name in column 0
    platform::Control edit = page.Control(data::kRenameEdit);
    edit.SetText("speed");
    page.SendCommand(data::kOkButton);
    EXPECT_EQ(std::tie(page.parameterNames[1], page.dataModified), std::make_tuple("speed", 1));
    EXPECT_EQ(RowTexts(page, 2)[0], "speed");

    // A series name; Return in the box applies it.
    ClickCell(page, 0, data::kColumnValue);
    edit.SetText("Run 1");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit.Widget(), &enter);
    EXPECT_EQ(std::tie(page.seriesNames[0], page.parameterNames[0]), std::make_tuple("Run 1", "x0"));

    // A pending series rename stays a series rename after another click.
    ClickCell(page, 0, data::kColumnValue);
    edit.SetText("Run 2");
    ClickCell(page, 1, data::kColumnMarker);
    page.OnOk();
    EXPECT_EQ(std::tie(page.seriesNames[0], page.parameterNames[0]), std::make_tuple("Run 2", "x0"));
}

TEST_F(DataPageTest, SelectionTickControlsAndMarkPickers) {
    ASSERT_EQ(AddTestSeries(page, 2, 3, 0, "x"), 1);
    ASSERT_EQ(AddTestSeries(page, 2, 2, 0, "x"), 1);
    ClickCell(page, 2, data::kColumnSelect);  // x1 of series 0, a value
    EXPECT_EQ(std::tie(page.selectedRow, page.selectedParameter), std::make_tuple(2, 1));

    Choose(page, data::kShapeCombo, 13);  // the other series keeps its own marks
    EXPECT_EQ(std::tie(page.parameters[1].markShape, page.parameters[3].markShape), std::make_tuple(13, 1));
    Choose(page, data::kSizeCombo, 7);
    EXPECT_EQ(std::tie(page.parameters[1].markSize, page.parameters[1].autoSize), std::make_tuple(7, 0));
    Choose(page, data::kSizeCombo, data::kSizeItemAuto);
    EXPECT_EQ(std::tie(page.parameters[1].markSize, page.parameters[1].autoSize), std::make_tuple(11, 1));
    Choose(page, data::kColorCombo, 4);
    EXPECT_EQ(static_cast<std::uint32_t>(page.parameters[1].color), page.markColors[4]);
    dialogs.colorAnswers = {0x123456, std::nullopt};
    for (int twice = 0; twice < 2; ++twice) {  // the second is cancelled: the colour stays
        Choose(page, data::kColorCombo, data::kColorItemChoose);
        EXPECT_EQ(page.parameters[1].color, 0x123456);
    }

    // An argument takes no mark changes and hides the pickers.
    ClickCell(page, 1, data::kColumnSelect);
    ASSERT_EQ(page.selectedParameter, 0);
    const int shapeBefore = page.parameters[0].markShape;
    Choose(page, data::kShapeCombo, shapeBefore == 3 ? 4 : 3);
    EXPECT_EQ(page.parameters[0].markShape, shapeBefore);

    // The series 1 row: its series becomes the sheet's current one.
    ClickCell(page, 3, data::kColumnSelect);
    EXPECT_EQ(std::tie(page.selectedSeries, page.selectedParameter, sheetSeries, sheetTop), std::make_tuple(1, -1, 1, 0));
    // The same cell again clears the selection and hides "Modify".
    ClickCell(page, 3, data::kColumnSelect);
    EXPECT_EQ(std::tie(page.selectedRow, page.selectedSeries), std::make_tuple(-1, -1));
    EXPECT_FALSE(page.Control(data::kModifyButton).IsVisible());
}

TEST_F(DataPageTest, DeleteNormaliseAndProgress) {
    ASSERT_EQ(AddTestSeries(page, 3, 4, 0, "x"), 1);
    ClickCell(page, 2, data::kColumnSelect);  // x1
    page.SendCommand(data::kDeleteButton);
    EXPECT_EQ(page.parameterNames, (std::vector<std::string>{"x0", "x2"}));
    EXPECT_EQ(page.Control(data::kSeriesList).Count(), 3);

    page.SendCommand(data::kNormalizeAllCommand);
    std::vector<double> z;
    ASSERT_EQ(page.GetParameterValues(0, 1, z), 1);
    EXPECT_EQ(std::tie(z.front(), z.back()), std::make_tuple(0.0, 1.0));

    // Delete All ends a running progress report and the re-read timer.
    page.SetProgress(1000, "Reading text file", 30, 120);
    ASSERT_EQ(page.progressState.active, 1);
    page.syncTimerOn = 1;
    page.SetTimer(data::kSyncTimerId, 60000);
    page.SendCommand(data::kMakeAllInactiveButton);
    EXPECT_EQ(page.series[0].nValues, 0);
    page.SendCommand(data::kDeleteAllButton);
    EXPECT_TRUE(page.series.empty());
    EXPECT_EQ(std::tie(page.progressState.active, page.syncTimerOn), std::make_tuple(0, 0));
    EXPECT_FALSE(page.HasTimer(data::kSyncTimerId));
}

TEST_F(DataPageTest, CellDrawingAndHitTest) {
    ASSERT_EQ(AddTestSeries(page, 2, 2, 0, "x"), 1);
    // The real view paints the cells with the row colours.
    QWidget* viewport = page.TableView()->View()->viewport();
    const QImage shot = viewport->grab().toImage();
    const Cell centre = CellCentre(page, 2, data::kColumnArgument);
    EXPECT_EQ(platform::FromQColor(shot.pixelColor(centre.x, centre.y)), data::kValueRowColor);

    // Hit test and row mapping.
    int row = -1, column = -1, x = 0, y = 0;
    platform::Rect cell;
    ASSERT_EQ(page.HitTestHover({centre.x, centre.y}, row, column, cell, x, y), 1);
    EXPECT_EQ(std::tie(row, column), std::make_tuple(2, int(data::kColumnArgument)));
    EXPECT_EQ(page.HitTestHover({centre.x, viewport->height() - 1}, row, column, cell, x, y), 0);
    struct RowCase { int row, parameter, series, isSeriesRow; };
    for (const RowCase& k : {RowCase{0, -1, 0, 1}, RowCase{2, 1, 0, 0}, RowCase{3, -1, -1, 0}, RowCase{-1, -1, -1, 0}}) {
        int s = 7, f = 7;
        EXPECT_EQ(page.RowToParameter(k.row, s, f), k.parameter) << k.row;
        EXPECT_EQ(std::tie(s, f), std::make_tuple(k.series, k.isSeriesRow)) << k.row;
    }
}

TEST_F(DataPageTest, OwnerDrawnButtonFaces) {
    auto face = [&](int id, bool disabled) {
        platform::Bitmap b(80, 24);
        platform::Canvas dc(b);
        platform::DrawItem item;
        item.controlId = id;
        item.canvas = &dc;
        item.rect = {0, 0, 80, 24};
        item.text = "Delete";
        item.disabled = disabled;
        EXPECT_TRUE(page.OnDrawItem(item));
        return dc.GetPixel(5, 12);
    };
    EXPECT_EQ(face(data::kDeleteButton, false), platform::kBlack);  // no series: an empty face
    ASSERT_EQ(AddTestSeries(page, 2, 1, 0, "x"), 1);
    EXPECT_EQ(face(data::kDeleteButton, false), 0xCDD7FFu);
}

}  // namespace
