// Page numbers: a 5 x 7 pixel font of the ten digits. At scale 1 the digits
// are set as crisp pixels; larger scales trace the same cells as round-capped
// strokes through the cell centres, so big numbers stay smooth instead of
// turning into blocks.
#pragma once

#include "canvas.h"

namespace vornik::picturegen {

inline constexpr int kDigitCellsWide = 5;
inline constexpr int kDigitCellsHigh = 7;

// Width and height in pixels of `number` set at `scale` (cells per pixel).
double NumberWidth(int number, double scale);
double NumberHeight(double scale);

// Sets `number` centred on `centre`. Scales below 1.5 are set as crisp pixels
// at scale 1.
void DrawNumber(Canvas& canvas, int number, Point centre, double scale, Colour colour);

}  // namespace vornik::picturegen
