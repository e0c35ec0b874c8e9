#pragma once
// The user's path through the main window: menu items chosen by their captions, tabs and
// controls pressed by their captions with real mouse and key events, data brought in through
// the import dialog. Every step fails the test when what it looks for is missing, hidden or
// disabled (or, for a click, covered by another widget); none calls a handler or sends a
// command itself.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QHeaderView>
#include <QTabBar>
#include <QTreeWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/tabulon_dlg.h"
#include "data/data_page.h"
#include "data/data_page_list.h"
#include "platform/clipboard.h"
#include "platform/qt_text.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"
#include "widgets/text_dialog.h"

namespace user_path {

// A caption as the user reads it: without the '&' that marks the mnemonic.
inline std::string Plain(const QString& text) {
    QString t = text;
    t.remove(QLatin1Char('&'));
    return t.toStdString();
}

// Chooses the item at `path` from the window's menu bar ({"Results", "Copy screen"}): each
// popup and the item must be there, shown and enabled. False (with a failure) otherwise.
inline bool ChooseMenu(platform::Dialog& window, const std::vector<std::string>& path) {
    QWidget* menu = window.MenuBar().Widget();
    if (!menu) {
        ADD_FAILURE() << "the window has no menu";
        return false;
    }
    std::string walked;
    const std::vector<std::string>& steps = path;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        walked += (walked.empty() ? "" : " > ") + steps[i];
        QAction* found = nullptr;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && Plain(action->text()) == steps[i]) found = action;
        }
        if (!found) {
            ADD_FAILURE() << "no menu item \"" << walked << "\"";
            return false;
        }
        if (!found->isVisible() || !found->isEnabled()) {
            ADD_FAILURE() << "menu item \"" << walked << "\" is " << (found->isVisible() ? "disabled" : "hidden");
            return false;
        }
        if (i + 1 < steps.size()) {
            if (!found->menu()) {
                ADD_FAILURE() << "menu item \"" << walked << "\" opens no menu";
                return false;
            }
            menu = found->menu();
        } else {
            found->trigger();
        }
    }
    platform::PumpWaitingMessages();
    return true;
}

// The shown control of kind `W` captioned `caption` among the descendants of `scope`;
// nullptr (with a failure saying why) when there is none, or it is hidden or disabled.
template <class W>
W* FindShown(QWidget* scope, const std::string& caption, const char* what) {
    W* hidden = nullptr;
    W* disabled = nullptr;
    for (W* w : scope->findChildren<W*>()) {
        if (Plain(w->text()) != caption) continue;
        if (!w->isVisible()) {
            hidden = w;
        } else if (!w->isEnabled()) {
            disabled = w;
        } else {
            return w;
        }
    }
    ADD_FAILURE() << what << " \"" << caption << "\" is "
                  << (disabled ? "disabled" : hidden ? "hidden" : "not there");
    return nullptr;
}

// Where the user clicks a button: a check box or radio button takes clicks on its mark and
// caption only, which need not reach the middle of a wide control, so on its mark.
inline QPoint ClickPoint(QAbstractButton* button) {
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
        return QPoint(std::min(button->height(), button->width()) / 2, button->height() / 2);
    }
    return button->rect().center();
}

// Whether a click at `at` in `w` reaches it: no other widget of its window lies on top.
inline bool Uncovered(QWidget* w, QPoint at, const std::string& caption) {
    QWidget* window = w->window();
    QWidget* top = window->childAt(window->mapFromGlobal(w->mapToGlobal(at)));
    if (top == w || w->isAncestorOf(top)) return true;
    ADD_FAILURE() << "\"" << caption << "\" lies under " << (top ? top->metaObject()->className() : "nothing");
    return false;
}

// Clicks the shown, enabled button (push button, check box or radio button) captioned
// `caption` inside `scope` at its centre, where nothing else covers it.
inline bool Press(QWidget* scope, const std::string& caption) {
    QAbstractButton* button = FindShown<QAbstractButton>(scope, caption, "button");
    if (!button) return false;
    const QPoint at = ClickPoint(button);
    if (!Uncovered(button, at, caption)) return false;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    platform::PumpWaitingMessages();
    return true;
}
inline bool Press(platform::Dialog& dialog, const std::string& caption) {
    return Press(dialog.TopWidget(), caption);
}

// Clicks the shown, enabled button that has no caption (a picture button) with the dialog's
// control id `id` inside `scope`: the user knows it by its picture, the test by its id.
inline bool PressPicture(QWidget* scope, int id) {
    for (QAbstractButton* w : scope->findChildren<QAbstractButton*>()) {
        if (w->property("tabulonControlId").toInt() != id || !w->text().isEmpty()) continue;
        if (!w->isVisible() || !w->isEnabled()) {
            ADD_FAILURE() << "picture button " << id << " is " << (w->isVisible() ? "disabled" : "hidden");
            return false;
        }
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
        platform::PumpWaitingMessages();
        return true;
    }
    ADD_FAILURE() << "no picture button " << id;
    return false;
}

// Clicks, in a shown list inside `scope`, the cell of the column headed `column` on the row
// that shows `row` in any of its cells (captions compared without surrounding blanks).
inline bool ClickCell(QWidget* scope, const std::string& row, const std::string& column) {
    for (QTreeWidget* view : scope->findChildren<QTreeWidget*>()) {
        if (!view->isVisible() || !view->isEnabled()) continue;
        int c = -1;
        for (int k = 0; k < view->columnCount(); ++k) {
            if (view->headerItem()->text(k).trimmed().toStdString() == column) c = k;
        }
        if (c < 0) continue;
        for (int r = 0; r < view->topLevelItemCount(); ++r) {
            QTreeWidgetItem* item = view->topLevelItem(r);
            bool shows = false;
            for (int k = 0; k < view->columnCount(); ++k) shows = shows || item->text(k).trimmed().toStdString() == row;
            if (!shows) continue;
            view->scrollToItem(item);
            const QRect line = view->visualItemRect(item);
            const QPoint at(view->header()->sectionViewportPosition(c) + view->header()->sectionSize(c) / 2,
                            line.center().y());
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            platform::PumpWaitingMessages();
            return true;
        }
    }
    ADD_FAILURE() << "no shown list with the cell \"" << row << "\" / \"" << column << "\"";
    return false;
}

// Picks the item `item` (trailing blanks aside) of a shown, enabled drop-down list with the
// arrow keys, as a user does without opening it.
inline bool ChooseItem(QWidget* widget, const std::string& item) {
    auto* combo = qobject_cast<QComboBox*>(widget);
    if (!combo || !combo->isVisible() || !combo->isEnabled()) {
        ADD_FAILURE() << "the list is " << (!combo ? "not there" : !combo->isVisible() ? "hidden" : "disabled");
        return false;
    }
    const QString wanted = QString::fromStdString(item).trimmed();
    int index = -1;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).trimmed() == wanted) index = i;
    }
    if (index < 0) {
        ADD_FAILURE() << "the list has no item \"" << item << "\"";
        return false;
    }
    combo->setFocus();
    for (int guard = combo->count(); combo->currentIndex() != index && guard >= 0; --guard) {
        QTest::keyClick(combo, combo->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }
    platform::PumpWaitingMessages();
    return combo->currentIndex() == index;
}

// Makes the check box captioned `caption` inside `scope` ticked (`on`) or not, clicking it only
// when it shows the other state.
inline bool Tick(QWidget* scope, const std::string& caption, bool on) {
    QAbstractButton* box = FindShown<QAbstractButton>(scope, caption, "check box");
    if (!box) return false;
    const QPoint at = ClickPoint(box);
    if (!Uncovered(box, at, caption)) return false;
    if (box->isChecked() == on) return true;
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, at);
    platform::PumpWaitingMessages();
    if (box->isChecked() != on) ADD_FAILURE() << "check box \"" << caption << "\" did not follow the click";
    return box->isChecked() == on;
}
inline bool Tick(platform::Dialog& dialog, const std::string& caption, bool on) {
    return Tick(dialog.TopWidget(), caption, on);
}

// Clicks the tab captioned `caption` of the main window's tab row.
inline bool ChooseTab(CTabulonDlg& window, const std::string& caption) {
    for (QTabBar* bar : window.TopWidget()->findChildren<QTabBar*>()) {
        for (int i = 0; i < bar->count(); ++i) {
            if (Plain(bar->tabText(i)) != caption) continue;
            if (!bar->isVisible() || !bar->isTabEnabled(i)) {
                ADD_FAILURE() << "tab \"" << caption << "\" is hidden or disabled";
                return false;
            }
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(i).center());
            platform::PumpWaitingMessages();
            return true;
        }
    }
    ADD_FAILURE() << "no tab \"" << caption << "\"";
    return false;
}

// Replaces the text of a shown, enabled edit with `text` as typed keys, then leaves the edit
// with Tab (which applies it where the page applies on leaving).
inline bool Type(QLineEdit* edit, const std::string& text, bool enter = false) {
    if (!edit || !edit->isVisible() || !edit->isEnabled()) {
        ADD_FAILURE() << "the edit is " << (!edit ? "not there" : !edit->isVisible() ? "hidden" : "disabled");
        return false;
    }
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::fromStdString(text));
    if (enter) QTest::keyClick(edit, Qt::Key_Return);
    platform::PumpWaitingMessages();
    return true;
}

// A left click on a cell of the Data page's series table, delivered as the window system would.
inline bool ClickSeriesTable(int row, int column) {
    SeriesTableView* view = theData.TableView();
    if (!view || !view->View()->isVisible() || row >= view->RowCount()) {
        ADD_FAILURE() << "the series table or its row " << row << " is not shown";
        return false;
    }
    const platform::Rect r = view->RowRect(row);
    QWidget* viewport = view->View()->viewport();
    const QPoint local(view->ColumnLeft(column) + view->ColumnWidth(column) / 2, (r.top + r.bottom) / 2);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, local);
    platform::PumpWaitingMessages();
    return true;
}

// The window's recent-files list goes to `folder`, empty: documents a test saves or opens
// stay out of the list beside the program, which every test shares.
inline void KeepRecentFilesIn(CTabulonDlg& window, const std::string& folder) {
    window.recentFilesListPath = folder + "/files_Tabulon.txt";
    window.recentFiles.fill("");
}

// Writes a text file for the import: the line `names`, then `records` lines of `row(r)`.
inline void WriteRecords(const std::string& path, const std::string& names, int records,
                         const std::function<std::string(int)>& row) {
    std::ofstream out(path);
    out << names << '\n';
    for (int r = 0; r < records; ++r) out << row(r) << '\n';
}

// Twelve records "x1 x2 y" of an exact plane (y = 1 + x1 - x2): data of two arguments.
inline void WritePlaneRecords(const std::string& path) {
    WriteRecords(path, "x1 x2 y", 12, [](int r) {
        return std::to_string(r) + ' ' + std::to_string(r * 3 % 5) + ' ' + std::to_string(1 + r - r * 3 % 5);
    });
}

// The user's data folder (where reports are kept) is `folder` while this lives.
class DataFolderAt {
public:
    explicit DataFolderAt(const std::string& folder) {
        if (const char* xdg = std::getenv("XDG_DATA_HOME")) saved_ = xdg;
        setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    ~DataFolderAt() {
        if (saved_) setenv("XDG_DATA_HOME", saved_->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
    }
    DataFolderAt(const DataFolderAt&) = delete;
    DataFolderAt& operator=(const DataFolderAt&) = delete;

private:
    std::optional<std::string> saved_;
};

// Brings the text file at `path` in through Data > "Import from text file": the file dialog
// answers `path`, the "Read from text file" dialog is left with its fields as offered and "OK".
inline bool ImportTextFile(CTabulonDlg& window, platform::ScriptedDialogs& dialogs, const std::string& path) {
    dialogs.fileAnswers.push_back(path);
    bool pressed = false;
    dialogs.modalSteps.push_back([&pressed](platform::Dialog& d) { pressed = Press(d, "OK"); });
    const bool chosen = ChooseMenu(window, {"Data", "Import from text file"});
    platform::PumpWaitingMessages();
    if (chosen && !pressed) ADD_FAILURE() << "the import dialog was not answered";
    return chosen && pressed;
}

// The result text as Results > "Copy content of result control" puts it on the clipboard.
inline std::string ResultText(CTabulonDlg& window) {
    platform::SetClipboardText("");
    if (!ChooseMenu(window, {"Results", "Copy content of result control"})) return {};
    return platform::ClipboardText();
}

// The heading of the result text: its first line that holds anything, up to a tab.
inline std::string ResultHeading(CTabulonDlg& window) {
    const std::string text = ResultText(window);
    const std::size_t start = text.find_first_not_of("\n\t ");
    if (start == std::string::npos) return {};
    return text.substr(start, text.find_first_of("\t\n", start) - start);
}

}  // namespace user_path
