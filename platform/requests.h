#pragma once
// The two requests that drive the program, and the pump that keeps its window alive while it
// works. Requests are posted to the main window, never delivered at once: a repaint request
// reaches the main window's OnPaint(), a job request its OnSysCommand(0, 0), both from the
// event loop (or a pump). While one request of a kind waits, posting it again adds nothing, so
// a burst of requests costs one recomputation.

namespace platform {

class Dialog;

// The window that receives the requests (nullptr: requests are dropped).
void SetMainWindow(Dialog* window);
Dialog* MainWindow();

void PostRepaintRequest();
void PostJobRequest();

// Dispatches every waiting event.
void PumpWaitingMessages();

void SleepMs(int milliseconds);

}  // namespace platform
