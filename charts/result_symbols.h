#pragma once
// The pictures of the result document's statistical symbols, drawn by the program itself:
// 0 the average (X with a bar over it, 26 x 25), 1 the standard deviation (sigma, 31 x 30),
// 2 the coefficient of variation (sigma over X-bar, in percent, 75 x 33). Black on white.
#include <memory>

namespace platform {
class Bitmap;
}
class resultDocument;

// A new picture of symbol `id`; nullptr for ids other than 0, 1 and 2.
std::shared_ptr<platform::Bitmap> MakeResultSymbol(int id);
// Puts the three pictures into the document's symbol slots 0 to 2 (slots 3 to 5 stay empty).
void AttachResultSymbols(resultDocument& document);
