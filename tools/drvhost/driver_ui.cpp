#include "driver_ui.h"

#include <cstring>

namespace vornik::host {
namespace {

std::string ItemName(const OPTITEM* item) {
  if (!item || !item->pName) return "(none)";
  if (reinterpret_cast<ULONG_PTR>(item->pName) <= 0xFFFF)
    return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(item->pName));
  char name[256] = {};
  WideCharToMultiByte(CP_UTF8, 0, item->pName, -1, name, sizeof(name) - 1, nullptr, nullptr);
  return name;
}

}  // namespace

HRESULT STDMETHODCALLTYPE DriverUiHelper::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  ++queries_;
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IPrintOemDriverUI)) {
    *ppv = static_cast<IPrintOemDriverUI*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DriverUiHelper::AddRef() { return InterlockedIncrement(&refCount_); }

ULONG STDMETHODCALLTYPE DriverUiHelper::Release() { return InterlockedDecrement(&refCount_); }

HRESULT STDMETHODCALLTYPE DriverUiHelper::DrvGetDriverSetting(PVOID, PCSTR Feature, PVOID pOutput,
                                                              DWORD cbSize, PDWORD pcbNeeded,
                                                              PDWORD pdwOptionsReturned) {
  const bool byIndex = reinterpret_cast<ULONG_PTR>(Feature) <= 0xFFFF;
  const std::string feature =
      byIndex ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(Feature)) : Feature;
  log_.push_back("DrvGetDriverSetting " + feature);
  auto it = settings_.find(feature);
  if (it == settings_.end()) return E_INVALIDARG;
  const DWORD needed = static_cast<DWORD>(it->second.size() + 2);  // MULTI_SZ-style ending
  if (pcbNeeded) *pcbNeeded = needed;
  if (!pOutput || cbSize < needed) return E_OUTOFMEMORY;
  std::memset(pOutput, 0, needed);
  std::memcpy(pOutput, it->second.data(), it->second.size());
  if (pdwOptionsReturned) *pdwOptionsReturned = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DriverUiHelper::DrvUpgradeRegistrySetting(HANDLE, PCSTR pFeature,
                                                                    PCSTR pOption) {
  log_.push_back(std::string("DrvUpgradeRegistrySetting ") + (pFeature ? pFeature : "") + " " +
                 (pOption ? pOption : ""));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DriverUiHelper::DrvUpdateUISetting(PVOID, PVOID pOptItem,
                                                             DWORD dwPreviousSelection,
                                                             DWORD dwMode) {
  const auto* item = static_cast<const OPTITEM*>(pOptItem);
  log_.push_back(
      "DrvUpdateUISetting " + ItemName(item) + " sel=" + std::to_string(item ? item->Sel : -1) +
      " prev=" + std::to_string(dwPreviousSelection) + " mode=" + std::to_string(dwMode));
  return S_OK;
}

}  // namespace vornik::host
