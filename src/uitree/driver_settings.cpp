#include "uitree/driver_settings.h"

namespace vornik {
namespace {

constexpr int kAnsiUnits = 260;
constexpr DWORD kDriverValueBytes = 256;

}  // namespace

HRESULT QueryDriverSetting(POEMUIOBJ poemuiobj, const PluginContext& context,
                           const wchar_t* featureKeyword, wchar_t* value) {
  if (!context.driverUI || !featureKeyword || !featureKeyword[0] || !value) return E_FAIL;
  char keyword[kAnsiUnits] = {};
  char setting[kAnsiUnits] = {};
  if (!WideCharToMultiByte(CP_ACP, 0, featureKeyword + 1, -1, keyword, kAnsiUnits, nullptr,
                           nullptr))
    return E_FAIL;
  DWORD needed = 0, optionsReturned = 0;
  const HRESULT hr = context.driverUI->DrvGetDriverSetting(
      poemuiobj, keyword, setting, kDriverValueBytes, &needed, &optionsReturned);
  if (hr != S_OK) return hr;
  return MultiByteToWideChar(CP_ACP, 0, setting, -1, value, kDriverSettingUnits) ? S_OK : E_FAIL;
}

}  // namespace vornik
