// The Layout page's preview: a prepared base picture chosen by the driver's
// current orientation, colour, two-sided, pages-per-sheet, arrangement and
// booklet-edge selections, with a binding picture for two-sided printing
// laid over it, composed off screen and copied to the page in one block.
#pragma once

#include <windows.h>

#include "core/flavour.h"
#include "platform/printoem.h"

namespace vornik {

// Picture ids given to ChoosePreviewBitmaps before it chooses.
constexpr int kPreviewStartBase = 12101;
constexpr int kNoBindingPicture = 0;

// Chooses the base picture and the binding picture (kNoBindingPicture for
// none) for the selections of the driver's items; the later item of a kind
// counts, an absent kind counts as 0. FALSE, with both outputs untouched,
// when the parameter record or its item array is null.
BOOL ChoosePreviewBitmaps(const OEMCUIPPARAM* param, int* base, int* binding,
                          const Flavour& flavour = kFlavour);

// Paints the preview into the area of the page's preview frame; for
// WM_PAINT. Does nothing when either argument is null.
void PaintLayoutPreview(HWND dialog, const OEMCUIPPARAM* param, const Flavour& flavour = kFlavour);

}  // namespace vornik
