#include "sheet_host.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace vornik::host {
namespace {

constexpr size_t kLargestPageRecord = 256;  // bound on the bytes copied from a record
constexpr LONG_PTR kTokenBase = 0x1000;     // handles answered when no real page is made

struct Comctl32 {
  HPROPSHEETPAGE(WINAPI* createPage)(LPCPROPSHEETPAGEW) = nullptr;
  BOOL(WINAPI* destroyPage)(HPROPSHEETPAGE) = nullptr;
  INT_PTR(WINAPI* propertySheet)(LPCPROPSHEETHEADERW) = nullptr;

  bool complete() const { return createPage && destroyPage && propertySheet; }
};

template <typename Fn>
void Find(HMODULE module, const char* name, Fn& slot) {
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Comctl32& GetComctl32() {
  static const Comctl32 functions = [] {
    Comctl32 found;
    HMODULE module = LoadLibraryW(L"comctl32.dll");
    if (!module) return found;
    Find(module, "CreatePropertySheetPageW", found.createPage);
    Find(module, "DestroyPropertySheetPage", found.destroyPage);
    Find(module, "PropertySheetW", found.propertySheet);
    BOOL(WINAPI * initEx)(const INITCOMMONCONTROLSEX*) = nullptr;
    Find(module, "InitCommonControlsEx", initEx);
    if (initEx) {
      INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
      initEx(&init);
    }
    return found;
  }();
  return functions;
}

}  // namespace

SheetHost::SheetHost() = default;

SheetHost::~SheetHost() {
  CloseSheet();
  if (pagesHandedOver_) return;
  for (const AddedPage& added : pages_) {
    if (added.page) GetComctl32().destroyPage(added.page);
  }
}

bool SheetHost::Available() { return GetComctl32().complete(); }

PROPSHEETUI_INFO SheetHost::MakeInfo(WORD reason, LPARAM lParamInit) const {
  PROPSHEETUI_INFO info{};
  info.cbSize = sizeof(info);
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Flags = PSUIINFO_UNICODE;
  info.Reason = reason;
  info.hComPropSheet = handle();
  info.pfnComPropSheet = &SheetHost::ComPropSheet;
  info.lParamInit = lParamInit;
  return info;
}

LONG_PTR CALLBACK SheetHost::ComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1,
                                          LPARAM lParam2) {
  auto* host = reinterpret_cast<SheetHost*>(sheet);
  if (!host) return 0;
  return host->Handle(sheet, function, lParam1, lParam2);
}

LONG_PTR SheetHost::Handle(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
  LONG_PTR result = 0;
  switch (function) {
    case CPSFUNC_ADD_PROPSHEETPAGEW:
      result = AddPage(reinterpret_cast<const PROPSHEETPAGEW*>(lParam1));
      break;
    case CPSFUNC_SET_HSTARTPAGE:
    case CPSFUNC_SET_RESULT:
      result = 1;
      break;
    default:
      break;
  }
  calls_.push_back({sheet, function, lParam1, lParam2, result});
  return result;
}

LONG_PTR SheetHost::AddPage(const PROPSHEETPAGEW* record) {
  if (!record || failAdds_) return 0;
  AddedPage added{};
  const size_t size = std::min<size_t>(record->dwSize, kLargestPageRecord);
  const auto* bytes = reinterpret_cast<const BYTE*>(record);
  added.record.assign(bytes, bytes + size);
  std::memcpy(&added.fields, record, std::min(size, sizeof(added.fields)));
  added.titleIsText = !IS_INTRESOURCE(added.fields.pszTitle);
  if (added.titleIsText) added.title = added.fields.pszTitle;
  if (createPages_ && Available()) {
    added.page = GetComctl32().createPage(record);
    added.handle = reinterpret_cast<LONG_PTR>(added.page);
  } else if (!createPages_) {
    added.handle = kTokenBase + static_cast<LONG_PTR>(pages_.size());
  }
  pages_.push_back(added);
  return added.handle;
}

size_t SheetHost::PageIndexOf(LONG_PTR handle) const {
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (handle != 0 && pages_[i].handle == handle) return i;
  }
  return kNoPage;
}

HWND SheetHost::ShowModeless(const wchar_t* caption, HWND owner) {
  if (!Available() || sheet_ || pagesHandedOver_) return nullptr;
  std::vector<HPROPSHEETPAGE> handles;
  for (const AddedPage& added : pages_) {
    if (added.page) handles.push_back(added.page);
  }
  if (handles.empty()) return nullptr;
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_MODELESS;
  header.hwndParent = owner;
  header.pszCaption = caption;
  header.nPages = static_cast<UINT>(handles.size());
  header.nStartPage = 0;
  header.phpage = handles.data();
  pagesHandedOver_ = true;
  sheet_ = reinterpret_cast<HWND>(GetComctl32().propertySheet(&header));
  if (!IsWindow(sheet_)) sheet_ = nullptr;
  return sheet_;
}

void SheetHost::CloseSheet() {
  if (sheet_ && IsWindow(sheet_)) DestroyWindow(sheet_);
  sheet_ = nullptr;
  PumpMessages();
}

void ApplyWithItemCallback(HWND sheet, OEMCUIPPARAM& param) {
  SendMessageW(sheet, PSM_APPLY, 0, 0);
  if (!param.OEMCUIPCallback) return;
  CPSUICBPARAM callback{};
  callback.cbSize = sizeof(callback);
  callback.Reason = CPSUICB_REASON_APPLYNOW;
  callback.hDlg = sheet;
  callback.pOptItem = param.pDrvOptItems;
  callback.cOptItem = static_cast<WORD>(param.cDrvOptItems);
  callback.pCurItem = param.pDrvOptItems;
  param.OEMCUIPCallback(&callback, &param);
}

void SheetHost::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vornik::host
