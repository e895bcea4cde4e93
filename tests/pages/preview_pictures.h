// The preview as it should look, worked out here from the DLL's own bitmap
// resources with plain pixel arithmetic (no GDI transparency): the binding
// picture over the base where it is not the binding key colour, then the
// result over the window colour where it is not the outside key colour.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

namespace vornik::test {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down rows

  bool empty() const { return pixels.empty(); }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Bitmap `id` of `module` as pixels; empty when there is no such bitmap.
Picture LoadPicture(HMODULE module, int id);

// The composed preview picture of a base and a binding picture (0: none).
class PreviewComposer {
 public:
  explicit PreviewComposer(HMODULE module) : module_(module) {}
  // Empty when the base picture is missing.
  Picture Compose(int baseId, int bindingId, uint32_t windowColour);

 private:
  const Picture& Get(int id);
  HMODULE module_;
  std::map<int, Picture> pictures_;
};

// A picture of a memory bitmap's pixels (32 bits, top-down).
Picture ReadBitmap(HDC dc, HBITMAP bitmap);

}  // namespace vornik::test
