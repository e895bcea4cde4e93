// UiPluginFactory: the class object served for CLSID_OEMUI. It creates
// UiPlugin objects and counts server locks for DllCanUnloadNow.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace vornik {

class UiPluginFactory final : public IClassFactory {
 public:
  UiPluginFactory() = default;
  UiPluginFactory(const UiPluginFactory&) = delete;
  UiPluginFactory& operator=(const UiPluginFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

 private:
  ~UiPluginFactory() = default;

  volatile LONG refCount_ = 1;
};

}  // namespace vornik
