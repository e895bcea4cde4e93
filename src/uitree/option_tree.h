// Edits the driver's options tree before it is shown (CommonUIProp).
#pragma once

#include "core/plugin_context.h"

namespace vornik {

HRESULT EditOptionTree(DWORD dwMode, OEMCUIPPARAM* param, PluginContext& context);

}  // namespace vornik
