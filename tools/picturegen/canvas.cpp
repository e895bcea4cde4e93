#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace vornik::picturegen {
namespace {

constexpr int kSamplesPerAxis = 8;

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

int Canvas::Coverage(int x, int y, const InsideTest& inside, Edges edges, int* total) const {
  if (edges == Edges::kHard) {
    *total = 1;
    return inside(x + 0.5, y + 0.5) ? 1 : 0;
  }
  *total = kSamplesPerAxis * kSamplesPerAxis;
  int count = 0;
  for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
    for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
      if (inside(x + (sx + 0.5) / kSamplesPerAxis, y + (sy + 0.5) / kSamplesPerAxis)) ++count;
    }
  }
  return count;
}

void Canvas::Blend(int x, int y, Colour c, double coverage) {
  Colour& d = pixels_[Index(x, y)];
  const double sa = coverage * c.a / 255.0;
  if (sa >= 1.0) {
    d = c;
    return;
  }
  const double da = d.a / 255.0;
  const double oa = sa + da * (1.0 - sa);
  if (oa <= 0.0) {
    d = {0, 0, 0, 0};
    return;
  }
  auto mix = [&](uint8_t s, uint8_t t) { return (s * sa + t * da * (1.0 - sa)) / oa; };
  d = {ToByte(mix(c.r, d.r)), ToByte(mix(c.g, d.g)), ToByte(mix(c.b, d.b)), ToByte(oa * 255.0)};
}

void Canvas::Fill(const Rect& bounds, const InsideTest& inside, Colour c, Edges edges) {
  const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x0)));
  const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y0)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(bounds.x1)));
  const int y1 = std::min(height_, static_cast<int>(std::ceil(bounds.y1)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int total = 0;
      const int n = Coverage(x, y, inside, edges, &total);
      if (n > 0) Blend(x, y, c, static_cast<double>(n) / total);
    }
  }
}

void Canvas::Erase(const Rect& bounds, const InsideTest& inside, Edges edges) {
  const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x0)));
  const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y0)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(bounds.x1)));
  const int y1 = std::min(height_, static_cast<int>(std::ceil(bounds.y1)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int total = 0;
      const int n = Coverage(x, y, inside, edges, &total);
      if (n == 0) continue;
      Colour& d = pixels_[Index(x, y)];
      d.a = ToByte(d.a * (1.0 - static_cast<double>(n) / total));
    }
  }
}

void Canvas::FillRect(const Rect& r, Colour c, Edges edges) {
  Fill(
      r, [&](double x, double y) { return x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1; }, c,
      edges);
}

void Canvas::FillPolygon(const std::vector<Point>& points, Colour c, Edges edges) {
  Fill(
      BoundsOf(points), [&](double x, double y) { return InsidePolygon(points, x, y); }, c, edges);
}

void Canvas::FillDisc(Point centre, double radius, Colour c, Edges edges) {
  const Rect bounds{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
  Fill(
      bounds,
      [&](double x, double y) {
        const double dx = x - centre.x, dy = y - centre.y;
        return dx * dx + dy * dy <= radius * radius;
      },
      c, edges);
}

void Canvas::FillRoundRect(const Rect& r, double radius, Colour c, Edges edges) {
  Fill(
      r,
      [&](double x, double y) {
        if (x < r.x0 || x >= r.x1 || y < r.y0 || y >= r.y1) return false;
        const double cx = std::clamp(x, r.x0 + radius, r.x1 - radius);
        const double cy = std::clamp(y, r.y0 + radius, r.y1 - radius);
        const double dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
      },
      c, edges);
}

void Canvas::StrokeSegments(const std::vector<Segment>& segments, double halfWidth, Colour c,
                            Edges edges) {
  if (segments.empty()) return;
  std::vector<Point> ends;
  for (const Segment& s : segments) {
    ends.push_back(s.a);
    ends.push_back(s.b);
  }
  const Rect b = BoundsOf(ends).Inset(-halfWidth - 1, -halfWidth - 1);
  Fill(
      b,
      [&](double x, double y) {
        for (const Segment& s : segments) {
          if (DistanceToSegment(s, x, y) <= halfWidth) return true;
        }
        return false;
      },
      c, edges);
}

void Canvas::FrameRect(const Rect& r, Colour c) {
  FillRect({r.x0, r.y0, r.x1, r.y0 + 1}, c);
  FillRect({r.x0, r.y1 - 1, r.x1, r.y1}, c);
  FillRect({r.x0, r.y0, r.x0 + 1, r.y1}, c);
  FillRect({r.x1 - 1, r.y0, r.x1, r.y1}, c);
}

void Canvas::Shade(const Rect& r, const std::function<Colour(double x, double y)>& colourAt) {
  const int x0 = std::max(0, static_cast<int>(std::lround(r.x0)));
  const int y0 = std::max(0, static_cast<int>(std::lround(r.y0)));
  const int x1 = std::min(width_, static_cast<int>(std::lround(r.x1)));
  const int y1 = std::min(height_, static_cast<int>(std::lround(r.y1)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) Blend(x, y, colourAt(x + 0.5, y + 0.5), 1.0);
  }
}

void Canvas::Paste(const Canvas& src, int x, int y, int zoom) {
  for (int sy = 0; sy < src.height(); ++sy) {
    for (int sx = 0; sx < src.width(); ++sx) {
      const Colour c = src.At(sx, sy);
      for (int zy = 0; zy < zoom; ++zy) {
        for (int zx = 0; zx < zoom; ++zx) {
          const int tx = x + sx * zoom + zx, ty = y + sy * zoom + zy;
          if (Contains(tx, ty)) Blend(tx, ty, c, 1.0);
        }
      }
    }
  }
}

bool InsidePolygon(const std::vector<Point>& points, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
    const Point& a = points[i];
    const Point& b = points[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

double DistanceToSegment(const Segment& s, double x, double y) {
  const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((x - s.a.x) * dx + (y - s.a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = s.a.x + t * dx - x, py = s.a.y + t * dy - y;
  return std::sqrt(px * px + py * py);
}

Rect BoundsOf(const std::vector<Point>& points) {
  Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point& p : points) {
    r.x0 = std::min(r.x0, p.x);
    r.y0 = std::min(r.y0, p.y);
    r.x1 = std::max(r.x1, p.x);
    r.y1 = std::max(r.y1, p.y);
  }
  return r;
}

}  // namespace vornik::picturegen
