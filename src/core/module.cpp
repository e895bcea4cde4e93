#include "core/module.h"

#include <cstddef>  // names the C++ runtime (__GLIBCXX__)

#include "platform/activation_context_api.h"

namespace vornik {

HINSTANCE moduleInstance = nullptr;
HANDLE PageActCtx = INVALID_HANDLE_VALUE;
volatile LONG liveObjects = 0;
volatile LONG serverLocks = 0;

void OnProcessAttach(HINSTANCE instance) { moduleInstance = instance; }

void OnProcessDetach() {
  if (PageActCtx == INVALID_HANDLE_VALUE) return;
  const ActivationContextApi& api = GetActivationContextApi();
  if (api.ReleaseActCtx) api.ReleaseActCtx(PageActCtx);
  PageActCtx = INVALID_HANDLE_VALUE;
}

}  // namespace vornik

#if defined(__GLIBCXX__)
// The C++ runtime linked into the DLL reserves a block for exceptions thrown
// when memory runs out (about 70 KB) as the DLL loads, and frees it only here.
namespace __gnu_cxx {
void __freeres();
}  // namespace __gnu_cxx
#endif

namespace {

// Gives back what the DLL's own copy of the C++ runtime keeps for the
// process's lifetime, so that unloading the DLL leaves nothing behind.
void ReleaseRuntimeReserve() {
#if defined(__GLIBCXX__)
  __gnu_cxx::__freeres();
#endif
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) vornik::OnProcessAttach(instance);
  if (reason == DLL_PROCESS_DETACH) {
    vornik::OnProcessDetach();
    ReleaseRuntimeReserve();
  }
  return TRUE;
}
