// The transparent copy used to compose the Layout preview: a source picture
// laid onto a destination at (0, 0), where the source's pixels of a key
// colour leave the destination as it was.
#pragma once

#include <windows.h>

namespace vornik {

// TransparentBlt from Msimg32.dll (loaded for this call inside the module's
// call context); the mask method when the library or the function is
// missing or the call fails.
void DrawTransparent(HDC destination, int destinationWidth, int destinationHeight, HDC source,
                     int sourceWidth, int sourceHeight, COLORREF key);

// The mask method alone: the same picture with block copies only. The
// source is changed during the copy and restored before it returns.
void DrawTransparentWithMasks(HDC destination, HDC source, int sourceWidth, int sourceHeight,
                              COLORREF key);

}  // namespace vornik
