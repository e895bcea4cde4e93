#include "picture_table.h"

#include "resources/resource_ids.h"

namespace vornik::picturegen {
namespace {

constexpr Orientation P = Orientation::kPortrait;
constexpr Orientation L = Orientation::kLandscape;
constexpr Content kColour = Content::kColour;
constexpr Content kMono = Content::kMonochrome;
constexpr BindingEdge kLeft = BindingEdge::kLeft;
constexpr BindingEdge kTop = BindingEdge::kTop;

}  // namespace

const std::vector<IconRow>& IconRows() {
  static const std::vector<IconRow> rows = {
      {IDI_LAYOUT_WARNING, IconPicture::kWarning, false},
      {IDI_ORIENTATION_PORTRAIT, IconPicture::kPortrait, false},
      {IDI_ORIENTATION_PORTRAIT_WARNING, IconPicture::kPortrait, true},
      {IDI_ORIENTATION_LANDSCAPE, IconPicture::kLandscape, false},
      {IDI_ORIENTATION_LANDSCAPE_WARNING, IconPicture::kLandscape, true},
      {IDI_ORIENTATION_ROTATED_LANDSCAPE, IconPicture::kRotatedLandscape, false},
      {IDI_ORIENTATION_ROTATED_LANDSCAPE_WARNING, IconPicture::kRotatedLandscape, true},
      {IDI_DUPLEX_NONE, IconPicture::kOneSided, false},
      {IDI_DUPLEX_NONE_WARNING, IconPicture::kOneSided, true},
      {IDI_DUPLEX_SHORT_EDGE_PORTRAIT, IconPicture::kShortEdgePortrait, false},
      {IDI_DUPLEX_SHORT_EDGE_PORTRAIT_WARNING, IconPicture::kShortEdgePortrait, true},
      {IDI_DUPLEX_LONG_EDGE_PORTRAIT, IconPicture::kLongEdgePortrait, false},
      {IDI_DUPLEX_LONG_EDGE_PORTRAIT_WARNING, IconPicture::kLongEdgePortrait, true},
      {IDI_DUPLEX_SHORT_EDGE_LANDSCAPE, IconPicture::kShortEdgeLandscape, false},
      {IDI_DUPLEX_SHORT_EDGE_LANDSCAPE_WARNING, IconPicture::kShortEdgeLandscape, true},
      {IDI_DUPLEX_LONG_EDGE_LANDSCAPE, IconPicture::kLongEdgeLandscape, false},
      {IDI_DUPLEX_LONG_EDGE_LANDSCAPE_WARNING, IconPicture::kLongEdgeLandscape, true},
  };
  return rows;
}

// Id = series + 4 * pages per sheet + variant.
const std::vector<BaseRow>& BaseRows() {
  static const std::vector<BaseRow> rows = {
      // Colour content, portrait pages.
      {12101, kColour, P, kOneUp, 0},
      {12105, kColour, P, kTwoUp, 0},
      {12106, kColour, P, kTwoUp, 1},
      {12109, kColour, P, kFourUp, 0},
      {12110, kColour, P, kFourUp, 1},
      {12111, kColour, P, kFourUp, 2},
      {12112, kColour, P, kFourUp, 3},
      {12113, kColour, P, kSixUp, 0},
      {12114, kColour, P, kSixUp, 1},
      {12115, kColour, P, kSixUp, 2},
      {12116, kColour, P, kSixUp, 3},
      {12117, kColour, P, kNineUp, 0},
      {12118, kColour, P, kNineUp, 1},
      {12119, kColour, P, kNineUp, 2},
      {12120, kColour, P, kNineUp, 3},
      {12121, kColour, P, kSixteenUp, 0},
      {12122, kColour, P, kSixteenUp, 1},
      {12123, kColour, P, kSixteenUp, 2},
      {12124, kColour, P, kSixteenUp, 3},
      {12125, kColour, P, kBooklet, 0},
      {12126, kColour, P, kBooklet, 1},
      // Colour content, landscape pages.
      {12151, kColour, L, kOneUp, 0},
      {12155, kColour, L, kTwoUp, 0},
      {12159, kColour, L, kFourUp, 0},
      {12160, kColour, L, kFourUp, 1},
      {12161, kColour, L, kFourUp, 2},
      {12162, kColour, L, kFourUp, 3},
      {12163, kColour, L, kSixUp, 0},
      {12164, kColour, L, kSixUp, 1},
      {12165, kColour, L, kSixUp, 2},
      {12166, kColour, L, kSixUp, 3},
      {12167, kColour, L, kNineUp, 0},
      {12168, kColour, L, kNineUp, 1},
      {12169, kColour, L, kNineUp, 2},
      {12170, kColour, L, kNineUp, 3},
      {12171, kColour, L, kSixteenUp, 0},
      {12172, kColour, L, kSixteenUp, 1},
      {12173, kColour, L, kSixteenUp, 2},
      {12174, kColour, L, kSixteenUp, 3},
      {12175, kColour, L, kBooklet, 0},
      {12176, kColour, L, kBooklet, 1},
      // Monochrome content, portrait pages.
      {12201, kMono, P, kOneUp, 0},
      {12205, kMono, P, kTwoUp, 0},
      {12206, kMono, P, kTwoUp, 1},
      {12209, kMono, P, kFourUp, 0},
      {12210, kMono, P, kFourUp, 1},
      {12211, kMono, P, kFourUp, 2},
      {12212, kMono, P, kFourUp, 3},
      {12213, kMono, P, kSixUp, 0},
      {12214, kMono, P, kSixUp, 1},
      {12215, kMono, P, kSixUp, 2},
      {12216, kMono, P, kSixUp, 3},
      {12217, kMono, P, kNineUp, 0},
      {12218, kMono, P, kNineUp, 1},
      {12219, kMono, P, kNineUp, 2},
      {12220, kMono, P, kNineUp, 3},
      {12221, kMono, P, kSixteenUp, 0},
      {12222, kMono, P, kSixteenUp, 1},
      {12223, kMono, P, kSixteenUp, 2},
      {12224, kMono, P, kSixteenUp, 3},
      {12225, kMono, P, kBooklet, 0},
      {12226, kMono, P, kBooklet, 1},
      // Monochrome content, landscape pages.
      {12251, kMono, L, kOneUp, 0},
      {12255, kMono, L, kTwoUp, 0},
      {12259, kMono, L, kFourUp, 0},
      {12260, kMono, L, kFourUp, 1},
      {12261, kMono, L, kFourUp, 2},
      {12262, kMono, L, kFourUp, 3},
      {12263, kMono, L, kSixUp, 0},
      {12264, kMono, L, kSixUp, 1},
      {12265, kMono, L, kSixUp, 2},
      {12266, kMono, L, kSixUp, 3},
      {12267, kMono, L, kNineUp, 0},
      {12268, kMono, L, kNineUp, 1},
      {12269, kMono, L, kNineUp, 2},
      {12270, kMono, L, kNineUp, 3},
      {12271, kMono, L, kSixteenUp, 0},
      {12272, kMono, L, kSixteenUp, 1},
      {12273, kMono, L, kSixteenUp, 2},
      {12274, kMono, L, kSixteenUp, 3},
      {12275, kMono, L, kBooklet, 0},
      {12276, kMono, L, kBooklet, 1},
  };
  return rows;
}

// Id = series + 3 * pages per sheet, plus 1 for the top edge.
const std::vector<BindingRow>& BindingRows() {
  static const std::vector<BindingRow> rows = {
      // Portrait pages.
      {12301, P, kOneUp, kLeft},
      {12302, P, kOneUp, kTop},
      {12304, P, kTwoUp, kLeft},
      {12305, P, kTwoUp, kTop},
      {12307, P, kFourUp, kLeft},
      {12308, P, kFourUp, kTop},
      {12310, P, kSixUp, kLeft},
      {12311, P, kSixUp, kTop},
      {12313, P, kNineUp, kLeft},
      {12314, P, kNineUp, kTop},
      {12316, P, kSixteenUp, kLeft},
      {12317, P, kSixteenUp, kTop},
      // Landscape pages.
      {12321, L, kOneUp, kLeft},
      {12322, L, kOneUp, kTop},
      {12324, L, kTwoUp, kLeft},
      {12325, L, kTwoUp, kTop},
      {12327, L, kFourUp, kLeft},
      {12328, L, kFourUp, kTop},
      {12330, L, kSixUp, kLeft},
      {12331, L, kSixUp, kTop},
      {12333, L, kNineUp, kLeft},
      {12334, L, kNineUp, kTop},
      {12336, L, kSixteenUp, kLeft},
      {12337, L, kSixteenUp, kTop},
  };
  return rows;
}

}  // namespace vornik::picturegen
