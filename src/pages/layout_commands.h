// What the Layout page does when the user clicks one of its buttons or
// chooses in one of its lists: it edits the driver's items in place
// (selection and changed flag), tells the driver of border changes, keeps
// the other controls in step, marks the sheet changed and redraws the
// preview.
#pragma once

#include <windows.h>

#include "core/flavour.h"
#include "platform/printoem.h"

namespace vornik {

// The page's WM_COMMAND. FALSE when the dialog, the parameter record or the
// driver interface is missing, and for notifications other than clicks and
// selection changes; TRUE otherwise.
BOOL OnLayoutCommand(HWND dialog, WPARAM wParam, const OEMCUIPPARAM* param,
                     IPrintOemDriverUI* driverUI, const Flavour& flavour = kFlavour);

}  // namespace vornik
