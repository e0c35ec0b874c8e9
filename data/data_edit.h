#pragma once
// The data sheet: a window of its own standing over the right part of the main window, which
// shows the records of one series. The main window creates it hidden and keeps it placed; the
// grid and its commands come with the sheet's own work.
#include "platform/canvas.h"
#include "platform/dialog.h"

class DataEdit : public platform::Dialog {
public:
    static constexpr int kTemplateId = 165;

    DataEdit();

    int currentSeries = 0;  // the series shown; also the current series of the record filter
    int topRecord = 0;      // first record of the page
    platform::Rect savedRect;  // the sheet's window rectangle, screen coordinates

    // Keeps the window rectangle and lays out the sheet's own controls.
    void RememberPlace();
};

extern DataEdit theDataEdit;
