#include "data/data_page_list.h"

#include <algorithm>
#include <vector>

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
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

// Paints a label's text as the header line of the table: the text's pieces between bars are
// the captions of the columns in order, each centred over its column, with a bar on each
// column's right edge. The label keeps its text, font and colours.
class HeaderLine : public QObject {
public:
    static constexpr const char* kName = "seriesTableHeaderLine";

    HeaderLine(QLabel* label, QTreeWidget* view) : QObject(label), label_(label), view_(view) {
        setObjectName(QLatin1String(kName));
        label->installEventFilter(this);
        auto repaint = [label] { label->update(); };
        connect(view->header(), &QHeaderView::sectionResized, label, repaint);
        connect(view->header(), &QHeaderView::sectionCountChanged, label, repaint);
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, label, repaint);
        connect(view->horizontalScrollBar(), &QScrollBar::rangeChanged, label, repaint);
        label->update();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_ || event->type() != QEvent::Paint || !view_) return false;
        Paint();
        return true;  // the label's own one-line text is replaced
    }

private:
    struct Span {
        int left;
        int right;
    };

    void Paint() {
        QLabel* label = label_;
        QTreeWidget* view = view_;
        QPainter painter(label);
        painter.setFont(label->font());
        const QFontMetrics metrics(label->font());
        // The viewport's horizontal extent in the label: columns left or right of it are not shown.
        const int origin = label->mapFromGlobal(view->viewport()->mapToGlobal(QPoint(0, 0))).x();
        const int shownRight = origin + view->viewport()->width();
        painter.setClipRect(QRect(origin, 0, shownRight - origin, label->height()));
        const QStringList pieces = label->text().split(QLatin1Char('|'));
        const int columns = std::min<int>(view->columnCount(), pieces.size());
        const QString bar = QStringLiteral("|");
        const int barWidth = metrics.horizontalAdvance(bar);
        const int gap = metrics.horizontalAdvance(QLatin1Char(' '));

        std::vector<Span> captions;
        std::vector<int> bars;
        for (int c = 0; c < columns; ++c) {
            const QString caption = pieces[c].trimmed();
            const int left = origin + view->header()->sectionViewportPosition(c);
            const int right = left + view->columnWidth(c);
            const int width = metrics.horizontalAdvance(caption);
            int x = left + (right - left - width) / 2;
            int barX = right - barWidth / 2;
            if (width + 2 * gap > right - left) {
                // Wider than its column (the narrow Select column): from the column's left on,
                // its bar after it; at the table's visible end it is drawn back over the
                // column before, as far as needed to show whole, never past its column's end.
                x = std::max(right - width, std::min(left + barWidth, shownRight - width));
                barX = std::max(barX, x + width + gap);
            }
            captions.push_back({x, x + width});
            bars.push_back(barX);
            label->style()->drawItemText(&painter, QRect(x, 0, width, label->height()), Qt::AlignLeft | Qt::AlignTop,
                                         label->palette(), label->isEnabled(), caption, label->foregroundRole());
        }
        // A bar that a caption pushed over (scrolled to the end) would cut through it.
        for (int barX : bars) {
            const bool crosses = std::any_of(captions.begin(), captions.end(), [&](const Span& s) {
                return barX + barWidth > s.left && barX < s.right;
            });
            if (!crosses)
                label->style()->drawItemText(&painter, QRect(barX, 0, barWidth, label->height()),
                                             Qt::AlignLeft | Qt::AlignTop, label->palette(), label->isEnabled(), bar,
                                             label->foregroundRole());
        }
    }

    QPointer<QLabel> label_;
    QPointer<QTreeWidget> view_;
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

void SeriesTableView::SetHeaderLine(const platform::Control& header) {
    auto* label = qobject_cast<QLabel*>(header.Widget());
    // One painter per label, however often the page sets its table up.
    if (!view_ || !label || label->findChild<QObject*>(QLatin1String(HeaderLine::kName), Qt::FindDirectChildrenOnly))
        return;
    new HeaderLine(label, view_.data());
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
