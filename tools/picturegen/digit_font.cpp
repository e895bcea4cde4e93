#include "digit_font.h"

#include <cmath>
#include <string>

namespace vornik::picturegen {
namespace {

// One row of five cells per string, '#' filled.
constexpr const char* kGlyphs[10][kDigitCellsHigh] = {
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
};

constexpr int kGapCells = 1;

bool Filled(int digit, int cx, int cy) {
  if (cx < 0 || cy < 0 || cx >= kDigitCellsWide || cy >= kDigitCellsHigh) return false;
  return kGlyphs[digit][cy][cx] == '#';
}

// Strokes joining each filled cell to its filled neighbours: right and down
// always, diagonally only where no two-step path through a filled cell exists.
std::vector<Segment> GlyphStrokes(int digit, double left, double top, double scale) {
  std::vector<Segment> strokes;
  auto centre = [&](int cx, int cy) {
    return Point{left + (cx + 0.5) * scale, top + (cy + 0.5) * scale};
  };
  for (int cy = 0; cy < kDigitCellsHigh; ++cy) {
    for (int cx = 0; cx < kDigitCellsWide; ++cx) {
      if (!Filled(digit, cx, cy)) continue;
      const Point here = centre(cx, cy);
      bool joined = false;
      auto join = [&](int nx, int ny) {
        strokes.push_back({here, centre(nx, ny)});
        joined = true;
      };
      if (Filled(digit, cx + 1, cy)) join(cx + 1, cy);
      if (Filled(digit, cx, cy + 1)) join(cx, cy + 1);
      for (int dx : {-1, 1}) {
        if (Filled(digit, cx + dx, cy + 1) && !Filled(digit, cx + dx, cy) &&
            !Filled(digit, cx, cy + 1)) {
          join(cx + dx, cy + 1);
        }
      }
      const bool hasNeighbour = Filled(digit, cx - 1, cy) || Filled(digit, cx, cy - 1) ||
                                Filled(digit, cx - 1, cy - 1) || Filled(digit, cx + 1, cy - 1);
      if (!joined && !hasNeighbour) strokes.push_back({here, here});
    }
  }
  return strokes;
}

}  // namespace

double NumberWidth(int number, double scale) {
  const int digits = static_cast<int>(std::to_string(number).size());
  return (digits * kDigitCellsWide + (digits - 1) * kGapCells) * scale;
}

double NumberHeight(double scale) { return kDigitCellsHigh * scale; }

void DrawNumber(Canvas& canvas, int number, Point centre, double scale, Colour colour) {
  const std::string text = std::to_string(number);
  const bool crisp = scale < 1.5;
  if (crisp) scale = 1.0;
  double left = centre.x - NumberWidth(number, scale) / 2;
  double top = centre.y - NumberHeight(scale) / 2;
  if (crisp) {
    left = std::round(left);
    top = std::round(top);
  }
  for (char ch : text) {
    const int digit = ch - '0';
    if (crisp) {
      for (int cy = 0; cy < kDigitCellsHigh; ++cy) {
        for (int cx = 0; cx < kDigitCellsWide; ++cx) {
          if (Filled(digit, cx, cy)) {
            canvas.FillRect({left + cx, top + cy, left + cx + 1, top + cy + 1}, colour);
          }
        }
      }
    } else {
      canvas.StrokeSegments(GlyphStrokes(digit, left, top, scale), 0.5 * scale, colour,
                            Edges::kSmooth);
    }
    left += (kDigitCellsWide + kGapCells) * scale;
  }
}

}  // namespace vornik::picturegen
