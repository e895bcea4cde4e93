// The host's side of the common property-sheet interface, played the way the
// driver's UI module plays it around a plug-in: a pfnComPropSheet that
// records every call it receives, turns the page records added with
// CPSFUNC_ADD_PROPSHEETPAGEW into real property-sheet pages, and shows those
// pages in a real, modeless PropertySheetW, and applies them as the driver
// does. Comctl32 is loaded at run time.
#pragma once

#include <windows.h>

#include <compstui.h>
#include <prsht.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/printoem.h"

namespace vornik::host {

// One call of the plug-in through pfnComPropSheet, in arrival order.
struct SheetCall {
  HANDLE sheet;  // the hComPropSheet the plug-in passed
  UINT function;
  LPARAM lParam1;
  LPARAM lParam2;
  LONG_PTR result;  // what the host answered
};

// A page record as the host received it with CPSFUNC_ADD_PROPSHEETPAGEW.
struct AddedPage {
  std::vector<BYTE> record;  // the record's bytes as received (dwSize of them, bounded)
  PROPSHEETPAGEW fields;     // its members; those beyond dwSize read as zero
  bool titleIsText;          // pszTitle pointed at text (not null, not a resource id)
  std::wstring title;        // that text, copied at the call
  HPROPSHEETPAGE page;       // the real page made from the record, or null
  LONG_PTR handle;           // the handle answered to the plug-in
};

class SheetHost {
 public:
  SheetHost();
  ~SheetHost();
  SheetHost(const SheetHost&) = delete;
  SheetHost& operator=(const SheetHost&) = delete;

  // True when the common controls' property-sheet functions were found.
  static bool Available();

  // A PROPSHEETUI_INFO with the host's members set: size, version, Unicode
  // flag, reason, this host's sheet handle and callback, and lParamInit.
  PROPSHEETUI_INFO MakeInfo(WORD reason, LPARAM lParamInit = 0) const;

  HANDLE handle() const { return reinterpret_cast<HANDLE>(const_cast<SheetHost*>(this)); }
  static LONG_PTR CALLBACK ComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1,
                                        LPARAM lParam2);

  // Off: added records are only recorded and answered with a token handle.
  void set_create_pages(bool create) { createPages_ = create; }
  // On: every CPSFUNC_ADD_PROPSHEETPAGEW fails (answers 0) and makes nothing.
  void set_fail_adds(bool fail) { failAdds_ = fail; }

  const std::vector<SheetCall>& calls() const { return calls_; }
  const std::vector<AddedPage>& pages() const { return pages_; }
  static constexpr size_t kNoPage = static_cast<size_t>(-1);
  // Index in pages() of the page answered with `handle`, or kNoPage.
  size_t PageIndexOf(LONG_PTR handle) const;

  // Shows every real page in a modeless property sheet and returns its
  // window (null on failure). The sheet then owns the pages.
  HWND ShowModeless(const wchar_t* caption, HWND owner = nullptr);
  HWND sheet() const { return sheet_; }
  // Destroys the sheet window, and with it its pages.
  void CloseSheet();

  // Dispatches the messages waiting in this thread's queue.
  static void PumpMessages();

 private:
  LONG_PTR AddPage(const PROPSHEETPAGEW* record);
  LONG_PTR Handle(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2);

  std::vector<SheetCall> calls_;
  std::vector<AddedPage> pages_;
  bool createPages_ = true;
  bool failAdds_ = false;
  bool pagesHandedOver_ = false;
  HWND sheet_ = nullptr;
};

// The driver's Apply: the sheet applies its pages, then the driver calls the
// plug-in's item callback (if the item pass installed one) over its items.
void ApplyWithItemCallback(HWND sheet, OEMCUIPPARAM& param);

}  // namespace vornik::host
