#include "platform/activation_context_api.h"

namespace vornik {
namespace {

#if defined(_WIN64)
ActivationContextApi Resolve() {
  return {&::CreateActCtxW, &::ActivateActCtx, &::DeactivateActCtx, &::ReleaseActCtx,
          &::QueryActCtxW};
}
#else
template <typename Fn>
void Find(HMODULE kernel, const char* name, Fn& slot) {
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

ActivationContextApi Resolve() {
  ActivationContextApi api{};
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return api;
  Find(kernel, "CreateActCtxW", api.CreateActCtxW);
  Find(kernel, "ActivateActCtx", api.ActivateActCtx);
  Find(kernel, "DeactivateActCtx", api.DeactivateActCtx);
  Find(kernel, "ReleaseActCtx", api.ReleaseActCtx);
  Find(kernel, "QueryActCtxW", api.QueryActCtxW);
  return api;
}
#endif

}  // namespace

const ActivationContextApi& GetActivationContextApi() {
  static const ActivationContextApi api = Resolve();
  return api;
}

}  // namespace vornik
