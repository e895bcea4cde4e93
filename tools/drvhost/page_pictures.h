// The plug-in's property pages in a real sheet: added through the host's
// sheet side, shown, and either saved as pictures (one PNG per page) or left
// to the person at the display.
#pragma once

#include <string>

#include "plugin_host.h"
#include "sheet_host.h"

namespace vornik::host {

// Adds the pages (DocumentPropertySheets, reason 0) and reports the calls the
// plug-in made. False when no page could be made.
bool AddPluginPages(PluginHost& host, SheetHost& sheet, Report& report);

// Shows the pages; saves a picture of each page as the sheet shows it into
// `folder` when it is not empty (layout.png, job-settings.png; page-N.png for
// a page of another dialog), else runs the sheet until the person closes it.
void ShowPages(SheetHost& sheet, const std::wstring& caption, const std::wstring& folder,
               Report& report);

}  // namespace vornik::host
