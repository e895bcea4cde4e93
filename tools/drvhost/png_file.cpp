#include "png_file.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

namespace vornik::host {
namespace {

template <typename T>
struct ComRelease {
  T* p = nullptr;
  ~ComRelease() {
    if (p) p->Release();
  }
  T** out() { return &p; }
  T* operator->() const { return p; }
};

bool CreateFactory(ComRelease<IWICImagingFactory>& factory) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.out())));
}

}  // namespace

bool SavePng(const CapturedImage& image, const std::wstring& path) {
  ComRelease<IWICImagingFactory> factory;
  if (!CreateFactory(factory)) return false;
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

bool LoadPng(const std::wstring& path, CapturedImage& out) {
  ComRelease<IWICImagingFactory> factory;
  ComRelease<IWICBitmapDecoder> decoder;
  ComRelease<IWICBitmapFrameDecode> frame;
  ComRelease<IWICFormatConverter> converter;
  if (!CreateFactory(factory) ||
      FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.out())) ||
      FAILED(decoder->GetFrame(0, frame.out())) ||
      FAILED(factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)))
    return false;
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || !width || !height) return false;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.data()))))
    return false;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.pixels.resize(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) out.pixels[i] = pixels[i] & 0x00FFFFFF;
  return true;
}

}  // namespace vornik::host
