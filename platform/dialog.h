#pragma once
// Dialogs and pages. A Dialog object is built before any window exists (the program keeps its
// pages as global objects); Create() or RunModal() makes the window from the dialog's template
// and calls OnInitDialog. Controls are reached by id, notifications are routed by
// (control id, notification) to members, and every handler runs behind the layer's exception
// guard: an exception escaping it is shown in a message box and the operation abandoned.
//
// Painting: a dialog never paints inside the window system's paint event. Invalidate() (and
// showing or resizing the window) queues one call of OnPaint(); OnPaint and any other code draw
// into the window's backing surface through a ClientDC, and the window only copies it.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QPointer>

#include "platform/canvas.h"
#include "platform/control.h"
#include "platform/ctl_color.h"
#include "platform/dialog_template.h"
#include "platform/menu.h"
#include "platform/window_defs.h"

class QButtonGroup;
class QEventLoop;
class QTimer;
class QWidget;

namespace platform {

class Exchange;
class DialogClient;
class DialogFrame;

// One notification as a routed member receives it.
struct Notify {
    int id = 0;
    Notification code = Notification::Clicked;
    int delta = 0;    // SpinDelta: +1 / -1
    int pos = 0;      // SpinDelta: position before the change; Scroll: position
    int scrollCode = 0;
    int item = -1;    // ItemClick, DoubleClicked on lists: row
    int subItem = -1; // ItemClick: column; ColumnClick: column
    int result = 0;   // SpinDelta: non-zero refuses the change
};

// Input as the dialog's PreTranslateInput sees it, before the control under it does.
struct InputEvent {
    enum Kind { KeyDown, KeyUp, LButtonDown, LButtonUp, LButtonDblClk, RButtonDown, RButtonUp, MouseMove };
    Kind kind = KeyDown;
    int controlId = 0;  // the control the input goes to; 0 for the dialog itself
    int key = 0;        // KeyCode for key input
    bool keypad = false; // key input from the numeric keypad (NumLock on or off)
    unsigned flags = 0; // MouseFlags
    Point point;        // dialog client coordinates
};

// An owner-drawn button or tab to be painted: the canvas covers just that item.
struct DrawItem {
    int controlId = 0;
    int item = -1;  // tab index; -1 for buttons
    Canvas* canvas = nullptr;
    Rect rect;      // the item, in canvas coordinates
    std::string text;
    bool selected = false;
    bool pressed = false;
    bool focused = false;
    bool disabled = false;
};

class Dialog {
public:
    explicit Dialog(int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return templateId_; }

    // Window life.
    // Modeless: a page inside the parent's client area when the template says kDialogChild
    // (created hidden unless OnInitDialog shows it), else a window of its own.
    bool Create(Dialog* parent);
    int RunModal(Dialog* parent = nullptr);  // kOk, kCancel or the EndDialog value
    void EndDialog(int result);              // modal: ends the loop; modeless: hides the window
    void DestroyWindow();
    bool HasWindow() const;
    bool IsDialogEnded() const { return ended_; }
    int ModalResult() const { return modalResult_; }
    Dialog* Parent() const { return parent_; }

    // Controls and data exchange.
    platform::Control Control(int id) const;
    bool UpdateData(bool save = true);

    // Window.
    void ShowWindow(int showCommand);
    void Show(bool show = true) { ShowWindow(show ? kShow : kShowHide); }
    bool IsVisible() const;
    bool IsMinimized() const;
    bool IsMaximized() const;
    void Move(int x, int y, int width, int height);  // child: parent client; window: screen
    void Move(int x, int y);                          // keeps the size
    Rect WindowRect() const;                          // screen coordinates, frame included
    Rect ClientRect() const;                          // (0, 0, width, height)
    Point ScreenToClient(Point p) const;
    void Enable(bool enable = true);
    bool IsEnabled() const;
    void SetCaption(const std::string& caption);
    std::string Caption() const;
    void SetIcon(const QImage& icon);
    void SetMinimumClientSize(int width, int height);
    void CenterWindow();
    void Invalidate();  // queues one OnPaint and a refresh of the window (colours asked again)
    // Asks OnCtlColor again for the background and every control (or one control) and restyles
    // them; the layer also does so after OnInitDialog, on showing the window and on Invalidate.
    void RefreshControlColors();
    void RefreshControlColor(int id);

    // Backing surface of the client area: what the dialog draws "onto the window".
    Bitmap& Surface();
    bool HasSurface() const { return surface_ != nullptr; }
    void SurfaceChanged();  // the window copies the surface again

    // Menus.
    void SetMenu(const MenuTemplate& menu);
    Menu MenuBar() const;
    Menu SystemMenu();  // items route to OnSysCommand; shown on a right click of the dialog background

    // Timers by id; an id set again restarts with the new period.
    bool SetTimer(int id, int milliseconds);
    bool KillTimer(int id);
    bool HasTimer(int id) const;

    // Routes a control notification or a menu command to a member.
    template <class T>
    void Route(int id, Notification code, void (T::*member)()) {
        T* self = static_cast<T*>(this);
        routes_[{id, static_cast<int>(code)}] = [self, member](Notify&) { (self->*member)(); };
    }
    template <class T>
    void Route(int id, Notification code, void (T::*member)(Notify&)) {
        T* self = static_cast<T*>(this);
        routes_[{id, static_cast<int>(code)}] = [self, member](Notify& n) { (self->*member)(n); };
    }
    template <class T>
    void RouteCommand(int id, void (T::*member)()) {
        Route(id, Notification::Clicked, member);
    }
    template <class T>
    void RouteRange(int firstId, int lastId, Notification code, void (T::*member)(int id)) {
        T* self = static_cast<T*>(this);
        rangeRoutes_.push_back({firstId, lastId, static_cast<int>(code),
                                [self, member](Notify& n) { (self->*member)(n.id); }});
    }

    // Sends a notification or command as if the control or menu had raised it.
    void SendCommand(int id, Notification code = Notification::Clicked);

    // Handlers a subclass may override.
    virtual bool OnInitDialog() { return true; }
    virtual void DoDataExchange(Exchange&) {}
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();  // closing the window: as Cancel
    virtual void OnDestroy() {}
    virtual void OnPaint() {}
    virtual void OnSize(int /*type*/, int /*cx*/, int /*cy*/) {}
    virtual void OnMove(int /*x*/, int /*y*/) {}
    virtual void OnShowWindow(bool /*show*/) {}
    virtual void OnTimer(int /*id*/) {}
    virtual void OnSysCommand(unsigned /*command*/, long /*lParam*/) {}
    virtual void OnLButtonDown(unsigned /*flags*/, Point) {}
    virtual void OnLButtonUp(unsigned /*flags*/, Point) {}
    virtual void OnMouseMove(unsigned /*flags*/, Point) {}
    virtual void OnHScroll(int /*code*/, int /*pos*/, int /*controlId*/) {}
    virtual void OnVScroll(int /*code*/, int /*pos*/, int /*controlId*/) {}
    // Return true when the item was painted; false leaves the control's own look.
    virtual bool OnDrawItem(DrawItem&) { return false; }
    // Colours of a control (controlId 0: the dialog's own background, the brush only). Return
    // true with `out` filled to colour it; false leaves the layer's look.
    virtual bool OnCtlColor(int /*controlId*/, CtlColor& /*out*/) { return false; }
    // Return true to swallow the input before the control or dialog gets it.
    virtual bool PreTranslateInput(const InputEvent&) { return false; }
    // Commands not routed to a member: OK and Cancel buttons call OnOK / OnCancel.
    virtual void OnCommand(int id, Notification code);

    // Return and Escape in a window of its own press OK and Cancel (the default button first);
    // a window that must not end on a stray key turns this off. Pages never end on keys.
    void SetKeysEndDialog(bool end) { keysEndDialog_ = end; }
    bool KeysEndDialog() const { return keysEndDialog_; }
    void SetDefaultButton(int id);
    int DefaultButtonId() const;

    // Internal: the widgets of the layer report here (all calls are guarded).
    bool Dispatch(const std::function<void()>& handler);  // false when the handler threw
    void DispatchNotify(platform::Notify& n);
    void ExecModalLoop();           // the modal loop of the real dialog service
    QWidget* ClientWidget() const;  // the client area widget (escape hatch for tests and painters)
    QWidget* TopWidget() const;     // the frame of a window, the client of a child page

private:
    friend class DialogClient;
    friend class DialogFrame;
    friend class ClientDC;
    friend class Exchange;
    struct ControlEntry {
        QPointer<QWidget> widget;
        ControlKind kind;
        unsigned style;
    };
    struct OrderEntry {
        int id;
        ControlKind kind;
        unsigned style;
    };
    struct RangeRoute {
        int first;
        int last;
        int code;
        std::function<void(platform::Notify&)> member;
    };

    std::vector<int> RadioGroup(int firstId) const;  // the ids of the group that starts at firstId
    bool CreateWindowFromTemplate(Dialog* parent, bool asChild, bool modal);
    void BuildControl(const ControlTemplate& t);
    void WireControl(QWidget* widget, const ControlTemplate& t);
    void GroupRadioButtons();
    void SpinStep(int id, int direction);
    void ReportScroll(int id, bool vertical, int code, int pos);
    void WindowDestroyed();
    void PaintRequested();
    void RequestPaint();
    void GrowSurface();

    int templateId_;
    Dialog* parent_ = nullptr;
    std::string caption_;
    QImage icon_;
    MenuTemplate menuTemplate_;
    QPointer<DialogClient> client_;
    QPointer<DialogFrame> frame_;
    QPointer<QWidget> systemMenu_;
    std::map<int, ControlEntry> controls_;
    std::vector<OrderEntry> order_;  // controls in table order
    std::vector<QPointer<QButtonGroup>> radioGroups_;
    std::map<std::pair<int, int>, std::function<void(platform::Notify&)>> routes_;
    std::vector<RangeRoute> rangeRoutes_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    std::unique_ptr<Bitmap> surface_;
    int surfaceLocks_ = 0;  // live ClientDCs: the surface is not reallocated under them
    bool paintPending_ = false;
    bool hasPageColor_ = false;  // the background OnCtlColor(0) gave last, for the surface
    ColorRef pageColor_ = 0;
    bool keysEndDialog_ = true;
    bool modal_ = false;
    bool ended_ = false;
    int modalResult_ = kCancel;
    QEventLoop* modalLoop_ = nullptr;
    int dispatchDepth_ = 0;
    bool destroying_ = false;
};

// Draws onto a dialog's window: a canvas over its backing surface that shows what was drawn
// when it goes out of scope. Also the drawing context of OnPaint.
class ClientDC : public Canvas {
public:
    explicit ClientDC(Dialog& dialog);
    ~ClientDC();
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    // Names an area the drawing changes: once any is named, only the named areas are shown
    // again, and the window's other parts and controls are not repainted.
    void Changes(const Rect& area) { changed_.push_back(area); }

private:
    Dialog& dialog_;
    std::vector<Rect> changed_;
};

}  // namespace platform
