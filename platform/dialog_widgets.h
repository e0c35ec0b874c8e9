#pragma once
// The Qt widgets behind dialogs and the controls Qt has no match for. Internal to the layer:
// the program reaches them through Dialog and Control only.
#include <functional>

#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QWidget>

class QToolButton;

namespace platform {

class Dialog;

// The font of dialogs and their controls: the application's face at 11 pixels. Dialog units
// scale with it (dialog_template.h).
QFont DialogFont();

// A dialog's client area: parent of its controls, owner of its events.
class DialogClient : public QWidget {
public:
    DialogClient(Dialog* owner, QWidget* parent);
    ~DialogClient() override;
    Dialog* Owner() const { return owner_; }
    void DetachOwner() { owner_ = nullptr; }
    // Watches a control's input for PreTranslateInput, focus notifications and the dialog keys.
    void WatchControl(QWidget* control, int id);

    static int PaintRequestType();
    static int JobRequestType();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool PreTranslate(QEvent* event, int controlId, QWidget* source);
    bool DialogKey(QKeyEvent* event);
    Dialog* owner_;
};

// The frame of a dialog that is a window of its own: title, menu bar, closing.
class DialogFrame : public QMainWindow {
public:
    DialogFrame(Dialog* owner, QWidget* parent, Qt::WindowFlags flags);
    void DetachOwner() { owner_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Dialog* owner_;
};

// Up/down (or left/right) arrows with a position, as a spin control.
class SpinButton : public QWidget {
public:
    SpinButton(bool horizontal, QWidget* parent);
    int lower = 100;  // the classic default range runs from 100 down to 0
    int upper = 0;
    int pos = 0;
    // The control before the spin in its template, when bound to it; with setBuddyInt the
    // position is read from and written to its text.
    QPointer<QWidget> buddy;
    bool setBuddyInt = false;
    int Position();               // reads the buddy's number first, when there is one
    void SetPosition(int value);  // writes the buddy too
    // Called with +1 / -1 for each step of an arrow (auto-repeating while held).
    std::function<void(int delta)> onStep;
    int Clamp(int p) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    bool horizontal_;
};

// A push button whose face the dialog paints (Dialog::OnDrawItem).
class OwnerDrawButton : public QPushButton {
public:
    OwnerDrawButton(int id, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int id_;
};

// A tab row; with owner drawing the dialog paints each tab.
class TabRow : public QTabBar {
public:
    TabRow(int id, bool ownerDraw, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Owner-drawn tabs are sized tightly (padding, icon, text); when the row is still too
    // narrow for all of them, the longest labels are cut to a common width.
    QSize tabSizeHint(int index) const override;

private:
    int OwnerTabOverhead(int index) const;
    int OwnerTabTextCap() const;
    int id_;
    bool ownerDraw_;
};

// The dialog whose client area holds the widget (nullptr once its window is going).
Dialog* OwnerOf(const QWidget* widget);
// Key code of a Qt key (0 for keys the program has no code for); the keypad's digits have
// codes of their own.
int KeyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Starts following key and button state for KeyDown (system.cpp); once per application.
void InstallKeyTracker();
// Serves a posted job request at the window it was posted to (requests.cpp).
void DeliverJobRequest(Dialog* window);

}  // namespace platform
