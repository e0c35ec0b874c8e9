#pragma once
// The owner-drawn buttons of the Data page: their colours and when they are drawn.
#include <string>

#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/font.h"

struct DataPageButtonLook {
    enum DrawnWhen { kWithSeries, kAlways, kInsertRule };
    int id;
    const char* caption;
    DrawnWhen drawnWhen;  // kInsertRule: no series or one, and the button enabled
    platform::ColorRef fill;
    platform::ColorRef fillDisabled;
    platform::ColorRef captionColor;
};

// The look of an owner-drawn button of the page; nullptr for other ids.
const DataPageButtonLook* FindDataPageButton(int id);

// A caption centred on one line with an ellipsis at its end, in the font and colour
// given; the canvas's font and text colour are restored afterwards.
void ButtonCaption(platform::Canvas& dc, const platform::Rect& r, const std::string& text, platform::ColorRef color,
                   const platform::Font& font);
