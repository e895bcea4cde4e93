#include "core/system_version.h"

namespace vornik {

bool IsLegacySystem(DWORD major, DWORD minor, WORD servicePackMajor) {
  if (major < 5) return true;
  if (major == 5 && minor == 0) return true;
  return major == 5 && minor == 1 && servicePackMajor < 3;
}

DWORD QueryLegacySystem() {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  static_assert(sizeof(OSVERSIONINFOEXW) == 284, "OSVERSIONINFOEXW size");
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return 0;
  return IsLegacySystem(info.dwMajorVersion, info.dwMinorVersion, info.wServicePackMajor) ? 1 : 0;
}

}  // namespace vornik
