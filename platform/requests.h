#pragma once
// The two requests that drive the program, and the pumps that keep its window alive while it
// works. Requests are posted to the main window, never delivered at once: a repaint request
// reaches the main window's OnPaint(), a job request its OnSysCommand(0, 0), both from the
// event loop (or a pump). While one request of a kind waits, posting it again adds nothing, so
// a burst of requests costs one recomputation.
#include <functional>

namespace platform {

class Dialog;

// The window that receives the requests (nullptr: requests are dropped).
void SetMainWindow(Dialog* window);
Dialog* MainWindow();

void PostRepaintRequest();
void PostJobRequest();

// Dispatches every waiting event, then runs the idle work until it reports nothing left.
void PumpWaitingMessages();
// The same, leaving keyboard and mouse input waiting: for loads and saves that must not take
// new commands half-way.
void PumpWaitingMessagesExceptInput();

// Idle work: called with 0, 1, 2, ... after each pump until it returns false.
void SetIdleHandler(std::function<bool(int count)> handler);

void SleepMs(int milliseconds);

}  // namespace platform
