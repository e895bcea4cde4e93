#include "pages/layout_controls.h"

#include <commctrl.h>

#include "pages/layout_items.h"
#include "platform/common_controls.h"
#include "platform/gdi_handles.h"
#include "resources/resource_ids.h"
#include "uitree/string_loader.h"

namespace vornik {
namespace {

constexpr wchar_t kImageListProperty[] = L"vornik.LayoutImageList";

constexpr int kIconSize = 20;
constexpr int kImageListInitial = 13;
constexpr int kImageListGrowth = 0;

// The icon list: each picture followed by its version with the warning
// mark (image indices 0 to 15), then the warning triangle (16).
struct IconPair {
  WORD picture;
  WORD withWarning;
};
constexpr IconPair kPictureIcons[] = {
    {IDI_ORIENTATION_PORTRAIT, IDI_ORIENTATION_PORTRAIT_WARNING},
    {IDI_ORIENTATION_LANDSCAPE, IDI_ORIENTATION_LANDSCAPE_WARNING},
    {IDI_ORIENTATION_ROTATED_LANDSCAPE, IDI_ORIENTATION_ROTATED_LANDSCAPE_WARNING},
    {IDI_DUPLEX_NONE, IDI_DUPLEX_NONE_WARNING},
    {IDI_DUPLEX_SHORT_EDGE_PORTRAIT, IDI_DUPLEX_SHORT_EDGE_PORTRAIT_WARNING},
    {IDI_DUPLEX_LONG_EDGE_PORTRAIT, IDI_DUPLEX_LONG_EDGE_PORTRAIT_WARNING},
    {IDI_DUPLEX_SHORT_EDGE_LANDSCAPE, IDI_DUPLEX_SHORT_EDGE_LANDSCAPE_WARNING},
    {IDI_DUPLEX_LONG_EDGE_LANDSCAPE, IDI_DUPLEX_LONG_EDGE_LANDSCAPE_WARNING},
};

constexpr int kPictureLists[] = {IDC_LAYOUT_ORIENTATION, IDC_LAYOUT_DUPLEX, IDC_LAYOUT_PAGE_ORDER};

struct ControlText {
  int controlId;
  UINT stringId;
  bool extra;  // a label of the controls that only the later flavour shows
};

constexpr ControlText kLabels[] = {
    {IDC_LAYOUT_ORIENTATION_LABEL, IDS_LAYOUT_ORIENTATION_LABEL, false},
    {IDC_LAYOUT_DUPLEX_LABEL, IDS_LAYOUT_DUPLEX_LABEL, false},
    {IDC_LAYOUT_PAGE_ORDER_LABEL, IDS_LAYOUT_PAGE_ORDER_LABEL, false},
    {IDC_LAYOUT_PAGE_FORMAT, IDS_LAYOUT_PAGE_FORMAT_FRAME, false},
    {IDC_LAYOUT_PAGES_PER_SHEET_RADIO, IDS_LAYOUT_PAGES_PER_SHEET_RADIO, false},
    {IDC_LAYOUT_BOOKLET_RADIO, IDS_LAYOUT_BOOKLET_RADIO, false},
    {IDC_LAYOUT_ARRANGEMENT_LABEL, IDS_LAYOUT_PAGE_ARRANGEMENT_LABEL, true},
    {IDC_LAYOUT_BOOKLET_EDGE_LABEL, IDS_LAYOUT_BOOKLET_EDGE_LABEL, true},
    {IDC_LAYOUT_BORDERS, IDS_LAYOUT_DRAW_BORDERS, true},
};

// In the order the earlier flavour hides them.
constexpr int kExtraControls[] = {IDC_LAYOUT_ARRANGEMENT, IDC_LAYOUT_ARRANGEMENT_LABEL,
                                  IDC_LAYOUT_BOOKLET_EDGE, IDC_LAYOUT_BOOKLET_EDGE_LABEL,
                                  IDC_LAYOUT_BORDERS};

constexpr int kPageOrderControls[] = {IDC_LAYOUT_PAGE_ORDER, IDC_LAYOUT_PAGE_ORDER_LABEL};
constexpr int kBookletControls[] = {IDC_LAYOUT_BOOKLET_EDGE, IDC_LAYOUT_BOOKLET_EDGE_LABEL,
                                    IDC_LAYOUT_BORDERS};

HMODULE ModuleOf(const OEMCUIPPARAM& param) { return static_cast<HMODULE>(param.hModule); }

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

void Check(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

// Appends an icon of the module at the list's size; one that does not load
// is left out.
void AppendIcon(HIMAGELIST list, const OEMCUIPPARAM& param, WORD id) {
  const IconHandle icon(static_cast<HICON>(LoadImageW(
      ModuleOf(param), MAKEINTRESOURCEW(id), IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)));
  if (icon.get()) in_context::ImageList_ReplaceIcon(list, -1, icon.get());
}

// --- Picture lists (ComboBoxEx) --------------------------------------------

// Appends an entry for option `option` with its text and picture.
void AppendPictureEntry(HWND list, const OEMCUIPPARAM& param, UINT stringId, LONG option,
                        int image) {
  const HeapString text(ModuleOf(param), param.hOEMHeap, stringId);
  COMBOBOXEXITEMW entry{};
  entry.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
  entry.iItem = SendMessageW(list, CB_GETCOUNT, 0, 0);
  entry.pszText = const_cast<LPWSTR>(text.text());
  entry.iImage = image;
  entry.iSelectedImage = image;
  entry.lParam = option;
  SendMessageW(list, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

LONG EntryOption(HWND list, LRESULT position) {
  COMBOBOXEXITEMW entry{};
  entry.mask = CBEIF_LPARAM;
  entry.iItem = position;
  if (!SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry))) return -1;
  return static_cast<LONG>(entry.lParam);
}

// Selects the entry that stands for `option`; no entry is selected when the
// list has none for it.
void SelectPictureEntry(HWND list, LONG option) {
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT position = 0; position < count; ++position) {
    if (EntryOption(list, position) == option) {
      SendMessageW(list, CB_SETCURSEL, position, 0);
      return;
    }
  }
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

// Picture of option `option` before its warning mark.
using ImageOf = int (*)(LONG option, bool landscape);

int OrientationImage(LONG option, bool) { return kFirstOrientationImage + 2 * option; }

int DuplexImage(LONG option, bool landscape) {
  return kFirstDuplexImage + 2 * option + (option != 0 && landscape ? kLandscapeDuplexShift : 0);
}

// Orientation and two-sided lists: a conflicting option is listed, with its
// warning picture, only while the current selection is itself conflicting.
void FillConflictAwareList(HWND dialog, const OPTITEM& item, const LayoutKind& row,
                           const OEMCUIPPARAM& param, ImageOf imageOf, bool landscape) {
  const HWND list = Control(dialog, row.control);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  const LONG shown = OptionsShown(item, row.optionsShown);
  const bool showAll = item.Sel >= 0 && item.Sel < shown && IsConflicting(item, item.Sel);
  for (LONG option = 0; option < shown; ++option) {
    const bool conflicting = IsConflicting(item, option);
    if (conflicting && !showAll) continue;
    AppendPictureEntry(list, param, row.firstString + option, option,
                       imageOf(option, landscape) + (conflicting ? 1 : 0));
  }
  SelectPictureEntry(list, item.Sel);
}

// Page order: every option is listed; a conflicting one carries the warning
// triangle, the others no picture.
void FillPageOrderList(HWND dialog, const OPTITEM& item, const LayoutKind& row,
                       const OEMCUIPPARAM& param) {
  const HWND list = Control(dialog, row.control);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  const LONG shown = OptionsShown(item, row.optionsShown);
  for (LONG option = 0; option < shown; ++option) {
    AppendPictureEntry(list, param, row.firstString + option, option,
                       IsConflicting(item, option) ? kWarningImage : kNoImage);
  }
  SelectPictureEntry(list, item.Sel);
}

// --- Plain lists -------------------------------------------------------------

// Appends the option texts at the end (never sorted), so position = option.
void FillPlainList(HWND dialog, const OPTITEM& item, const LayoutKind& row,
                   const OEMCUIPPARAM& param) {
  const HWND list = Control(dialog, row.control);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  const LONG shown = OptionsShown(item, row.optionsShown);
  for (LONG option = 0; option < shown; ++option) {
    const HeapString text(ModuleOf(param), param.hOEMHeap, row.firstString + option);
    SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(text.text()));
  }
}

void SelectPosition(HWND dialog, int control, LONG position) {
  SendDlgItemMessageW(dialog, control, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

// --- Pages per sheet ---------------------------------------------------------

void SyncPagesPerSheet(HWND dialog, const OPTITEM& item, const LayoutKind& row,
                       const OEMCUIPPARAM& param, bool extended, bool extras) {
  FillPlainList(dialog, item, row, param);
  const bool booklet = item.Sel == kBookletOption;
  if (extended && booklet) {
    Check(dialog, IDC_LAYOUT_BOOKLET_RADIO, true);
    Check(dialog, IDC_LAYOUT_PAGES_PER_SHEET_RADIO, false);
    EnableWindow(Control(dialog, IDC_LAYOUT_PAGES_PER_SHEET), FALSE);
    if (extras) {
      EnableControls(dialog, kArrangementControls, false);
      EnableControls(dialog, kBookletControls, true);
    }
  } else {
    Check(dialog, IDC_LAYOUT_BOOKLET_RADIO, false);
    Check(dialog, IDC_LAYOUT_PAGES_PER_SHEET_RADIO, true);
    EnableWindow(Control(dialog, IDC_LAYOUT_PAGES_PER_SHEET), TRUE);
    SelectPosition(dialog, IDC_LAYOUT_PAGES_PER_SHEET, item.Sel);
    if (!extended) {
      EnableWindow(Control(dialog, IDC_LAYOUT_BOOKLET_RADIO), FALSE);
    } else if (extras) {
      EnableControls(dialog, kArrangementControls, true);
      EnableControls(dialog, kBookletEdgeControls, false);
      EnableWindow(Control(dialog, IDC_LAYOUT_BORDERS), item.Sel != 0);
    }
  }
  if (extended && extras) {
    Check(dialog, IDC_LAYOUT_BORDERS, (item.Flags & OPTIF_ECB_CHECKED) != 0);
  }
}

void SyncItem(HWND dialog, const OPTITEM& item, const LayoutKind& row, const OEMCUIPPARAM& param,
              bool extended, const Flavour& flavour) {
  if (item.Flags & OPTIF_DISABLED) {
    EnableWindow(Control(dialog, row.control), FALSE);
    EnableWindow(Control(dialog, row.label), FALSE);
  }
  if (!item.pOptType) return;
  switch (item.DMPubID) {
    case DMPUB_ORIENTATION:
      FillConflictAwareList(dialog, item, row, param, OrientationImage, false);
      break;
    case DMPUB_DUPLEX: {
      const OPTITEM* orientation = FindFirstItem(param, DMPUB_ORIENTATION);
      FillDuplexList(dialog, item, orientation && orientation->Sel != 0, param);
      break;
    }
    case DMPUB_PAGEORDER:
      FillPageOrderList(dialog, item, row, param);
      break;
    case DMPUB_NUP:
      SyncPagesPerSheet(dialog, item, row, param, extended, flavour.layoutExtras);
      break;
    default:  // arrangement and booklet edge
      FillPlainList(dialog, item, row, param);
      SelectPosition(dialog, row.control, item.Sel);
      break;
  }
}

}  // namespace

void FillLayoutLabels(HWND dialog, const OEMCUIPPARAM& param, const Flavour& flavour) {
  for (const ControlText& label : kLabels) {
    if (label.extra && !flavour.layoutExtras) continue;
    const HeapString text(ModuleOf(param), param.hOEMHeap, label.stringId);
    SetDlgItemTextW(dialog, label.controlId, text.text());
  }
}

void HideLayoutExtras(HWND dialog) {
  for (int id : kExtraControls) ShowWindow(Control(dialog, id), SW_HIDE);
}

void BuildLayoutImageList(HWND dialog, const OEMCUIPPARAM& param) {
  DestroyLayoutImageList(dialog);
  const HIMAGELIST list = in_context::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK,
                                                       kImageListInitial, kImageListGrowth);
  if (!list) return;
  SetPropW(dialog, kImageListProperty, list);
  for (const IconPair& pair : kPictureIcons) {
    AppendIcon(list, param, pair.picture);
    AppendIcon(list, param, pair.withWarning);
  }
  AppendIcon(list, param, IDI_LAYOUT_WARNING);
  for (int id : kPictureLists) {
    SendDlgItemMessageW(dialog, id, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  }
}

HIMAGELIST LayoutImageList(HWND dialog) {
  return static_cast<HIMAGELIST>(GetPropW(dialog, kImageListProperty));
}

void DestroyLayoutImageList(HWND dialog) {
  if (const auto list = static_cast<HIMAGELIST>(RemovePropW(dialog, kImageListProperty))) {
    in_context::ImageList_Destroy(list);
  }
}

void SyncLayoutControls(HWND dialog, const OEMCUIPPARAM& param, const Flavour& flavour) {
  const bool extended = HasExtendedLayout(param);
  for (DWORD i = 0; param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
    const OPTITEM& item = param.pDrvOptItems[i];
    if (const LayoutKind* row = FindLayoutKind(item.DMPubID, flavour)) {
      SyncItem(dialog, item, *row, param, extended, flavour);
    }
  }
  if (extended) return;
  EnableControls(dialog, kPageOrderControls, false);
  if (flavour.layoutExtras) {
    EnableControls(dialog, kArrangementControls, false);
    EnableControls(dialog, kBookletControls, false);
  }
}

void FillDuplexList(HWND dialog, const OPTITEM& duplex, bool landscape, const OEMCUIPPARAM& param) {
  const LayoutKind* row = FindLayoutKind(DMPUB_DUPLEX, kLaterFlavour);  // shown in every flavour
  FillConflictAwareList(dialog, duplex, *row, param, DuplexImage, landscape);
}

LONG SelectedOption(HWND dialog, int control) {
  const HWND list = Control(dialog, control);
  const LRESULT position = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (position < 0) return -1;
  for (int pictureList : kPictureLists) {
    if (control == pictureList) return EntryOption(list, position);
  }
  return static_cast<LONG>(position);
}

}  // namespace vornik
