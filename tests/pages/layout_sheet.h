// The Layout page of the built DLL in a real, modeless property sheet, with
// the driver played around it: its layout items (built per test), its helper
// object with the call log, the count query and item pass, the sheet's
// change messages, and the item callback at Apply as the host makes it.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "driver_ui.h"
#include "plugin_harness.h"

namespace vornik::test {

// Option items as the driver hands them to its plug-ins.
class LayoutItems {
 public:
  LayoutItems() { items_.reserve(kCapacity); }
  LayoutItems(const LayoutItems&) = delete;
  LayoutItems& operator=(const LayoutItems&) = delete;

  // The driver's layout and colour items in its order: orientation (3
  // options), colour (2), two-sided (3), pages per sheet (7, the last one a
  // booklet), page order (2), arrangement (4), booklet edge (2).
  static void AddStandard(LayoutItems& items, bool pageOrder = true);

  // An item of `kind` named `name` with `count` options (no option type for 0).
  OPTITEM& Add(BYTE kind, LONG count, LONG sel, const wchar_t* name);
  OPTITEM* Find(BYTE kind);  // the first of its kind
  OPTITEM& operator[](BYTE kind) { return *Find(kind); }
  // Marks an option as in conflict, the way the driver does.
  void Conflict(BYTE kind, LONG option);

  OPTITEM* data() { return items_.data(); }
  DWORD count() const { return static_cast<DWORD>(items_.size()); }

 private:
  static constexpr size_t kCapacity = 32;  // item addresses never move
  std::vector<OPTITEM> items_;
  std::deque<OPTTYPE> types_;
  std::deque<std::vector<OPTPARAM>> params_;
};

// What a picture list entry shows and stands for.
struct ListEntry {
  std::wstring text;
  int image;
  LONG option;  // the entry's item data
  bool operator==(const ListEntry& other) const {
    return text == other.text && image == other.image && option == other.option;
  }
};

class LayoutSheet {
 public:
  struct Options {
    bool publishDriver = true;
    bool itemPass = true;
  };
  explicit LayoutSheet(OPTITEM* items, DWORD count) : LayoutSheet(items, count, Options{}) {}
  LayoutSheet(OPTITEM* items, DWORD count, const Options& options);
  explicit LayoutSheet(LayoutItems& items) : LayoutSheet(items.data(), items.count()) {}
  ~LayoutSheet();
  LayoutSheet(const LayoutSheet&) = delete;
  LayoutSheet& operator=(const LayoutSheet&) = delete;

  bool opened() const { return page_ != nullptr; }
  HWND page() const { return page_; }
  HWND sheet() const { return sheet_; }
  PluginHarness& harness() { return harness_; }
  host::DriverUiHelper& driver() { return driver_; }

  HWND Item(int id) const { return GetDlgItem(page_, id); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  bool Visible(int id) const { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
  bool Checked(int id) const { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }
  std::wstring Text(int id) const;

  std::vector<ListEntry> PictureEntries(int id) const;   // a ComboBoxEx list
  std::vector<std::wstring> PlainEntries(int id) const;  // a plain list
  LRESULT Selection(int id) const;                       // position, -1 for none
  std::wstring SelectedText(int id) const;               // of a picture list

  void Click(int id);
  // Chooses position `position` in a list as the user does.
  void Choose(int id, LRESULT position);
  // Leaves the page for the Job Settings page, then comes back.
  void LeaveAndReturn();
  // Applies the sheet; the host then calls the plug-in's item callback.
  void Apply();
  // Paints what waits to be painted now, after invalidating the whole page
  // (or only the preview, whose frame the page paints over).
  void Repaint(bool wholePage = true);

  // PSM_CHANGED messages of the page since it opened.
  size_t Changes() const;
  // Part of the page waits to be painted again.
  bool RedrawPending() const;
  // The driver's DrvUpdateUISetting calls since the last ClearCalls.
  std::vector<std::string> UpdateCalls() const;
  void ClearCalls() { driver_.ClearLog(); }

 private:
  host::DriverUiHelper driver_;  // outlives the plug-in, which holds a reference
  PluginHarness harness_;
  HWND sheet_ = nullptr;
  HWND page_ = nullptr;
};

}  // namespace vornik::test
