// The peer of the start-up benchmark: the least a Qt 6 Widgets program does to show a window.
// It reports '1' on the descriptor named by its argument once the window has painted, then ends.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <cstdlib>

#include <unistd.h>

namespace {

class Window : public QWidget {
public:
    explicit Window(int reportFd) : reportFd_(reportFd) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (reportFd_ < 0) return;
        const char shown = isVisible() ? '1' : '0';
        (void)!write(reportFd_, &shown, 1);
        ::close(reportFd_);
        reportFd_ = -1;
        QApplication::quit();
    }

private:
    int reportFd_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Window window(argc > 1 ? std::atoi(argv[1]) : -1);
    window.setWindowTitle("Tabulon");
    window.showMaximized();
    return application.exec();
}
