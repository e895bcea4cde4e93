#include "page_pictures.h"

#include <commctrl.h>
#include <objbase.h>

#include "resources/resource_ids.h"
#include "png_file.h"
#include "screen_capture.h"

namespace vornik::host {
namespace {

std::string FunctionName(UINT function) {
  switch (function) {
    case CPSFUNC_ADD_PROPSHEETPAGEW:
      return "CPSFUNC_ADD_PROPSHEETPAGEW";
    case CPSFUNC_SET_HSTARTPAGE:
      return "CPSFUNC_SET_HSTARTPAGE";
    case CPSFUNC_SET_RESULT:
      return "CPSFUNC_SET_RESULT";
    default:
      return "function " + std::to_string(function);
  }
}

// Lets the sheet paint: messages are dispatched for a short while.
void Settle(int milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  do {
    SheetHost::PumpMessages();
    Sleep(20);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// Pictures are named after the page's dialog, never after its title: the
// title is translated, and a file system need not take every character.
struct PageFile {
  WORD templateId;
  const wchar_t* name;
};
constexpr PageFile kPageFiles[] = {
    {IDD_LAYOUT, L"layout.png"},
    {IDD_JOB_SETTINGS, L"job-settings.png"},
};

std::wstring FileName(size_t index, const AddedPage& page) {
  const bool fromResource =
      !(page.fields.dwFlags & PSP_DLGINDIRECT) && IS_INTRESOURCE(page.fields.pszTemplate);
  for (const PageFile& file : kPageFiles) {
    if (fromResource &&
        LOWORD(reinterpret_cast<ULONG_PTR>(page.fields.pszTemplate)) == file.templateId)
      return file.name;
  }
  return L"page-" + std::to_wstring(index + 1) + L".png";
}

}  // namespace

bool AddPluginPages(PluginHost& host, SheetHost& sheet, Report& report) {
  PROPSHEETUI_INFO info = sheet.MakeInfo(PROPSHEETUI_REASON_INIT);
  const HRESULT hr = host.plugin()->DocumentPropertySheets(&info, 0);
  report.Step("DocumentPropertySheets(PROPSHEETUI_REASON_INIT)",
              HresultText(hr) + ", Result " + std::to_string(info.Result));
  for (const SheetCall& call : sheet.calls()) {
    std::string what = "pfnComPropSheet " + FunctionName(call.function);
    const size_t page = sheet.PageIndexOf(call.result);
    if (call.function == CPSFUNC_ADD_PROPSHEETPAGEW && page != SheetHost::kNoPage)
      what += " '" + Narrow(sheet.pages()[page].title) + "'";
    report.Note(what + " -> " + std::to_string(call.result));
  }
  return SUCCEEDED(hr) && !sheet.pages().empty();
}

void ShowPages(SheetHost& sheet, const std::wstring& caption, const std::wstring& folder,
               Report& report) {
  HWND window = sheet.ShowModeless(caption.c_str());
  report.Step("PropertySheetW with the plug-in's pages", window ? "shown" : "failed");
  if (!window) return;
  if (folder.empty()) {
    MSG message;
    while (IsWindow(window) && PropSheet_GetCurrentPageHwnd(window) &&
           GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (!PropSheet_IsDialogMessage(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    sheet.CloseSheet();
    return;
  }
  CreateDirectoryW(folder.c_str(), nullptr);
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  for (size_t i = 0; i < sheet.pages().size(); ++i) {
    PropSheet_SetCurSel(window, nullptr, static_cast<int>(i));
    Settle(400);
    CapturedImage image;
    const std::wstring path = folder + L"\\" + FileName(i, sheet.pages()[i]);
    const bool saved =
        CaptureClientArea(PropSheet_GetCurrentPageHwnd(window), image) && SavePng(image, path);
    report.Note("page '" + Narrow(sheet.pages()[i].title) + "' " +
                (saved ? "saved to " + Narrow(path) + " (" + std::to_string(image.width) + " x " +
                             std::to_string(image.height) + ")"
                       : "could not be saved"));
  }
  if (com) CoUninitialize();
  sheet.CloseSheet();
}

}  // namespace vornik::host
