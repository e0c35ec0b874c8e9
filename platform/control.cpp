#include "platform/control.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTextCursor>
#include <QTreeWidget>

#include "platform/dialog.h"
#include "platform/dialog_widgets.h"
#include "platform/qt_text.h"

namespace platform {

namespace {

const char* const kRawTextProperty = "tabulonRawText";

// The item whose text equals the wanted one, ignoring case; -1 when absent.
int FindItemNoCase(const QComboBox& combo, const QString& wanted) {
    for (int i = 0; i < combo.count(); ++i) {
        if (QString::compare(combo.itemText(i), wanted, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

// What a label shows for a caption: '&' marks the next letter, "&&" stands for '&'.
QString WithoutMnemonics(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return ToQString(shown);
}

// Multi-line edits hand out their lines separated by "\r\n", as the program's text expects.
std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string FromCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

bool LessNoCase(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

Rect ToRect(const QRect& r) { return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

}  // namespace

Control::Control(QWidget* widget, ControlKind kind, int id, unsigned style)
    : widget_(widget), kind_(kind), id_(id), style_(style) {}

// ---------------------------------------------------------------------------------------------
// Any control

std::string Control::Text() const {
    QWidget* w = widget_;
    if (!w) return std::string();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QVariant raw = label->property(kRawTextProperty);
        return raw.isValid() ? FromQString(raw.toString()) : FromQString(label->text());
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return FromQString(edit->text());
    if (auto* text = qobject_cast<QPlainTextEdit*>(w)) return ToCrLf(FromQString(text->toPlainText()));
    if (auto* combo = qobject_cast<QComboBox*>(w)) return FromQString(combo->currentText());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return FromQString(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return FromQString(group->title());
    return std::string();
}

void Control::SetText(const std::string& text) {
    QWidget* w = widget_;
    if (!w) return;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setProperty(kRawTextProperty, ToQString(text));
        label->setText(WithoutMnemonics(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(ToQString(text));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->setPlainText(ToQString(FromCrLf(text)));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(FindItemNoCase(*combo, ToQString(text)));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(ToQString(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(ToQString(text));
    }
}

void Control::Enable(bool enable) {
    if (widget_) widget_->setEnabled(enable);
}

bool Control::IsEnabled() const { return widget_ && widget_->isEnabled(); }

void Control::Show(bool show) {
    if (widget_) widget_->setVisible(show);
}

bool Control::IsVisible() const { return widget_ && !widget_->isHidden(); }

void Control::Move(int x, int y, int width, int height) {
    if (!widget_) return;
    // A combo box keeps its own height; the height given is that of its dropped list.
    if (qobject_cast<QComboBox*>(widget_)) height = widget_->sizeHint().height();
    widget_->setGeometry(x, y, std::max(0, width), std::max(0, height));
}

Rect Control::Bounds() const { return widget_ ? ToRect(widget_->geometry()) : Rect{}; }

void Control::SetFocus() {
    if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

bool Control::HasFocus() const { return widget_ && widget_->hasFocus(); }

void Control::Invalidate() {
    if (!widget_) return;
    if (Dialog* owner = OwnerOf(widget_)) owner->RefreshControlColor(id_);
    widget_->update();
}

void Control::Click() {
    if (auto* button = qobject_cast<QAbstractButton*>(widget_.data())) button->click();
}

// ---------------------------------------------------------------------------------------------
// Buttons

int Control::Check() const {
    if (auto* button = qobject_cast<QAbstractButton*>(widget_.data())) return button->isChecked() ? 1 : 0;
    return 0;
}

void Control::SetCheck(int state) {
    if (auto* box = qobject_cast<QCheckBox*>(widget_.data())) {
        const QSignalBlocker block(box);
        box->setCheckState(state == 1 ? Qt::Checked : Qt::Unchecked);
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(widget_.data());
    if (!button) return;
    const QSignalBlocker block(button);
    if (!button->isCheckable()) button->setCheckable(true);
    // An exclusive group refuses to leave every button unchecked; the program may ask for that.
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && state == 0) group->setExclusive(false);
    button->setChecked(state != 0);
    if (exclusive && state == 0) group->setExclusive(true);
}

// ---------------------------------------------------------------------------------------------
// Edits

void Control::LimitText(int maxChars) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) edit->setMaxLength(maxChars > 0 ? maxChars : 32767);
}

void Control::SetSelection(int start, int end) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) {
        const int length = static_cast<int>(edit->text().size());
        const int to = end < 0 ? length : std::min(end, length);
        const int from = std::clamp(start, 0, to);
        edit->setSelection(from, to - from);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget_.data())) {
        QTextCursor cursor = text->textCursor();
        const int length = static_cast<int>(text->toPlainText().size());
        const int to = end < 0 ? length : std::min(end, length);
        cursor.setPosition(std::clamp(start, 0, to));
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
    }
}

// ---------------------------------------------------------------------------------------------
// Items of combo boxes, list boxes, tabs and list views

int Control::AddString(const std::string& text) { return InsertString(-1, text); }

int Control::InsertString(int index, const std::string& text) {
    QWidget* w = widget_;
    const QString item = ToQString(text);
    const bool sorted = style_ & kStyleSort;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QSignalBlocker block(combo);
        int at = index < 0 || index > combo->count() ? combo->count() : index;
        if (sorted && index < 0) {
            at = 0;
            while (at < combo->count() && !LessNoCase(item, combo->itemText(at))) ++at;
        }
        combo->insertItem(at, item);
        return at;
    }
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        const QSignalBlocker block(list);
        int at = index < 0 || index > list->count() ? list->count() : index;
        if (sorted && index < 0) {
            at = 0;
            while (at < list->count() && !LessNoCase(item, list->item(at)->text())) ++at;
        }
        list->insertItem(at, item);
        return at;
    }
    if (qobject_cast<QTabBar*>(w) || qobject_cast<QTreeWidget*>(w)) return InsertItem(index, text);
    return -1;
}

bool Control::DeleteString(int index) {
    if (index < 0 || index >= Count()) return false;
    QWidget* w = widget_;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QSignalBlocker block(combo);
        combo->removeItem(index);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        const QSignalBlocker block(list);
        delete list->takeItem(index);
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        const QSignalBlocker block(tabs);
        tabs->removeTab(index);
    } else if (auto* view = qobject_cast<QTreeWidget*>(w)) {
        const QSignalBlocker block(view);
        delete view->takeTopLevelItem(index);
    }
    return true;
}

void Control::ResetContent() {
    QWidget* w = widget_;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QSignalBlocker block(combo);
        combo->clear();
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        const QSignalBlocker block(list);
        list->clear();
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        const QSignalBlocker block(tabs);
        while (tabs->count() > 0) tabs->removeTab(tabs->count() - 1);
    } else if (auto* view = qobject_cast<QTreeWidget*>(w)) {
        const QSignalBlocker block(view);
        view->clear();
    }
}

void Control::SetItems(const std::vector<std::string>& texts, bool selectAll) {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (list == nullptr || (style_ & kStyleSort)) {
        ResetContent();
        for (const std::string& text : texts) {
            const int at = AddString(text);
            if (selectAll) SetSelected(at, true);
        }
        return;
    }
    const QSignalBlocker block(list);
    list->clear();
    QStringList items;
    items.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) items.push_back(ToQString(text));
    list->addItems(items);
    if (selectAll && !texts.empty()) {
        QAbstractItemModel* model = list->model();
        const QItemSelection all(model->index(0, 0), model->index(static_cast<int>(texts.size()) - 1, 0));
        list->selectionModel()->select(all, QItemSelectionModel::Select);
    }
}

int Control::Count() const {
    QWidget* w = widget_;
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->count();
    if (auto* list = qobject_cast<QListWidget*>(w)) return list->count();
    if (auto* tabs = qobject_cast<QTabBar*>(w)) return tabs->count();
    if (auto* view = qobject_cast<QTreeWidget*>(w)) return view->topLevelItemCount();
    return 0;
}

int Control::CurSel() const {
    QWidget* w = widget_;
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentIndex();
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        if (list->selectionMode() == QAbstractItemView::SingleSelection) {
            const QList<QListWidgetItem*> selected = list->selectedItems();
            return selected.isEmpty() ? -1 : list->row(selected.front());
        }
        return list->currentRow();  // the item with the caret in a multi-selection list
    }
    if (auto* tabs = qobject_cast<QTabBar*>(w)) return tabs->currentIndex();
    if (qobject_cast<QTreeWidget*>(w)) {
        const std::vector<int> selected = SelectedItems();
        return selected.empty() ? -1 : selected.front();
    }
    return -1;
}

void Control::SetCurSel(int index) {
    QWidget* w = widget_;
    const bool valid = index >= 0 && index < Count();
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(valid ? index : -1);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        const QSignalBlocker block(list);
        list->clearSelection();
        if (valid) {
            list->setCurrentRow(index);
            list->item(index)->setSelected(true);
        }
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        const QSignalBlocker block(tabs);
        if (valid) tabs->setCurrentIndex(index);
    } else if (auto* view = qobject_cast<QTreeWidget*>(w)) {
        const QSignalBlocker block(view);
        view->clearSelection();
        if (valid) {
            view->setCurrentItem(view->topLevelItem(index));
            view->topLevelItem(index)->setSelected(true);
        }
    }
}

std::string Control::ItemText(int index) const {
    if (index < 0 || index >= Count()) return std::string();
    QWidget* w = widget_;
    if (auto* combo = qobject_cast<QComboBox*>(w)) return FromQString(combo->itemText(index));
    if (auto* list = qobject_cast<QListWidget*>(w)) return FromQString(list->item(index)->text());
    if (auto* tabs = qobject_cast<QTabBar*>(w)) return FromQString(tabs->tabText(index));
    if (auto* view = qobject_cast<QTreeWidget*>(w)) return FromQString(view->topLevelItem(index)->text(0));
    return std::string();
}

bool Control::SetItemText(int index, const std::string& text) {
    if (index < 0 || index >= Count()) return false;
    QWidget* w = widget_;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QSignalBlocker block(combo);
        combo->setItemText(index, ToQString(text));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->item(index)->setText(ToQString(text));
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        tabs->setTabText(index, ToQString(text));
    } else if (qobject_cast<QTreeWidget*>(w)) {
        return SetItemText(index, 0, text);
    }
    return true;
}

bool Control::IsSelected(int index) const {
    if (index < 0 || index >= Count()) return false;
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) return list->item(index)->isSelected();
    if (auto* view = qobject_cast<QTreeWidget*>(widget_.data())) return view->topLevelItem(index)->isSelected();
    return CurSel() == index;
}

void Control::SetSelected(int index, bool selected) {
    if (index < 0 || index >= Count()) return;
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        const QSignalBlocker block(list);
        list->item(index)->setSelected(selected);
    } else if (auto* view = qobject_cast<QTreeWidget*>(widget_.data())) {
        const QSignalBlocker block(view);
        view->topLevelItem(index)->setSelected(selected);
    } else if (selected) {
        SetCurSel(index);
    }
}

std::vector<int> Control::SelectedItems() const {
    std::vector<int> rows;
    const int n = Count();
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        for (int i = 0; i < n; ++i) {
            if (list->item(i)->isSelected()) rows.push_back(i);
        }
    } else if (auto* view = qobject_cast<QTreeWidget*>(widget_.data())) {
        for (int i = 0; i < n; ++i) {
            if (view->topLevelItem(i)->isSelected()) rows.push_back(i);
        }
    } else if (CurSel() >= 0) {
        rows.push_back(CurSel());
    }
    return rows;
}

Rect Control::ItemRect(int index) const {
    if (index < 0 || index >= Count()) return Rect{};
    QWidget* w = widget_;
    if (auto* tabs = qobject_cast<QTabBar*>(w)) return ToRect(tabs->tabRect(index));
    if (auto* list = qobject_cast<QListWidget*>(w)) return ToRect(list->visualItemRect(list->item(index)));
    if (auto* view = qobject_cast<QTreeWidget*>(w)) return ToRect(view->visualItemRect(view->topLevelItem(index)));
    return Rect{};
}

void Control::EnsureVisible(int index) {
    if (index < 0 || index >= Count()) return;
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) list->scrollToItem(list->item(index));
    if (auto* view = qobject_cast<QTreeWidget*>(widget_.data())) view->scrollToItem(view->topLevelItem(index));
}

// ---------------------------------------------------------------------------------------------
// Sliders, spins, scroll bars

void Control::SetRange(int minimum, int maximum) {
    if (auto* spin = dynamic_cast<SpinButton*>(widget_.data())) {
        spin->lower = minimum;
        spin->upper = maximum;
        spin->pos = spin->Clamp(spin->pos);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget_.data())) {
        const QSignalBlocker block(slider);
        slider->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    }
}

int Control::RangeMax() const {
    if (auto* spin = dynamic_cast<SpinButton*>(widget_.data())) return spin->upper;
    if (auto* slider = qobject_cast<QAbstractSlider*>(widget_.data())) return slider->maximum();
    return 0;
}

int Control::Pos() const {
    if (auto* spin = dynamic_cast<SpinButton*>(widget_.data())) return spin->Position();
    if (auto* slider = qobject_cast<QAbstractSlider*>(widget_.data())) return slider->value();
    return 0;
}

void Control::SetPos(int pos) {
    if (auto* spin = dynamic_cast<SpinButton*>(widget_.data())) {
        spin->SetPosition(pos);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget_.data())) {
        const QSignalBlocker block(slider);
        slider->setValue(pos);
    }
}

// ---------------------------------------------------------------------------------------------
// List views

int Control::InsertColumn(int column, const std::string& heading, int width) {
    auto* view = qobject_cast<QTreeWidget*>(widget_.data());
    if (!view) return -1;
    const int count = view->columnCount();
    const int at = column < 0 || column > count ? count : column;
    QTreeWidgetItem* header = view->headerItem();
    view->setColumnCount(count + 1);
    // Shift headings and cells right of the new column.
    for (int c = count; c > at; --c) header->setText(c, header->text(c - 1));
    for (int r = 0; r < view->topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = view->topLevelItem(r);
        for (int c = count; c > at; --c) item->setText(c, item->text(c - 1));
        item->setText(at, QString());
    }
    header->setText(at, ToQString(heading));
    header->setTextAlignment(at, Qt::AlignLeft | Qt::AlignVCenter);
    view->setColumnWidth(at, width);
    return at;
}

bool Control::DeleteColumn(int column) {
    auto* view = qobject_cast<QTreeWidget*>(widget_.data());
    if (!view || column < 0 || column >= view->columnCount()) return false;
    const int count = view->columnCount();
    QTreeWidgetItem* header = view->headerItem();
    for (int c = column; c + 1 < count; ++c) header->setText(c, header->text(c + 1));
    for (int r = 0; r < view->topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = view->topLevelItem(r);
        for (int c = column; c + 1 < count; ++c) item->setText(c, item->text(c + 1));
    }
    view->setColumnCount(count - 1);
    return true;
}

int Control::ColumnCount() const {
    auto* view = qobject_cast<QTreeWidget*>(widget_.data());
    return view ? view->columnCount() : 0;
}

int Control::ColumnWidth(int column) const {
    auto* view = qobject_cast<QTreeWidget*>(widget_.data());
    return view ? view->columnWidth(column) : 0;
}

int Control::InsertItem(int row, const std::string& text) {
    if (auto* tabs = qobject_cast<QTabBar*>(widget_.data())) {
        const QSignalBlocker block(tabs);
        return tabs->insertTab(row < 0 ? tabs->count() : row, ToQString(text));
    }
    auto* view = qobject_cast<QTreeWidget*>(widget_.data());
    if (!view) return InsertString(row, text);
    const QSignalBlocker block(view);
    const int count = view->topLevelItemCount();
    const int at = row < 0 || row > count ? count : row;
    auto* item = new QTreeWidgetItem();
    item->setText(0, ToQString(text));
    view->insertTopLevelItem(at, item);
    return at;
}

bool Control::SetItemText(int row, int column, const std::string& text) {
    auto* view = qobject_cast<QTreeWidget*>(widget_.data());
    if (!view || row < 0 || row >= view->topLevelItemCount() || column < 0 || column >= view->columnCount()) return false;
    view->topLevelItem(row)->setText(column, ToQString(text));
    return true;
}

std::string Control::ItemText(int row, int column) const {
    auto* view = qobject_cast<QTreeWidget*>(widget_.data());
    if (!view || row < 0 || row >= view->topLevelItemCount() || column < 0 || column >= view->columnCount()) return std::string();
    return FromQString(view->topLevelItem(row)->text(column));
}

// ---------------------------------------------------------------------------------------------
// Pictures

void Control::SetImage(const QImage& image) {
    if (auto* label = qobject_cast<QLabel*>(widget_.data())) label->setPixmap(QPixmap::fromImage(image));
}

}  // namespace platform
