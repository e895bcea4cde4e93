// Finding and loading the printer's PPD file through the spooler (Windows).
#pragma once

#ifdef _WIN32

#include <windows.h>

#include "ppd/document.h"

namespace vornik {

constexpr DWORD kPpdPathUnits = MAX_PATH;  // 260, terminator included

// Copies the driver's data file (the PPD) of `printer` into `path`, a buffer
// of kPpdPathUnits units. False when the spooler names none, the call fails,
// memory from `heap` runs out, or the path does not fit whole.
bool GetPpdPath(HANDLE heap, HANDLE printer, WCHAR* path);

// Finds, opens and reads the printer's PPD. Null when there is no PPD, it
// cannot be opened, or memory runs out. The caller owns the document.
PpdDocument* LoadPpd(HANDLE heap, HANDLE printer);

}  // namespace vornik

#endif  // _WIN32
