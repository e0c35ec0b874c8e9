#pragma once
// Helpers for driving the model pages through their real widgets.
#include <functional>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include "platform/dialog.h"
#include "platform/requests.h"

namespace pagetest {

// Stands in for the main window: counts the requests it is served and runs `onPaint` for each
// repaint, as the painting dispatcher does.
class MainStub : public platform::Dialog {
public:
    static constexpr int kTemplateId = 9714;
    MainStub();
    ~MainStub() override;
    void OnPaint() override {
        ++paints;
        if (onPaint) onPaint();
    }
    void OnSysCommand(unsigned, long) override { ++jobs; }
    int paints = 0;
    int jobs = 0;
    std::function<void()> onPaint;
};

// A mouse button press at a point of the page's client area.
inline void MouseDown(platform::Dialog& page, platform::Point p) {
    const QPointF at(p.x, p.y);
    QMouseEvent press(QEvent::MouseButtonPress, at, page.ClientWidget()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page.ClientWidget(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, page.ClientWidget()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page.ClientWidget(), &release);
}

inline platform::Point Centre(const platform::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A notification as the list or button raises it when the user acts.
inline void Notify(platform::Dialog& page, int id, platform::Notification code) {
    platform::Notify n;
    n.id = id;
    n.code = code;
    page.DispatchNotify(n);
}

}  // namespace pagetest
