#include "pages/page_registration.h"

namespace vornik {

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* /*info*/, LPARAM /*lParam*/,
                               PluginContext& /*context*/) {
  return S_OK;
}

}  // namespace vornik
