#include "pages/layout_commands.h"

#include <prsht.h>

#include "pages/layout_controls.h"
#include "pages/layout_items.h"
#include "resources/resource_ids.h"

namespace vornik {
namespace {

constexpr LONG kFirstMultiplePages = 1;  // "2": where leaving a booklet lands
constexpr LONG kOneSided = 0;
constexpr LONG kShortEdgeFlip = 1;  // the two-sided choice a booklet needs at least

// How a command leaves the page.
enum class Outcome { kUnchanged, kChanged, kChangedWithoutRedraw };

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

void Check(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void MarkChanged(OPTITEM& item, LONG sel) {
  item.Sel = sel;
  item.Flags |= OPTIF_CHANGEONCE;
}

// The borders box follows pages per sheet: off and disabled for one page,
// else enabled and showing the item's border bit.
void SyncBordersBox(HWND dialog, const OPTITEM& pagesPerSheet) {
  const bool multiple = pagesPerSheet.Sel != 0;
  Check(dialog, IDC_LAYOUT_BORDERS, multiple && (pagesPerSheet.Flags & OPTIF_ECB_CHECKED));
  EnableWindow(Control(dialog, IDC_LAYOUT_BORDERS), multiple);
}

// Context of one command.
struct Command {
  HWND dialog;
  const OEMCUIPPARAM& param;
  IPrintOemDriverUI* driverUI;
  bool extras;  // the flavour shows arrangement, booklet edge and borders, and a
                // page-order item exists
};

void UpdateDriver(const Command& command, OPTITEM& item) {
  command.driverUI->DrvUpdateUISetting(command.param.poemuiobj, &item, 0, OEMCUIP_DOCPROP);
}

// The borders box edits the pages-per-sheet item's border bit and tells the
// driver of each real change.
void ToggleBorders(const Command& command, OPTITEM& pagesPerSheet) {
  const bool checked = IsChecked(command.dialog, IDC_LAYOUT_BORDERS);
  const bool set = (pagesPerSheet.Flags & OPTIF_ECB_CHECKED) != 0;
  if (checked == set) return;
  pagesPerSheet.Flags ^= OPTIF_ECB_CHECKED;
  UpdateDriver(command, pagesPerSheet);
}

// A booklet prints on both sides: one-sided becomes a short-edge flip.
void EnsureTwoSided(const Command& command) {
  if (SelectedOption(command.dialog, IDC_LAYOUT_DUPLEX) != kOneSided) return;
  OPTITEM* duplex = FindFirstItem(command.param, DMPUB_DUPLEX);
  if (!duplex || !duplex->pOptType) return;
  MarkChanged(*duplex, kShortEdgeFlip);
  const OPTITEM* orientation = FindFirstItem(command.param, DMPUB_ORIENTATION);
  FillDuplexList(command.dialog, *duplex, orientation && orientation->Sel != 0, command.param);
}

Outcome OnClick(const Command& command, int control) {
  if (control != IDC_LAYOUT_PAGES_PER_SHEET_RADIO && control != IDC_LAYOUT_BOOKLET_RADIO &&
      control != IDC_LAYOUT_BORDERS) {
    return Outcome::kUnchanged;
  }
  OPTITEM* pagesPerSheet = FindFirstItem(command.param, DMPUB_NUP);
  if (!pagesPerSheet || !pagesPerSheet->pOptType) return Outcome::kUnchanged;
  pagesPerSheet->Flags |= OPTIF_CHANGEONCE;
  const HWND dialog = command.dialog;

  bool enableList = true;
  bool enableEdge = false;
  if (control == IDC_LAYOUT_BORDERS && command.extras) {
    ToggleBorders(command, *pagesPerSheet);
    return Outcome::kChangedWithoutRedraw;
  } else if (control == IDC_LAYOUT_PAGES_PER_SHEET_RADIO) {
    if (pagesPerSheet->Sel == kBookletOption) {
      pagesPerSheet->Sel = kFirstMultiplePages;
      SendDlgItemMessageW(dialog, IDC_LAYOUT_PAGES_PER_SHEET, CB_SETCURSEL, kFirstMultiplePages, 0);
    }
  } else if (control == IDC_LAYOUT_BOOKLET_RADIO) {
    pagesPerSheet->Sel = kBookletOption;
    EnsureTwoSided(command);
    SendDlgItemMessageW(dialog, IDC_LAYOUT_PAGES_PER_SHEET, CB_SETCURSEL, kFirstMultiplePages, 0);
    enableList = false;
    enableEdge = true;
  }

  EnableWindow(Control(dialog, IDC_LAYOUT_PAGES_PER_SHEET), enableList);
  if (command.extras) {
    EnableControls(dialog, kArrangementControls, enableList);
    EnableControls(dialog, kBookletEdgeControls, enableEdge);
    SyncBordersBox(dialog, *pagesPerSheet);
  }
  return Outcome::kChanged;
}

// Choosing "None" for two-sided printing ends a booklet: two pages per sheet.
void LeaveBooklet(const Command& command) {
  const HWND dialog = command.dialog;
  for (DWORD i = 0; i < command.param.cDrvOptItems; ++i) {
    OPTITEM& item = command.param.pDrvOptItems[i];
    if (item.DMPubID == DMPUB_NUP && item.Sel == kBookletOption && item.pOptType) {
      MarkChanged(item, kFirstMultiplePages);
    }
  }
  Check(dialog, IDC_LAYOUT_BOOKLET_RADIO, false);
  Check(dialog, IDC_LAYOUT_PAGES_PER_SHEET_RADIO, true);
  SendDlgItemMessageW(dialog, IDC_LAYOUT_PAGES_PER_SHEET, CB_SETCURSEL, kFirstMultiplePages, 0);
  EnableWindow(Control(dialog, IDC_LAYOUT_PAGES_PER_SHEET), TRUE);
  if (command.extras) {
    EnableControls(dialog, kArrangementControls, true);
    EnableControls(dialog, kBookletEdgeControls, false);
  }
}

void OnOrientationChosen(const Command& command, OPTITEM& orientation, LONG option) {
  const LONG previous = orientation.Sel;
  MarkChanged(orientation, option);
  if (option == previous) return;
  // The two-sided pictures show the pages' orientation.
  const OPTITEM* duplex = FindFirstItem(command.param, DMPUB_DUPLEX);
  if (duplex && duplex->pOptType)
    FillDuplexList(command.dialog, *duplex, option != 0, command.param);
}

Outcome OnSelectionChange(const Command& command, int control, const Flavour& flavour) {
  const LayoutKind* row = FindLayoutKindOfControl(control, flavour);
  if (!row) return Outcome::kUnchanged;
  const LONG option = SelectedOption(command.dialog, control);
  OPTITEM* item = FindFirstItem(command.param, row->kind);
  if (!item || !item->pOptType || option < 0) return Outcome::kUnchanged;

  switch (row->kind) {
    case DMPUB_ORIENTATION:
      OnOrientationChosen(command, *item, option);
      break;
    case DMPUB_NUP:
      MarkChanged(*item, option);
      if (command.extras) SyncBordersBox(command.dialog, *item);
      break;
    case DMPUB_DUPLEX:
      MarkChanged(*item, option);
      if (option == kOneSided && IsChecked(command.dialog, IDC_LAYOUT_BOOKLET_RADIO)) {
        LeaveBooklet(command);
      }
      break;
    default:  // page order, arrangement, booklet edge
      MarkChanged(*item, option);
      break;
  }
  return Outcome::kChanged;
}

}  // namespace

BOOL OnLayoutCommand(HWND dialog, WPARAM wParam, const OEMCUIPPARAM* param,
                     IPrintOemDriverUI* driverUI, const Flavour& flavour) {
  if (!dialog || !param || !driverUI) return FALSE;
  const Command command = {dialog, *param, driverUI,
                           flavour.layoutExtras && HasExtendedLayout(*param)};
  Outcome outcome;
  switch (HIWORD(wParam)) {
    case BN_CLICKED:
      outcome = OnClick(command, LOWORD(wParam));
      break;
    case CBN_SELCHANGE:
      outcome = OnSelectionChange(command, LOWORD(wParam), flavour);
      break;
    default:
      return FALSE;
  }
  if (outcome == Outcome::kUnchanged) return TRUE;
  SendMessageW(GetParent(dialog), PSM_CHANGED, reinterpret_cast<WPARAM>(dialog), 0);
  if (outcome == Outcome::kChanged) InvalidateRect(dialog, nullptr, TRUE);
  return TRUE;
}

}  // namespace vornik
