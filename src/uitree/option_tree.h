// Edits the driver's options tree before it is shown (CommonUIProp): builds
// the PPD model once, refreshes the installed-hardware values, hides the
// driver's layout items, marks options the hardware rules out, disables the
// colour-mode item while colour is off, and in printer properties hides one
// group and picks the item shown first.
#pragma once

#include "core/flavour.h"
#include "core/plugin_context.h"

namespace vornik {

// Resource ids of driver items in the device settings.
constexpr ULONG_PTR kInitialItemNameId = 400;    // shown first
constexpr ULONG_PTR kHiddenGroupNameId = 64798;  // hidden with its followers

// Always S_OK. The item pass of document mode follows `flavour`'s hidden
// layout kinds.
HRESULT EditOptionTree(DWORD dwMode, OEMCUIPPARAM* param, PluginContext& context,
                       const Flavour& flavour = kFlavour);

}  // namespace vornik
