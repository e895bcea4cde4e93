#include "layout_sheet.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "sheet_messages.h"

namespace vornik::test {

void LayoutItems::AddStandard(LayoutItems& items, bool pageOrder) {
  items.Add(DMPUB_ORIENTATION, 3, 0, L"Orientation");
  items.Add(DMPUB_COLOR, 2, 1, L"Color");
  items.Add(DMPUB_DUPLEX, 3, 0, L"Print on Both Sides");
  items.Add(DMPUB_NUP, 7, 0, L"Pages per Sheet");
  if (pageOrder) items.Add(DMPUB_PAGEORDER, 2, 0, L"Page Order");
  items.Add(DMPUB_NUP_DIRECTION, 4, 0, L"Pages per Sheet Layout");
  items.Add(DMPUB_BOOKLET_EDGE, 2, 0, L"Booklet Binding Edge");
}

OPTITEM& LayoutItems::Add(BYTE kind, LONG count, LONG sel, const wchar_t* name) {
  OPTITEM item{};
  item.cbSize = sizeof(item);
  item.Level = 2;
  item.pName = const_cast<LPWSTR>(name);
  item.DMPubID = kind;
  item.Sel = sel;
  if (count > 0) {
    params_.emplace_back(static_cast<size_t>(count));
    for (OPTPARAM& param : params_.back()) param.cbSize = sizeof(param);
    OPTTYPE type{};
    type.cbSize = sizeof(type);
    type.Type = TVOT_LISTBOX;
    type.Count = static_cast<WORD>(count);
    type.pOptParam = params_.back().data();
    types_.push_back(type);
    item.pOptType = &types_.back();
  }
  if (items_.size() == kCapacity) std::abort();  // the page holds the items' addresses
  items_.push_back(item);
  return items_.back();
}

OPTITEM* LayoutItems::Find(BYTE kind) {
  for (OPTITEM& item : items_) {
    if (item.DMPubID == kind) return &item;
  }
  return nullptr;
}

void LayoutItems::Conflict(BYTE kind, LONG option) {
  Find(kind)->pOptType->pOptParam[option].Flags |= OPTPF_OVERLAY_WARNING_ICON;
}

LayoutSheet::LayoutSheet(OPTITEM* items, DWORD count, const Options& options) {
  if (!harness_.ready()) return;
  if (options.publishDriver && FAILED(harness_.Publish(&driver_))) return;
  harness_.SetDriverItems(items, count);
  if (FAILED(harness_.CountQuery())) return;
  if (options.itemPass && FAILED(harness_.ItemPass())) return;
  if (FAILED(harness_.AddPages()) || harness_.host().pages().size() != 2) return;
  sheet_ = harness_.host().ShowModeless(L"Printing Preferences");
  if (!sheet_) return;
  SheetMessages::Attach(sheet_);
  page_ = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
  host::SheetHost::PumpMessages();
  SheetMessages::entries().clear();
  driver_.ClearLog();
}

LayoutSheet::~LayoutSheet() { harness_.host().CloseSheet(); }

std::wstring LayoutSheet::Text(int id) const {
  WCHAR text[256] = {};
  GetWindowTextW(Item(id), text, 256);
  return text;
}

std::vector<ListEntry> LayoutSheet::PictureEntries(int id) const {
  std::vector<ListEntry> entries;
  const LRESULT count = SendMessageW(Item(id), CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    WCHAR text[128] = {};
    COMBOBOXEXITEMW entry{};
    entry.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
    entry.iItem = i;
    entry.pszText = text;
    entry.cchTextMax = 128;
    SendMessageW(Item(id), CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    if (entry.iSelectedImage != entry.iImage) entry.iImage = -1000;  // shows a mismatch
    entries.push_back({text, entry.iImage, static_cast<LONG>(entry.lParam)});
  }
  return entries;
}

std::vector<std::wstring> LayoutSheet::PlainEntries(int id) const {
  std::vector<std::wstring> entries;
  const LRESULT count = SendMessageW(Item(id), CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    WCHAR text[128] = {};
    SendMessageW(Item(id), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}

LRESULT LayoutSheet::Selection(int id) const { return SendMessageW(Item(id), CB_GETCURSEL, 0, 0); }

std::wstring LayoutSheet::SelectedText(int id) const {
  const LRESULT selected = Selection(id);
  if (selected < 0) return L"(none)";
  const std::vector<ListEntry> entries = PictureEntries(id);
  return static_cast<size_t>(selected) < entries.size() ? entries[selected].text : L"(beyond)";
}

void LayoutSheet::Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }

void LayoutSheet::Choose(int id, LRESULT position) {
  SendMessageW(Item(id), CB_SETCURSEL, position, 0);
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(id)));
}

void LayoutSheet::LeaveAndReturn() {
  SendMessageW(sheet_, PSM_SETCURSEL, 1, 0);
  SendMessageW(sheet_, PSM_SETCURSEL, 0, 0);
  host::SheetHost::PumpMessages();
}

void LayoutSheet::Apply() { host::ApplyWithItemCallback(sheet_, harness_.param()); }

void LayoutSheet::Repaint(bool wholePage) {
  if (wholePage) {
    InvalidateRect(page_, nullptr, TRUE);
  } else {
    RECT preview{};
    GetWindowRect(Item(IDC_LAYOUT_PREVIEW), &preview);
    MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&preview), 2);
    InvalidateRect(page_, &preview, TRUE);
  }
  RedrawWindow(page_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  host::SheetHost::PumpMessages();
}

size_t LayoutSheet::Changes() const {
  return SheetMessages::Count(PSM_CHANGED, reinterpret_cast<WPARAM>(page_));
}

bool LayoutSheet::RedrawPending() const { return GetUpdateRect(page_, nullptr, FALSE) != FALSE; }

std::vector<std::string> LayoutSheet::UpdateCalls() const {
  std::vector<std::string> calls;
  for (const std::string& call : driver_.CallLog()) {
    if (call.rfind("DrvUpdateUISetting", 0) == 0) calls.push_back(call);
  }
  return calls;
}

}  // namespace vornik::test
