#include "core/module.h"

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

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) vornik::OnProcessAttach(instance);
  if (reason == DLL_PROCESS_DETACH) vornik::OnProcessDetach();
  return TRUE;
}
