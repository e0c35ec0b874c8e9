#pragma once
// Looks of the Data page's controls that the control handles do not cover: picture
// items of the mark combos, control colours and stacking.
#include <vector>

#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/control.h"
#include "platform/font.h"

// Replaces the combo's items by one picture item per bitmap (no text), pictures shown
// side x side pixels.
void SetComboPictures(platform::Control combo, const std::vector<platform::Bitmap>& pictures, int side);
// Text colour on a background colour.
void SetControlColors(platform::Control control, platform::ColorRef text, platform::ColorRef background);
void SetControlFont(platform::Control control, const platform::Font& font);
// Puts the control above its siblings (the rename box over the table).
void RaiseControl(platform::Control control);
