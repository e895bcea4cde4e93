#include "turned_corner.h"

#include <algorithm>
#include <cmath>

namespace vornik::picturegen {

TurnedCorner TurnCorner(const Rect& sheet, double along, double up) {
  const Point corner{sheet.x1, sheet.y1}, p{sheet.x1 - along, sheet.y1}, q{sheet.x1, sheet.y1 - up};
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double t = ((corner.x - p.x) * dx + (corner.y - p.y) * dy) / (dx * dx + dy * dy);
  const Point foot{p.x + t * dx, p.y + t * dy};
  const Point tip{2 * foot.x - corner.x, 2 * foot.y - corner.y};
  return {{p, q, tip}, {p, corner, q}, foot, tip};
}

bool InFlap(const TurnedCorner& t, int x, int y) { return InsidePolygon(t.flap, x + 0.5, y + 0.5); }

bool InLifted(const TurnedCorner& t, int x, int y) {
  return !InFlap(t, x, y) && InsidePolygon(t.lifted, x + 0.5, y + 0.5);
}

bool OnFlapRim(const TurnedCorner& t, int x, int y) {
  if (!InFlap(t, x, y)) return false;
  for (int ny = -1; ny <= 1; ++ny) {
    for (int nx = -1; nx <= 1; ++nx) {
      if (!InFlap(t, x + nx, y + ny)) return true;
    }
  }
  return false;
}

double FlapDepth(const TurnedCorner& t, int x, int y) {
  const double ax = t.tip.x - t.foldMiddle.x, ay = t.tip.y - t.foldMiddle.y;
  const double px = x + 0.5 - t.foldMiddle.x, py = y + 0.5 - t.foldMiddle.y;
  return std::clamp((px * ax + py * ay) / (ax * ax + ay * ay), 0.0, 1.0);
}

}  // namespace vornik::picturegen
