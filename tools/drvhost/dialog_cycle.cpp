#include "dialog_cycle.h"

#include <commctrl.h>

#include <cwchar>
#include <utility>
#include <vector>

#include "page_pictures.h"
#include "plugin_host.h"
#include "resources/resource_ids.h"
#include "sheet_host.h"
#include "tree_session.h"

namespace vornik::host {
namespace {

constexpr wchar_t kCaption[] = L"vornik soak Printing Preferences";
constexpr wchar_t kTypedUserName[] = L"soak";

void Paint(HWND sheet) {
  RedrawWindow(sheet, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  SheetHost::PumpMessages();
}

// Job Settings: reserve job switched on and a user name typed, as the user
// does; both must be in the private devmode after Apply.
LONG ReserveJobAndTypeUser(HWND page) {
  SendMessageW(GetDlgItem(page, IDC_JOB_RESERVE), BM_CLICK, 0, 0);
  HWND edit = GetDlgItem(page, IDC_JOB_USER_NAME);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (const wchar_t* c = kTypedUserName; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
  return kReserveModeOn;
}

bool ReserveJobStored(PluginHost& host, DriverItems&, LONG reserveMode) {
  const PrivateDevmode& devmode = host.devmode();
  return devmode.reserveMode == static_cast<DWORD>(reserveMode) &&
         std::wcscmp(devmode.userName, kTypedUserName) == 0;
}

// Layout: the next orientation chosen in its list; the driver's orientation
// item must then select that option.
LONG ChooseNextOrientation(HWND page) {
  HWND list = GetDlgItem(page, IDC_LAYOUT_ORIENTATION);
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  const LRESULT next = (SendMessageW(list, CB_GETCURSEL, 0, 0) + 1) % (count > 0 ? count : 1);
  SendMessageW(list, CB_SETCURSEL, next, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT_ORIENTATION, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  return static_cast<LONG>(SendMessageW(list, CB_GETITEMDATA, next, 0));
}

bool OrientationSelected(PluginHost&, DriverItems& items, LONG option) {
  const OPTITEM* item = items.FindKind(DMPUB_ORIENTATION);
  return item && item->Sel == option;
}

struct PageChange {
  int control;                                               // a control only this page has
  const char* what;                                          // for reports
  LONG (*make)(HWND page);                                   // returns what must land
  bool (*landed)(PluginHost&, DriverItems&, LONG expected);  // after Apply
};

constexpr PageChange kPageChanges[] = {
    {IDC_JOB_RESERVE, "reserve job and user name", &ReserveJobAndTypeUser, &ReserveJobStored},
    {IDC_LAYOUT_ORIENTATION, "orientation", &ChooseNextOrientation, &OrientationSelected},
};

const PageChange* ChangeFor(HWND page) {
  for (const PageChange& change : kPageChanges) {
    if (GetDlgItem(page, change.control)) return &change;
  }
  return nullptr;
}

std::string ShowChangeAndApply(PluginHost& host, TreeSession& tree) {
  Report quiet(true);
  SheetHost sheet;
  if (!AddPluginPages(host, sheet, quiet)) return "DocumentPropertySheets added no page";
  for (const AddedPage& added : sheet.pages()) {
    if (!added.page) return "page '" + Narrow(added.title) + "' could not be made";
  }
  HWND window = sheet.ShowModeless(kCaption);
  if (!window) return "the sheet could not be shown";
  std::vector<std::pair<const PageChange*, LONG>> made;
  for (size_t i = 0; i < sheet.pages().size(); ++i) {
    PropSheet_SetCurSel(window, nullptr, static_cast<int>(i));
    HWND page = PropSheet_GetCurrentPageHwnd(window);
    Paint(window);
    const PageChange* change = ChangeFor(page);
    if (!change) return "page '" + Narrow(sheet.pages()[i].title) + "' has no change to make";
    made.emplace_back(change, change->make(page));
    SheetHost::PumpMessages();
  }
  ApplyWithItemCallback(window, tree.param());
  for (const auto& [change, expected] : made) {
    if (!change->landed(host, tree.items(), expected))
      return std::string("the change of ") + change->what + " did not reach the driver";
  }
  sheet.CloseSheet();
  return {};
}

PrivateDevmode DefaultedDevmode() {
  PrivateDevmode devmode{};
  DefaultPrivateDevmode(&devmode);
  return devmode;
}

}  // namespace

std::string OpenAndCloseDialog(const DialogTarget& target) {
  Report quiet(true);
  PluginHost host(target.dllPath, quiet);
  if (!host.Start()) return "the plug-in could not be created";
  if (!host.PrepareDevmode(DefaultedDevmode())) return "the private devmode could not be prepared";
  std::string failure;
  {
    TreeSession tree(host, target.printer, target.ppd, quiet);
    tree.DocumentProperties();
    failure = tree.param().OEMCUIPCallback ? ShowChangeAndApply(host, tree)
                                           : "the item pass installed no item callback";
  }
  host.Stop();
  if (failure.empty() && host.driver().References() != 1)
    failure = "the plug-in kept " + std::to_string(host.driver().References() - 1) +
              " references to the driver's helper object";
  return failure;
}

}  // namespace vornik::host
