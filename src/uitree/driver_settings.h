// Asking the driver for the current setting of one PPD feature.
#pragma once

#include "core/plugin_context.h"

namespace vornik {

constexpr int kDriverSettingUnits = 260;

// `featureKeyword` is the UTF-16 keyword with its '*'; `value` (260 units)
// receives the first option the driver reports. E_FAIL when a conversion
// fails or there is no driver interface; the driver's code when it fails.
HRESULT QueryDriverSetting(POEMUIOBJ poemuiobj, const PluginContext& context,
                           const wchar_t* featureKeyword, wchar_t* value);

}  // namespace vornik
