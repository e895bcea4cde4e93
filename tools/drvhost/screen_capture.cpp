#include "screen_capture.h"

#include <objbase.h>
#include <wincodec.h>

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

template <typename T>
struct ComRelease {
  T* p = nullptr;
  ~ComRelease() {
    if (p) p->Release();
  }
  T** out() { return &p; }
  T* operator->() const { return p; }
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

bool SavePng(const CapturedImage& image, const std::wstring& path) {
  ComRelease<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()))))
    return false;
  ComRelease<IWICStream> stream;
  ComRelease<IWICBitmapEncoder> encoder;
  ComRelease<IWICBitmapFrameEncode> frame;
  if (FAILED(factory->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
      FAILED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(image.width, image.height)))
    return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
  const UINT stride = static_cast<UINT>((image.width * 3 + 3) & ~3);
  std::vector<BYTE> rows(static_cast<size_t>(stride) * image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t pixel = image.At(x, y);
      BYTE* at = &rows[static_cast<size_t>(y) * stride + x * 3];
      at[0] = pixel & 0xFF;
      at[1] = (pixel >> 8) & 0xFF;
      at[2] = (pixel >> 16) & 0xFF;
    }
  }
  return SUCCEEDED(frame->WritePixels(image.height, stride, static_cast<UINT>(rows.size()),
                                      rows.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace vornik::host
