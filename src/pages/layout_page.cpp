#include "pages/layout_page.h"

#include <prsht.h>

#include "core/plugin_context.h"

namespace vornik {

INT_PTR CALLBACK LayoutPageDialogProc(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, page ? page->lParam : 0);
    return FALSE;
  }
  // The controls and their handling are not there yet: every message is left
  // to the dialog manager.
  return FALSE;
}

}  // namespace vornik
