// Activation contexts of the module: the context that the property pages run
// in, made from the DLL's own manifest, the context that the common-controls
// calls run in, and a guard that keeps a context active for one scope.
#pragma once

#include <windows.h>

namespace vornik {

// Makes a new activation context from the manifest (resource id 2) of
// `module`. Returns INVALID_HANDLE_VALUE when the module's path cannot be
// had or the context cannot be made. The caller releases it.
HANDLE CreateModuleActCtx(HMODULE module);

// The context for the common-controls and Msimg32 calls, settled on first
// use: the one the loader made for this module from its manifest, else the
// process's default context (a null handle). Never released.
struct ModuleCallContext {
  bool withContext;  // false: the system has no activation contexts; call directly
  bool usable;       // false: the query failed; the calls are not made
  HANDLE handle;
};
const ModuleCallContext& GetModuleCallContext();

// Activates a context for the length of a scope and deactivates it at the
// end, leaving the thread's last-error code as the scope's calls set it.
class ScopedActCtxActivation {
 public:
  ScopedActCtxActivation() = default;  // nothing active until Activate
  explicit ScopedActCtxActivation(HANDLE context) { Activate(context); }
  ~ScopedActCtxActivation();
  ScopedActCtxActivation(const ScopedActCtxActivation&) = delete;
  ScopedActCtxActivation& operator=(const ScopedActCtxActivation&) = delete;

  // Activates `context` unless one is already active here; true on success.
  bool Activate(HANDLE context);
  bool active() const { return active_; }

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// Enters the module's call context: `ready()` tells whether the guarded call
// may be made (inside the context, or directly on a system without contexts).
class ModuleCallScope {
 public:
  ModuleCallScope();
  ModuleCallScope(const ModuleCallScope&) = delete;
  ModuleCallScope& operator=(const ModuleCallScope&) = delete;

  bool ready() const { return ready_; }

 private:
  ScopedActCtxActivation activation_;
  bool ready_ = false;
};

}  // namespace vornik
