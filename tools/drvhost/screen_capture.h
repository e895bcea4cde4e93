// Pictures of windows as they appear on the screen: the window's screen
// rectangle copied from the screen DC, so child controls are included.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vornik::host {

struct CapturedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down rows

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Copies what the screen shows of `window` (or of `rect`, in screen
// coordinates). Needs a real display driver; false when the copy fails.
bool CaptureWindow(HWND window, CapturedImage& out);
// The same for the window's client area only (no frame or caption).
bool CaptureClientArea(HWND window, CapturedImage& out);
bool CaptureScreenRect(const RECT& rect, CapturedImage& out);

}  // namespace vornik::host
