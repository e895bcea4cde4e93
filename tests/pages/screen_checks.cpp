#include "screen_checks.h"

namespace vornik::test {

bool ScreenIsReal() {
  // The null display driver shows nothing: a white window reads back black.
  const HWND probe =
      CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 8,
                      8, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  UpdateWindow(probe);
  GdiFlush();
  CapturedImage image;
  const bool captured = host::CaptureWindow(probe, image);
  DestroyWindow(probe);
  return captured && image.At(4, 4) == RgbOf(GetSysColor(COLOR_WINDOW));
}

}  // namespace vornik::test
