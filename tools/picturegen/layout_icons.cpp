#include "layout_icons.h"

#include <cmath>

#include "turned_corner.h"

namespace vornik::picturegen {
namespace {

constexpr Colour kTransparent{0, 0, 0, 0};
constexpr Colour kPaper{255, 255, 255};
constexpr Colour kEdge{112, 112, 112};
constexpr Colour kAccent{0, 103, 192};
constexpr Colour kText{168, 168, 168};
constexpr Colour kFlap{226, 226, 226};
constexpr Colour kWarningFill{255, 196, 18};
constexpr Colour kWarningEdge{178, 112, 0};
constexpr Colour kWarningMark{32, 32, 32};

constexpr Rect kPortraitSheet{4, 1, 16, 19};
constexpr Rect kLandscapeSheet{1, 4, 19, 16};

void DrawSheet(Canvas& c, const Rect& s) {
  c.FillRect(s, kPaper);
  c.FrameRect(s, kEdge);
}

// A capital A in the middle of the sheet, upside down for rotated landscape.
void DrawLetterA(Canvas& c, const Rect& s, bool upsideDown) {
  constexpr const char* kRows[] = {"..###..", ".##.##.", "##...##", "##...##",
                                   "#######", "##...##", "##...##", "##...##"};
  constexpr int kW = 7, kH = 8;
  const int left = static_cast<int>((s.x0 + s.x1 - kW) / 2);
  const int top = static_cast<int>((s.y0 + s.y1 - kH) / 2);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      if (kRows[upsideDown ? kH - 1 - y : y][x] == '#') c.Set(left + x, top + y, kAccent);
    }
  }
}

void DrawTextLines(Canvas& c, const Rect& s, double skipLeft, double skipTop) {
  for (double y = s.y0 + 3 + skipTop; y + 1 <= s.y1 - 2; y += 2) {
    c.FillRect({s.x0 + 3 + skipLeft, y, s.x1 - 3, y + 1}, kText);
  }
}

// Binding bar along the left or top edge, and the opposite corner turned over
// (sideways for a left binding, upwards for a top binding).
void DrawBinding(Canvas& c, const Rect& s, bool leftEdge) {
  if (leftEdge) {
    c.FillRect({s.x0 + 1, s.y0 + 1, s.x0 + 3, s.y1 - 1}, kAccent);
  } else {
    c.FillRect({s.x0 + 1, s.y0 + 1, s.x1 - 1, s.y0 + 3}, kAccent);
  }
  const TurnedCorner t = TurnCorner(s, leftEdge ? 5 : 8, leftEdge ? 8 : 5);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      if (InLifted(t, x, y)) {
        c.Set(x, y, kTransparent);
      } else if (OnFlapRim(t, x, y)) {
        c.Set(x, y, kEdge);
      } else if (InFlap(t, x, y)) {
        c.Set(x, y, kFlap);
      }
    }
  }
}

// A rounded triangle with an exclamation mark, filling `box`.
void DrawWarningTriangle(Canvas& c, const Rect& box) {
  const double w = box.width(), h = box.height();
  const double r = std::max(1.0, 0.09 * w);
  const std::vector<Point> core = {
      {box.x0 + w / 2, box.y0 + r * 1.2}, {box.x1 - r, box.y1 - r}, {box.x0 + r, box.y1 - r}};
  auto rounded = [&](double radius) {
    return [&core, radius](double x, double y) {
      if (InsidePolygon(core, x, y)) return true;
      for (size_t i = 0; i < core.size(); ++i) {
        if (DistanceToSegment({core[i], core[(i + 1) % core.size()]}, x, y) <= radius) return true;
      }
      return false;
    };
  };
  c.Fill(box, rounded(r), kWarningEdge, Edges::kSmooth);
  c.Fill(box, rounded(r - 1), kWarningFill, Edges::kSmooth);
  const double cx = box.x0 + w / 2;
  const double stroke = std::max(0.7, 0.055 * w);
  c.StrokeSegments({{{cx, box.y0 + 0.36 * h}, {cx, box.y0 + 0.64 * h}}}, stroke, kWarningMark,
                   Edges::kSmooth);
  c.FillDisc({cx, box.y0 + 0.80 * h}, stroke * 1.15, kWarningMark, Edges::kSmooth);
}

// The small triangle in the lower right corner, with a transparent gap
// around it so it reads over the picture beneath.
void DrawWarningMark(Canvas& c) {
  const Rect box{9, 9, 20, 20};
  const std::vector<Point> gap = {{14.5, 7.5}, {21.5, 21}, {7.5, 21}};
  c.Erase(
      BoundsOf(gap), [&](double x, double y) { return InsidePolygon(gap, x, y); }, Edges::kSmooth);
  DrawWarningTriangle(c, box);
}

void DrawPicture(Canvas& c, IconPicture picture) {
  switch (picture) {
    case IconPicture::kWarning:
      DrawWarningTriangle(c, {0, 1, 20, 19});
      return;
    case IconPicture::kPortrait:
      DrawSheet(c, kPortraitSheet);
      DrawLetterA(c, kPortraitSheet, false);
      return;
    case IconPicture::kLandscape:
      DrawSheet(c, kLandscapeSheet);
      DrawLetterA(c, kLandscapeSheet, false);
      return;
    case IconPicture::kRotatedLandscape:
      DrawSheet(c, kLandscapeSheet);
      DrawLetterA(c, kLandscapeSheet, true);
      return;
    case IconPicture::kOneSided:
      DrawSheet(c, kPortraitSheet);
      DrawTextLines(c, kPortraitSheet, 0, 0);
      return;
    case IconPicture::kShortEdgePortrait:
      DrawSheet(c, kPortraitSheet);
      DrawTextLines(c, kPortraitSheet, 0, 2);
      DrawBinding(c, kPortraitSheet, false);
      return;
    case IconPicture::kLongEdgePortrait:
      DrawSheet(c, kPortraitSheet);
      DrawTextLines(c, kPortraitSheet, 2, 0);
      DrawBinding(c, kPortraitSheet, true);
      return;
    case IconPicture::kShortEdgeLandscape:
      DrawSheet(c, kLandscapeSheet);
      DrawTextLines(c, kLandscapeSheet, 2, 0);
      DrawBinding(c, kLandscapeSheet, true);
      return;
    case IconPicture::kLongEdgeLandscape:
      DrawSheet(c, kLandscapeSheet);
      DrawTextLines(c, kLandscapeSheet, 0, 2);
      DrawBinding(c, kLandscapeSheet, false);
      return;
  }
}

}  // namespace

Canvas DrawIcon(const IconRow& row) {
  Canvas c(kIconSize, kIconSize, kTransparent);
  DrawPicture(c, row.picture);
  if (row.warningMark) DrawWarningMark(c);
  return c;
}

}  // namespace vornik::picturegen
