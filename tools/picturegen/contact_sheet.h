// One overview picture of everything the generator draws, for looking at the
// results: the icons (enlarged and at their size), every base picture and
// every binding picture composed as the Layout page shows them, and the
// binding pictures as stored with their key colours.
#pragma once

#include "canvas.h"

namespace vornik::picturegen {

Canvas DrawContactSheet();

}  // namespace vornik::picturegen
