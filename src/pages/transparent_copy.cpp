#include "pages/transparent_copy.h"

#include "platform/gdi_handles.h"
#include "platform/msimg32.h"

namespace vornik {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

bool TryTransparentBlt(HDC destination, int destinationWidth, int destinationHeight, HDC source,
                       int sourceWidth, int sourceHeight, COLORREF key) {
  const Msimg32Library library;
  const TransparentBltFn transparentBlt = library.TransparentBlt();
  return transparentBlt && transparentBlt(destination, 0, 0, destinationWidth, destinationHeight,
                                          source, 0, 0, sourceWidth, sourceHeight, key);
}

// A memory context compatible with `reference` with its own bitmap selected.
struct WorkSurface {
  WorkSurface(HDC reference, HBITMAP bitmap)
      : dc(reference), bitmap(bitmap), selection(dc.get(), bitmap) {}
  bool ready() const { return dc && bitmap && selection.selected(); }

  MemoryDc dc;
  BitmapHandle bitmap;
  Selection selection;
};

}  // namespace

void DrawTransparentWithMasks(HDC destination, HDC source, int sourceWidth, int sourceHeight,
                              COLORREF key) {
  POINT size = {sourceWidth, sourceHeight};
  DPtoLP(source, &size, 1);
  const int width = size.x;
  const int height = size.y;

  WorkSurface mask(destination, CreateBitmap(width, height, 1, 1, nullptr));
  WorkSurface inverseMask(destination, CreateBitmap(width, height, 1, 1, nullptr));
  WorkSurface work(destination, CreateCompatibleBitmap(destination, width, height));
  WorkSurface save(destination, CreateCompatibleBitmap(destination, width, height));
  if (!mask.ready() || !inverseMask.ready() || !work.ready() || !save.ready()) return;

  const DcMapMode mapping(source, GetMapMode(destination));
  BitBlt(save.dc.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  {
    // Colour to monochrome: the key colour becomes white, all else black.
    const COLORREF background = SetBkColor(source, key);
    BitBlt(mask.dc.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(source, background);
  }
  BitBlt(inverseMask.dc.get(), 0, 0, width, height, mask.dc.get(), 0, 0, NOTSRCCOPY);
  BitBlt(work.dc.get(), 0, 0, width, height, destination, 0, 0, SRCCOPY);
  {
    // Monochrome to colour: white stays all ones, black all zeros.
    const DcColours workColours(work.dc.get(), kBlack, kWhite);
    BitBlt(work.dc.get(), 0, 0, width, height, mask.dc.get(), 0, 0, SRCAND);
    const DcColours sourceColours(source, kBlack, kWhite);
    BitBlt(source, 0, 0, width, height, inverseMask.dc.get(), 0, 0, SRCAND);
  }
  BitBlt(work.dc.get(), 0, 0, width, height, source, 0, 0, SRCPAINT);
  BitBlt(destination, 0, 0, width, height, work.dc.get(), 0, 0, SRCCOPY);
  BitBlt(source, 0, 0, width, height, save.dc.get(), 0, 0, SRCCOPY);
}

void DrawTransparent(HDC destination, int destinationWidth, int destinationHeight, HDC source,
                     int sourceWidth, int sourceHeight, COLORREF key) {
  if (TryTransparentBlt(destination, destinationWidth, destinationHeight, source, sourceWidth,
                        sourceHeight, key)) {
    return;
  }
  DrawTransparentWithMasks(destination, source, sourceWidth, sourceHeight, key);
}

}  // namespace vornik
