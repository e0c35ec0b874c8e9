// Texts of the pages get the room of the font they are painted in: the Data page's series
// table has rows as high as their text (descenders included) and a name in the "Inactive"
// column beside the red square, never under it; the header line's captions stand over their
// columns, however wide these grow, and move with them; the library boxes of the multi-term
// constructor hold their texts, however long the argument's name; the Modify dialog's help
// text and its parameter line show whole and inside their boxes, whatever names they hold.
#include <functional>
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "data/data_page.h"
#include "data/data_page_list.h"
#include "formula/constructor_multi.h"
#include "platform/dialog_template.h"
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

TEST(SeriesTableLook, HeaderCaptionsStandOverTheirColumnsAndScrollWithThem) {
    mainwin_test::ScratchFolder folder("series_table_header");
    const std::string file = folder / "long_names.txt";
    // Names of 30 characters widen every role column.
    user_path::WriteRecords(file, "argument_with_a_thirty_chars_a value_with_thirty_characters_b value_with_thirty_characters_c", 6,
                            [](int r) { return std::to_string(r) + ' ' + std::to_string(r * r) + ' ' + std::to_string(3 - r); });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Data"));
            QTreeWidget* view = theData.TableView()->View();
            QLabel* header = nullptr;
            for (QLabel* label : theData.TopWidget()->findChildren<QLabel*>())
                if (label->isVisible() && label->text().contains("Selection")) header = label;
            ASSERT_NE(header, nullptr);
            const int origin = header->mapFromGlobal(view->viewport()->mapToGlobal(QPoint(0, 0))).x();
            const int shown = view->viewport()->width();
            ASSERT_GT(view->columnWidth(data::kColumnValue), 2 * QFontMetrics(header->font()).horizontalAdvance("Selection"));

            // Over every column the table shows whole stands its caption alone, a word of the
            // header line (the bars between the columns left aside); returns how many such
            // columns there were.
            const char* captions[] = {"Value", "Argument", "Inactive", "Marker", "Selection"};
            auto checkCaptions = [&](const char* when) {
                const QImage strip = header->grab().toImage();
                std::vector<QPoint> words;  // x extents of ink runs parted by 4 clear pixels
                int clear = 4;
                for (int x = 0; x < strip.width(); ++x) {
                    bool ink = false;
                    for (int y = 0; y < strip.height(); ++y)
                        ink = ink || (qGreen(strip.pixel(x, y)) > 110 && qBlue(strip.pixel(x, y)) > 110);
                    if (ink && clear >= 4) words.push_back(QPoint(x, x));
                    if (ink) words.back().setY(x);
                    clear = ink ? 0 : clear + 1;
                }
                int whole = 0;
                for (int c = 0; c < view->columnCount(); ++c) {
                    const int left = origin + view->header()->sectionViewportPosition(c);
                    const int right = left + view->columnWidth(c);
                    if (left < origin || right > origin + shown) continue;
                    ++whole;
                    std::vector<int> over;
                    for (const QPoint& w : words)
                        if (w.y() - w.x() > 3 && (w.x() + w.y()) / 2 >= left && (w.x() + w.y()) / 2 < right)
                            over.push_back(w.y() - w.x() + 1);
                    const int width = QFontMetrics(header->font()).tightBoundingRect(captions[c]).width();
                    EXPECT_EQ(over.size(), 1u) << when << ": words over the column of \"" << captions[c] << "\"";
                    if (over.size() == 1) EXPECT_NEAR(over[0], width, 3) << when << ": \"" << captions[c] << "\"";
                }
                return whole;
            };
            EXPECT_GE(checkCaptions("unscrolled"), 2);

            // Scrolled sideways to the end by clicks on the scroll bar, right of its slider.
            QScrollBar* bar = view->horizontalScrollBar();
            ASSERT_TRUE(bar->isVisible());
            for (int i = 0; i < 20 && bar->value() < bar->maximum(); ++i) {
                QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() - bar->height() - 2, bar->height() / 2));
                platform::PumpWaitingMessages();
            }
            ASSERT_EQ(bar->value(), bar->maximum());
            ASSERT_LT(view->header()->sectionViewportPosition(0), 0);
            EXPECT_GE(checkCaptions("scrolled"), 2);
            EXPECT_GE(view->header()->sectionViewportPosition(data::kColumnSelect), 0);
        },
        &dialogs);
}

TEST(ConstructorLibraryLook, BoxesHoldTheirTextsForLongArgumentNames) {
    mainwin_test::ScratchFolder folder("library_look");
    const std::string file = folder / "surface.txt";
    user_path::WriteRecords(file, "temperature_of_the_air pressure_at_the_inlet y", 12, [](int r) {
        return std::to_string(r % 5 + 1) + ' ' + std::to_string(r * 3 % 7 + 1) + ' ' + std::to_string(r * r % 11);
    });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(user_path::Press(dlg, "Best polynome"));
            ASSERT_TRUE(user_path::Press(dlg, "Add a term"));
            // The grey of the labels, antialiased against the boxes' fill.
            auto label = [](QRgb p) {
                return qRed(p) < 150 && std::abs(qRed(p) - qGreen(p)) < 25 && std::abs(qGreen(p) - qBlue(p)) < 40;
            };
            const QImage page = theConstructorMulti.TopWidget()->grab().toImage();
            std::vector<QRect> inside;
            for (const platform::Rect& r : theConstructorMulti.boxRects)
                inside.push_back(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)).adjusted(1, 1, -1, -1));
            ASSERT_EQ(inside.size(), 25u);
            int spilt = 0;
            const QRect library(QPoint(3, 45), QPoint(439, 147));
            for (int y = library.top(); y <= library.bottom(); ++y) {
                for (int x = library.left(); x <= library.right(); ++x) {
                    if (!label(page.pixel(x, y))) continue;
                    if (std::none_of(inside.begin(), inside.end(), [&](const QRect& r) { return r.contains(x, y); })) ++spilt;
                }
            }
            EXPECT_EQ(spilt, 0) << "label pixels outside their boxes";
            // Every box shows a label, and the boxes lie apart inside the library area.
            for (std::size_t i = 0; i < inside.size(); ++i) {
                EXPECT_FALSE(Box(page.copy(inside[i]), label).isNull()) << "box " << i;
                EXPECT_TRUE(library.contains(inside[i])) << "box " << i;
                for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(inside[i].intersects(inside[j])) << i << " " << j;
            }
        },
        &dialogs);
}

// Brings `file` in, ticks its last parameter on the Data page and runs `look` on the dialog
// that "Modify" shows, which is then cancelled. A `series` name is typed over the first
// series' name in the table first.
void LookAtModifyDialog(const std::string& file, int parameters, const std::function<void(platform::Dialog&)>& look,
                        const std::string& series = {}) {
    SCOPED_TRACE(file);
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Data"));
            if (!series.empty()) {
                ASSERT_TRUE(user_path::ClickSeriesTable(0, 0));
                ASSERT_TRUE(user_path::Type(qobject_cast<QLineEdit*>(theData.Control(data::kRenameEdit).Widget()), series,
                                            true));
            }
            ASSERT_TRUE(user_path::ClickSeriesTable(parameters, data::kColumnSelect));
            bool looked = false;
            dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                platform::PumpWaitingMessages();
                look(d);
                looked = true;
                EXPECT_TRUE(user_path::Press(d, "Cancel"));
            });
            ASSERT_TRUE(user_path::Press(dlg, "Modify"));
            EXPECT_TRUE(looked) << "no dialog came up";
        },
        &dialogs);
}

// The label's text needs no more lines than the label holds nor a line wider than it, laid
// out as the label lays it out (at its width, in its font, wrapped), and no control of the
// dialog lies over it or outside the dialog.
QLabel* WholeText(platform::Dialog& d, const std::function<bool(const QString&)>& which, const char* what) {
    QLabel* found = nullptr;
    for (QLabel* label : d.ClientWidget()->findChildren<QLabel*>())
        if (which(label->text())) found = label;
    if (!found) {
        ADD_FAILURE() << "no " << what;
        return nullptr;
    }
    const QRect room = found->contentsRect();
    const QRect need = QFontMetrics(found->font()).boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap,
                                                                 found->text());
    EXPECT_LE(need.height(), room.height()) << "the " << what << " is cut";
    EXPECT_LE(need.width(), room.width() + 1) << "the " << what << " runs past its box";
    const QRect client = d.ClientWidget()->rect();
    for (QWidget* w : d.ClientWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisible()) continue;
        EXPECT_TRUE(client.contains(w->geometry())) << w->metaObject()->className() << " outside the dialog";
        if (w != found) {
            EXPECT_FALSE(w->geometry().intersects(found->geometry())) << w->metaObject()->className() << " over the " << what;
        }
    }
    return found;
}

QLabel* WholeHelpText(platform::Dialog& d) {
    return WholeText(d, [](const QString& t) { return t.startsWith("A formula for modification"); }, "help text");
}

// The line after "Parameter to modify:".
QLabel* WholeParameterLine(platform::Dialog& d) {
    return WholeText(d, [](const QString& t) { return t.startsWith('\'') && t.endsWith("' series"); }, "parameter line");
}

// The text as read, without the invisible break opportunities a label may carry.
QString Shown(const QLabel* label) { return label ? label->text().remove(QChar(0x200B)) : QString(); }

// Every control stands where the dialog's table puts it, as large as the table makes it.
void TableLayout(platform::Dialog& d) {
    const platform::DialogTemplate* t = platform::FindDialogTemplate(d.TemplateId());
    ASSERT_NE(t, nullptr);
    using platform::DialogUnitsToPixelsX, platform::DialogUnitsToPixelsY;
    EXPECT_EQ(d.ClientWidget()->size(), QSize(DialogUnitsToPixelsX(t->cx), DialogUnitsToPixelsY(t->cy)));
    for (const platform::ControlTemplate& c : t->controls) {
        const QRect at = d.Control(c.id).Widget()->geometry();
        EXPECT_EQ(at.topLeft(), QPoint(DialogUnitsToPixelsX(c.x), DialogUnitsToPixelsY(c.y))) << c.id;
        if (c.kind != platform::ControlKind::ComboBox) {
            EXPECT_EQ(at.size(), QSize(DialogUnitsToPixelsX(c.cx), DialogUnitsToPixelsY(c.cy))) << c.id;
        }
    }
}

TEST(ModifyDialogLook, HelpTextStaysWholeWithLongNamesAndKeepsItsPlaceWithShortOnes) {
    mainwin_test::ScratchFolder folder("modify_help_look");
    const std::string longNames = folder / "long.txt";
    const std::vector<std::string> names = {"temperature_of_the_inlet_air_a", "pressure_at_the_outlet_pipe_bb",
                                            "concentration_of_the_acid_cccc"};
    for (const std::string& n : names) ASSERT_EQ(n.size(), 30u);
    const auto row = [](int r) { return std::to_string(r) + ' ' + std::to_string(r % 4) + ' ' + std::to_string(r * r); };
    user_path::WriteRecords(longNames, names[0] + ' ' + names[1] + ' ' + names[2], 6, row);
    LookAtModifyDialog(longNames, 3, [&](platform::Dialog& d) {
        QLabel* help = WholeHelpText(d);
        for (const std::string& n : names) EXPECT_TRUE(help && help->text().contains(QString::fromStdString(n))) << n;
    });
    LookAtModifyDialog(TABULON_SOURCE_DIR "/examples/stackloss.txt", 4, WholeHelpText);
    LookAtModifyDialog(TABULON_SOURCE_DIR "/examples/longley.txt", 7, WholeHelpText);

    // Short names leave every control where the dialog's table puts it.
    const std::string shortNames = folder / "short.txt";
    user_path::WriteRecords(shortNames, "x y z", 6, row);
    LookAtModifyDialog(shortNames, 3, [](platform::Dialog& d) {
        WholeHelpText(d);
        WholeParameterLine(d);
        TableLayout(d);
    });
}

TEST(ModifyDialogLook, ParameterLineStaysWholeAndLongUnbrokenNamesStayInTheirBoxes) {
    mainwin_test::ScratchFolder folder("modify_parameter_look");
    const auto row = [](int r) { return std::to_string(r) + ' ' + std::to_string(r % 4) + ' ' + std::to_string(r * r); };

    // Thirty characters for the parameter and for its series: the line wraps and shows whole.
    const std::string name = "temperature_of_the_inlet_air_a";
    const std::string series = "measurements_of_the_plant_ab12";
    ASSERT_EQ(name.size(), 30u);
    ASSERT_EQ(series.size(), 30u);
    const std::string longNames = folder / "long.txt";
    user_path::WriteRecords(longNames, "x y " + name, 6, row);
    LookAtModifyDialog(
        longNames, 3,
        [&](platform::Dialog& d) {
            const QLabel* line = WholeParameterLine(d);
            EXPECT_EQ(Shown(line).toStdString(), "'" + name + "' from '" + series + "' series");
            WholeHelpText(d);
        },
        series);

    // A name with no break, wider than either box, breaks inside and stays in both.
    const std::string unbroken = "flow_rate_of_the_cooling_water_through_the_second_heat_exchanger_in_litres_";
    ASSERT_EQ(unbroken.size(), 75u);
    const std::string wide = folder / "wide.txt";
    user_path::WriteRecords(wide, "x y " + unbroken, 6, row);
    LookAtModifyDialog(wide, 3, [&](platform::Dialog& d) {
        EXPECT_TRUE(Shown(WholeParameterLine(d)).contains(QString::fromStdString(unbroken)));
        EXPECT_TRUE(Shown(WholeHelpText(d)).contains(QString::fromStdString(unbroken)));
    });

    // The examples' names leave the dialog as its table lays it out.
    for (const auto& [file, parameters] : {std::pair{"/examples/stackloss.txt", 4}, std::pair{"/examples/longley.txt", 7}})
        LookAtModifyDialog(std::string(TABULON_SOURCE_DIR) + file, parameters, [](platform::Dialog& d) {
            WholeParameterLine(d);
            TableLayout(d);
        });
}

}  // namespace
