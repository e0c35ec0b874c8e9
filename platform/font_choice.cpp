#include "platform/font_choice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt_text.h"

namespace platform {

namespace {

constexpr double kPixelsPerInch = 96.0;

double PointsOf(const QFont& q) {
    if (q.pointSizeF() > 0) return q.pointSizeF();
    return q.pixelSize() > 0 ? q.pixelSize() * 72.0 / kPixelsPerInch : 0.0;
}

// Qt's list of sizes: the list view whose items are all plain numbers.
QListView* SizeList(QFontDialog* dialog) {
    for (QListView* list : dialog->findChildren<QListView*>()) {
        QAbstractItemModel* model = list->model();
        if (!model || model->rowCount() == 0) continue;
        bool numbers = true;
        for (int row = 0; row < model->rowCount() && numbers; ++row)
            model->data(model->index(row, 0)).toString().toInt(&numbers);
        if (numbers) return list;
    }
    return nullptr;
}

// Qt's sample of the font: the line edit inside a group box.
QLineEdit* SampleLine(QFontDialog* dialog) {
    for (QGroupBox* box : dialog->findChildren<QGroupBox*>()) {
        if (auto* line = box->findChild<QLineEdit*>()) return line;
    }
    return nullptr;
}

// The largest size the list shows; 0 when it shows none.
int LargestListed(QListView* list) {
    QAbstractItemModel* model = list ? list->model() : nullptr;
    int largest = 0;
    for (int row = 0; model && row < model->rowCount(); ++row) {
        if (!list->isRowHidden(row)) largest = std::max(largest, model->data(model->index(row, 0)).toString().toInt());
    }
    return largest;
}

void HideSizesOutside(QListView* list, int minimum, int maximum) {
    QAbstractItemModel* model = list ? list->model() : nullptr;
    if (!model) return;
    for (int row = 0; row < model->rowCount(); ++row) {
        const int size = model->data(model->index(row, 0)).toString().toInt();
        list->setRowHidden(row, (minimum > 0 && size < minimum) || (maximum > 0 && size > maximum));
    }
}

// The style of `family` that shows a font of `weight` and slant `italic` best: the slant first,
// then the nearest weight (a tie goes lighter up to medium weight and heavier above it, as
// font matching does); "" when the family lists none.
QString ClosestStyle(const QString& family, int weight, bool italic) {
    QString best;
    int bestCost = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        const int w = QFontDatabase::weight(family, style);
        const int apart = std::abs(w - weight);
        const bool wrongWay = weight <= QFont::Medium ? w > weight : w < weight;
        const int cost = (QFontDatabase::italic(family, style) != italic ? 100000 : 0) + 2 * apart + (wrongWay ? 1 : 0);
        if (best.isEmpty() || cost < bestCost) {
            best = style;
            bestCost = cost;
        }
    }
    return best;
}

}  // namespace

Font FontFromQt(const QFont& q, const Font& initial) {
    Font f = initial;
    f.faceName = FromQString(q.family()).substr(0, 31);
    const int pixels = q.pixelSize() > 0 ? q.pixelSize() : static_cast<int>(PointsOf(q) * kPixelsPerInch / 72.0 + 0.5);
    f.height = -pixels;
    f.width = 0;
    f.weight = static_cast<int>(q.weight());
    f.italic = q.italic() ? 1 : 0;
    f.underline = q.underline() ? 1 : 0;
    f.strikeOut = q.strikeOut() ? 1 : 0;
    return f;
}

int PointSizeTenths(const Font& f) {
    return static_cast<int>(std::lround(std::abs(f.height) * 720.0 / kPixelsPerInch));
}

FontChoiceDialog::FontChoiceDialog(const FontRequest& request, QWidget* parent)
    : QDialog(parent), request_(request), color_(request.color) {
    setWindowTitle("Font");
    auto* layout = new QVBoxLayout(this);
    fonts_ = new QFontDialog(this);
    fonts_->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
    fonts_->setWindowFlags(Qt::Widget);
    layout->addWidget(fonts_);
    auto* row = new QHBoxLayout;
    if (request_.minPointSize > 0 && request_.maxPointSize > 0) {
        row->addWidget(
            new QLabel(QString("Sizes %1 to %2 points").arg(request_.minPointSize).arg(request_.maxPointSize), this));
    }
    if (!request_.effects) {
        // Qt's effects box holds the underline and strike-out checks: not offered here.
        for (QGroupBox* box : fonts_->findChildren<QGroupBox*>()) {
            if (!box->findChildren<QCheckBox*>().isEmpty()) box->hide();
        }
    } else {
        row->addWidget(new QLabel("Colour:", this));
        colorButton_ = new QPushButton(this);
        colorButton_->setFixedWidth(60);
        connect(colorButton_, &QPushButton::clicked, this, [this] { PickColor(); });
        row->addWidget(colorButton_);
        ShowColor();
    }
    row->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    row->addWidget(buttons);
    layout->addLayout(row);
    connect(fonts_, &QFontDialog::currentFontChanged, this, [this](const QFont& f) { FontChanged(f); });
    // The dialog works in whole points; a record of no height opens at the face's own size.
    QFont start = ToQFont(request_.font);
    const double points = request_.font.height != 0 ? PointSizeTenths(request_.font) / 10.0 : PointsOf(start);
    start.setPointSize(LimitedPoints(points > 0 ? points : 12.0));
    sizeLimited_ = points <= 0 || start.pointSize() != static_cast<int>(std::lround(points));
    // Qt's dialog finds the style by its name and otherwise takes the first the face lists,
    // often a slanted one: it is given the face as installed and that face's own closest style.
    if (!QFontDatabase::families().contains(start.family())) start.setFamily(QFontInfo(start).family());
    const QString style = ClosestStyle(start.family(), start.weight(), start.italic());
    if (!style.isEmpty()) start.setStyleName(style);
    SetCurrentFont(start);
    opened_ = fonts_->currentFont();
    // Qt's dialog fills its size list anew for each family and style: hide again each time.
    if (QListView* sizes = SizeList(fonts_); sizes && (request_.minPointSize > 0 || request_.maxPointSize > 0)) {
        auto hide = [this, sizes] { HideSizesOutside(sizes, request_.minPointSize, request_.maxPointSize); };
        connect(sizes->model(), &QAbstractItemModel::modelReset, this, hide);
        connect(sizes->model(), &QAbstractItemModel::rowsInserted, this, hide);
        hide();
    }
    // Qt's sample line takes no room of its own: it only gets what the row beside it leaves,
    // none at all once the effects box is hidden.
    sample_ = SampleLine(fonts_);
    FitSample(fonts_->currentFont());
}

void FontChoiceDialog::FitSample(const QFont& font) {
    if (!sample_) return;
    int points = request_.maxPointSize;
    if (points <= 0) points = std::max(LargestListed(SizeList(fonts_)), static_cast<int>(std::ceil(PointsOf(font))));
    if (points <= 0) return;
    QFont largest = font;
    largest.setPointSize(points);
    QLineEdit probe;
    probe.setFont(largest);
    // Only ever taller, so the dialog does not jump as the user goes through the faces.
    sample_->setMinimumHeight(std::max(sample_->minimumHeight(), probe.sizeHint().height()));
}

int FontChoiceDialog::LimitedPoints(double points) const {
    int whole = std::max(1, static_cast<int>(std::lround(points)));
    if (request_.minPointSize > 0) whole = std::max(whole, request_.minPointSize);
    if (request_.maxPointSize > 0) whole = std::min(whole, request_.maxPointSize);
    return whole;
}

void FontChoiceDialog::SetCurrentFont(const QFont& font) { fonts_->setCurrentFont(font); }

void FontChoiceDialog::FontChanged(const QFont& font) {
    if (adjusting_) return;
    FitSample(font);
    const double points = PointsOf(font);
    QFont fixed = font;
    bool change = false;
    const bool below = request_.minPointSize > 0 && points < request_.minPointSize;
    const bool above = request_.maxPointSize > 0 && points > request_.maxPointSize;
    if (points <= 0 || below || above) {
        fixed.setPointSize(LimitedPoints(points));
        change = true;
    }
    if (!request_.effects && (font.underline() != (request_.font.underline != 0) ||
                              font.strikeOut() != (request_.font.strikeOut != 0))) {
        // Without effects the dialog offers no underline or strike-out: they stay as they were.
        fixed.setUnderline(request_.font.underline != 0);
        fixed.setStrikeOut(request_.font.strikeOut != 0);
        change = true;
    }
    if (change) {
        adjusting_ = true;
        fonts_->setCurrentFont(fixed);
        adjusting_ = false;
    }
}

void FontChoiceDialog::SetColor(ColorRef color) {
    color_ = color;
    ShowColor();
}

void FontChoiceDialog::PickColor() {
    const QColor c = QColorDialog::getColor(ToQColor(color_), this);
    if (c.isValid()) SetColor(FromQColor(c));
}

void FontChoiceDialog::ShowColor() {
    if (!colorButton_) return;
    colorButton_->setStyleSheet(QString("background-color: %1").arg(ToQColor(color_).name()));
}

FontChoice FontChoiceDialog::Choice() const {
    const QFont q = fonts_->currentFont();
    FontChoice choice;
    choice.font = FontFromQt(q, request_.font);
    choice.color = request_.effects ? color_ : request_.color;
    choice.pointSize = static_cast<int>(std::lround(PointsOf(q) * 10.0));
    if (q == opened_) {
        // Nothing picked: the record stays as it came, its size too unless the limits moved it.
        choice.font = request_.font;
        if (sizeLimited_) {
            choice.font.height = -static_cast<int>(std::lround(PointsOf(q) * kPixelsPerInch / 72.0));
            choice.font.width = 0;
        } else if (request_.font.height != 0) {
            choice.pointSize = PointSizeTenths(request_.font);
        }
    }
    return choice;
}

}  // namespace platform
