// Owners of GDI resources for one scope: objects (bitmaps, brushes), memory
// device contexts, selections into a context, a context's colours and
// mapping mode, a window's paint, and icons. Each gives its resource back
// in its destructor, so an early return cannot leak.
#pragma once

#include <windows.h>

namespace vornik {

// A GDI object (HBITMAP, HBRUSH, ...) deleted at the end of the scope.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() {
    if (handle_) DeleteObject(handle_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;

// A memory device context compatible with `reference`, deleted at the end.
class MemoryDc {
 public:
  explicit MemoryDc(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Selects an object into a context and puts the previous one back at the
// end of the scope. Declared after the object and the context it joins, so
// that it is undone before either goes.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

  bool selected() const { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Sets a context's text and background colours for a scope.
class DcColours {
 public:
  DcColours(HDC dc, COLORREF text, COLORREF background)
      : dc_(dc), text_(SetTextColor(dc, text)), background_(SetBkColor(dc, background)) {}
  ~DcColours() {
    SetTextColor(dc_, text_);
    SetBkColor(dc_, background_);
  }
  DcColours(const DcColours&) = delete;
  DcColours& operator=(const DcColours&) = delete;

 private:
  HDC dc_;
  COLORREF text_;
  COLORREF background_;
};

// Sets a context's mapping mode for a scope.
class DcMapMode {
 public:
  DcMapMode(HDC dc, int mode) : dc_(dc), previous_(SetMapMode(dc, mode)) {}
  ~DcMapMode() {
    if (previous_) SetMapMode(dc_, previous_);
  }
  DcMapMode(const DcMapMode&) = delete;
  DcMapMode& operator=(const DcMapMode&) = delete;

 private:
  HDC dc_;
  int previous_;
};

// BeginPaint and EndPaint of a window.
class WindowPaint {
 public:
  explicit WindowPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~WindowPaint() {
    if (dc_) EndPaint(window_, &paint_);
  }
  WindowPaint(const WindowPaint&) = delete;
  WindowPaint& operator=(const WindowPaint&) = delete;

  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An icon destroyed at the end of the scope.
class IconHandle {
 public:
  explicit IconHandle(HICON icon) : icon_(icon) {}
  ~IconHandle() {
    if (icon_) DestroyIcon(icon_);
  }
  IconHandle(const IconHandle&) = delete;
  IconHandle& operator=(const IconHandle&) = delete;

  HICON get() const { return icon_; }

 private:
  HICON icon_;
};

}  // namespace vornik
