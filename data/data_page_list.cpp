#include "data/data_page_list.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "data/data_page.h"
#include "platform/bitmap.h"
#include "platform/qt_text.h"
#include "platform/text_metrics.h"

namespace {

// Rows are at least as high as the page's 20-pixel icons.
constexpr int kMinRowHeight = 20;
// Above and below a cell's text: the 2 pixels by which the decorations are shrunk, the series
// row's 1-pixel frame line and 1 clear pixel, so no line is drawn over the text.
constexpr int kTextMargin = 4;

// A row holds the text in the font the cells are painted in (descenders included) with room
// for the decorations around it.
int RowHeightFor(const data& page) {
    return std::max(platform::MetricsFor(page.listFont).height + 2 * kTextMargin, kMinRowHeight);
}

// Every cell is drawn by the page into a bitmap of the cell's size, then copied in.
class SeriesCellPainter : public QStyledItemDelegate {
public:
    SeriesCellPainter(data& page, QTreeWidget* view) : QStyledItemDelegate(view), page_(page), view_(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect r = option.rect;
        if (r.width() <= 0 || r.height() <= 0) return;
        platform::Bitmap cell(r.width(), r.height(), page_.kListBackground);
        platform::Canvas dc(cell);
        const int lastColumn = view_->columnCount() - 1;
        // The whole row's extent, in cell coordinates, for decorations spanning the row.
        const int rowLeft = view_->header()->sectionViewportPosition(0) - r.left();
        const int rowRight = view_->header()->sectionViewportPosition(lastColumn) +
                             view_->header()->sectionSize(lastColumn) - r.left();
        const std::string text = platform::FromQString(index.data(Qt::DisplayRole).toString());
        page_.DrawSeriesCell(dc, index.row(), index.column(), {0, 0, r.width(), r.height()}, rowLeft, rowRight, text);
        painter->drawImage(r.topLeft(), cell.Image());
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(RowHeightFor(page_));
        return s;
    }

private:
    data& page_;
    QTreeWidget* view_;
};

}  // namespace

SeriesTableView::SeriesTableView(data& page, const platform::Control& list)
    : page_(&page), view_(qobject_cast<QTreeWidget*>(list.Widget())) {
    QTreeWidget* view = view_.data();
    if (!view) return;
    view->setHeaderHidden(true);
    view->setItemDelegate(new SeriesCellPainter(page, view));
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setFocusPolicy(Qt::ClickFocus);
}

void SeriesTableView::SetFont(const platform::Font& font) {
    if (view_) view_->setFont(platform::ToQFont(font));
}

void SeriesTableView::SetBackground(platform::ColorRef color) {
    if (!view_) return;
    QPalette p = view_->palette();
    p.setColor(QPalette::Base, platform::ToQColor(color));
    view_->setPalette(p);
}

int SeriesTableView::TextWidth(const std::string& text) const {
    if (!view_) return 0;
    return QFontMetrics(view_->font()).horizontalAdvance(platform::ToQString(text));
}

int SeriesTableView::RowCount() const { return view_ ? view_->topLevelItemCount() : 0; }

int SeriesTableView::RowHeight() const {
    if (!view_) return kMinRowHeight;
    if (view_->topLevelItemCount() > 0) {
        const QRect r = view_->visualItemRect(view_->topLevelItem(0));
        if (r.height() > 0) return r.height();
    }
    return RowHeightFor(*page_);
}

int SeriesTableView::TopRow() const {
    if (!view_ || view_->topLevelItemCount() == 0) return 0;
    QTreeWidgetItem* item = view_->itemAt(1, 1);
    const int row = item ? view_->indexOfTopLevelItem(item) : 0;
    return std::max(0, row);
}

int SeriesTableView::RowsPerPage() const {
    if (!view_) return 0;
    return std::max(1, view_->viewport()->height() / std::max(1, RowHeight()));
}

platform::Rect SeriesTableView::RowRect(int row) const {
    if (!view_ || row < 0 || row >= view_->topLevelItemCount()) return {};
    const QRect r = view_->visualItemRect(view_->topLevelItem(row));
    const int left = ColumnLeft(0);
    int right = left;
    for (int c = 0; c < ColumnCount(); ++c) right += ColumnWidth(c);
    return {left, r.top(), right, r.bottom() + 1};
}

int SeriesTableView::ColumnCount() const { return view_ ? view_->columnCount() : 0; }

int SeriesTableView::ColumnWidth(int column) const {
    if (!view_ || column < 0 || column >= view_->columnCount()) return 0;
    return view_->columnWidth(column);
}

void SeriesTableView::SetColumnWidth(int column, int width) {
    if (view_ && column >= 0 && column < view_->columnCount()) view_->setColumnWidth(column, width);
}

int SeriesTableView::ColumnLeft(int column) const {
    if (!view_ || column < 0 || column >= view_->columnCount()) return 0;
    return view_->header()->sectionViewportPosition(column);
}

platform::Point SeriesTableView::ViewportOrigin() const {
    QWidget* client = page_->ClientWidget();
    if (!view_ || !client || !client->isAncestorOf(view_)) return {};
    const QPoint p = view_->viewport()->mapTo(client, QPoint(0, 0));
    return {p.x(), p.y()};
}

void SeriesTableView::ScrollRowToTop(int row) {
    if (!view_ || row < 0 || row >= view_->topLevelItemCount()) return;
    view_->scrollToItem(view_->topLevelItem(row), QAbstractItemView::PositionAtTop);
}

void SeriesTableView::Redraw() {
    if (view_) view_->viewport()->update();
}
