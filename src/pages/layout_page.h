// The Layout page: orientation, two-sided printing, page order and pages per
// sheet of the driver's own items, shown on a page of the plug-in.
#pragma once

#include <windows.h>

namespace vornik {

// The page's dialog procedure; its lParam at WM_INITDIALOG is the page record
// whose lParam is the PluginContext.
INT_PTR CALLBACK LayoutPageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vornik
