// UiPlugin: the plug-in object the driver talks to. It identifies the plug-in,
// sizes, defaults and converts the private devmode, keeps the driver's helper
// interface, forwards the options-tree and property-sheet work with its
// PluginContext, names the colour profile, and leaves the rest to the driver.
#pragma once

#include "core/plugin_context.h"
#include "platform/printoem.h"

namespace vornik {

constexpr DWORD kPluginVersion = 2;
constexpr wchar_t kColorProfileName[] = L"OEMPROFILE.icm";
constexpr ULONG kColorProfileBufferBytes = 32;

class UiPlugin final : public IPrintOemUI2 {
 public:
  UiPlugin() = default;
  UiPlugin(const UiPlugin&) = delete;
  UiPlugin& operator=(const UiPlugin&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPrintOemCommon
  HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                    PDWORD pcbNeeded) override;
  HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) override;

  // IPrintOemUI
  HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* pIUnknown) override;
  HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) override;
  HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                   LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) override;
  HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW,
                                            PVOID) override;
  HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW,
                                               PVOID, DWORD, DWORD*) override;
  HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD, PBYTE) override;
  HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR, INT, DWORD, LPARAM) override;
  HRESULT STDMETHODCALLTYPE DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override;
  HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj,
                                              PDEVMODEW pPublicDM, PVOID pOEMDM, ULONG ulQueryMode,
                                              VOID* pvProfileData, ULONG* pcbProfileData,
                                              FLONG* pflProfileData) override;
  HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override;
  HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override;

  // IPrintOemUI2
  HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override;
  HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD) override;
  HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID,
                                          PINT) override;

  const PluginContext& Context() const { return context_; }

 private:
  ~UiPlugin() = default;

  volatile LONG refCount_ = 1;
  PluginContext context_ = {};
};

}  // namespace vornik
