// The driver's current layout settings as given on the command line
// ("orientation=landscape,nup=4,borders=on"), set on the layout items of the
// driver's document tree before the plug-in sees them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver_items.h"

namespace vornik::host {

struct LayoutChoice {
  DWORD kind;   // DMPUB_* of the item
  LONG option;  // its selection, or kKeepSelection
  int borders;  // the pages-per-sheet item's extended check box: kLeaveBorders, 0 or 1
};
constexpr LONG kKeepSelection = -1;
constexpr int kLeaveBorders = -1;

class LayoutSettings {
 public:
  // Adds the comma-separated NAME=VALUE list; false on an unknown name or
  // value, leaving the settings as they were.
  bool Add(const std::wstring& list);
  bool empty() const { return choices_.empty(); }
  // "orientation=landscape, nup=4" as given.
  const std::string& text() const { return text_; }
  // Every NAME=VALUE the host knows, for the usage message.
  static std::string Known();

  void ApplyTo(DriverItems& items) const;

 private:
  std::vector<LayoutChoice> choices_;
  std::string text_;
};

}  // namespace vornik::host
