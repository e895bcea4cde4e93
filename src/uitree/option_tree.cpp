#include "uitree/option_tree.h"

#include "ppd/document.h"
#include "ppd/ppd_loader_win.h"
#include "uitree/display_names.h"
#include "uitree/driver_settings.h"
#include "uitree/option_item_callback.h"
#include "uitree/option_items.h"

namespace vornik {
namespace {

const char16_t* U16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

bool IsInstallable(const PpdFeature& feature) {
  return feature.group.Equals(kInstallableOptionsGroup);
}

// Builds the model once, and in document mode brings the installed-hardware
// values up to date from the driver before recomputing the flags.
void CountQuery(DWORD dwMode, OEMCUIPPARAM& param, PluginContext& context) {
  param.cOEMOptItems = 0;
  if (!context.ppd) context.ppd = LoadPpd(param.hOEMHeap, param.hPrinter);
  if (dwMode != OEMCUIP_DOCPROP || !context.ppd) return;
  PpdDocument& ppd = *context.ppd;
  for (int32_t i = 0; i < ppd.featureCount(); ++i) {
    const PpdFeature& feature = *ppd.GetFeature(i);
    if (!IsInstallable(feature)) continue;
    wchar_t value[kDriverSettingUnits] = {};
    if (QueryDriverSetting(param.poemuiobj, context, Wide(feature.keyword.text), value) == S_OK)
      ppd.SetInstalledValue(feature.keyword.text, U16(value), false);
  }
  ppd.UpdateConstraintFlags();
}

constexpr bool IsStandardFeatureKind(DWORD kind) {
  return kind == DMPUB_DEFSOURCE || kind == DMPUB_PRINTQUALITY || kind == DMPUB_DUPLEX ||
         kind == DMPUB_FORMNAME || kind == DMPUB_MEDIATYPE;
}

struct Qualified {
  bool qualifies = false;
  const PpdFeature* feature = nullptr;
};

// Whether an item stands for a known PPD feature, and which one.
Qualified Qualify(const OPTITEM& item, const OEMCUIPPARAM& param, const PpdDocument* ppd) {
  Qualified result;
  if (!ppd || !param.hModule) return result;
  const auto module = static_cast<HMODULE>(param.hModule);
  DisplayName name = {};
  if (IsStandardFeatureKind(item.DMPubID)) {
    result.qualifies = LookupDisplayName(module, &name, nullptr, item.DMPubID) == S_OK;
    const wchar_t* keyword = name.nameId ? KeywordForNameId(name.nameId) : nullptr;
    const int32_t index = keyword ? ppd->FindFeatureByKeyword(U16(keyword)) : -1;
    result.feature = ppd->GetFeature(index);
    return result;
  }
  const wchar_t* itemName = ItemText(item.pName);
  if (!itemName) return result;
  result.feature = ppd->GetFeature(ppd->FindFeatureByTranslation(U16(itemName)));
  result.qualifies =
      result.feature &&
      LookupDisplayName(module, &name, Wide(result.feature->keyword.text), 0) == S_OK;
  return result;
}

void MarkConstrainedOptions(const OPTITEM& item, const PpdFeature& feature) {
  LONG count = 0;
  OPTPARAM* options = ItemOptions(item, count);
  for (LONG i = 0; options && i < count; ++i) {
    const wchar_t* text = ItemText(options[i].pData);
    if (!text) continue;
    const int32_t index = PpdDocument::FindOptionByTranslation(&feature, U16(text));
    if (index >= 0 && feature.options[index]->constrained)
      options[i].Flags |= OPTPF_OVERLAY_WARNING_ICON;
  }
}

void DocumentItemPass(OEMCUIPPARAM& param, PluginContext& context, const Flavour& flavour) {
  param.OEMCUIPCallback = OptionItemCallback;
  param.pOEMUserData = &context;
  LONG colorSelection = 1;
  for (DWORD i = 0; param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
    OPTITEM& item = param.pDrvOptItems[i];
    if (context.legacySystem == 0 && HasKind(flavour.hiddenLayoutKinds, item.DMPubID))
      item.Flags |= OPTIF_HIDE;
    if (item.DMPubID == DMPUB_COLOR) {
      colorSelection = item.Sel;
      continue;
    }
    const Qualified qualified = Qualify(item, param, context.ppd);
    if (!qualified.qualifies) continue;
    if (qualified.feature) MarkConstrainedOptions(item, *qualified.feature);
    if (IsColorModeItem(item) && colorSelection == 0) item.Flags |= OPTIF_DISABLED;
  }
}

void HideItemWithOptions(OPTITEM& item) {
  LONG count = 0;
  OPTPARAM* options = ItemOptions(item, count);
  for (LONG i = 0; options && i < count; ++i) options[i].Flags |= OPTPF_HIDE;
  item.Flags |= OPTIF_HIDE;
}

// Hides the group named kHiddenGroupNameId with every item after it up to the
// next item of the same level, and marks the item shown first.
void PrinterItemPass(OEMCUIPPARAM& param) {
  bool hiding = false;
  BYTE hiddenLevel = 0;
  for (DWORD i = 0; param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
    OPTITEM& item = param.pDrvOptItems[i];
    if (hiding) {
      if (item.Level == hiddenLevel)
        hiding = false;
      else
        HideItemWithOptions(item);
    }
    if (IsText(item.pName)) continue;
    const auto nameId = reinterpret_cast<ULONG_PTR>(item.pName);
    if (nameId == kInitialItemNameId) item.Flags |= OPTIF_INITIAL_TVITEM;
    if (nameId == kHiddenGroupNameId) {
      item.Flags |= OPTIF_HIDE;
      hiddenLevel = item.Level;
      hiding = true;
    }
  }
}

}  // namespace

HRESULT EditOptionTree(DWORD dwMode, OEMCUIPPARAM* param, PluginContext& context,
                       const Flavour& flavour) {
  if (!param) return S_OK;
  if (!param->pOEMOptItems) {
    CountQuery(dwMode, *param, context);
  } else if (dwMode == OEMCUIP_DOCPROP) {
    DocumentItemPass(*param, context, flavour);
  } else if (dwMode == OEMCUIP_PRNPROP) {
    PrinterItemPass(*param);
  }
  return S_OK;
}

}  // namespace vornik
