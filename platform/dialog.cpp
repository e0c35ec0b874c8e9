#include "platform/dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRegion>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>

#include "platform/dialog_widgets.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/guard.h"
#include "platform/qt_text.h"
#include "platform/requests.h"

namespace platform {

namespace {

// The shortest timer period: shorter ones would tick at every pass of the event loop.
constexpr int kMinimumTimerMs = 10;

ColorRef FaceColor(const QWidget* w) { return FromQColor(w->palette().color(QPalette::Window)); }

int ScrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: return kScrollLineDown;
        case QAbstractSlider::SliderSingleStepSub: return kScrollLineUp;
        case QAbstractSlider::SliderPageStepAdd: return kScrollPageDown;
        case QAbstractSlider::SliderPageStepSub: return kScrollPageUp;
        case QAbstractSlider::SliderToMinimum: return kScrollTop;
        case QAbstractSlider::SliderToMaximum: return kScrollBottom;
        case QAbstractSlider::SliderMove: return kScrollThumbTrack;
        default: return kScrollEnd;
    }
}

}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::~Dialog() {
    if (MainWindow() == this) SetMainWindow(nullptr);
    if (client_) client_->DetachOwner();
    if (frame_) frame_->DetachOwner();
    if (QCoreApplication::instance()) {
        timers_.clear();
        delete TopWidget();
    } else {
        // Too late to delete widgets or timers: the application is gone with its windows.
        for (auto& [id, timer] : timers_) (void)timer.release();
    }
}

// ---------------------------------------------------------------------------------------------
// Window life

bool Dialog::HasWindow() const { return !client_.isNull(); }

QWidget* Dialog::ClientWidget() const { return client_.data(); }

QWidget* Dialog::TopWidget() const {
    if (frame_) return frame_.data();
    return client_.data();
}

bool Dialog::Create(Dialog* parent) {
    if (HasWindow()) return false;
    const DialogTemplate* t = FindDialogTemplate(templateId_);
    const bool child = parent && parent->HasWindow() && (!t || (t->style & kDialogChild));
    modal_ = false;
    ended_ = false;
    if (!CreateWindowFromTemplate(parent, child, false)) return false;
    Dispatch([this] { OnInitDialog(); });
    RefreshControlColors();
    // Pages start hidden; the program shows the one it wants.
    if (HasWindow() && child && !client_->testAttribute(Qt::WA_WState_ExplicitShowHide)) client_->hide();
    return HasWindow();
}

int Dialog::RunModal(Dialog* parent) {
    if (HasWindow()) return -1;
    Dialog* owner = parent ? parent : (MainWindow() != this ? MainWindow() : nullptr);
    if (owner && !owner->HasWindow()) owner = nullptr;
    modal_ = true;
    ended_ = false;
    modalResult_ = kCancel;
    if (!CreateWindowFromTemplate(owner, false, true)) {
        modal_ = false;
        return -1;
    }
    Dispatch([this] { OnInitDialog(); });
    RefreshControlColors();
    if (!ended_ && HasWindow()) {
        if (!TopWidget()->isVisible()) ShowWindow(kShow);
        Guarded([this] { TheDialogs().RunModal(*this); });
        if (!ended_) EndDialog(kCancel);
    }
    const int result = modalResult_;
    DestroyWindow();
    modal_ = false;
    return result;
}

void Dialog::ExecModalLoop() {
    if (ended_ || !HasWindow()) return;
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
}

void Dialog::EndDialog(int result) {
    if (!modal_) {
        if (HasWindow()) TopWidget()->hide();
        return;
    }
    modalResult_ = result;
    ended_ = true;
    if (modalLoop_) modalLoop_->exit(0);
}

void Dialog::DestroyWindow() {
    if (!HasWindow()) return;
    QWidget* top = TopWidget();
    WindowDestroyed();
    if (dispatchDepth_ > 0) {
        top->hide();
        top->deleteLater();
    } else {
        delete top;
    }
}

void Dialog::WindowDestroyed() {
    if (destroying_) return;
    destroying_ = true;
    Dispatch([this] { OnDestroy(); });
    if (modalLoop_) modalLoop_->exit(0);
    if (modal_) ended_ = true;
    for (auto& [id, timer] : timers_) {
        timer->stop();
        if (dispatchDepth_ > 0) {
            timer.release()->deleteLater();
        }
    }
    timers_.clear();
    if (client_) client_->DetachOwner();
    if (frame_) frame_->DetachOwner();
    controls_.clear();
    order_.clear();
    radioGroups_.clear();
    surface_.reset();
    paintPending_ = false;
    client_ = nullptr;
    frame_ = nullptr;
    systemMenu_ = nullptr;
    destroying_ = false;
}

bool Dialog::CreateWindowFromTemplate(Dialog* parent, bool asChild, bool modal) {
    if (!QCoreApplication::instance()) return false;
    InstallKeyTracker();
    parent_ = parent;
    const DialogTemplate* t = FindDialogTemplate(templateId_);
    const int width = DialogUnitsToPixelsX(t ? t->cx : 200);
    const int height = DialogUnitsToPixelsY(t ? t->cy : 100);
    if (caption_.empty() && t) caption_ = t->caption;

    if (asChild) {
        client_ = new DialogClient(this, parent->ClientWidget());
        client_->setGeometry(0, 0, width, height);
    } else {
        QWidget* ownerTop = parent ? parent->TopWidget() : nullptr;
        Qt::WindowFlags flags = ownerTop ? Qt::Dialog : Qt::Window;
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (!t || (t->style & kDialogMinMax)) flags |= Qt::WindowMinMaxButtonsHint;
        frame_ = new DialogFrame(this, ownerTop, flags);
        // A modal dialog blocks the rest of the program; the main dialog has nothing to block.
        if (modal && ownerTop) frame_->setWindowModality(Qt::ApplicationModal);
        client_ = new DialogClient(this, nullptr);
        frame_->setCentralWidget(client_);
        frame_->setWindowTitle(ToQString(caption_));
        if (!icon_.isNull()) frame_->setWindowIcon(QIcon(QPixmap::fromImage(icon_)));
        if (!menuTemplate_.empty()) Menu(frame_->menuBar(), this, false).Build(menuTemplate_);
        const int menuHeight = menuTemplate_.empty() ? 0 : frame_->menuBar()->sizeHint().height();
        frame_->resize(width, height + menuHeight);
        client_->resize(width, height);  // the frame lays its client out only when shown
    }
    if (t) {
        for (const ControlTemplate& c : t->controls) BuildControl(c);
        // Group boxes lie under every other control; among themselves they keep the template's
        // order, so a box listed after the one around it (and its caption) stays on top of it.
        const QList<QGroupBox*> boxes = client_->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly);
        for (auto box = boxes.crbegin(); box != boxes.crend(); ++box) (*box)->lower();
    }
    GroupRadioButtons();
    if (frame_) CenterWindow();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Controls

platform::Control Dialog::Control(int id) const {
    auto it = controls_.find(id);
    if (it == controls_.end() || !it->second.widget) return platform::Control();
    return platform::Control(it->second.widget, it->second.kind, id, it->second.style);
}

void Dialog::BuildControl(const ControlTemplate& t) {
    QWidget* parent = client_;
    const int x = DialogUnitsToPixelsX(t.x);
    const int y = DialogUnitsToPixelsY(t.y);
    const int w = DialogUnitsToPixelsX(t.cx);
    int h = DialogUnitsToPixelsY(t.cy);
    const bool vertical = t.style & kStyleVertical;
    QWidget* widget = nullptr;
    switch (t.kind) {
        case ControlKind::Static:
        case ControlKind::Picture: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(t.kind == ControlKind::Static);
            Qt::Alignment align = t.kind == ControlKind::Picture ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop;
            if (t.style & kStyleCenter) align = Qt::AlignHCenter | Qt::AlignTop;
            if (t.style & kStyleAlignRight) align = Qt::AlignRight | Qt::AlignTop;
            label->setAlignment(align);
            if (t.style & kStyleBorder) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            widget = label;
            break;
        }
        case ControlKind::Edit:
            if (t.style & kStyleMultiline) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setReadOnly(t.style & kStyleReadOnly);
                widget = edit;
            } else {
                auto* edit = new QLineEdit(parent);
                edit->setReadOnly(t.style & kStyleReadOnly);
                if (t.style & kStyleCenter) edit->setAlignment(Qt::AlignCenter);
                widget = edit;
            }
            break;
        case ControlKind::Button: {
            QPushButton* button = (t.style & kStyleOwnerDraw) ? new OwnerDrawButton(t.id, parent) : new QPushButton(parent);
            button->setAutoDefault(false);
            button->setDefault(t.style & kStyleDefault);
            widget = button;
            break;
        }
        case ControlKind::CheckBox:
            if (t.style & kStylePushLike) {
                auto* button = new QPushButton(parent);
                button->setCheckable(true);
                button->setAutoDefault(false);
                widget = button;
            } else {
                widget = new QCheckBox(parent);
            }
            break;
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(parent);
            radio->setAutoExclusive(false);
            widget = radio;
            break;
        }
        case ControlKind::GroupBox: {
            auto* box = new QGroupBox(parent);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            widget = box;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setMaxVisibleItems(std::max(5, h / std::max(1, combo->sizeHint().height())));
            h = combo->sizeHint().height();  // the template's height is that of the dropped list
            widget = combo;
            break;
        }
        case ControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            list->setSelectionMode((t.style & kStyleMultiSelect) ? QAbstractItemView::ExtendedSelection
                                                                 : QAbstractItemView::SingleSelection);
            widget = list;
            break;
        }
        case ControlKind::Slider: {
            auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, parent);
            slider->setRange(0, 100);
            widget = slider;
            break;
        }
        case ControlKind::Spin: {
            auto* spin = new SpinButton(t.style & kStyleHorizontal, parent);
            spin->setBuddyInt = t.style & kStyleSetBuddyInt;
            if ((t.style & kStyleAutoBuddy) && !order_.empty()) spin->buddy = Control(order_.back().id).Widget();
            widget = spin;
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, parent);
            bar->setRange(0, 100);
            widget = bar;
            break;
        }
        case ControlKind::TabControl:
            widget = new TabRow(t.id, t.style & kStyleOwnerDraw, parent);
            break;
        case ControlKind::ListView: {
            auto* view = new QTreeWidget(parent);
            view->setRootIsDecorated(false);
            view->setUniformRowHeights(true);
            view->setAllColumnsShowFocus(true);
            view->setColumnCount(0);
            view->header()->setStretchLastSection(false);
            view->header()->setSectionsMovable(false);
            view->setSelectionMode((t.style & kStyleMultiSelect) ? QAbstractItemView::ExtendedSelection
                                                                 : QAbstractItemView::SingleSelection);
            widget = view;
            break;
        }
    }
    widget->setGeometry(x, y, w, h);
    if (t.style & kStyleDisabled) widget->setEnabled(false);
    if (t.style & kStyleHidden) widget->hide();
    if (!controls_.count(t.id)) controls_[t.id] = ControlEntry{widget, t.kind, t.style};
    order_.push_back(OrderEntry{t.id, t.kind, t.style});
    if (!t.caption.empty()) platform::Control(widget, t.kind, t.id, t.style).SetText(t.caption);
    client_->WatchControl(widget, t.id);
    WireControl(widget, t);

    // A spin inside its buddy's right edge takes that part of the buddy.
    if (t.kind == ControlKind::Spin && (t.style & kStyleAutoBuddy) && (t.style & kStyleAlignRight) && order_.size() > 1) {
        platform::Control buddy = Control(order_[order_.size() - 2].id);
        if (buddy.IsValid()) {
            const QRect b = buddy.Widget()->geometry();
            buddy.Widget()->setGeometry(b.x(), b.y(), std::max(1, b.width() - w), b.height());
            widget->setGeometry(b.x() + b.width() - w, b.y(), w, b.height());
        }
    }
}

void Dialog::GroupRadioButtons() {
    for (QPointer<QButtonGroup>& g : radioGroups_) delete g.data();
    radioGroups_.clear();
    QButtonGroup* group = nullptr;
    for (const OrderEntry& e : order_) {
        if (e.style & kStyleGroup) group = nullptr;
        if (e.kind != ControlKind::RadioButton) continue;
        platform::Control c = Control(e.id);
        if (!c.IsValid()) continue;
        if (!group) {
            group = new QButtonGroup(client_);
            group->setExclusive(true);
            radioGroups_.emplace_back(group);
        }
        group->addButton(static_cast<QAbstractButton*>(c.Widget()));
    }
}

std::vector<int> Dialog::RadioGroup(int firstId) const {
    std::vector<int> ids;
    bool inside = false;
    for (const OrderEntry& e : order_) {
        if (!inside) {
            if (e.id != firstId) continue;
            inside = true;
        } else if (e.style & kStyleGroup) {
            break;
        }
        if (e.kind == ControlKind::RadioButton) ids.push_back(e.id);
    }
    return ids;
}

void Dialog::WireControl(QWidget* widget, const ControlTemplate& t) {
    const int id = t.id;
    auto notify = [this, widget, id](Notification code, int item = -1, int subItem = -1) {
        if (OwnerOf(widget) != this) return;
        platform::Notify n;
        n.id = id;
        n.code = code;
        n.item = item;
        n.subItem = subItem;
        DispatchNotify(n);
    };
    if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        QObject::connect(combo, &QComboBox::activated, widget, [notify] { notify(Notification::SelChange); });
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, widget, [notify] { notify(Notification::Clicked); });
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        QObject::connect(edit, &QLineEdit::textChanged, widget, [notify] { notify(Notification::EditChange); });
    } else if (auto* text = dynamic_cast<QPlainTextEdit*>(widget)) {
        QObject::connect(text, &QPlainTextEdit::textChanged, widget, [notify] { notify(Notification::EditChange); });
    } else if (auto* list = dynamic_cast<QListWidget*>(widget)) {
        QObject::connect(list, &QListWidget::itemSelectionChanged, widget, [notify] { notify(Notification::SelChange); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, widget, [notify, list](QListWidgetItem* item) {
            notify(Notification::DoubleClicked, list->row(item));
        });
    } else if (auto* view = dynamic_cast<QTreeWidget*>(widget)) {
        QObject::connect(view, &QTreeWidget::itemSelectionChanged, widget, [notify] { notify(Notification::SelChange); });
        QObject::connect(view, &QTreeWidget::itemClicked, widget, [notify, view](QTreeWidgetItem* item, int column) {
            notify(Notification::ItemClick, view->indexOfTopLevelItem(item), column);
        });
        QObject::connect(view, &QTreeWidget::itemDoubleClicked, widget, [notify, view](QTreeWidgetItem* item, int column) {
            notify(Notification::DoubleClicked, view->indexOfTopLevelItem(item), column);
        });
        QObject::connect(view->header(), &QHeaderView::sectionClicked, widget,
                         [notify](int column) { notify(Notification::ColumnClick, -1, column); });
    } else if (auto* tabs = dynamic_cast<QTabBar*>(widget)) {
        QObject::connect(tabs, &QTabBar::currentChanged, widget, [notify] {
            notify(Notification::SelChanging);
            notify(Notification::SelChange);
        });
    } else if (auto* bar = dynamic_cast<QScrollBar*>(widget)) {
        const bool vertical = bar->orientation() == Qt::Vertical;
        // As with the classic scroll bar, only the program moves the bar; the thumb follows a drag.
        QObject::connect(bar, &QAbstractSlider::actionTriggered, widget, [this, bar, id, vertical](int action) {
            if (OwnerOf(bar) != this) return;
            const int pos = bar->sliderPosition();
            if (action != QAbstractSlider::SliderMove) bar->setSliderPosition(bar->value());
            ReportScroll(id, vertical, ScrollCodeOf(action), pos);
            if (action != QAbstractSlider::SliderMove) ReportScroll(id, vertical, kScrollEnd, bar->value());
        });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, widget, [this, bar, id, vertical] {
            if (OwnerOf(bar) != this) return;
            ReportScroll(id, vertical, kScrollThumbPosition, bar->sliderPosition());
            ReportScroll(id, vertical, kScrollEnd, bar->value());
        });
    } else if (auto* slider = dynamic_cast<QSlider*>(widget)) {
        const bool vertical = slider->orientation() == Qt::Vertical;
        QObject::connect(slider, &QAbstractSlider::actionTriggered, widget, [this, slider, id, vertical](int action) {
            if (OwnerOf(slider) != this) return;
            ReportScroll(id, vertical, ScrollCodeOf(action), slider->sliderPosition());
            if (action != QAbstractSlider::SliderMove) ReportScroll(id, vertical, kScrollEnd, slider->sliderPosition());
        });
        QObject::connect(slider, &QAbstractSlider::sliderReleased, widget, [this, slider, id, vertical] {
            if (OwnerOf(slider) != this) return;
            ReportScroll(id, vertical, kScrollThumbPosition, slider->sliderPosition());
            ReportScroll(id, vertical, kScrollEnd, slider->sliderPosition());
        });
    } else if (auto* spin = dynamic_cast<SpinButton*>(widget)) {
        spin->onStep = [this, spin, id](int direction) {
            if (OwnerOf(spin) == this) SpinStep(id, direction);
        };
    }
}

void Dialog::SpinStep(int id, int direction) {
    auto it = controls_.find(id);
    if (it == controls_.end()) return;
    auto* spin = dynamic_cast<SpinButton*>(it->second.widget.data());
    if (!spin) return;
    platform::Notify n;
    n.id = id;
    n.code = Notification::SpinDelta;
    n.delta = (spin->upper >= spin->lower ? 1 : -1) * direction;
    n.pos = spin->Position();
    DispatchNotify(n);
    if (n.result != 0 || OwnerOf(spin) != this) return;
    spin->SetPosition(spin->pos + n.delta);
    const bool vertical = !(it->second.style & kStyleHorizontal);
    ReportScroll(id, vertical, kScrollThumbPosition, spin->pos);
    ReportScroll(id, vertical, kScrollEnd, spin->pos);
}

void Dialog::ReportScroll(int id, bool vertical, int code, int pos) {
    Dispatch([&] {
        platform::Notify n;
        n.id = id;
        n.code = Notification::Scroll;
        n.scrollCode = code;
        n.pos = pos;
        auto route = routes_.find({id, static_cast<int>(Notification::Scroll)});
        if (route != routes_.end()) {
            route->second(n);
        } else if (vertical) {
            OnVScroll(code, pos, id);
        } else {
            OnHScroll(code, pos, id);
        }
    });
}

void Dialog::SetDefaultButton(int id) {
    for (auto& [cid, entry] : controls_) {
        const bool isDefault = cid == id;
        entry.style = isDefault ? (entry.style | kStyleDefault) : (entry.style & ~kStyleDefault);
        if (auto* button = dynamic_cast<QPushButton*>(entry.widget.data())) button->setDefault(isDefault);
    }
}

int Dialog::DefaultButtonId() const {
    for (const auto& [id, entry] : controls_) {
        if ((entry.style & kStyleDefault) && entry.kind == ControlKind::Button) return id;
    }
    return 0;
}

bool Dialog::UpdateData(bool save) {
    if (!HasWindow()) return false;
    Exchange exchange(*this, save);
    const bool completed = Dispatch([&] { DoDataExchange(exchange); });
    return completed && !exchange.Failed();
}

// ---------------------------------------------------------------------------------------------
// Routing

bool Dialog::Dispatch(const std::function<void()>& handler) {
    ++dispatchDepth_;
    const bool completed = Guarded(handler);
    --dispatchDepth_;
    return completed;
}

void Dialog::DispatchNotify(platform::Notify& n) {
    Dispatch([&] {
        auto route = routes_.find({n.id, static_cast<int>(n.code)});
        if (route != routes_.end()) {
            route->second(n);
            return;
        }
        for (const RangeRoute& r : rangeRoutes_) {
            if (n.id >= r.first && n.id <= r.last && static_cast<int>(n.code) == r.code) {
                r.member(n);
                return;
            }
        }
        OnCommand(n.id, n.code);
    });
}

void Dialog::SendCommand(int id, Notification code) {
    platform::Notify n;
    n.id = id;
    n.code = code;
    DispatchNotify(n);
}

void Dialog::OnCommand(int id, Notification code) {
    if (code != Notification::Clicked) return;
    if (id == kOk) OnOK();
    if (id == kCancel) OnCancel();
}

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(kOk);
}

void Dialog::OnCancel() { EndDialog(kCancel); }

void Dialog::OnClose() { SendCommand(kCancel); }

// ---------------------------------------------------------------------------------------------
// Window operations

void Dialog::ShowWindow(int command) {
    QWidget* top = TopWidget();
    if (!top) return;
    switch (command) {
        case kShowHide: top->hide(); break;
        case kShowMinimized: top->showMinimized(); break;
        case kShowMaximized: top->showMaximized(); break;
        case kShowNormal:
        case kShowRestore: top->isWindow() ? top->showNormal() : top->show(); break;
        default: top->show(); break;
    }
}

bool Dialog::IsVisible() const { return TopWidget() && TopWidget()->isVisible(); }

bool Dialog::IsMinimized() const { return frame_ && frame_->isMinimized(); }

bool Dialog::IsMaximized() const { return frame_ && frame_->isMaximized(); }

void Dialog::Move(int x, int y, int width, int height) {
    if (frame_) {
        const QSize extra = frame_->frameGeometry().size() - frame_->size();
        frame_->move(x, y);
        frame_->resize(std::max(1, width - extra.width()), std::max(1, height - extra.height()));
    } else if (client_) {
        client_->setGeometry(x, y, std::max(0, width), std::max(0, height));
    }
}

void Dialog::Move(int x, int y) {
    if (frame_) {
        frame_->move(x, y);
    } else if (client_) {
        client_->move(x, y);
    }
}

Rect Dialog::WindowRect() const {
    if (frame_) {
        const QRect r = frame_->frameGeometry();
        return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    if (!client_) return Rect{};
    const QPoint p = client_->mapToGlobal(QPoint(0, 0));
    return Rect{p.x(), p.y(), p.x() + client_->width(), p.y() + client_->height()};
}

Rect Dialog::ClientRect() const {
    if (!client_) return Rect{};
    return Rect{0, 0, client_->width(), client_->height()};
}

Point Dialog::ScreenToClient(Point p) const {
    if (!client_) return p;
    const QPoint l = client_->mapFromGlobal(QPoint(p.x, p.y));
    return Point{l.x(), l.y()};
}

void Dialog::Enable(bool enable) {
    if (TopWidget()) TopWidget()->setEnabled(enable);
}

bool Dialog::IsEnabled() const { return TopWidget() && TopWidget()->isEnabled(); }

void Dialog::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (frame_) frame_->setWindowTitle(ToQString(caption));
}

std::string Dialog::Caption() const { return caption_; }

void Dialog::SetIcon(const QImage& icon) {
    icon_ = icon;
    if (frame_) frame_->setWindowIcon(QIcon(QPixmap::fromImage(icon)));
}

void Dialog::SetMinimumClientSize(int width, int height) {
    if (client_) client_->setMinimumSize(width, height);
}

void Dialog::CenterWindow() {
    if (!frame_) return;
    QRect area;
    if (QWidget* owner = frame_->parentWidget(); owner && owner->isVisible()) {
        area = owner->window()->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    const QSize size = frame_->frameGeometry().size();
    frame_->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

// ---------------------------------------------------------------------------------------------
// Painting

void Dialog::Invalidate() {
    RequestPaint();
    RefreshControlColors();
    if (client_) client_->update();
}

void Dialog::RequestPaint() {
    if (paintPending_ || !client_) return;
    paintPending_ = true;
    QCoreApplication::postEvent(client_, new QEvent(static_cast<QEvent::Type>(DialogClient::PaintRequestType())));
}

void Dialog::PaintRequested() {
    paintPending_ = false;
    // A hidden page is painted when it is shown (its show event asks again), as a hidden
    // child window gets no paint message: start-up creates sixteen of them.
    if (client_ && !frame_ && !client_->isWindow() && !client_->isVisible()) return;
    Dispatch([this] { OnPaint(); });
}

Bitmap& Dialog::Surface() {
    if (!surface_) {
        int w = client_ ? std::max(1, client_->width()) : 1;
        int h = client_ ? std::max(1, client_->height()) : 1;
        const DialogTemplate* t = FindDialogTemplate(templateId_);
        if (frame_ && (!t || (t->style & kDialogMinMax))) {
            // A window that can be maximised gets room for its screen at once: growing the
            // surface later allocates, fills and copies it all again.
            if (const QScreen* screen = frame_->screen()) {
                w = std::max(w, screen->availableGeometry().width());
                h = std::max(h, screen->availableGeometry().height());
            }
        }
        surface_ = std::make_unique<Bitmap>(w, h, client_ ? FaceColor(client_) : kWhite);
    }
    return *surface_;
}

void Dialog::GrowSurface() {
    if (!surface_ || !client_ || surfaceLocks_ > 0) return;
    const int w = client_->width();
    const int h = client_->height();
    if (w <= surface_->Width() && h <= surface_->Height()) return;
    auto grown = std::make_unique<Bitmap>(std::max(w, surface_->Width()), std::max(h, surface_->Height()), FaceColor(client_));
    if (grown->IsNull()) return;
    {
        QPainter p(&grown->Image());
        p.drawImage(0, 0, surface_->Image());
    }
    surface_ = std::move(grown);
}

void Dialog::SurfaceChanged() {
    if (client_) client_->update();
}

ClientDC::ClientDC(Dialog& dialog) : Canvas(dialog.Surface()), dialog_(dialog) { ++dialog_.surfaceLocks_; }

ClientDC::~ClientDC() {
    --dialog_.surfaceLocks_;
    if (changed_.empty() || !dialog_.client_) {
        dialog_.SurfaceChanged();
        return;
    }
    QRegion region;
    for (const Rect& r : changed_) {
        if (!r.IsEmpty()) region += QRect(r.left, r.top, r.Width(), r.Height());
    }
    dialog_.client_->update(region);
}

// ---------------------------------------------------------------------------------------------
// Menus

void Dialog::SetMenu(const MenuTemplate& menu) {
    menuTemplate_ = menu;
    if (!frame_) return;
    frame_->menuBar()->clear();
    Menu(frame_->menuBar(), this, false).Build(menu);
}

Menu Dialog::MenuBar() const {
    if (!frame_ || menuTemplate_.empty()) return Menu();
    return Menu(frame_->menuBar(), const_cast<Dialog*>(this), false);
}

Menu Dialog::SystemMenu() {
    if (!client_) return Menu();
    if (!systemMenu_) systemMenu_ = new QMenu(client_);
    return Menu(systemMenu_, this, true);
}

// ---------------------------------------------------------------------------------------------
// Timers

bool Dialog::SetTimer(int id, int milliseconds) {
    if (!HasWindow()) return false;
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] {
            if (HasWindow()) Dispatch([this, id] { OnTimer(id); });
        });
    }
    timer->start(std::max(kMinimumTimerMs, milliseconds));
    return true;
}

bool Dialog::KillTimer(int id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return false;
    it->second->stop();
    // The timer may be the one whose tick is running now.
    it->second.release()->deleteLater();
    timers_.erase(it);
    return true;
}

bool Dialog::HasTimer(int id) const { return timers_.count(id) != 0; }

}  // namespace platform
