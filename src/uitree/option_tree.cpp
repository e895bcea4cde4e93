#include "uitree/option_tree.h"

namespace vornik {

HRESULT EditOptionTree(DWORD /*dwMode*/, OEMCUIPPARAM* /*param*/, PluginContext& /*context*/) {
  return S_OK;
}

}  // namespace vornik
