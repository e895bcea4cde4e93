// Plays the driver's UI module around the built vornik.dll for the page
// tests: loads the DLL, creates the plug-in object through its class
// factory, defaults a private devmode (followed by guard units), makes the
// count query with a host record of its own, and adds the pages through the
// driver host's recording sheet.
#pragma once

#include <windows.h>

#include "core/private_devmode.h"
#include "platform/printoem.h"
#include "sheet_host.h"
#include "support/plugin_dll.h"

namespace vornik::test {

// The private devmode as the host stores it, with units behind it that must
// never be written.
struct DevmodeBuffer {
  PrivateDevmode devmode;
  WCHAR after[8];
};

class PluginHarness {
 public:
  PluginHarness();
  ~PluginHarness();
  PluginHarness(const PluginHarness&) = delete;
  PluginHarness& operator=(const PluginHarness&) = delete;

  static const PluginDll& BuiltDll();  // vornik.dll, loaded once
  static HMODULE Dll();
  static bool LegacySystem();  // the system is too old for the Layout page

  bool ready() const { return plugin_ != nullptr; }
  IPrintOemUI2* plugin() const { return plugin_; }
  PrivateDevmode& devmode() { return buffer_.devmode; }
  bool GuardIntact() const;
  OEMCUIPPARAM& param() { return param_; }
  host::SheetHost& host() { return host_; }
  const host::SheetHost& host() const { return host_; }

  // PublishDriverInterface with the driver's helper object.
  HRESULT Publish(IUnknown* driver) { return plugin_->PublishDriverInterface(driver); }
  // The driver's items handed with the next CommonUIProp calls.
  void SetDriverItems(OPTITEM* items, DWORD count);
  DEVMODEW& publicDevmode() { return publicDevmode_; }

  // CommonUIProp in document mode without items of the plug-in's own.
  HRESULT CountQuery();
  // CommonUIProp in document mode with an item array of the plug-in's own.
  HRESULT ItemPass();
  // DocumentPropertySheets with reason 0 through the recording sheet.
  HRESULT AddPages();
  const PROPSHEETUI_INFO& info() const { return info_; }

 private:
  IPrintOemUI2* plugin_ = nullptr;
  HANDLE heap_ = nullptr;
  DevmodeBuffer buffer_{};
  OEMCUIPPARAM param_{};
  OEMUIOBJ uiObject_{sizeof(OEMUIOBJ), nullptr};
  DEVMODEW publicDevmode_{};
  OPTITEM pluginItems_{};  // the slot the driver offers for the plug-in's own items
  PROPSHEETUI_INFO info_{};
  host::SheetHost host_;
};

}  // namespace vornik::test
