// Which picture each resource id shows: one row per icon and per bitmap of
// the Layout page.
#pragma once

#include <vector>

namespace vornik::picturegen {

enum class Orientation { kPortrait, kLandscape };
enum class Content { kColour, kMonochrome };
enum class BindingEdge { kLeft, kTop };

// Pages per sheet as the driver's option index.
enum PagesPerSheet { kOneUp = 0, kTwoUp, kFourUp, kSixUp, kNineUp, kSixteenUp, kBooklet };

enum class IconPicture {
  kWarning,
  kPortrait,
  kLandscape,
  kRotatedLandscape,
  kOneSided,
  kShortEdgePortrait,
  kLongEdgePortrait,
  kShortEdgeLandscape,
  kLongEdgeLandscape,
};

struct IconRow {
  int id;
  IconPicture picture;
  bool warningMark;  // the small warning triangle over the picture
};

// A sheet with its pages. `variant` is the arrangement for 4 to 16 pages per
// sheet (0 right then down, 1 down then right, 2 left then down, 3 down then
// left), right-to-left for two pages per sheet (1), and the binding edge of a
// booklet (0 left, 1 right).
struct BaseRow {
  int id;
  Content content;
  Orientation orientation;
  PagesPerSheet pages;
  int variant;
};

// The binding mark laid over the sheet of the same orientation and pages per
// sheet; everything else inside the sheet is the binding key colour.
struct BindingRow {
  int id;
  Orientation orientation;
  PagesPerSheet pages;
  BindingEdge edge;
};

const std::vector<IconRow>& IconRows();
const std::vector<BaseRow>& BaseRows();
const std::vector<BindingRow>& BindingRows();

}  // namespace vornik::picturegen
