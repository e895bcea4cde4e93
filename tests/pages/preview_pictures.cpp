#include "preview_pictures.h"

#include "resources/resource_ids.h"
#include "screen_checks.h"

namespace vornik::test {

Picture ReadBitmap(HDC dc, HBITMAP bitmap) {
  Picture picture;
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof(info), &info)) return picture;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(request.bmiHeader);
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -info.bmHeight;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  picture.width = info.bmWidth;
  picture.height = info.bmHeight;
  picture.pixels.resize(static_cast<size_t>(info.bmWidth) * info.bmHeight);
  if (!GetDIBits(dc, bitmap, 0, info.bmHeight, picture.pixels.data(), &request, DIB_RGB_COLORS)) {
    return Picture{};
  }
  for (uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFF;
  return picture;
}

Picture LoadPicture(HMODULE module, int id) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return Picture{};
  HDC dc = CreateCompatibleDC(nullptr);
  Picture picture = ReadBitmap(dc, bitmap);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return picture;
}

const Picture& PreviewComposer::Get(int id) {
  auto found = pictures_.find(id);
  if (found == pictures_.end()) found = pictures_.emplace(id, LoadPicture(module_, id)).first;
  return found->second;
}

Picture PreviewComposer::Compose(int baseId, int bindingId, uint32_t windowColour) {
  const uint32_t outsideKey = RgbOf(PREVIEW_OUTSIDE_KEY);
  const uint32_t bindingKey = RgbOf(BINDING_SHEET_KEY);
  Picture result = Get(baseId);
  if (result.empty()) return result;
  const Picture* binding = bindingId ? &Get(bindingId) : nullptr;
  for (int y = 0; y < result.height; ++y) {
    for (int x = 0; x < result.width; ++x) {
      uint32_t& pixel = result.pixels[static_cast<size_t>(y) * result.width + x];
      if (binding && !binding->empty() && x < binding->width && y < binding->height &&
          binding->At(x, y) != bindingKey) {
        pixel = binding->At(x, y);
      }
      if (pixel == outsideKey) pixel = windowColour;
    }
  }
  return result;
}

}  // namespace vornik::test
