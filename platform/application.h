#pragma once
// The program's Qt application: built first thing in main(). It puts the numeric locale back
// to "C" (Qt adopts the user's locale, and the program's number text must not), keeps the
// command line, and catches any exception that would otherwise escape an event handler.
#include <QApplication>

namespace platform {

class Application : public QApplication {
public:
    // argc must stay alive as long as the application (Qt keeps a reference to it).
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Sets LC_NUMERIC to "C"; Application does this itself, a test main may call it.
void UseClassicNumbers();

}  // namespace platform
