#pragma once

// Hue of a colour for the image import: red, green and blue 0 to 255 give a hue in
// [0, 1] (red 0, green about 1/3, blue about 2/3), or -0.1 for a grey.
double HueOfRgb(int red, int green, int blue);
