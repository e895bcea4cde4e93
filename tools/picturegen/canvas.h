// A small RGBA raster with the few fills the prepared pictures need: rectangles,
// polygons, discs, rounded shapes and stroked segments, each either with hard
// edges (one sample at the pixel centre) or smoothed (8 x 8 samples a pixel).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vornik::picturegen {

struct Colour {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Colour& o) const { return !(*this == o); }
};

struct Point {
  double x = 0, y = 0;
};

// Pixel-edge coordinates: the pixel (x, y) covers [x, x + 1) x [y, y + 1).
struct Rect {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  double width() const { return x1 - x0; }
  double height() const { return y1 - y0; }
  Rect Inset(double dx, double dy) const { return {x0 + dx, y0 + dy, x1 - dx, y1 - dy}; }
};

struct Segment {
  Point a, b;
};

enum class Edges { kHard, kSmooth };

using InsideTest = std::function<bool(double x, double y)>;

class Canvas {
 public:
  Canvas(int width, int height, Colour fill);

  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, Colour c) { pixels_[Index(x, y)] = c; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Paints colour c over the area where `inside` holds, within `bounds`.
  void Fill(const Rect& bounds, const InsideTest& inside, Colour c, Edges edges);
  // Takes alpha away where `inside` holds (used to cut a gap around an overlay).
  void Erase(const Rect& bounds, const InsideTest& inside, Edges edges);

  void FillRect(const Rect& r, Colour c, Edges edges = Edges::kHard);
  void FillPolygon(const std::vector<Point>& points, Colour c, Edges edges);
  void FillDisc(Point centre, double radius, Colour c, Edges edges);
  void FillRoundRect(const Rect& r, double radius, Colour c, Edges edges);
  // Round-capped strokes of the given half width.
  void StrokeSegments(const std::vector<Segment>& segments, double halfWidth, Colour c,
                      Edges edges);
  // A one-pixel hard frame just inside r.
  void FrameRect(const Rect& r, Colour c);
  // Per-pixel colour from a function of the pixel centre, over r (hard edges).
  void Shade(const Rect& r, const std::function<Colour(double x, double y)>& colourAt);

  // Copies src with its top-left corner at (x, y), scaled by an integer factor.
  void Paste(const Canvas& src, int x, int y, int zoom = 1);

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  // Number of samples (of `total`) inside, for the pixel (x, y).
  int Coverage(int x, int y, const InsideTest& inside, Edges edges, int* total) const;
  void Blend(int x, int y, Colour c, double coverage);

  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// Geometry helpers shared by the drawings.
bool InsidePolygon(const std::vector<Point>& points, double x, double y);
double DistanceToSegment(const Segment& s, double x, double y);
Rect BoundsOf(const std::vector<Point>& points);

}  // namespace vornik::picturegen
