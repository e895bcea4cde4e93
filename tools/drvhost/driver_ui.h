// DriverUiHelper: the helper object the PostScript driver publishes to its
// plug-ins. It answers IPrintOemDriverUI with a settings store of the PPD's
// features (keyword -> current option, ANSI) and logs every call, so a host or
// a test can see what the plug-in asked and told the driver.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/printoem.h"

namespace vornik::host {

class DriverUiHelper final : public IPrintOemDriverUI {
 public:
  DriverUiHelper() = default;
  DriverUiHelper(const DriverUiHelper&) = delete;
  DriverUiHelper& operator=(const DriverUiHelper&) = delete;
  virtual ~DriverUiHelper() = default;

  // IUnknown: answers IUnknown and IPrintOemDriverUI.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // Copies the stored option of `Feature` (keyword without '*') into pOutput.
  HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput,
                                                DWORD cbSize, PDWORD pcbNeeded,
                                                PDWORD pdwOptionsReturned) override;
  HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR pFeature,
                                                      PCSTR pOption) override;
  HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection,
                                               DWORD dwMode) override;

  void SetSetting(const std::string& feature, const std::string& option) {
    settings_[feature] = option;
  }
  const std::vector<std::string>& CallLog() const { return log_; }
  void ClearLog() { log_.clear(); }
  // Object lifetime is counted but not owned: the creator keeps the object
  // alive, so a test can read the count after the plug-in let go of it.
  LONG References() const { return refCount_; }
  ULONG QueryCount() const { return queries_; }

 private:
  volatile LONG refCount_ = 1;
  ULONG queries_ = 0;
  std::map<std::string, std::string> settings_;
  std::vector<std::string> log_;
};

}  // namespace vornik::host
