#include "uitree/option_item_callback.h"

#include "core/plugin_context.h"
#include "uitree/option_items.h"

namespace vornik {
namespace {

OPTITEM* FindColorModeItem(const OEMCUIPPARAM& param) {
  for (DWORD i = 0; param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
    if (IsColorModeItem(param.pDrvOptItems[i])) return &param.pDrvOptItems[i];
  }
  return nullptr;
}

// The colour-mode item follows the colour item: disabled with colour off.
LONG OnSelectionChanged(const OPTITEM& current, const OEMCUIPPARAM& param,
                        const PluginContext* context) {
  if (current.DMPubID != DMPUB_COLOR) return CPSUICB_ACTION_OPTIF_CHANGED;
  OPTITEM* colorMode = FindColorModeItem(param);
  if (!colorMode) return CPSUICB_ACTION_OPTIF_CHANGED;
  if (current.Sel == 0)
    colorMode->Flags |= OPTIF_DISABLED;
  else
    colorMode->Flags &= ~OPTIF_DISABLED;
  colorMode->Sel = current.Sel;
  if (context && context->driverUI)
    context->driverUI->DrvUpdateUISetting(param.poemuiobj, colorMode, 0, OEMCUIP_DOCPROP);
  return CPSUICB_ACTION_OPTIF_CHANGED;
}

short DuplexForSelection(LONG sel) {
  if (sel == 1) return DMDUP_HORIZONTAL;
  if (sel == 2) return DMDUP_VERTICAL;
  return DMDUP_SIMPLEX;
}

// A changed layout choice goes to the driver unless its option is marked as
// conflicting.
bool ShouldApply(const OPTITEM& item) {
  if (!item.pOptType || !(item.Flags & OPTIF_CHANGEONCE)) return false;
  LONG count = 0;
  const OPTPARAM* options = ItemOptions(item, count);
  if (!options || item.Sel < 0 || item.Sel >= count) return false;
  return !(options[item.Sel].Flags & OPTPF_OVERLAY_WARNING_ICON);
}

LONG OnApply(const OEMCUIPPARAM& param, const PluginContext* context, const Flavour& flavour) {
  for (DWORD i = 0; context && param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
    OPTITEM& item = param.pDrvOptItems[i];
    if (!HasKind(flavour.appliedLayoutKinds, item.DMPubID) || !ShouldApply(item)) continue;
    if (!context->driverUI) continue;
    const HRESULT hr =
        context->driverUI->DrvUpdateUISetting(param.poemuiobj, &item, item.Sel, OEMCUIP_DOCPROP);
    if (hr == S_OK && item.DMPubID == DMPUB_DUPLEX && param.pPublicDM)
      param.pPublicDM->dmDuplex = DuplexForSelection(item.Sel);
  }
  return CPSUICB_ACTION_ITEMS_APPLIED;
}

}  // namespace

LONG HandleOptionItemCallback(const CPSUICBPARAM* cbParam, OEMCUIPPARAM* param,
                              const Flavour& flavour) {
  if (!cbParam || !param) return CPSUICB_ACTION_OPTIF_CHANGED;
  const auto* context = static_cast<const PluginContext*>(param->pOEMUserData);
  switch (cbParam->Reason) {
    case CPSUICB_REASON_SEL_CHANGED:
      return cbParam->pCurItem ? OnSelectionChanged(*cbParam->pCurItem, *param, context)
                               : CPSUICB_ACTION_OPTIF_CHANGED;
    case CPSUICB_REASON_APPLYNOW:
      return OnApply(*param, context, flavour);
    default:
      return CPSUICB_ACTION_OPTIF_CHANGED;
  }
}

LONG APIENTRY OptionItemCallback(PCPSUICBPARAM cbParam, OEMCUIPPARAM* param) {
  return HandleOptionItemCallback(cbParam, param, kFlavour);
}

}  // namespace vornik
