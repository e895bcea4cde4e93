// Pictures of windows as the screen shows them, for the pixel checks: the
// screen rectangle copied from the screen DC (child controls included), and
// PNG files written through the platform's imaging component. Needs a real
// display driver (Wine's X11 driver under Xvfb).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vornik::test {

struct CapturedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down rows

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A COLORREF (0x00BBGGRR) as a captured pixel (0x00RRGGBB).
inline uint32_t RgbOf(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// Copies what the screen shows of `rect` (screen coordinates).
bool CaptureScreenRect(const RECT& rect, CapturedImage& out);
// The same for a window's rectangle.
bool CaptureWindow(HWND window, CapturedImage& out);

// Writes a 24-bit PNG; initialises COM on the calling thread if needed.
bool SavePng(const CapturedImage& image, const std::wstring& path);

// True when the screen shows what windows paint (not the null driver).
bool ScreenIsReal();

}  // namespace vornik::test
