#pragma once
// The application object: its start routine runs the main dialog, whose end ends the program.

class CTabulonApp {
public:
    CTabulonApp();
    // Runs the main dialog to its end; returns FALSE (0), so no further message loop follows.
    int InitInstance();
};
