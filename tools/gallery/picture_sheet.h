// Overview pictures: page pictures trimmed to what they show, reduced, and
// laid out in a grid, each under its label.
#pragma once

#include <string>
#include <vector>

#include "screen_capture.h"

namespace vornik::gallery {

using host::CapturedImage;

struct Tile {
  std::wstring label;
  CapturedImage image;
};

// The picture less its border of the top-left pixel's colour, keeping
// `margin` pixels of it around what the picture shows.
CapturedImage Trim(const CapturedImage& image, int margin);

// The picture at 1 / `factor` of its size, each pixel the mean of the
// factor x factor pixels it stands for.
CapturedImage Reduce(const CapturedImage& image, int factor);

// The tiles in rows of `columns`, each framed and under its label, on white.
// Empty when GDI cannot draw the labels.
CapturedImage ComposeSheet(const std::vector<Tile>& tiles, int columns);

}  // namespace vornik::gallery
