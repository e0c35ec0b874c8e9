#include "platform/dialog_widgets.h"

#include <algorithm>
#include <limits>
#include <vector>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QWheelEvent>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/exchange.h"
#include "platform/qt_text.h"
#include "platform/requests.h"

namespace platform {

namespace {

const char* const kIdProperty = "tabulonControlId";

unsigned MouseFlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    unsigned flags = 0;
    if (buttons & Qt::LeftButton) flags |= kMouseLeft;
    if (buttons & Qt::RightButton) flags |= kMouseRight;
    if (buttons & Qt::MiddleButton) flags |= kMouseMiddle;
    if (modifiers & Qt::ShiftModifier) flags |= kMouseShift;
    if (modifiers & Qt::ControlModifier) flags |= kMouseControl;
    return flags;
}

Point PointOf(const QPoint& p) { return Point{p.x(), p.y()}; }

}  // namespace

int KeyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kKeyNumpad0 + (qtKey - Qt::Key_0);
        switch (qtKey) {
            case Qt::Key_Asterisk: return kKeyMultiply;
            case Qt::Key_Plus: return kKeyAdd;
            case Qt::Key_Minus: return kKeySubtract;
            case Qt::Key_Period:
            case Qt::Key_Comma: return kKeyDecimal;  // the decimal key sends the locale's separator
            case Qt::Key_Slash: return kKeyDivide;
            default: break;
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kKeyF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return kKeyBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return kKeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return kKeyReturn;
        case Qt::Key_Shift: return kKeyShift;
        case Qt::Key_Control: return kKeyControl;
        case Qt::Key_Alt: return kKeyAlt;
        case Qt::Key_Escape: return kKeyEscape;
        case Qt::Key_Space: return kKeySpace;
        case Qt::Key_PageUp: return kKeyPageUp;
        case Qt::Key_PageDown: return kKeyPageDown;
        case Qt::Key_End: return kKeyEnd;
        case Qt::Key_Home: return kKeyHome;
        case Qt::Key_Left: return kKeyLeft;
        case Qt::Key_Up: return kKeyUp;
        case Qt::Key_Right: return kKeyRight;
        case Qt::Key_Down: return kKeyDown;
        case Qt::Key_Insert: return kKeyInsert;
        case Qt::Key_Delete: return kKeyDelete;
        case Qt::Key_Clear: return kKeyClear;
        default: return 0;
    }
}

Dialog* OwnerOf(const QWidget* widget) {
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* client = dynamic_cast<DialogClient*>(w)) return client->Owner();
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

DialogClient::DialogClient(Dialog* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    // paintEvent fills what the surface does not cover: Qt's own fill of the whole area under
    // it would be painted over at once, and large fills go through Qt's worker threads.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setFont(DialogFont());
}

QFont DialogFont() {
    QFont f = QGuiApplication::font();
    f.setPixelSize(11);
    return f;
}

DialogClient::~DialogClient() {
    if (owner_) owner_->WindowDestroyed();
}

int DialogClient::PaintRequestType() {
    static const int type = QEvent::registerEventType();
    return type;
}

int DialogClient::JobRequestType() {
    static const int type = QEvent::registerEventType();
    return type;
}

void DialogClient::WatchControl(QWidget* control, int id) {
    control->setProperty(kIdProperty, id);
    control->installEventFilter(this);
    if (auto* area = dynamic_cast<QAbstractScrollArea*>(control)) {
        area->viewport()->setProperty(kIdProperty, id);
        area->viewport()->installEventFilter(this);
    }
    for (QToolButton* arrow : control->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        arrow->setProperty(kIdProperty, id);
        arrow->installEventFilter(this);
    }
}

bool DialogClient::event(QEvent* e) {
    if (e->type() == PaintRequestType()) {
        if (owner_) owner_->PaintRequested();
        return true;
    }
    if (e->type() == JobRequestType()) {
        if (owner_) DeliverJobRequest(owner_);
        return true;
    }
    return QWidget::event(e);
}

bool DialogClient::PreTranslate(QEvent* e, int controlId, QWidget* source) {
    if (!owner_) return false;
    InputEvent in;
    in.controlId = controlId;
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(e);
            in.kind = e->type() == QEvent::KeyPress ? InputEvent::KeyDown : InputEvent::KeyUp;
            in.key = KeyCodeOf(k->key(), k->modifiers());
            in.keypad = k->modifiers() & Qt::KeypadModifier;
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            const bool left = m->button() == Qt::LeftButton;
            const bool right = m->button() == Qt::RightButton;
            if (e->type() == QEvent::MouseMove) {
                in.kind = InputEvent::MouseMove;
            } else if (e->type() == QEvent::MouseButtonPress && (left || right)) {
                in.kind = left ? InputEvent::LButtonDown : InputEvent::RButtonDown;
            } else if (e->type() == QEvent::MouseButtonRelease && (left || right)) {
                in.kind = left ? InputEvent::LButtonUp : InputEvent::RButtonUp;
            } else if (e->type() == QEvent::MouseButtonDblClick && left) {
                in.kind = InputEvent::LButtonDblClk;
            } else {
                return false;
            }
            in.flags = MouseFlagsOf(m->buttons(), m->modifiers());
            const QPoint local = m->position().toPoint();
            in.point = PointOf(source == this ? local : source->mapTo(this, local));
            break;
        }
        default:
            return false;
    }
    bool swallow = false;
    Dialog* owner = owner_;
    owner->Dispatch([&] { swallow = owner->PreTranslateInput(in); });
    return swallow;
}

bool DialogClient::eventFilter(QObject* watched, QEvent* e) {
    auto* source = qobject_cast<QWidget*>(watched);
    if (!owner_ || !source) return false;
    const int id = source->property(kIdProperty).toInt();
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return PreTranslate(e, id, source);
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            if (static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason) return false;
            if (dynamic_cast<QLineEdit*>(source) || dynamic_cast<QPlainTextEdit*>(source)) {
                // The line edit inside an editable combo is not an edit control of its own.
                if (dynamic_cast<QComboBox*>(source->parentWidget())) return false;
                Notify n;
                n.id = id;
                n.code = e->type() == QEvent::FocusIn ? Notification::EditSetFocus : Notification::EditKillFocus;
                owner_->DispatchNotify(n);
            }
            return false;
        }
        default:
            return false;
    }
}

void DialogClient::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    QRegion background = e->region();
    if (owner_ && owner_->surface_) {
        const QImage& surface = owner_->surface_->Image();
        const QRect covered = e->rect() & surface.rect();
        if (!covered.isEmpty()) p.drawImage(covered, surface, covered);
        background -= covered;
    }
    for (const QRect& r : background) p.fillRect(r, palette().brush(backgroundRole()));
}

void DialogClient::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (!owner_) return;
    owner_->GrowSurface();
    Dialog* owner = owner_;
    const int type = owner->IsMaximized() ? kSizeMaximized : kSizeRestored;
    owner->Dispatch([owner, type, w = width(), h = height()] { owner->OnSize(type, w, h); });
    if (owner_) owner_->RequestPaint();
}

void DialogClient::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    // A window reports its moves through its frame; a page through its client.
    if (!owner_ || isWindow() || !parentWidget() || dynamic_cast<DialogFrame*>(parentWidget())) return;
    Dialog* owner = owner_;
    owner->Dispatch([owner, x = e->pos().x(), y = e->pos().y()] { owner->OnMove(x, y); });
}

void DialogClient::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!owner_ || e->spontaneous()) return;
    Dialog* owner = owner_;
    owner->Dispatch([owner] { owner->OnShowWindow(true); });
    if (owner_) owner_->RefreshControlColors();
    if (owner_) owner_->RequestPaint();
}

void DialogClient::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (!owner_ || e->spontaneous()) return;
    Dialog* owner = owner_;
    owner->Dispatch([owner] { owner->OnShowWindow(false); });
}

void DialogClient::mousePressEvent(QMouseEvent* e) {
    if (!owner_ || PreTranslate(e, 0, this)) return;
    Dialog* owner = owner_;
    const unsigned flags = MouseFlagsOf(e->buttons(), e->modifiers());
    const Point p = PointOf(e->position().toPoint());
    if (e->button() == Qt::LeftButton) owner->Dispatch([=] { owner->OnLButtonDown(flags, p); });
}

void DialogClient::mouseReleaseEvent(QMouseEvent* e) {
    if (!owner_ || PreTranslate(e, 0, this)) return;
    Dialog* owner = owner_;
    const unsigned flags = MouseFlagsOf(e->buttons(), e->modifiers());
    const Point p = PointOf(e->position().toPoint());
    if (e->button() == Qt::LeftButton) owner->Dispatch([=] { owner->OnLButtonUp(flags, p); });
}

// Offered to PreTranslateInput only; not passed on as a second press.
void DialogClient::mouseDoubleClickEvent(QMouseEvent* e) {
    if (owner_) PreTranslate(e, 0, this);
}

void DialogClient::mouseMoveEvent(QMouseEvent* e) {
    if (!owner_ || PreTranslate(e, 0, this)) return;
    Dialog* owner = owner_;
    const unsigned flags = MouseFlagsOf(e->buttons(), e->modifiers());
    const Point p = PointOf(e->position().toPoint());
    owner->Dispatch([=] { owner->OnMouseMove(flags, p); });
}

void DialogClient::wheelEvent(QWheelEvent* e) {
    if (owner_) e->ignore();
}

bool DialogClient::DialogKey(QKeyEvent* e) {
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape) return false;
    Dialog* owner = owner_;
    if (enter) {
        const int defaultId = owner->DefaultButtonId();
        platform::Control button = owner->Control(defaultId);
        if (defaultId != 0 && button.IsValid() && button.IsEnabled() && button.Widget()->isVisible()) {
            button.Click();
            return true;
        }
    }
    // A page inside another window never ends on a key: only windows of their own do.
    if (!owner->TopWidget() || !owner->TopWidget()->isWindow()) return true;
    if (owner->KeysEndDialog()) owner->SendCommand(enter ? kOk : kCancel);
    return true;
}

void DialogClient::keyPressEvent(QKeyEvent* e) {
    if (!owner_) return;
    // Keys a control left alone come up to here; they were offered to PreTranslateInput already.
    QWidget* focus = QApplication::focusWidget();
    const bool fromControl = focus && focus != this && isAncestorOf(focus);
    if (!fromControl && PreTranslate(e, 0, this)) return;
    if (DialogKey(e)) return;
    if (fromControl) e->ignore();
}

void DialogClient::keyReleaseEvent(QKeyEvent* e) {
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != this && isAncestorOf(focus)) {
        e->ignore();
        return;
    }
    if (owner_) PreTranslate(e, 0, this);
}

void DialogClient::contextMenuEvent(QContextMenuEvent* e) {
    if (!owner_) return;
    Menu menu = owner_->SystemMenu();
    if (!menu.IsValid() || menu.ItemCount() == 0) return;
    static_cast<QMenu*>(menu.Widget())->popup(e->globalPos());
}

// ---------------------------------------------------------------------------------------------

DialogFrame::DialogFrame(Dialog* owner, QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), owner_(owner) {}

void DialogFrame::closeEvent(QCloseEvent* e) {
    if (!owner_) {
        e->accept();
        return;
    }
    // The dialog decides: by default closing ends it as Cancel does.
    e->ignore();
    Dialog* owner = owner_;
    owner->Dispatch([owner] { owner->OnClose(); });
}

void DialogFrame::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    if (!owner_) return;
    Dialog* owner = owner_;
    const QPoint p = centralWidget() ? centralWidget()->mapToGlobal(QPoint(0, 0)) : pos();
    owner->Dispatch([owner, p] { owner->OnMove(p.x(), p.y()); });
}

void DialogFrame::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (!owner_ || e->type() != QEvent::WindowStateChange) return;
    Dialog* owner = owner_;
    if (isMinimized()) owner->Dispatch([owner] { owner->OnSize(kSizeMinimized, 0, 0); });
    // The show state is part of what the program's paint handler looks at.
    if (owner_) owner_->RequestPaint();
}

// ---------------------------------------------------------------------------------------------

SpinButton::SpinButton(bool horizontal, QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)), horizontal_(horizontal) {
    up_->setArrowType(horizontal ? Qt::RightArrow : Qt::UpArrow);
    down_->setArrowType(horizontal ? Qt::LeftArrow : Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    QObject::connect(up_, &QToolButton::clicked, this, [this] {
        if (onStep) onStep(+1);
    });
    QObject::connect(down_, &QToolButton::clicked, this, [this] {
        if (onStep) onStep(-1);
    });
}

int SpinButton::Clamp(int p) const {
    const int lo = std::min(lower, upper);
    const int hi = std::max(lower, upper);
    return std::clamp(p, lo, hi);
}

int SpinButton::Position() {
    if (setBuddyInt && buddy) {
        int typed = 0;
        if (Exchange::ParseInt(Control(buddy, ControlKind::Edit, -1, 0).Text(), typed)) pos = Clamp(typed);
    }
    return pos;
}

void SpinButton::SetPosition(int value) {
    pos = Clamp(value);
    if (setBuddyInt && buddy) Control(buddy, ControlKind::Edit, -1, 0).SetText(std::to_string(pos));
}

void SpinButton::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (horizontal_) {
        const int half = width() / 2;
        down_->setGeometry(0, 0, half, height());
        up_->setGeometry(half, 0, width() - half, height());
    } else {
        const int half = height() / 2;
        up_->setGeometry(0, 0, width(), half);
        down_->setGeometry(0, half, width(), height() - half);
    }
}

// ---------------------------------------------------------------------------------------------

namespace {

// Lets the dialog paint one item into a bitmap of its size; false when it leaves the item alone.
bool PaintOwnerItem(Dialog* owner, DrawItem& item, Bitmap& bitmap) {
    if (!owner || bitmap.IsNull()) return false;
    bool painted = false;
    {
        Canvas canvas(bitmap);
        // As for the control itself: its caption in the dialog font unless the page picks another.
        static const Font dialogFont = OwnerDrawFont();
        canvas.SelectFont(dialogFont);
        item.canvas = &canvas;
        item.rect = Rect{0, 0, bitmap.Width(), bitmap.Height()};
        owner->Dispatch([&] { painted = owner->OnDrawItem(item); });
        item.canvas = nullptr;
    }
    return painted;
}

}  // namespace

OwnerDrawButton::OwnerDrawButton(int id, QWidget* parent) : QPushButton(parent), id_(id) {}

void OwnerDrawButton::paintEvent(QPaintEvent* e) {
    DrawItem item;
    item.controlId = id_;
    item.text = FromQString(text());
    item.pressed = isDown() || isChecked();
    item.focused = hasFocus();
    item.disabled = !isEnabled();
    Bitmap bitmap(width(), height());
    if (PaintOwnerItem(OwnerOf(this), item, bitmap)) {
        QPainter p(this);
        p.drawImage(0, 0, bitmap.Image());
        return;
    }
    QPushButton::paintEvent(e);
}

TabRow::TabRow(int id, bool ownerDraw, QWidget* parent) : QTabBar(parent), id_(id), ownerDraw_(ownerDraw) {
    setExpanding(false);
    setDrawBase(true);
    setUsesScrollButtons(true);
}

namespace {

// The owner draws the icon 3 pixels in, the text 4 pixels after it, and leaves 3 at the right.
constexpr int kOwnerTabLeft = 3;
constexpr int kOwnerTabIconGap = 4;
constexpr int kOwnerTabRight = 3;

}  // namespace

int TabRow::OwnerTabOverhead(int index) const {
    const bool icon = !tabIcon(index).isNull();
    return kOwnerTabLeft + (icon ? iconSize().width() + kOwnerTabIconGap : 0) + kOwnerTabRight;
}

int TabRow::OwnerTabTextCap() const {
    const int n = count();
    if (n == 0 || width() <= 0) return std::numeric_limits<int>::max();
    std::vector<int> texts;
    int room = width();
    for (int i = 0; i < n; ++i) {
        texts.push_back(fontMetrics().horizontalAdvance(tabText(i)));
        room -= OwnerTabOverhead(i);
    }
    std::sort(texts.begin(), texts.end());
    // The largest cap c with sum(min(text, c)) <= room.
    int used = 0;
    for (int k = 0; k < n; ++k) {
        const int left = n - k;
        if (used + texts[k] * left > room) return std::max(0, (room - used) / left);
        used += texts[k];
    }
    return std::numeric_limits<int>::max();
}

QSize TabRow::tabSizeHint(int index) const {
    const QSize natural = QTabBar::tabSizeHint(index);
    if (!ownerDraw_) return natural;
    const int text = fontMetrics().horizontalAdvance(tabText(index));
    return QSize(OwnerTabOverhead(index) + std::min(text, OwnerTabTextCap()), natural.height());
}

void TabRow::paintEvent(QPaintEvent* e) {
    Dialog* owner = ownerDraw_ ? OwnerOf(this) : nullptr;
    if (owner && count() > 0) {
        std::vector<std::pair<QRect, Bitmap>> faces;
        bool all = true;
        for (int i = 0; i < count() && all; ++i) {
            const QRect r = tabRect(i);
            DrawItem item;
            item.controlId = id_;
            item.item = i;
            item.text = FromQString(tabText(i));
            item.selected = i == currentIndex();
            item.disabled = !isTabEnabled(i);
            Bitmap bitmap(r.width(), r.height());
            all = PaintOwnerItem(owner, item, bitmap);
            faces.emplace_back(r, std::move(bitmap));
        }
        if (all) {
            QPainter p(this);
            for (const auto& [r, bitmap] : faces) p.drawImage(r.topLeft(), bitmap.Image());
            return;
        }
    }
    QTabBar::paintEvent(e);
}

}  // namespace platform
