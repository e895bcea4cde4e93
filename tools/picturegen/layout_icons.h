// The Layout page's 20 x 20 icons: orientation, two-sided printing and the
// warning triangle, each picture also with the warning triangle over it.
#pragma once

#include "canvas.h"
#include "picture_table.h"

namespace vornik::picturegen {

inline constexpr int kIconSize = 20;

// A transparent 20 x 20 canvas with the icon; soft edges are in its alpha.
Canvas DrawIcon(const IconRow& row);

}  // namespace vornik::picturegen
