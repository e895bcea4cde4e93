// Helpers of the pixel checks, around the driver host's screen capture:
// colours as captured pixels, and whether the screen shows what windows
// paint (Wine's X11 driver) or nothing (the null driver).
#pragma once

#include <windows.h>

#include <cstdint>

#include "screen_capture.h"

namespace vornik::test {

using host::CapturedImage;

// A COLORREF (0x00BBGGRR) as a captured pixel (0x00RRGGBB).
inline uint32_t RgbOf(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// True when a window's painting can be read back from the screen.
bool ScreenIsReal();

}  // namespace vornik::test
