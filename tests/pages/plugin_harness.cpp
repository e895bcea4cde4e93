#include "plugin_harness.h"

namespace vornik::test {
namespace {

constexpr WCHAR kGuardUnit = L'Z';

}  // namespace

HMODULE PluginHarness::Dll() { return BuiltDll().module(); }

const PluginDll& PluginHarness::BuiltDll() {
  static const PluginDll dll;
  return dll;
}

bool PluginHarness::LegacySystem() {
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return false;
  if (version.dwMajorVersion != 5) return version.dwMajorVersion < 5;
  return version.dwMinorVersion == 0 ||
         (version.dwMinorVersion == 1 && version.wServicePackMajor < 3);
}

PluginHarness::PluginHarness()
    : plugin_(BuiltDll().loaded() ? BuiltDll().CreatePlugin() : nullptr) {
  heap_ = HeapCreate(0, 0, 0);
  for (WCHAR& unit : buffer_.after) unit = kGuardUnit;
  if (plugin_) {
    OEMDMPARAM request{};
    request.cbSize = sizeof(request);
    request.hModule = Dll();
    request.pOEMDMOut = &buffer_.devmode;
    request.cbBufSize = sizeof(buffer_.devmode);
    plugin_->DevMode(OEMDM_DEFAULT, &request);
  }
  param_.cbSize = sizeof(param_);
  param_.hModule = Dll();
  param_.hOEMHeap = heap_;
  param_.pOEMDM = &buffer_.devmode;
  param_.poemuiobj = &uiObject_;
  publicDevmode_.dmSize = sizeof(publicDevmode_);
  publicDevmode_.dmFields = DM_ORIENTATION | DM_DUPLEX;
  publicDevmode_.dmDuplex = DMDUP_SIMPLEX;
  param_.pPublicDM = &publicDevmode_;
}

PluginHarness::~PluginHarness() {
  host_.CloseSheet();
  if (plugin_) plugin_->Release();
  if (heap_) HeapDestroy(heap_);
}

bool PluginHarness::GuardIntact() const {
  for (WCHAR unit : buffer_.after) {
    if (unit != kGuardUnit) return false;
  }
  return true;
}

void PluginHarness::SetDriverItems(OPTITEM* items, DWORD count) {
  param_.pDrvOptItems = items;
  param_.cDrvOptItems = count;
}

HRESULT PluginHarness::CountQuery() {
  param_.pOEMOptItems = nullptr;
  return plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_);
}

HRESULT PluginHarness::ItemPass() {
  param_.pOEMOptItems = &pluginItems_;
  return plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_);
}

HRESULT PluginHarness::AddPages() {
  info_ = host_.MakeInfo(PROPSHEETUI_REASON_INIT);
  return plugin_->DocumentPropertySheets(&info_, 0);
}

}  // namespace vornik::test
