#include "pages/layout_page.h"

#include <prsht.h>

#include "core/plugin_context.h"
#include "pages/layout_commands.h"
#include "pages/layout_controls.h"
#include "pages/layout_items.h"
#include "pages/layout_preview.h"
#include "platform/common_controls.h"

namespace vornik {
namespace {

PluginContext* ContextOf(HWND dialog) {
  return reinterpret_cast<PluginContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

BOOL OnInitDialog(HWND dialog, const PROPSHEETPAGEW* page, const Flavour& flavour) {
  auto* context = reinterpret_cast<PluginContext*>(page ? page->lParam : 0);
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
  if (!context) return FALSE;
  in_context::InitCommonControls();
  const OEMCUIPPARAM* param = context->cuipParam;
  if (param) FillLayoutLabels(dialog, *param, flavour);
  if (!flavour.layoutExtras) HideLayoutExtras(dialog);
  if (param) BuildLayoutImageList(dialog, *param);
  return FALSE;
}

// Orientation and two-sided choices reach the driver when the page is left
// or the sheet applied, unless the chosen option is in conflict.
void ReportOrientationAndDuplex(const OEMCUIPPARAM& param, IPrintOemDriverUI* driverUI) {
  for (DWORD i = 0; driverUI && param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
    OPTITEM& item = param.pDrvOptItems[i];
    if (item.DMPubID != DMPUB_ORIENTATION && item.DMPubID != DMPUB_DUPLEX) continue;
    if (!(item.Flags & OPTIF_CHANGEONCE) || !HasUsableSelection(item)) continue;
    driverUI->DrvUpdateUISetting(param.poemuiobj, &item, 0, OEMCUIP_DOCPROP);
  }
}

BOOL OnNotify(const NMHDR* header, const PluginContext& context) {
  if (!header) return TRUE;
  switch (header->code) {
    case PSN_RESET:
      return FALSE;
    case PSN_KILLACTIVE:
    case PSN_APPLY:
      ReportOrientationAndDuplex(*context.cuipParam, context.driverUI);
      return TRUE;
    default:
      return TRUE;
  }
}

}  // namespace

INT_PTR HandleLayoutPageMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                const Flavour& flavour) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, reinterpret_cast<const PROPSHEETPAGEW*>(lParam), flavour);
    case WM_DESTROY:
      // The page's own icon list goes with the page.
      DestroyLayoutImageList(dialog);
      return FALSE;
    default:
      break;
  }
  const PluginContext* context = ContextOf(dialog);
  if (!context || !context->cuipParam) return FALSE;
  const OEMCUIPPARAM& param = *context->cuipParam;
  switch (message) {
    case WM_SHOWWINDOW:
      SyncLayoutControls(dialog, param, flavour);
      return FALSE;
    case WM_PAINT:
      PaintLayoutPreview(dialog, &param, flavour);
      return FALSE;
    case WM_COMMAND:
      return OnLayoutCommand(dialog, wParam, &param, context->driverUI, flavour);
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lParam), *context);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK LayoutPageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleLayoutPageMessage(dialog, message, wParam, lParam, kFlavour);
}

}  // namespace vornik
