// Decides whether the running system is too old for the plug-in's own Layout
// page: version 5.0 or older, or 5.1 below Service Pack 3.
#pragma once

#include <windows.h>

namespace vornik {

bool IsLegacySystem(DWORD major, DWORD minor, WORD servicePackMajor);

// Asks the system with GetVersionExW; 0 when the call fails.
DWORD QueryLegacySystem();

}  // namespace vornik
