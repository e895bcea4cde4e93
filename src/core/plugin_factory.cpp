#include "core/plugin_factory.h"

#include <new>

#include "core/module.h"
#include "core/ui_plugin.h"

namespace vornik {

HRESULT STDMETHODCALLTYPE UiPluginFactory::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IClassFactory)) {
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE UiPluginFactory::AddRef() { return InterlockedIncrement(&refCount_); }

ULONG STDMETHODCALLTYPE UiPluginFactory::Release() {
  const LONG count = InterlockedDecrement(&refCount_);
  if (count == 0) delete this;
  return count;
}

HRESULT STDMETHODCALLTYPE UiPluginFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                                          void** ppv) {
  if (pUnkOuter) return CLASS_E_NOAGGREGATION;
  auto* plugin = new (std::nothrow) UiPlugin();
  if (!plugin) return E_OUTOFMEMORY;
  InterlockedIncrement(&liveObjects);
  const HRESULT hr = plugin->QueryInterface(riid, ppv);
  plugin->Release();
  return hr;
}

HRESULT STDMETHODCALLTYPE UiPluginFactory::LockServer(BOOL fLock) {
  if (fLock)
    InterlockedIncrement(&serverLocks);
  else
    InterlockedDecrement(&serverLocks);
  return S_OK;
}

}  // namespace vornik
