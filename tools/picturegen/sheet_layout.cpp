#include "sheet_layout.h"

#include <cmath>

namespace vornik::picturegen {
namespace {

// Long over short side of the paper.
constexpr double kPaperRatio = 1.41421356;

constexpr Rect kPortraitSheet{43, 5, 156, 165};
constexpr Rect kLandscapeSheet{5, 18, 195, 152};

// Gap between the sheet's border and its pages, and between pages.
constexpr double kSheetMargin = 5;
constexpr double kPageGap = 4;

struct Grid {
  int columns, rows;
};

// Columns and rows of pages for portrait pages; landscape pages swap them.
constexpr Grid kPortraitGrids[] = {{1, 1}, {2, 1}, {2, 2}, {3, 2}, {3, 3}, {4, 4}, {2, 1}};

bool SheetIsLandscape(Orientation pageOrientation, PagesPerSheet pages) {
  if (pages == kBooklet) return true;
  const bool turned = pages == kTwoUp || pages == kSixUp;
  return (pageOrientation == Orientation::kLandscape) != turned;
}

Rect Snap(const Rect& r) {
  return {std::round(r.x0), std::round(r.y0), std::round(r.x1), std::round(r.y1)};
}

// The largest page of the given orientation centred in `cell`.
Rect FitPage(const Rect& cell, Orientation orientation) {
  const double ratio = orientation == Orientation::kPortrait ? kPaperRatio : 1.0 / kPaperRatio;
  double w = cell.width(), h = w * ratio;
  if (h > cell.height()) {
    h = cell.height();
    w = h / ratio;
  }
  const double x = cell.x0 + (cell.width() - w) / 2, y = cell.y0 + (cell.height() - h) / 2;
  return Snap({x, y, x + w, y + h});
}

// Grid position of the k-th page read in the given arrangement.
void CellOf(int k, const Grid& g, int arrangement, int* column, int* row) {
  const bool columnsFirst = arrangement == 1 || arrangement == 3;
  const bool rightToLeft = arrangement == 2 || arrangement == 3;
  *column = columnsFirst ? k / g.rows : k % g.columns;
  *row = columnsFirst ? k % g.rows : k / g.columns;
  if (rightToLeft) *column = g.columns - 1 - *column;
}

}  // namespace

Rect SheetRect(Orientation pageOrientation, PagesPerSheet pages) {
  return SheetIsLandscape(pageOrientation, pages) ? kLandscapeSheet : kPortraitSheet;
}

SheetLayout LayOutSheet(Orientation pageOrientation, PagesPerSheet pages, int variant) {
  SheetLayout layout;
  layout.sheet = SheetRect(pageOrientation, pages);
  layout.pageOrientation = pageOrientation;
  const Rect& s = layout.sheet;

  if (pages == kOneUp) {
    layout.pages.push_back({s, 1});
    return layout;
  }
  if (pages == kBooklet) {
    // An opened booklet: the even page left of the fold when bound on the
    // left edge, right of it when bound on the right.
    layout.booklet = true;
    const double fold = std::round((s.x0 + s.x1) / 2);
    const Rect halves[2] = {{s.x0, s.y0, fold, s.y1}, {fold, s.y0, s.x1, s.y1}};
    const bool rightEdge = variant == 1;
    for (int i = 0; i < 2; ++i) {
      const Rect page = pageOrientation == Orientation::kPortrait
                            ? halves[i]
                            : FitPage(halves[i].Inset(kSheetMargin, 0), pageOrientation);
      layout.pages.push_back({page, (i == 0) != rightEdge ? 2 : 3});
    }
    return layout;
  }

  layout.framedPages = true;
  Grid grid = kPortraitGrids[pages];
  if (pageOrientation == Orientation::kLandscape) grid = {grid.rows, grid.columns};
  // Two pages per sheet: variant 1 reads right to left.
  const int arrangement = pages == kTwoUp ? (variant == 1 ? 2 : 0) : variant;
  const Rect area = s.Inset(1 + kSheetMargin, 1 + kSheetMargin);
  const double cellW = (area.width() - (grid.columns - 1) * kPageGap) / grid.columns;
  const double cellH = (area.height() - (grid.rows - 1) * kPageGap) / grid.rows;
  for (int k = 0; k < grid.columns * grid.rows; ++k) {
    int column = 0, row = 0;
    CellOf(k, grid, arrangement, &column, &row);
    const double x = area.x0 + column * (cellW + kPageGap);
    const double y = area.y0 + row * (cellH + kPageGap);
    layout.pages.push_back({FitPage({x, y, x + cellW, y + cellH}, pageOrientation), k + 1});
  }
  return layout;
}

}  // namespace vornik::picturegen
