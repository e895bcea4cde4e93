// Wine's Tahoma for a test program that measures dialog text. "MS Shell Dlg"
// maps to Tahoma, but Debian's Wine does not find the fonts of its own data
// folder (it names the folder by a path with ".." that it cannot open), so
// the dialogs fall back to another face. The program adds the font for
// itself, from the data folder that Wine names in WINEDATADIR.
#pragma once

#include <windows.h>

#include <string>

namespace vornik::test {

// True when the font was added or was there already.
inline bool AddWineTahoma() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"WINEDATADIR", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::wstring path = folder;
  if (path.rfind(L"\\??\\", 0) == 0) path.erase(0, 4);  // an NT path: \??\Z:\usr\share\wine
  bool added = true;
  for (const wchar_t* file : {L"\\fonts\\tahoma.ttf", L"\\fonts\\tahomabd.ttf"})
    added = AddFontResourceExW((path + file).c_str(), FR_PRIVATE, nullptr) > 0 && added;
  return added;
}

}  // namespace vornik::test
