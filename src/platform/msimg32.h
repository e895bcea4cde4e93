// Msimg32.dll, loaded inside the module's call context (module_act_ctx.h),
// for the transparent copy of the preview.
#pragma once

#include <windows.h>

namespace vornik {

using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

namespace in_context {

// LoadLibraryW("Msimg32.dll") inside the call context; null when the context
// is not available or the library does not load. The caller frees it.
HMODULE LoadMsimg32();

}  // namespace in_context

// Msimg32.dll for one scope: loaded on construction, freed on destruction.
class Msimg32Library {
 public:
  Msimg32Library() : module_(in_context::LoadMsimg32()) {}
  ~Msimg32Library();
  Msimg32Library(const Msimg32Library&) = delete;
  Msimg32Library& operator=(const Msimg32Library&) = delete;

  bool loaded() const { return module_ != nullptr; }

  // Address of TransparentBlt, or null when the library or the function is missing.
  TransparentBltFn TransparentBlt() const;

 private:
  HMODULE module_;
};

}  // namespace vornik
