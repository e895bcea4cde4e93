#include "contact_sheet.h"

#include <map>
#include <vector>

#include "digit_font.h"
#include "layout_icons.h"
#include "picture_table.h"
#include "preview_pictures.h"
#include "sheet_layout.h"

namespace vornik::picturegen {
namespace {

constexpr Colour kBackground{240, 240, 240};
constexpr Colour kWindow{255, 255, 255};
constexpr Colour kLabel{60, 60, 60};
constexpr int kGap = 10;
constexpr int kLabelHeight = 12;
constexpr int kTileW = kPreviewWidth + kGap;
constexpr int kTileH = kPreviewHeight + kLabelHeight + kGap;
constexpr int kColumns = 6;
constexpr int kIconZoom = 4;

struct Tile {
  int id;
  Canvas picture;
};

// Rows of tiles, each row starting at the left.
int PlaceRows(Canvas& sheet, int top, const std::vector<std::vector<Tile>>& rows) {
  for (const auto& row : rows) {
    int x = kGap;
    for (const Tile& t : row) {
      sheet.Paste(t.picture, x, top);
      DrawNumber(sheet, t.id, {x + 1.0 + NumberWidth(t.id, 1) / 2, top + t.picture.height() + 6.0},
                 1, kLabel);
      x += t.picture.width() + kGap;
    }
    top += (row.empty() ? 0 : row.front().picture.height()) + kLabelHeight + kGap;
  }
  return top;
}

Canvas OnWindow(const Canvas& icon, int zoom) {
  Canvas c(icon.width() * zoom, icon.height() * zoom, kWindow);
  c.Paste(icon, 0, 0, zoom);
  return c;
}

}  // namespace

Canvas DrawContactSheet() {
  std::map<int, Canvas> bases;
  for (const BaseRow& row : BaseRows()) bases.emplace(row.id, DrawBasePicture(row));

  std::vector<std::vector<Tile>> iconRows(2);
  for (const IconRow& row : IconRows()) {
    const Canvas icon = DrawIcon(row);
    iconRows[0].push_back({row.id, OnWindow(icon, kIconZoom)});
    Canvas small(kIconSize * kIconZoom, kIconSize + 4, kBackground);
    small.Paste(icon, 0, 2);
    small.Paste(OnWindow(icon, 1), kIconSize + 6, 2);
    iconRows[1].push_back({row.id, small});
  }

  // Each series: one page, two pages and booklets first, then one row for
  // each of 4, 6, 9 and 16 pages per sheet in their four arrangements.
  std::vector<std::vector<Tile>> baseRows;
  for (int series : {12101, 12151, 12201, 12251}) {
    std::vector<Tile> first;
    for (int offset : {0, 4, 5, 24, 25}) {
      auto it = bases.find(series + offset);
      if (it != bases.end())
        first.push_back({it->first, ComposePreview(it->second, nullptr, kWindow)});
    }
    baseRows.push_back(first);
    for (int n = 2; n <= 5; ++n) {
      std::vector<Tile> row;
      for (int v = 0; v < 4; ++v) {
        const int id = series + 4 * n + v;
        row.push_back({id, ComposePreview(bases.at(id), nullptr, kWindow)});
      }
      baseRows.push_back(row);
    }
  }

  // Binding pictures over the colour base of the same sheet, then as stored.
  std::vector<std::vector<Tile>> bindingRows;
  std::vector<Tile> composed, stored;
  for (const BindingRow& row : BindingRows()) {
    const int series = row.orientation == Orientation::kPortrait ? 12101 : 12151;
    const Canvas binding = DrawBindingPicture(row);
    composed.push_back(
        {row.id, ComposePreview(bases.at(series + 4 * row.pages), &binding, kWindow)});
    stored.push_back({row.id, binding});
  }
  for (const auto* list : {&composed, &stored}) {
    for (size_t i = 0; i < list->size(); i += kColumns) {
      bindingRows.emplace_back(list->begin() + i,
                               list->begin() + std::min(list->size(), i + kColumns));
    }
  }

  const int iconHeight = kIconSize * kIconZoom + kIconSize + 4 + 2 * (kLabelHeight + kGap);
  const int height =
      kGap + iconHeight + static_cast<int>(baseRows.size() + bindingRows.size()) * kTileH;
  const int width = std::max(kGap + kColumns * kTileW, kGap + static_cast<int>(IconRows().size()) *
                                                                  (kIconSize * kIconZoom + kGap));
  Canvas sheet(width, height, kBackground);
  int top = PlaceRows(sheet, kGap, iconRows);
  top = PlaceRows(sheet, top, baseRows);
  PlaceRows(sheet, top, bindingRows);
  return sheet;
}

}  // namespace vornik::picturegen
