// Answers the host's DocumentPropertySheets requests: adds the Layout page
// (on systems recent enough for it) and the Job Settings page through the
// host's pfnComPropSheet, asks the sheet to open on the driver's second
// standard page, and answers the header, destroy and result requests.
#pragma once

#include "core/flavour.h"
#include "core/plugin_context.h"

namespace vornik {

// Title answered to the host's header request.
constexpr wchar_t kSheetHeaderTitle[] = L"OEM UI Page";

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam, PluginContext& context);

// The same with the page records sized for `flavour`.
HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam, PluginContext& context,
                               const Flavour& flavour);

}  // namespace vornik
