#pragma once
// Faces of the owner-drawn buttons of the settings pages: a filled face framed by a
// raised edge (sunken while pressed), an optional picture and a one-line caption.
#include <string>

#include "platform/bitmap.h"
#include "platform/canvas.h"

// The raised edge (sunken while pressed) inside r, without filling.
void DrawButtonEdge(platform::Canvas& dc, const platform::Rect& r, bool pressed);
// Fills the face and draws the edge; returns the rectangle inside the edge.
platform::Rect DrawButtonFace(platform::Canvas& dc, const platform::Rect& r, platform::ColorRef face, bool pressed);
// The picture scaled onto the rectangle; nothing when there is no picture.
void DrawButtonPicture(platform::Canvas& dc, const platform::Rect& r, const platform::Bitmap& picture);
// Centred on one line in the rectangle, cut with an end ellipsis when it does not fit.
void DrawButtonCaption(platform::Canvas& dc, const platform::Rect& r, const std::string& text,
                       platform::ColorRef color);

// The pictures of the settings pages' buttons, drawn by the program: 161, a colour palette for
// the colour buttons of the "Chart" page, and 166, a letter for the font buttons of the
// "Legend" page. Any other id gives no picture.
platform::Bitmap LoadButtonPicture(int resourceId);
