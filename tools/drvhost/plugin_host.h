// PluginHost: loads vornik.dll and drives it the way the PostScript driver's
// UI module does, writing one readable report line per step.
#pragma once

#include <windows.h>

#include <string>

#include "core/private_devmode.h"
#include "driver_ui.h"
#include "platform/printoem.h"

namespace vornik::host {

class Report {
 public:
  // A quiet report prints nothing (for hosts that repeat the steps).
  explicit Report(bool quiet = false) : quiet_(quiet) {}
  // Prints "<n>. <step>: <result>" to standard output.
  void Step(const std::string& step, const std::string& result);
  void Note(const std::string& text);

 private:
  bool quiet_;
  int count_ = 0;
};

std::string HresultText(HRESULT hr);
std::string Narrow(const std::wstring& text);

class PluginHost {
 public:
  PluginHost(const std::wstring& dllPath, Report& report);
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;
  ~PluginHost();

  // Loads the DLL, creates the plug-in, identifies it and publishes the
  // driver's helper object. False when the plug-in cannot be used.
  bool Start();
  // Sizes, defaults and merges the private devmode, as the driver does when
  // it builds a DEVMODE from a stored one.
  bool PrepareDevmode(const PrivateDevmode& stored);
  // Releases the plug-in and reports whether the module may unload.
  void Stop();

  IPrintOemUI2* plugin() const { return plugin_; }
  HMODULE module() const { return module_; }
  DriverUiHelper& driver() { return driver_; }
  PrivateDevmode& devmode() { return devmode_; }

 private:
  std::wstring dllPath_;
  Report& report_;
  HMODULE module_ = nullptr;
  IPrintOemUI2* plugin_ = nullptr;
  DriverUiHelper driver_;
  PrivateDevmode devmode_ = {};
};

}  // namespace vornik::host
