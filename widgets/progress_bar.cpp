#include "widgets/progress_bar.h"

#include <algorithm>
#include <cmath>

#include "platform/canvas.h"

namespace {

constexpr int kBarWidth = 300;
ProgressBarWindow* progressWindow = nullptr;

int Clamp(double filled) {
    if (!(filled > 0)) return 0;  // NaN too
    if (filled >= kBarWidth) return kBarWidth;
    return static_cast<int>(filled);
}

void Draw(const std::string& message, int filled) {
    if (!progressWindow) return;
    progressBarLook look;
    if (!progressWindow->ProgressBarShown(look)) return;
    progressWindow->PaintOnClientArea(
        [&](platform::Canvas& dc) { PaintProgressBar(dc, look, message, filled); });
}

}  // namespace

void SetProgressBarWindow(ProgressBarWindow* window) { progressWindow = window; }

int ProgressFilledWidth(double i, double n) {
    if (!(n >= 1)) return kBarWidth;
    return Clamp(std::trunc(kBarWidth * i / n));
}

void PaintProgressBar(platform::Canvas& dc, const progressBarLook& look, const std::string& message, int filled) {
    filled = std::clamp(filled, 0, kBarWidth);
    const int w = look.chartWidth, h = look.chartHeight;
    const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 3, look.barColor));
    const platform::Brush oldBrush = dc.SelectBrush(platform::Brush::Solid(look.frameColor));
    const platform::ColorRef oldText = dc.SetTextColor(look.textColor);
    const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
    const platform::Font oldFont = dc.SelectFont(platform::Font{});

    dc.Rectangle(w - 345, h - 57, w - 45, h - 31);
    dc.SelectBrush(platform::Brush::Solid(look.barColor));
    dc.Rectangle(w - 345, h - 57, w - 345 + filled, h - 31);
    dc.TextOut(w - 335, h - 47, message);

    dc.SelectFont(oldFont);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldText);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void DrawProgressBar(int skip, const std::string& message, double fraction) {
    if (skip != 0) return;
    Draw(message, Clamp(std::trunc(kBarWidth * fraction)));
}

void DrawProgressStep(int /*unused*/, const std::string& message, int i, int n) {
    Draw(message, ProgressFilledWidth(i, n));
}

void DrawProgressEvery(int skip, int k, const std::string& message, int i, int n) {
    if (skip != 0 || i <= 1) return;
    // A period of 0 would divide by zero; every step is then a multiple.
    const long long period = std::max(k, 1);
    if (i % period != 0) return;
    Draw(message, ProgressFilledWidth(i, n));
}

void RepaintProgressBar() {
    if (!progressWindow) return;
    progressBarLook look;
    if (!progressWindow->ProgressBarShown(look)) return;
    progressReport* state = progressWindow->ProgressState();
    if (!state || !state->active) return;
    state->active = 0;
    DrawProgressStep(state->kind, state->text, state->current, state->total);
}
