#include "screen_capture.h"

#include <cstring>

namespace vornik::host {
namespace {

// Owners of the handles a capture takes.
struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() {
    if (dc) ReleaseDC(nullptr, dc);
  }
};

struct MemoryDc {
  HDC dc;
  explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc) DeleteDC(dc);
  }
};

struct Bitmap {
  HBITMAP bitmap = nullptr;
  ~Bitmap() {
    if (bitmap) DeleteObject(bitmap);
  }
};

struct Selection {
  HDC dc;
  HGDIOBJ previous;
  Selection(HDC target, HGDIOBJ object) : dc(target), previous(SelectObject(target, object)) {}
  ~Selection() { SelectObject(dc, previous); }
};

}  // namespace

bool CaptureScreenRect(const RECT& rect, CapturedImage& out) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  ScreenDc screen;
  MemoryDc memory(screen.dc);
  if (!screen.dc || !memory.dc) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap dib;
  dib.bitmap = CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib.bitmap || !bits) return false;
  {
    Selection select(memory.dc, dib.bitmap);
    if (!BitBlt(memory.dc, 0, 0, width, height, screen.dc, rect.left, rect.top, SRCCOPY))
      return false;
  }
  GdiFlush();
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(width) * height, 0);
  const auto* source = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = source[i] & 0x00FFFFFF;
  return true;
}

bool CaptureWindow(HWND window, CapturedImage& out) {
  RECT rect;
  return window && GetWindowRect(window, &rect) && CaptureScreenRect(rect, out);
}

bool CaptureClientArea(HWND window, CapturedImage& out) {
  RECT rect;
  if (!window || !GetClientRect(window, &rect)) return false;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return CaptureScreenRect(rect, out);
}

}  // namespace vornik::host
