// Loads the built vornik.dll the way the driver does (LoadLibraryW, exports by
// name) and creates plug-in objects through its class factory.
#pragma once

#include <windows.h>

#include <string>

#include "platform/printoem.h"

namespace vornik::test {

// The DLL lies in the build folder, one level above the test programs.
inline std::wstring BuiltDllPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L"\\/"));
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"vornik.dll";
}

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* p) : p_(p) {}
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(other.Detach()) {}
  ~ComRef() { Reset(); }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T* Detach() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** out() {
    Reset();
    return &p_;
  }
  void** out_void() { return reinterpret_cast<void**>(out()); }

 private:
  T* p_ = nullptr;
};

class PluginDll {
 public:
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

  PluginDll() : module_(LoadLibraryW(BuiltDllPath().c_str())) {
    if (!module_) return;
    getClassObject_ = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
  }
  PluginDll(const PluginDll&) = delete;
  PluginDll& operator=(const PluginDll&) = delete;
  ~PluginDll() {
    if (module_) FreeLibrary(module_);
  }

  bool loaded() const { return module_ && getClassObject_ && canUnloadNow_; }
  HMODULE module() const { return module_; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const {
    return getClassObject_(clsid, iid, ppv);
  }
  HRESULT CanUnloadNow() const { return canUnloadNow_(); }

  // A new plug-in object as the driver gets it: class object, then
  // CreateInstance for IPrintOemUI2. Null on any failure.
  IPrintOemUI2* CreatePlugin() const {
    ComRef<IClassFactory> factory;
    if (FAILED(getClassObject_(CLSID_OEMUI, IID_IClassFactory, factory.out_void()))) return nullptr;
    void* plugin = nullptr;
    if (FAILED(factory->CreateInstance(nullptr, IID_IPrintOemUI2, &plugin))) return nullptr;
    return static_cast<IPrintOemUI2*>(plugin);
  }

 private:
  HMODULE module_ = nullptr;
  GetClassObjectFn getClassObject_ = nullptr;
  CanUnloadNowFn canUnloadNow_ = nullptr;
};

// Reads an object's reference count without changing it.
inline ULONG RefCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

}  // namespace vornik::test
