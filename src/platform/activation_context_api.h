// The system's activation-context functions. The x64 builds bind them at link
// time; the x86 builds look them up in the kernel library at run time, and a
// system without them leaves the pointers null.
#pragma once

#include <windows.h>

namespace vornik {

struct ActivationContextApi {
  HANDLE(WINAPI* CreateActCtxW)(PCACTCTXW);
  BOOL(WINAPI* ActivateActCtx)(HANDLE, ULONG_PTR*);
  BOOL(WINAPI* DeactivateActCtx)(DWORD, ULONG_PTR);
  void(WINAPI* ReleaseActCtx)(HANDLE);
  BOOL(WINAPI* QueryActCtxW)(DWORD, HANDLE, PVOID, ULONG, PVOID, SIZE_T, SIZE_T*);

  bool Available() const { return ActivateActCtx && DeactivateActCtx; }
};

// Resolved once on first use.
const ActivationContextApi& GetActivationContextApi();

}  // namespace vornik
