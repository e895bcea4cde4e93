#include "screen_picture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>

#include "support/plugin_dll.h"

namespace vornik::test {
namespace {

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

bool CaptureScreenRect(const RECT& rect, CapturedImage& out) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  const ScreenDc screen;
  if (!screen.get()) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return false;
  HDC memory = CreateCompatibleDC(screen.get());
  HGDIOBJ previous = SelectObject(memory, section);
  const bool copied =
      BitBlt(memory, 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY) != FALSE;
  GdiFlush();
  if (copied) {
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<size_t>(width) * height);
    std::memcpy(out.pixels.data(), bits, out.pixels.size() * sizeof(uint32_t));
    for (uint32_t& pixel : out.pixels) pixel &= 0x00FFFFFF;
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(section);
  return copied;
}

bool CaptureWindow(HWND window, CapturedImage& out) {
  RECT rect{};
  return GetWindowRect(window, &rect) && CaptureScreenRect(rect, out);
}

bool SavePng(const CapturedImage& image, const std::wstring& path) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool saved = false;
  {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    std::vector<BYTE> row(static_cast<size_t>(image.width) * 3);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, factory.out_void())) &&
        SUCCEEDED(factory->CreateStream(stream.out())) &&
        SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) &&
        SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.out(), nullptr)) &&
        SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(image.width, image.height)) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
      saved = true;
      for (int y = 0; y < image.height && saved; ++y) {
        for (int x = 0; x < image.width; ++x) {
          const uint32_t pixel = image.At(x, y);
          row[3 * x] = static_cast<BYTE>(pixel);
          row[3 * x + 1] = static_cast<BYTE>(pixel >> 8);
          row[3 * x + 2] = static_cast<BYTE>(pixel >> 16);
        }
        saved = SUCCEEDED(frame->WritePixels(1, static_cast<UINT>(row.size()),
                                             static_cast<UINT>(row.size()), row.data()));
      }
      saved = saved && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return saved;
}

bool ScreenIsReal() {
  // The null display driver shows nothing: a white window reads back black.
  const HWND probe =
      CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 8,
                      8, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  UpdateWindow(probe);
  GdiFlush();
  CapturedImage image;
  const bool captured = CaptureWindow(probe, image);
  DestroyWindow(probe);
  return captured && image.At(4, 4) == RgbOf(GetSysColor(COLOR_WINDOW));
}

}  // namespace vornik::test
