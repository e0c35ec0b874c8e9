#pragma once
// The progress bar of long work: a 300 x 26 pixel bar with a short text, drawn straight
// onto the main window over the lower right corner of the chart and shown at once, so it
// keeps moving inside loops that do not return to the event loop. It is drawn only while
// the chart fills the upper part of the window; each call draws afresh and nothing is kept.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/color.h"

namespace platform {
class Canvas;
}

// The last progress report of the data page (stored there by its progress routine,
// redrawn by RepaintProgressBar).
struct progressReport {
    std::int32_t active = 0;
    std::string text;
    std::int32_t current = 0;
    std::int32_t total = 0;
    std::int32_t kind = 0;
};

// What the bar reads of the main window.
struct progressBarLook {
    int chartWidth = 0;   // size of the chart image in client pixels
    int chartHeight = 0;
    platform::ColorRef frameColor = 0xE6FFF5;
    platform::ColorRef textColor = 0x645A91;
    platform::ColorRef barColor = 0xFFC8B4;
};

// The main window's side, registered with SetProgressBarWindow.
class ProgressBarWindow {
public:
    virtual ~ProgressBarWindow() = default;
    // False while the layout toggle gives the chart the lower strip: nothing is drawn then.
    virtual bool ProgressBarShown(progressBarLook& look) = 0;
    // Calls `draw` with a canvas over the window's client area, then shows the result now.
    // The window puts back what the bar covered once the work is over.
    virtual void PaintOnClientArea(const std::function<void(platform::Canvas&)>& draw) = 0;
    // The data page's last report; nullptr when there is none.
    virtual progressReport* ProgressState() = 0;
};

// nullptr (the default) turns the four operations below into no-ops.
void SetProgressBarWindow(ProgressBarWindow* window);

// Filled width of the bar for i of n: trunc(300 * i / n), a full bar for n below 1,
// always within 0..300.
int ProgressFilledWidth(double i, double n);

// Draws one state onto the canvas: the frame (w - 345, h - 57)-(w - 45, h - 31), the filled
// part `filled` pixels wide, the message at (w - 335, h - 47) in the default font.
void PaintProgressBar(platform::Canvas& dc, const progressBarLook& look, const std::string& message, int filled);

// Filled to `fraction` (0..1) unless `skip` is set.
void DrawProgressBar(int skip, const std::string& message, double fraction);
// Filled to i of n; the first argument is not read.
void DrawProgressStep(int unused, const std::string& message, int i, int n);
// Filled to i of n, only when skip is 0, i > 1 and i is a multiple of the period k
// (a period below 1 counts as 1).
void DrawProgressEvery(int skip, int k, const std::string& message, int i, int n);
// Draws the data page's last report once: the report is marked as drawn first.
void RepaintProgressBar();
