#include "plugin_host.h"

#include <cstdio>
#include <cstring>

namespace vornik::host {
namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

// A signature written as a four-character constant, most significant first.
std::string FourCc(DWORD value) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((value >> shift) & 0xFF);
  return text;
}

std::string DevmodeSummary(const PrivateDevmode& dm) {
  return "size " + std::to_string(dm.dwSize) + ", signature '" + FourCc(dm.dwSignature) +
         "', version " + std::to_string(dm.dwVersion) + ", reserve job " +
         (dm.reserveMode == kReserveModeOn ? "on" : "off") + " (" + std::to_string(dm.reserveMode) +
         "), user '" + Narrow(dm.userName) + "', job '" + Narrow(dm.jobName) + "', password " +
         std::to_string(std::wcslen(dm.password)) + " characters";
}

}  // namespace

void Report::Step(const std::string& step, const std::string& result) {
  if (quiet_) return;
  std::printf("%2d. %s: %s\n", ++count_, step.c_str(), result.c_str());
  std::fflush(stdout);
}

void Report::Note(const std::string& text) {
  if (quiet_) return;
  std::printf("    %s\n", text.c_str());
  std::fflush(stdout);
}

std::string HresultText(HRESULT hr) {
  switch (hr) {
    case S_OK:
      return "S_OK";
    case S_FALSE:
      return "S_FALSE";
    case E_FAIL:
      return "E_FAIL";
    case E_NOTIMPL:
      return "E_NOTIMPL";
    case E_NOINTERFACE:
      return "E_NOINTERFACE";
    case E_OUTOFMEMORY:
      return "E_OUTOFMEMORY";
    case CLASS_E_CLASSNOTAVAILABLE:
      return "CLASS_E_CLASSNOTAVAILABLE";
    case CLASS_E_NOAGGREGATION:
      return "CLASS_E_NOAGGREGATION";
    default:
      return Hex(static_cast<DWORD>(hr));
  }
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? size - 1 : 0, '\0');
  if (size > 1)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], size, nullptr, nullptr);
  return result;
}

PluginHost::PluginHost(const std::wstring& dllPath, Report& report)
    : dllPath_(dllPath), report_(report) {}

PluginHost::~PluginHost() { Stop(); }

bool PluginHost::Start() {
  module_ = LoadLibraryW(dllPath_.c_str());
  report_.Step("LoadLibraryW " + Narrow(dllPath_),
               module_ ? "loaded" : "failed, error " + std::to_string(GetLastError()));
  if (!module_) return false;

  auto getClassObject = Export<GetClassObjectFn>(module_, "DllGetClassObject");
  IClassFactory* factory = nullptr;
  HRESULT hr = getClassObject ? getClassObject(CLSID_OEMUI, IID_IClassFactory,
                                               reinterpret_cast<void**>(&factory))
                              : E_FAIL;
  report_.Step("DllGetClassObject(CLSID_OEMUI, IID_IClassFactory)", HresultText(hr));
  if (FAILED(hr)) return false;

  IUnknown* unknown = nullptr;
  hr = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unknown));
  factory->Release();
  report_.Step("IClassFactory::CreateInstance(IID_IUnknown)", HresultText(hr));
  if (FAILED(hr)) return false;
  hr = unknown->QueryInterface(IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin_));
  unknown->Release();
  report_.Step("QueryInterface(IID_IPrintOemUI2)", HresultText(hr));
  if (FAILED(hr)) return false;

  DWORD value = 0, needed = 0;
  hr = plugin_->GetInfo(OEMGI_GETSIGNATURE, &value, sizeof(value), &needed);
  report_.Step("GetInfo(OEMGI_GETSIGNATURE)",
               HresultText(hr) + ", signature '" + FourCc(value) + "' (" + Hex(value) + ")");
  hr = plugin_->GetInfo(OEMGI_GETVERSION, &value, sizeof(value), &needed);
  report_.Step("GetInfo(OEMGI_GETVERSION)", HresultText(hr) + ", version " + std::to_string(value));

  hr = plugin_->PublishDriverInterface(static_cast<IPrintOemDriverUI*>(&driver_));
  report_.Step("PublishDriverInterface(driver helper)",
               HresultText(hr) + (SUCCEEDED(hr) ? ", the plug-in keeps IPrintOemDriverUI" : ""));
  return true;
}

bool PluginHost::PrepareDevmode(const PrivateDevmode& stored) {
  OEMDMPARAM param = {};
  param.cbSize = sizeof(param);
  HRESULT hr = plugin_->DevMode(OEMDM_SIZE, &param);
  report_.Step("DevMode(OEMDM_SIZE)", HresultText(hr) + ", private devmode of " +
                                          std::to_string(param.cbBufSize) + " bytes");
  if (FAILED(hr) || param.cbBufSize != sizeof(PrivateDevmode)) return false;

  param.pOEMDMOut = &devmode_;
  hr = plugin_->DevMode(OEMDM_DEFAULT, &param);
  report_.Step("DevMode(OEMDM_DEFAULT)", HresultText(hr));
  report_.Note(DevmodeSummary(devmode_));

  param.pOEMDMIn = const_cast<PrivateDevmode*>(&stored);
  hr = plugin_->DevMode(OEMDM_MERGE, &param);
  report_.Step("DevMode(OEMDM_MERGE) with a stored record", HresultText(hr));
  report_.Note(DevmodeSummary(devmode_));
  return SUCCEEDED(hr);
}

void PluginHost::Stop() {
  if (plugin_) {
    const ULONG left = plugin_->Release();
    plugin_ = nullptr;
    report_.Step("Release the plug-in", std::to_string(left) + " references left");
    report_.Note("driver helper references held by the plug-in: " +
                 std::to_string(driver_.References() - 1));
  }
  if (module_) {
    auto canUnloadNow = Export<CanUnloadNowFn>(module_, "DllCanUnloadNow");
    report_.Step("DllCanUnloadNow", canUnloadNow ? HresultText(canUnloadNow()) : "missing");
    FreeLibrary(module_);
    module_ = nullptr;
  }
}

}  // namespace vornik::host
