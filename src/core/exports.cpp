// The DLL's two exports: the class object for CLSID_OEMUI, and whether the
// module may be unloaded.
#include <new>

#include "core/module.h"
#include "core/plugin_factory.h"
#include "platform/printoem.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!IsEqualGUID(rclsid, CLSID_OEMUI)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) vornik::UiPluginFactory();
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  if (vornik::liveObjects != 0 || vornik::serverLocks != 0) return S_FALSE;
  return S_OK;
}
