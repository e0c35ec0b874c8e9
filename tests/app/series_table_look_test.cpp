// The Data page's series table as drawn: rows as high as the text they show (descenders
// included), and a name in the "Inactive" column beside the red square, never under it.
#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "data/data_page.h"
#include "data/data_page_list.h"
#include "main_window_steps.h"
#include "user_path.h"

namespace {

// Text ink: the black of the cells' text on the row colours.
bool Ink(QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; }

// The cell of the series table in `column` on the row that shows `name`, as the table shows it.
QImage Cell(QTreeWidget* view, const std::string& name, int column) {
    for (int r = 0; r < view->topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = view->topLevelItem(r);
        if (item->text(column).trimmed().toStdString() != name) continue;
        view->scrollTo(view->model()->index(r, column));
        const QRect row = view->visualItemRect(item);
        const QRect cell(view->header()->sectionViewportPosition(column), row.top(), view->columnWidth(column),
                         row.height());
        return view->viewport()->grab().toImage().copy(cell);
    }
    ADD_FAILURE() << "no row shows " << name;
    return {};
}

// The box of the pixels of `image` that `wanted` accepts.
QRect Box(const QImage& image, bool (*wanted)(QRgb)) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (wanted(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(SeriesTableLook, RowsShowDescendersAndInactiveNamesStayBesideTheirSquare) {
    mainwin_test::ScratchFolder folder("series_table_look");
    const std::string file = folder / "names.txt";
    const std::string longName = "inactive_column_with_a_rather_long_name";
    user_path::WriteRecords(file, "a_b ab " + longName + " y", 8, [](int r) {
        return std::to_string(r) + ' ' + std::to_string(r % 3) + ' ' + std::to_string(r * r) + ' ' + std::to_string(2 * r);
    });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Data"));
            ASSERT_TRUE(user_path::ClickCell(theData.TopWidget(), longName, "Inactive"));
            QTreeWidget* view = theData.TableView()->View();

            // A series renamed in the table to a name with descenders: they show below the
            // baseline that the name without them ends on, clear of the row's frame line.
            const QRect before = Box(Cell(view, "Series #1", 0), Ink);
            ASSERT_TRUE(user_path::ClickSeriesTable(0, 0));
            ASSERT_TRUE(user_path::Type(qobject_cast<QLineEdit*>(theData.Control(data::kRenameEdit).Widget()), "Series_gy", true));
            const QImage renamed = Cell(view, "Series_gy", 0);
            const QRect after = Box(renamed, Ink);
            ASSERT_FALSE(before.isNull());
            ASSERT_FALSE(after.isNull());
            EXPECT_GE(after.bottom(), before.bottom() + 3) << "the descenders are cut off";
            const QRect frame = Box(renamed, [](QRgb p) { return qRed(p) > 100 && qRed(p) < 140 && qBlue(p) > 230; });
            EXPECT_LT(after.bottom(), frame.bottom());
            EXPECT_GT(after.top(), frame.top());

            // The long name is drawn whole, left of the red square of an inactive parameter.
            const QImage inactive = Cell(view, longName, data::kColumnInactive);
            const QRect text = Box(inactive, Ink);
            const QRect square = Box(inactive, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90; });
            ASSERT_FALSE(square.isNull());
            EXPECT_LT(text.right(), square.left()) << "the name runs under the square";
            EXPECT_GE(text.width(), theData.TableView()->TextWidth(longName) - 3) << "the name is cut";
        },
        &dialogs);
}

}  // namespace
