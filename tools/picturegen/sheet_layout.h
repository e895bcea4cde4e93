// Where the sheet and its pages lie in a 200 x 170 preview picture. Two and
// six pages per sheet, and a booklet of portrait pages, turn the sheet to the
// other shape; pages are listed in reading order.
#pragma once

#include <vector>

#include "canvas.h"
#include "picture_table.h"

namespace vornik::picturegen {

inline constexpr int kPreviewWidth = 200;
inline constexpr int kPreviewHeight = 170;

struct PagePlace {
  Rect rect;
  int number;
};

struct SheetLayout {
  Rect sheet;
  Orientation pageOrientation;
  bool booklet = false;
  bool framedPages = false;  // several pages on the sheet, each in its own frame
  std::vector<PagePlace> pages;
};

// The sheet alone, identical for a base picture and the binding picture laid
// over it.
Rect SheetRect(Orientation pageOrientation, PagesPerSheet pages);

SheetLayout LayOutSheet(Orientation pageOrientation, PagesPerSheet pages, int variant);

}  // namespace vornik::picturegen
