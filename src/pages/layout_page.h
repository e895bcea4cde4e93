// The Layout page: orientation, two-sided printing, page order, pages per
// sheet, page arrangement, booklet with its binding edge and page borders,
// shown from and written into the driver's own option items, with a
// preview picture of the printed sheet.
#pragma once

#include <windows.h>

#include "core/flavour.h"

namespace vornik {

// The page's dialog procedure; its lParam at WM_INITDIALOG is the page record
// whose lParam is the PluginContext.
INT_PTR CALLBACK LayoutPageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The same for the rules of `flavour`.
INT_PTR HandleLayoutPageMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                const Flavour& flavour);

}  // namespace vornik
