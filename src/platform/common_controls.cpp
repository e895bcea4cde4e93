#include "platform/common_controls.h"

#include "platform/module_act_ctx.h"

namespace vornik {
namespace in_context {
namespace {

// Loaded inside the call context on first need; never freed.
HMODULE Comctl32() {
  static HMODULE module = nullptr;
  if (!module) module = LoadLibraryW(L"Comctl32.dll");
  return module;
}

// Looks `name` up once it is needed and keeps the address once found.
template <typename Fn>
Fn Lookup(Fn& cached, const char* name) {
  if (cached) return cached;
  if (HMODULE module = Comctl32()) {
    cached = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  return cached;
}

// Runs `call` with the function `name` inside the call context; `failure`
// when the context or the function is missing.
template <typename Fn, typename Result, typename Call>
Result CallInContext(Fn& cached, const char* name, Result failure, Call call) {
  ModuleCallScope scope;
  if (!scope.ready()) return failure;
  Fn function = Lookup(cached, name);
  return function ? call(function) : failure;
}

using InitCommonControlsFn = void(WINAPI*)();
using ImageListCreateFn = HIMAGELIST(WINAPI*)(int, int, UINT, int, int);
using ImageListReplaceIconFn = int(WINAPI*)(HIMAGELIST, int, HICON);
using ImageListDestroyFn = BOOL(WINAPI*)(HIMAGELIST);

InitCommonControlsFn initCommonControls = nullptr;
ImageListCreateFn imageListCreate = nullptr;
ImageListReplaceIconFn imageListReplaceIcon = nullptr;
ImageListDestroyFn imageListDestroy = nullptr;

}  // namespace

void InitCommonControls() {
  CallInContext(initCommonControls, "InitCommonControls", 0, [](InitCommonControlsFn fn) {
    fn();
    return 0;
  });
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  return CallInContext(imageListCreate, "ImageList_Create", HIMAGELIST{nullptr},
                       [&](ImageListCreateFn fn) { return fn(cx, cy, flags, initial, grow); });
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  return CallInContext(imageListReplaceIcon, "ImageList_ReplaceIcon", -1,
                       [&](ImageListReplaceIconFn fn) { return fn(list, index, icon); });
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  return CallInContext(imageListDestroy, "ImageList_Destroy", BOOL{FALSE},
                       [&](ImageListDestroyFn fn) { return fn(list); });
}

}  // namespace in_context
}  // namespace vornik
