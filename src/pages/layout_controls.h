// The Layout page's controls: the label texts, the page's own icon list for
// the three picture lists, and the filling of every control from the
// driver's items. Each picture-list entry remembers the option it stands
// for, so an option left out of a list never shifts the others.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "core/flavour.h"
#include "platform/printoem.h"
#include "resources/resource_ids.h"

namespace vornik {

// Image indices in the page's icon list.
constexpr int kFirstOrientationImage = 0;  // 2 per orientation: picture, with warning mark
constexpr int kFirstDuplexImage = 6;       // 2 per two-sided option (portrait pages)
constexpr int kLandscapeDuplexShift = 4;   // flips of landscape pages
constexpr int kWarningImage = 16;
constexpr int kNoImage = 17;

// Controls enabled and disabled together.
constexpr int kArrangementControls[] = {IDC_LAYOUT_ARRANGEMENT, IDC_LAYOUT_ARRANGEMENT_LABEL};
constexpr int kBookletEdgeControls[] = {IDC_LAYOUT_BOOKLET_EDGE, IDC_LAYOUT_BOOKLET_EDGE_LABEL};

// Sets the label texts from the string table (the flavour's set of labels).
void FillLayoutLabels(HWND dialog, const OEMCUIPPARAM& param, const Flavour& flavour);

// Hides the arrangement, booklet-edge and borders controls with their labels.
void HideLayoutExtras(HWND dialog);

// Makes the page's icon list from the module's icons and attaches it to the
// three picture lists. The list belongs to the page: another Layout page
// has its own, and DestroyLayoutImageList gives it back.
void BuildLayoutImageList(HWND dialog, const OEMCUIPPARAM& param);
void DestroyLayoutImageList(HWND dialog);
HIMAGELIST LayoutImageList(HWND dialog);

// Rebuilds every control from the driver's items.
void SyncLayoutControls(HWND dialog, const OEMCUIPPARAM& param, const Flavour& flavour);

// Fills the two-sided list from `duplex` for portrait or landscape pages and
// selects the item's option.
void FillDuplexList(HWND dialog, const OPTITEM& duplex, bool landscape, const OEMCUIPPARAM& param);

// The option that the selected entry of a list stands for; -1 for none.
LONG SelectedOption(HWND dialog, int control);

// Enables or disables each control of `ids`.
template <size_t N>
void EnableControls(HWND dialog, const int (&ids)[N], bool enable) {
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), enable);
}

}  // namespace vornik
