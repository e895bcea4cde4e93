// PluginContext: the state that one plug-in object shares with its options-
// tree handler and its property pages. Everything is zero at creation.
#pragma once

#include "platform/printoem.h"

namespace vornik {

class PpdDocument;

struct PluginContext {
  PpdDocument* ppd;                 // owned; built on first need by the options tree
  HANDLE hComPropSheet;             // the host's sheet, copied when pages are added
  HANDLE jobSettingsPage;           // handle of the added Job Settings page
  OEMCUIPPARAM* cuipParam;          // borrowed: the latest CommonUIProp record
  PFNCOMPROPSHEET pfnComPropSheet;  // borrowed: the host's sheet function
  IPrintOemDriverUI* driverUI;      // owned reference published by the driver
  DWORD legacySystem;               // 1 on systems before 5.1 SP3
  HANDLE layoutPage;                // handle of the added Layout page
};

}  // namespace vornik
