#include "core/ui_plugin.h"

#include <cstring>

#include "core/module.h"
#include "core/private_devmode.h"
#include "core/system_version.h"
#include "pages/page_registration.h"
#include "ppd/document.h"
#include "uitree/option_tree.h"

namespace vornik {

HRESULT STDMETHODCALLTYPE UiPlugin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IPrintOemUI2)) {
    *ppv = static_cast<IPrintOemUI2*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE UiPlugin::AddRef() { return InterlockedIncrement(&refCount_); }

ULONG STDMETHODCALLTYPE UiPlugin::Release() {
  const LONG count = InterlockedDecrement(&refCount_);
  if (count != 0) return count;
  if (context_.driverUI) {
    context_.driverUI->Release();
    context_.driverUI = nullptr;
  }
  delete context_.ppd;
  context_.ppd = nullptr;
  InterlockedDecrement(&liveObjects);
  delete this;
  return 0;
}

HRESULT STDMETHODCALLTYPE UiPlugin::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                            PDWORD pcbNeeded) {
  if (!pcbNeeded) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  *pcbNeeded = sizeof(DWORD);
  if (cbSize < sizeof(DWORD) || !pBuffer) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }
  switch (dwMode) {
    case OEMGI_GETSIGNATURE:
      *static_cast<DWORD*>(pBuffer) = kPrivateDevmodeSignature;
      return S_OK;
    case OEMGI_GETVERSION:
      *static_cast<DWORD*>(pBuffer) = kPluginVersion;
      return S_OK;
    default:
      *pcbNeeded = 0;
      SetLastError(ERROR_NOT_SUPPORTED);
      return E_FAIL;
  }
}

HRESULT STDMETHODCALLTYPE UiPlugin::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
  if (!pOemDMParam || dwMode < OEMDM_SIZE || dwMode > OEMDM_MERGE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  auto* out = static_cast<PrivateDevmode*>(pOemDMParam->pOEMDMOut);
  switch (dwMode) {
    case OEMDM_SIZE:
      pOemDMParam->cbBufSize = kPrivateDevmodeSize;
      break;
    case OEMDM_DEFAULT:
      DefaultPrivateDevmode(out);
      break;
    default:  // OEMDM_CONVERT and OEMDM_MERGE alike
      ConvertPrivateDevmode(static_cast<const PrivateDevmode*>(pOemDMParam->pOEMDMIn), out);
      break;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE UiPlugin::PublishDriverInterface(IUnknown* pIUnknown) {
  if (context_.driverUI) return S_OK;
  void* driverUI = nullptr;
  if (!pIUnknown || FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, &driverUI))) {
    context_.driverUI = nullptr;
    return E_FAIL;
  }
  context_.driverUI = static_cast<IPrintOemDriverUI*>(driverUI);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE UiPlugin::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
  context_.legacySystem = 0;
  context_.cuipParam = pOemCUIPParam;
  context_.legacySystem = QueryLegacySystem();
  return EditOptionTree(dwMode, pOemCUIPParam, context_);
}

HRESULT STDMETHODCALLTYPE UiPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                           LPARAM lParam) {
  return vornik::DocumentPropertySheets(pPSUIInfo, lParam, context_);
}

HRESULT STDMETHODCALLTYPE UiPlugin::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID,
                                                      ULONG ulQueryMode, VOID* pvProfileData,
                                                      ULONG* pcbProfileData,
                                                      FLONG* pflProfileData) {
  if (ulQueryMode != QCP_DEVICEPROFILE) return E_FAIL;
  if (!pcbProfileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  if (!pvProfileData || *pcbProfileData < kColorProfileBufferBytes) {
    *pcbProfileData = kColorProfileBufferBytes;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }
  std::memcpy(pvProfileData, kColorProfileName, sizeof(kColorProfileName));
  *pcbProfileData = kColorProfileBufferBytes;
  if (pflProfileData) *pflProfileData = QCP_PROFILEDISK;
  return S_OK;
}

// Operations left to the driver: they touch nothing.
HRESULT STDMETHODCALLTYPE UiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE UiPlugin::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW,
                                                    PVOID) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE UiPlugin::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID,
                                                       PDEVMODEW, PVOID, DWORD, DWORD*) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE UiPlugin::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE UiPlugin::PrinterEvent(PWSTR, INT, DWORD, LPARAM) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE UiPlugin::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE UiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE UiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE UiPlugin::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE UiPlugin::HideStandardUI(DWORD) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE UiPlugin::DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID,
                                                  PINT) {
  return E_NOTIMPL;
}

}  // namespace vornik
