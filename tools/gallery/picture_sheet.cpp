#include "picture_sheet.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi_handles.h"

namespace vornik::gallery {
namespace {

constexpr int kGap = 12;          // between tiles and around the sheet
constexpr int kLabelHeight = 20;  // the label's line above its tile
constexpr int kLabelPoints = 10;
constexpr uint32_t kGround = 0xFFFFFF;
constexpr uint32_t kFrame = 0xA0A0A0;
constexpr COLORREF kLabelColour = RGB(0x20, 0x20, 0x20);

// A top-down 32-bit DIB section for `dc`; `bits` receives its pixels.
HBITMAP CreateTopDownDib(HDC dc, int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
}

HFONT CreateLabelFont(HDC dc) {
  return CreateFontW(-MulDiv(kLabelPoints, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_SEMIBOLD,
                     FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

void FillRect32(uint32_t* bits, int stride, const RECT& rect, uint32_t colour) {
  for (LONG y = rect.top; y < rect.bottom; ++y)
    std::fill(bits + y * stride + rect.left, bits + y * stride + rect.right, colour);
}

// The tile's label at (left, top) and its framed picture below it, on a
// surface `stride` pixels wide.
void DrawTile(HDC dc, uint32_t* bits, int stride, const Tile& tile, int left, int top,
              int labelWidth) {
  RECT label{left, top, left + labelWidth, top + kLabelHeight};
  DrawTextW(dc, tile.label.c_str(), -1, &label,
            DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX | DT_END_ELLIPSIS);
  GdiFlush();
  const CapturedImage& image = tile.image;
  const int frameTop = top + kLabelHeight;
  FillRect32(bits, stride, {left, frameTop, left + image.width + 2, frameTop + image.height + 2},
             kFrame);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(bits + static_cast<size_t>(frameTop + 1 + y) * stride + left + 1,
                &image.pixels[static_cast<size_t>(y) * image.width],
                image.width * sizeof(uint32_t));
  }
}

}  // namespace

CapturedImage Trim(const CapturedImage& image, int margin) {
  if (image.pixels.empty()) return image;
  const uint32_t ground = image.At(0, 0);
  int left = image.width, top = image.height, right = -1, bottom = -1;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.At(x, y) == ground) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return image;
  left = std::max(0, left - margin);
  top = std::max(0, top - margin);
  right = std::min(image.width - 1, right + margin);
  bottom = std::min(image.height - 1, bottom + margin);
  CapturedImage trimmed;
  trimmed.width = right - left + 1;
  trimmed.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y) {
    const uint32_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
    trimmed.pixels.insert(trimmed.pixels.end(), row + left, row + right + 1);
  }
  return trimmed;
}

CapturedImage Reduce(const CapturedImage& image, int factor) {
  if (factor <= 1) return image;
  CapturedImage reduced;
  reduced.width = image.width / factor;
  reduced.height = image.height / factor;
  reduced.pixels.resize(static_cast<size_t>(reduced.width) * reduced.height);
  const int samples = factor * factor;
  for (int y = 0; y < reduced.height; ++y) {
    for (int x = 0; x < reduced.width; ++x) {
      uint32_t sum[3] = {};
      for (int dy = 0; dy < factor; ++dy) {
        for (int dx = 0; dx < factor; ++dx) {
          const uint32_t pixel = image.At(x * factor + dx, y * factor + dy);
          for (int c = 0; c < 3; ++c) sum[c] += (pixel >> (8 * c)) & 0xFF;
        }
      }
      uint32_t mean = 0;
      for (int c = 0; c < 3; ++c) mean |= ((sum[c] + samples / 2) / samples) << (8 * c);
      reduced.pixels[static_cast<size_t>(y) * reduced.width + x] = mean;
    }
  }
  return reduced;
}

CapturedImage ComposeSheet(const std::vector<Tile>& tiles, int columns) {
  if (tiles.empty() || columns < 1) return {};
  int cellWidth = 0, cellHeight = 0;
  for (const Tile& tile : tiles) {
    cellWidth = std::max(cellWidth, tile.image.width + 2);  // with the frame
    cellHeight = std::max(cellHeight, tile.image.height + 2);
  }
  columns = std::min<int>(columns, static_cast<int>(tiles.size()));
  const int rows = (static_cast<int>(tiles.size()) + columns - 1) / columns;
  const int width = kGap + columns * (cellWidth + kGap);
  const int height = kGap + rows * (kLabelHeight + cellHeight + kGap);
  const MemoryDc dc(nullptr);
  uint32_t* bits = nullptr;
  const BitmapHandle bitmap(CreateTopDownDib(dc.get(), width, height, &bits));
  const Selection drawOnBitmap(dc.get(), bitmap.get());
  const GdiObject<HFONT> font(CreateLabelFont(dc.get()));
  const Selection writeWithFont(dc.get(), font.get());
  if (!drawOnBitmap.selected() || !bits) return {};
  FillRect32(bits, width, {0, 0, width, height}, kGround);
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), kLabelColour);
  for (size_t i = 0; i < tiles.size(); ++i) {
    const int left = kGap + static_cast<int>(i % columns) * (cellWidth + kGap);
    const int top = kGap + static_cast<int>(i / columns) * (kLabelHeight + cellHeight + kGap);
    DrawTile(dc.get(), bits, width, tiles[i], left, top, cellWidth);
  }
  GdiFlush();
  CapturedImage sheet;
  sheet.width = width;
  sheet.height = height;
  sheet.pixels.assign(bits, bits + static_cast<size_t>(width) * height);
  for (uint32_t& pixel : sheet.pixels) pixel &= 0x00FFFFFF;
  return sheet;
}

}  // namespace vornik::gallery
