#include "data/data_edit_view.h"

#include <algorithm>

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include "data/data_edit.h"
#include "platform/color.h"
#include "platform/qt_text.h"

namespace {

// The sheet draws every cell: the counter column in its colours, the others on white, each
// framed; the text starts one pixel inside the cell.
class SheetCellPainter : public QStyledItemDelegate {
public:
    SheetCellPainter(QTreeWidget* view) : QStyledItemDelegate(view), view_(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect r = option.rect;
        if (r.width() <= 0 || r.height() <= 0) return;
        const bool counter = index.column() == 0;
        const bool selected = option.state & QStyle::State_Selected;
        const platform::ColorRef back = counter ? (selected ? DataEdit::kCounterBackSelected : DataEdit::kCounterBack)
                                                : platform::kWhite;
        painter->save();
        painter->fillRect(r, platform::ToQColor(back));
        painter->setPen(QPen(platform::ToQColor(DataEdit::kCellFrame), 1));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
        painter->setPen(platform::ToQColor(counter ? DataEdit::kCounterText : platform::kBlack));
        painter->setFont(view_->font());
        painter->drawText(r.adjusted(1, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

private:
    QTreeWidget* view_;
};

// The wheel pages the sheet instead of scrolling the one page of rows.
class WheelToSheet : public QObject {
public:
    WheelToSheet(DataEdit& sheet, QObject* parent) : QObject(parent), sheet_(sheet) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Wheel) return QObject::eventFilter(watched, e);
        const int delta = static_cast<QWheelEvent*>(e)->angleDelta().y();
        if (delta != 0) sheet_.Dispatch([&] { sheet_.OnWheel(delta); });
        return true;
    }

private:
    DataEdit& sheet_;
};

}  // namespace

DataSheetView::DataSheetView(DataEdit& sheet, const platform::Control& list)
    : sheet_(&sheet), view_(qobject_cast<QTreeWidget*>(list.Widget())) {
    QTreeWidget* view = view_.data();
    if (!view) return;
    view->setItemDelegate(new SheetCellPainter(view));
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFocusPolicy(Qt::ClickFocus);
    wheelFilter_ = new WheelToSheet(sheet, view);
    view->viewport()->installEventFilter(wheelFilter_);
    view->installEventFilter(wheelFilter_);
}

DataSheetView::~DataSheetView() {
    if (view_ && wheelFilter_) {
        view_->viewport()->removeEventFilter(wheelFilter_);
        view_->removeEventFilter(wheelFilter_);
        delete wheelFilter_;
    }
}

void DataSheetView::SetBackground(unsigned color) {
    if (!view_) return;
    QPalette p = view_->palette();
    p.setColor(QPalette::Base, platform::ToQColor(color));
    view_->setPalette(p);
}

int DataSheetView::TextWidth(const std::string& text) const {
    if (!view_) return 0;
    return QFontMetrics(view_->font()).horizontalAdvance(platform::ToQString(text));
}

int DataSheetView::RowHeight() const {
    if (!view_) return 16;
    if (view_->topLevelItemCount() > 0) {
        const QRect r = view_->visualItemRect(view_->topLevelItem(0));
        if (r.height() > 0) return r.height();
    }
    return std::max(QFontMetrics(view_->font()).height() + 2, 16);
}

int DataSheetView::RowsPerPage() const {
    if (!view_) return 0;
    return std::max(1, view_->viewport()->height() / std::max(1, RowHeight()));
}

int DataSheetView::RowAt(int y) const {
    if (!view_ || y < 0) return -1;
    QTreeWidgetItem* item = view_->itemAt(1, y);
    return item ? view_->indexOfTopLevelItem(item) : -1;
}

int DataSheetView::ColumnAt(int x) const {
    if (!view_) return -1;
    return view_->header()->logicalIndexAt(x);
}

platform::Rect DataSheetView::CellRect(int row, int column) const {
    if (!view_ || row < 0 || row >= view_->topLevelItemCount() || column < 0 || column >= view_->columnCount()) {
        return {};
    }
    const QRect r = view_->visualItemRect(view_->topLevelItem(row));
    const int left = view_->header()->sectionViewportPosition(column);
    return {left, r.top(), left + view_->header()->sectionSize(column), r.bottom() + 1};
}

int DataSheetView::ViewportWidth() const { return view_ ? view_->viewport()->width() : 0; }

platform::Point DataSheetView::ViewportOrigin() const {
    QWidget* client = sheet_->ClientWidget();
    if (!view_ || !client || !client->isAncestorOf(view_)) return {};
    const QPoint p = view_->viewport()->mapTo(client, QPoint(0, 0));
    return {p.x(), p.y()};
}

int DataSheetView::HorizontalOffset() const { return view_ ? view_->horizontalScrollBar()->value() : 0; }

void DataSheetView::SetHorizontalOffset(int pixels) {
    if (view_) view_->horizontalScrollBar()->setValue(std::max(0, pixels));
}

void DataSheetView::Redraw() {
    if (view_) view_->viewport()->update();
}
