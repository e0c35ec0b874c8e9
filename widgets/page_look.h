#pragma once
// Looks shared by the model pages and the calculator: the colours a page gives its controls,
// its background and its owner-drawn buttons, and the inclusive hit test of drawn cells.
#include <string>

#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/ctl_color.h"
#include "platform/dialog.h"

// Colours of one control as a page hands them out: text on a background, and the brush that
// fills the rest of the control. A control the page leaves alone keeps hasText false. The
// layer's own record, so that a page's colour handler feeds Dialog::OnCtlColor directly.
using ControlColors = platform::CtlColor;

ControlColors PageBrushOnly(platform::ColorRef brush);
ControlColors TextOn(platform::ColorRef text, platform::ColorRef back, platform::ColorRef brush);

// Fills the whole client area of the page with its brush colour.
void FillPageBackground(platform::Dialog& page, platform::ColorRef brush);

// A button face of the given fill, framed by a raised edge (sunken while pressed), with its
// caption centred on one line; a picture, when given, goes first in a square at the left.
void DrawPageButton(platform::DrawItem& item, platform::ColorRef fill, platform::ColorRef caption,
                    const platform::Bitmap* picture = nullptr);

// The buttons of a small tool dialog: its action button in the given colours and its
// "Cancel" in the tool dialogs' shared white and red. False for any other control.
bool DrawActionAndCancelButtons(platform::DrawItem& item, int actionId, platform::ColorRef fill,
                                platform::ColorRef caption, int cancelId);

// A rectangle outline of the colour and pen width, with the text in that colour above its
// top-left corner (its bottom two pixels above the top edge) in the canvas's current font.
void DrawFramedText(platform::Canvas& dc, const std::string& text, int left, int top, int right, int bottom,
                    platform::ColorRef color, int penWidth);

// 1 when left <= x <= right and top <= y <= bottom: the borders belong to the rectangle.
int PointInRectInclusive(const platform::Rect& r, platform::Point p);
