// The data sheet through its real widgets: one page of rows however long the series, paging
// by scroll bar, wheel and "Go to record:", cell edits, the "*" row, paste, delete, copies and
// the key moves.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "data/data_edit.h"
#include "data/data_edit_view.h"
#include "platform/clipboard.h"
#include "platform/scripted_dialogs.h"
#include "recording_store.h"

namespace {

using platform::Notification;

class DataSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        sheet.store = &store;
        ASSERT_TRUE(sheet.Create(nullptr));
        sheet.Show(true);
        sheet.Move(20, 20, 520, 420);
        QApplication::processEvents();
    }

    // Series of n parameters and R records (series s holds 1e6*s + 10*r + p), names a0, a1, ...
    void Load(int n, int records, int seriesCount = 1) {
        store.OnDeleteAll();
        for (int s = 0; s < seriesCount; ++s) ASSERT_EQ(AddTestSeries(store, n, records, s, "a"), 1);
        sheet.currentSeries = 0;
        sheet.FillDataGrid(0, 0);
    }

    platform::Control Grid() { return sheet.Control(DataEdit::kGrid); }
    platform::Control Box() { return sheet.Control(DataEdit::kCellEdit); }
    std::string Cell(int row, int column) { return Grid().ItemText(row, column); }

    // A left click at the centre of a grid cell, delivered as the window system would.
    void ClickCell(int row, int column) {
        const platform::Rect r = sheet.View()->CellRect(row, column);
        QWidget* viewport = sheet.View()->View()->viewport();
        const QPointF local((r.left + r.right) / 2, (r.top + r.bottom) / 2), global = viewport->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &release);
    }

    // Wheel notches over the grid (positive away from the user).
    void Wheel(int delta) {
        QWidget* viewport = sheet.View()->View()->viewport();
        QWheelEvent e(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &e);
    }

    void Scroll(int code, int pos = 0) {
        platform::Notify n{.id = DataEdit::kPageScroll, .code = Notification::Scroll, .pos = pos, .scrollCode = code};
        sheet.OnPageScroll(n);
    }

    static void Key(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent e(type, key, modifiers);
        QApplication::sendEvent(w, &e);
    }
    static void KeyClick(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Key(w, QEvent::KeyPress, key, modifiers);
        Key(w, QEvent::KeyRelease, key, modifiers);
    }

    // Replaces the text of the edit by typed keys, then presses Enter.
    static void TypeAndEnter(QWidget* edit, const std::string& text) {
        edit->setFocus();
        KeyClick(edit, Qt::Key_A, Qt::ControlModifier);
        for (char c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
            QApplication::sendEvent(edit, &press);
        }
        KeyClick(edit, Qt::Key_Return);
        QApplication::processEvents();
    }

    int FirstCounter() { return std::atoi(Cell(0, 0).c_str()); }

    platform::ScriptedDialogs dialogs;
    RecordingStore store;
    DataEdit sheet;
};

TEST_F(DataSheetTest, ShortSeriesShowsItsRecordsTheTextsRowAndEmptyRows) {
    Load(2, 5, 2);
    store.parameterTexts[1] = "7";
    sheet.FillDataGrid(0, 0);
    ASSERT_GT(sheet.RowsPerPage(), 6);
    EXPECT_EQ(std::tuple(Cell(4, 0), Cell(4, 2), Cell(5, 0), Cell(5, 2), Cell(6, 0)),
              std::tuple("           5", "41", "*", "7", ""));

    // Another series from the combo, from its first record.
    sheet.Control(DataEdit::kSeriesCombo).SetCurSel(1);
    sheet.SendCommand(DataEdit::kSeriesCombo, Notification::SelChange);
    EXPECT_EQ(Cell(0, 1), "1e+06");

    // No data: an empty grid and combo.
    store.OnDeleteAll();
    sheet.FillDataGrid(0, 0);
    EXPECT_EQ(std::tuple(Grid().Count(), sheet.Control(DataEdit::kSeriesCombo).Count()), std::tuple(0, 0));
}

TEST_F(DataSheetTest, LongSeriesPagesWithinOnePageOfRows) {
    const int records = 200000;
    Load(2, records);
    const int pageRows = sheet.RowsPerPage();
    const int lastTop = records - pageRows + 3;

    Scroll(platform::kScrollLineDown);
    EXPECT_EQ(FirstCounter(), 2);
    Scroll(platform::kScrollThumbPosition, records);
    Scroll(platform::kScrollLineDown);
    EXPECT_EQ(sheet.topRecord, lastTop);
    EXPECT_LE(Grid().Count(), pageRows + 4);
    // The last page ends with the texts row.
    bool star = false;
    for (int r = 0; r < Grid().Count(); ++r) star = star || Cell(r, 0) == "*";
    EXPECT_TRUE(star);

    // The wheel: P/5 records a notch, forward towards the user, bound as the line-down step.
    sheet.FillDataGridAt(0, 100);
    Wheel(-240);
    Wheel(120);
    EXPECT_EQ(sheet.topRecord, 100 + pageRows / 5);
    sheet.FillDataGridAt(0, lastTop - 1);
    sheet.OnWheel(-1200);
    EXPECT_EQ(sheet.topRecord, lastTop);
    sheet.OnWheel(120 * 1000000);
    EXPECT_EQ(sheet.topRecord, 0);

    // Thumb tracking only shows the number; "Go to record:" moves there.
    Scroll(platform::kScrollThumbTrack, 4999);
    EXPECT_EQ(sheet.Control(DataEdit::kGoToEdit).Text(), "5000");
    EXPECT_EQ(sheet.topRecord, 0);
    sheet.SendCommand(DataEdit::kGoToButton);
    EXPECT_EQ(Cell(0, 1), "49990");
}

TEST_F(DataSheetTest, EditingACellStoresNumbersAndRefusesText) {
    Load(3, 6);
    ClickCell(1, 2);
    platform::Control box = Box();
    EXPECT_EQ(box.Text(), "11");
    // Typed keys and Enter: the value is stored, the sheet stays open.
    TypeAndEnter(box.Widget(), "2.5e3");
    EXPECT_EQ(std::tuple(store.allValues[1 * 3 + 1], Cell(1, 2)), std::tuple(2500, "2500"));
    EXPECT_TRUE(sheet.IsVisible());
    // The box moved on to the next column.
    EXPECT_EQ(std::tuple(box.Text(), box.IsVisible()), std::tuple("12", true));

    TypeAndEnter(box.Widget(), "12abc");
    EXPECT_EQ(store.allValues[1 * 3 + 2], 12);
    ASSERT_EQ(dialogs.Messages(), std::vector<std::string>{"Not numeric data not allowed."});
    box.SetText("12");  // typed back as it was

    // A click on the counter column closes the box.
    ClickCell(2, 0);
    EXPECT_EQ(std::tuple(sheet.editing, box.IsVisible()), std::tuple(0, false));
}

TEST_F(DataSheetTest, LeavingACellKeepsTheTypedValue) {
    Load(3, 60);
    platform::Control box = Box();
    struct Leave {
        const char* how;
        std::function<void()> act;
    };
    const Leave leaves[] = {
        {"another cell clicked", [&] { ClickCell(2, 1); }},
        {"the sheet scrolled", [&] { Scroll(platform::kScrollLineDown); }},
        {"Go to record", [&] { sheet.SendCommand(DataEdit::kGoToButton); }},
        {"the sheet closed", [&] { sheet.SendCommand(DataEdit::kCloseButton); }},
    };
    // Opens the cell of record 1, column 3 on the first page and types into it.
    auto type = [&](const std::string& text) {
        sheet.Show(true);
        sheet.FillDataGrid(0, 0);
        ClickCell(1, 3);
        ASSERT_EQ(sheet.editing, 1);
        box.SetText(text);
    };
    double typed = 7.25;
    for (const Leave& leave : leaves) {
        SCOPED_TRACE(leave.how);
        typed += 1;
        type(std::to_string(typed));
        leave.act();
        EXPECT_EQ(store.allValues[1 * 3 + 2], typed);
    }

    // A value that is no number is refused with its message; the cell stays open.
    type("1e400");
    ClickCell(2, 1);
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"Not numeric data not allowed."});
    EXPECT_EQ(std::tie(sheet.editing, sheet.currentRow, sheet.currentColumn), std::make_tuple(1, 1, 3));
    EXPECT_EQ(store.allValues[1 * 3 + 2], typed);
}

TEST_F(DataSheetTest, PastingALongTextIsQuick) {
    // 640,000 lines once took minutes: each line was cut off the front of the rest.
    Load(2, 1);
    std::string text;
    text.reserve(640000 * 8);
    for (int i = 0; i < 640000; ++i) text += std::to_string(i % 1000) + "\t2\n";
    platform::SetClipboardText(text);
    sheet.SendCommand(DataEdit::kPasteButton);
    ASSERT_EQ(store.series[0].nRecords, 640001);
    EXPECT_EQ(std::tie(store.allValues[2 * 640000], store.allValues[2 * 640000 + 1]), std::make_tuple(999.0, 2.0));
}

TEST_F(DataSheetTest, TheTextsRowAddsARecord) {
    Load(2, 3, 2);
    ClickCell(3, 1);  // the "*" row
    Box().SetText("4");
    sheet.SendCommand(DataEdit::kOkButton);
    EXPECT_EQ(std::tie(store.parameterTexts[0], store.series[0].nRecords), std::make_tuple("4", 3));
    Box().SetText("5");
    sheet.SendCommand(DataEdit::kOkButton);
    EXPECT_EQ(store.series[0].nRecords, 4);
    EXPECT_EQ(CheckStoreInvariants(store), "");
    // The new record holds both texts; series 1 moved on.
    EXPECT_EQ(std::vector<double>(store.allValues.begin() + 6, store.allValues.begin() + 9),
              (std::vector<double>{4, 5, 1e6}));
}

TEST_F(DataSheetTest, PastingInsertsTheNumericLines) {
    Load(2, 10);
    platform::SetClipboardText("1\t2\n3\tx\n5\t6\n");
    sheet.SendCommand(DataEdit::kPasteButton);
    EXPECT_EQ(std::vector<double>(store.allValues.begin() + 20, store.allValues.end()), (std::vector<double>{1, 2, 5, 6}));

    // After the topmost selected record.
    Load(2, 10);
    Grid().SetSelected(2, true);
    Grid().SetSelected(6, true);
    platform::SetClipboardText("-1\t-2\r\n");
    sheet.SendCommand(DataEdit::kPasteButton);
    EXPECT_EQ(std::tie(store.allValues[6], store.allValues[8]), std::make_tuple(-1.0, 30.0));

    // Refused, with the message.
    const std::pair<std::string, std::string> refused[] = {
        {"a\t1\n", "Not numeric data not allowed."},
        {"1\t2\t3\n", "Number of columns in clipboard is not equal to data series."}};
    for (const auto& [text, message] : refused) {
        platform::SetClipboardText(text);
        sheet.SendCommand(DataEdit::kPasteButton);
        EXPECT_EQ(dialogs.Messages().back(), message);
        EXPECT_EQ(store.series[0].nRecords, 11);
    }
}

TEST_F(DataSheetTest, CopiesHaveTheirExactFormat) {
    Load(2, 4);
    store.parameterNames[1] = "\tb c\n";
    store.allValues[5] = 1e6;
    sheet.FillDataGrid(0, 0);
    Grid().SetSelected(0, true);
    Grid().SetSelected(2, true);
    sheet.SendCommand(DataEdit::kCopyButton);
    EXPECT_EQ(platform::ClipboardText(), "0\t1\n20\t1e+06\n");
    sheet.SendCommand(DataEdit::kCopyAllButton);
    EXPECT_EQ(platform::ClipboardText(), "a0\tb c\n0\t1\n10\t11\n20\t1e+06\n30\t31\n");

    const std::string path = ::testing::TempDir() + "sheet_save.txt";
    dialogs.fileAnswers.push_back(path);
    sheet.SendCommand(DataEdit::kSaveAsButton);
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a0\tb c\n0\t1\n10\t11\n20\t1e+06\n30\t31\n");
    std::remove(path.c_str());
}

TEST_F(DataSheetTest, DeletingSelectedRecords) {
    Load(2, 6, 2);
    Grid().SetSelected(1, true);
    Grid().SetSelected(3, true);
    sheet.SendCommand(DataEdit::kDeleteButton);
    EXPECT_EQ(platform::ClipboardText(), "10\t11\n30\t31\n");
    EXPECT_EQ(std::tie(store.allValues[2], store.allValues[4]), std::make_tuple(20.0, 40.0));

    // Every record: the series goes, the other one stays whole.
    for (int r = 0; r < 4; ++r) Grid().SetSelected(r, true);
    sheet.SendCommand(DataEdit::kDeleteButton);
    ASSERT_EQ(store.series.size(), 1u);
    EXPECT_EQ(std::tie(store.seriesNames[0], store.allValues[0]), std::make_tuple("Series #2", 1e6));
}

TEST_F(DataSheetTest, CellPositionWrapsAndPages) {
    Load(3, 100);
    const int pageRows = sheet.RowsPerPage();
    struct Case {
        int top, column, row;
        int topAfter, columnAfter, rowAfter;
    };
    const Case cases[] = {
        {5, 4, 2, 5, 1, 3},                         // beyond the last column: next row, column 1
        {5, 0, 2, 5, 3, 1},                         // before column 1: last column of the row above
        {5, 2, -1, 4, 2, 0},                        // above the page: one record up
        {0, 2, -1, 0, 2, 0},                        // not above record 0
        {5, 2, pageRows - 2, 6, 2, pageRows - 3},   // at the bottom: one record down
    };
    for (const Case& c : cases) {
        sheet.FillDataGrid(0, c.top);
        sheet.currentColumn = c.column;
        sheet.currentRow = c.row;
        sheet.NormalizeCellPosition();
        EXPECT_EQ(std::tie(sheet.topRecord, sheet.currentColumn, sheet.currentRow),
                  std::tie(c.topAfter, c.columnAfter, c.rowAfter)) << c.column << " " << c.row;
    }
}

TEST_F(DataSheetTest, KeysMoveTheCellOnlyWithControl) {
    Load(3, 20);
    ClickCell(2, 1);
    QWidget* box = Box().Widget();
    ASSERT_TRUE(box);
    KeyClick(box, Qt::Key_Right);
    EXPECT_EQ(sheet.currentColumn, 1);
    Key(box, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    KeyClick(box, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(sheet.currentRow, Box().Text()), std::tuple(3, "30"));
    Key(box, QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
}

}  // namespace
