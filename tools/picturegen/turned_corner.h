// The bottom-right corner of a sheet turned over, as on a page being turned:
// the corner lifts off the sheet and folds back along a line that cuts
// `along` pixels off the bottom edge and `up` pixels off the right edge. A
// fold cutting more of the right edge turns the page sideways (bound on the
// left); one cutting more of the bottom edge turns it upwards (bound at top).
#pragma once

#include <vector>

#include "canvas.h"

namespace vornik::picturegen {

struct TurnedCorner {
  std::vector<Point> flap;    // the folded-back part, lying on the sheet
  std::vector<Point> lifted;  // where the corner was; the sheet is gone here
  Point foldMiddle;           // the point of the fold nearest the corner
  Point tip;                  // where the corner now lies
};

TurnedCorner TurnCorner(const Rect& sheet, double along, double up);

// Hard-edged masks of a turned corner, pixel by pixel (sampled at the pixel
// centre), so that its outline can be drawn on exact pixels.
bool InFlap(const TurnedCorner& t, int x, int y);
bool InLifted(const TurnedCorner& t, int x, int y);
// A flap pixel with a neighbour (of eight) outside the flap.
bool OnFlapRim(const TurnedCorner& t, int x, int y);
// 0 at the fold to 1 at the tip.
double FlapDepth(const TurnedCorner& t, int x, int y);

}  // namespace vornik::picturegen
