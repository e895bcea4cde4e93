// Adds the plug-in's pages to the document printing-preferences sheet.
#pragma once

#include "core/plugin_context.h"

namespace vornik {

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam, PluginContext& context);

}  // namespace vornik
