#include "platform/msimg32.h"

#include "platform/module_act_ctx.h"

namespace vornik {

HMODULE in_context::LoadMsimg32() {
  ModuleCallScope scope;
  return scope.ready() ? LoadLibraryW(L"Msimg32.dll") : nullptr;
}

Msimg32Library::~Msimg32Library() {
  if (module_) FreeLibrary(module_);
}

TransparentBltFn Msimg32Library::TransparentBlt() const {
  if (!module_) return nullptr;
  return reinterpret_cast<TransparentBltFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, "TransparentBlt")));
}

}  // namespace vornik
