// One opening of the printing preferences, the way the driver's UI module
// opens them around its plug-in: the plug-in is created and its private
// devmode prepared, the count query and the item pass run over the driver's
// items, the plug-in's pages are added and shown in a real property sheet,
// each page is painted and has one setting changed as the user changes it,
// the sheet is applied (with the item callback the driver makes then) and
// destroyed, and the plug-in is released. Each step and each change is
// checked.
#pragma once

#include <windows.h>

#include <string>

namespace vornik {
class PpdDocument;
}  // namespace vornik

namespace vornik::host {

struct DialogTarget {
  std::wstring dllPath;
  HANDLE printer;  // installed with the PPD as the driver's data file
  const PpdDocument* ppd;
};

// Empty when every step did what it should; otherwise what went wrong.
std::string OpenAndCloseDialog(const DialogTarget& target);

}  // namespace vornik::host
