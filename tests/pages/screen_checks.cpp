#include "screen_checks.h"

namespace vornik::test {

namespace {

// How long a new window may take to reach the X server's screen.
constexpr int kShowAttempts = 50;
constexpr DWORD kShowPollMs = 20;

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

}  // namespace

bool ScreenIsReal() {
  // The null display driver shows nothing: a white window reads back black.
  // On X11 the window is mapped asynchronously, so the probe looks again for a
  // moment before it concludes that the screen shows nothing.
  const HWND probe =
      CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 8,
                      8, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  const COLORREF white = RgbOf(GetSysColor(COLOR_WINDOW));
  bool shown = false;
  for (int attempt = 0; attempt < kShowAttempts && !shown; ++attempt) {
    if (attempt > 0) Sleep(kShowPollMs);
    UpdateWindow(probe);
    PumpMessages();
    GdiFlush();
    CapturedImage image;
    shown = host::CaptureWindow(probe, image) && image.At(4, 4) == white;
  }
  DestroyWindow(probe);
  return shown;
}

}  // namespace vornik::test
