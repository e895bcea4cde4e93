#include "pages/page_registration.h"

#include <cstddef>

#include "core/module.h"
#include "pages/job_settings_page.h"
#include "pages/layout_page.h"
#include "platform/module_act_ctx.h"
#include "resources/resource_ids.h"
#include "uitree/string_loader.h"

namespace vornik {
namespace {

// The later flavour hands the sheet the record with the header-bitmap member,
// the earlier one the record that ends with the activation context.
static_assert(kLaterFlavour.pageRecordSize == VORNIK_BY_ARCH(104u, 56u), "later page record");
static_assert(kEarlierFlavour.pageRecordSize == VORNIK_BY_ARCH(96u, 52u), "earlier page record");
static_assert(offsetof(PROPSHEETPAGEW, hActCtx) == VORNIK_BY_ARCH(88u, 48u), "hActCtx offset");

constexpr LPARAM kStartPage = SSP_STDPAGE2;  // the driver's second standard page

struct PageSpec {
  WORD templateId;
  UINT titleId;
  DLGPROC dialogProc;
  HANDLE PluginContext::*handle;  // where the sheet's handle of the page is kept
};

constexpr PageSpec kLayoutPage = {IDD_LAYOUT, IDS_LAYOUT_TITLE, LayoutPageDialogProc,
                                  &PluginContext::layoutPage};
constexpr PageSpec kJobSettingsPage = {IDD_JOB_SETTINGS, IDS_JOB_SETTINGS_TITLE,
                                       JobSettingsDialogProc, &PluginContext::jobSettingsPage};

bool IsValidActCtx(HANDLE context) { return context && context != INVALID_HANDLE_VALUE; }

// The pages' context is made from the module's manifest the first time a
// page is filled; a failed attempt is tried again at the next page.
HANDLE PageContext() {
  if (PageActCtx == INVALID_HANDLE_VALUE) PageActCtx = CreateModuleActCtx(moduleInstance);
  return PageActCtx;
}

void FillPageRecord(PROPSHEETPAGEW_V4& page, const PageSpec& spec, PluginContext& context,
                    const Flavour& flavour) {
  const HANDLE actCtx = PageContext();
  page.dwSize = flavour.pageRecordSize;
  page.dwFlags = PSP_USETITLE | (IsValidActCtx(actCtx) ? PSP_USEFUSIONCONTEXT : 0);
  page.hInstance = moduleInstance;
  page.pszTemplate = MAKEINTRESOURCEW(spec.templateId);
  if (const OEMCUIPPARAM* param = context.cuipParam) {
    page.pszTitle =
        LoadStringToHeap(static_cast<HMODULE>(param->hModule), param->hOEMHeap, spec.titleId);
  }
  page.pfnDlgProc = spec.dialogProc;
  page.lParam = reinterpret_cast<LPARAM>(&context);
  page.hActCtx = actCtx;
}

LONG_PTR CallSheet(const PROPSHEETUI_INFO& info, UINT function, LPARAM lParam1, LPARAM lParam2) {
  if (!info.pfnComPropSheet) return 0;
  return info.pfnComPropSheet(info.hComPropSheet, function, lParam1, lParam2);
}

void AddPage(const PROPSHEETUI_INFO& info, const PageSpec& spec, PluginContext& context,
             const Flavour& flavour) {
  PROPSHEETPAGEW_V4 page{};
  FillPageRecord(page, spec, context, flavour);
  context.hComPropSheet = info.hComPropSheet;
  context.pfnComPropSheet = info.pfnComPropSheet;
  const LONG_PTR handle =
      CallSheet(info, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page), 0);
  context.*spec.handle = reinterpret_cast<HANDLE>(handle);
}

void AddPages(const PROPSHEETUI_INFO& info, PluginContext& context, const Flavour& flavour) {
  if (context.legacySystem == 0) AddPage(info, kLayoutPage, context, flavour);
  AddPage(info, kJobSettingsPage, context, flavour);
  CallSheet(info, CPSFUNC_SET_HSTARTPAGE, 0, kStartPage);
}

}  // namespace

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam, PluginContext& context) {
  return DocumentPropertySheets(info, lParam, context, kFlavour);
}

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam, PluginContext& context,
                               const Flavour& flavour) {
  if (!info || info->Version != PROPSHEETUI_INFO_VERSION) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
      AddPages(*info, context, flavour);
      info->Result = 0;
      break;
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
      if (auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam)) {
        header->pTitle = const_cast<LPWSTR>(kSheetHeaderTitle);
      }
      info->Result = 1;
      break;
    case PROPSHEETUI_REASON_DESTROY:
      info->Result = 1;
      break;
    case PROPSHEETUI_REASON_SET_RESULT: {
      const auto* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
      info->Result = result ? result->Result : 0;
      break;
    }
    default:
      info->Result = 0;
      break;
  }
  return S_OK;
}

}  // namespace vornik
