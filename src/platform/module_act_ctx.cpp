#include "platform/module_act_ctx.h"

#include <memory>
#include <new>

#include "platform/activation_context_api.h"
#include "resources/resource_ids.h"

namespace vornik {
namespace {

constexpr DWORD kModulePathUnits = 260;  // first guess for the module's path
constexpr int kModulePathAttempts = 10;  // doublings tried before giving up

// The module's full path, asked with a buffer that doubles while the answer
// fills it. Null when no attempt gave the whole path.
std::unique_ptr<WCHAR[]> ModulePath(HMODULE module) {
  DWORD capacity = kModulePathUnits;
  for (int attempt = 0; attempt < kModulePathAttempts; ++attempt, capacity *= 2) {
    std::unique_ptr<WCHAR[]> path(new (std::nothrow) WCHAR[capacity]);
    if (!path) return nullptr;
    const DWORD length = GetModuleFileNameW(module, path.get(), capacity);
    if (length == 0) return nullptr;
    if (length < capacity) return path;
  }
  return nullptr;
}

ModuleCallContext SettleCallContext() {
  const ActivationContextApi& api = GetActivationContextApi();
  if (!api.QueryActCtxW || !api.Available()) return {false, true, nullptr};
  ACTIVATION_CONTEXT_BASIC_INFORMATION info{};
  const BOOL found =
      api.QueryActCtxW(QUERY_ACTCTX_FLAG_ACTCTX_IS_ADDRESS | QUERY_ACTCTX_FLAG_NO_ADDREF,
                       reinterpret_cast<HANDLE>(reinterpret_cast<void*>(&GetModuleCallContext)),
                       nullptr, ActivationContextBasicInformation, &info, sizeof(info), nullptr);
  if (!found) return {true, false, nullptr};
  return {true, true, info.hActCtx};
}

}  // namespace

HANDLE CreateModuleActCtx(HMODULE module) {
  const ActivationContextApi& api = GetActivationContextApi();
  if (!api.CreateActCtxW) return INVALID_HANDLE_VALUE;
  const std::unique_ptr<WCHAR[]> path = ModulePath(module);
  if (!path) return INVALID_HANDLE_VALUE;
  ACTCTXW request{};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.get();
  request.lpResourceName = MAKEINTRESOURCEW(IDR_VORNIK_MANIFEST);
  return api.CreateActCtxW(&request);
}

const ModuleCallContext& GetModuleCallContext() {
  // The query names the module by an address inside it: this function's.
  static const ModuleCallContext context = SettleCallContext();
  return context;
}

bool ScopedActCtxActivation::Activate(HANDLE context) {
  const ActivationContextApi& api = GetActivationContextApi();
  if (!active_ && api.Available()) active_ = api.ActivateActCtx(context, &cookie_) != FALSE;
  return active_;
}

ScopedActCtxActivation::~ScopedActCtxActivation() {
  if (!active_) return;
  const DWORD lastError = GetLastError();
  GetActivationContextApi().DeactivateActCtx(0, cookie_);
  SetLastError(lastError);
}

ModuleCallScope::ModuleCallScope() {
  const ModuleCallContext& context = GetModuleCallContext();
  if (!context.withContext) {
    ready_ = true;
  } else if (context.usable) {
    ready_ = activation_.Activate(context.handle);
  }
}

}  // namespace vornik
