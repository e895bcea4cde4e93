// The ANSI code-page seam. On Windows text converts through the system's ANSI
// code page (CP_ACP); elsewhere through a selectable Windows code page,
// 1252 unless another is chosen.
#pragma once

namespace vornik {

// Converts the NUL-terminated bytes into `out`, which holds `capacity` units
// (at least 1). Stores as many whole characters as fit with a terminating NUL
// and returns the number of units stored without the NUL; 0 when nothing
// converts.
int AnsiToUtf16(const char* bytes, char16_t* out, int capacity);

// True when the code page in use converts every byte below 0x80 to the
// same value (every Windows ANSI code page does).
bool AnsiCodePageKeepsAscii();

// The code page in use.
unsigned AnsiCodePage();

// Chooses the code page for later conversions. Returns false, changing
// nothing, when the code page is not available; always false on Windows,
// where the system's choice holds.
bool SelectAnsiCodePage(unsigned codePage);

}  // namespace vornik
