// DriverItems: the option items the PostScript driver hands to its plug-ins,
// built from a PPD the way the driver builds them: standard items for the
// DMPUB_* kinds (named by resource ids), and one item per other PPD feature,
// named by its translation, with the feature keyword in the item's USERDATA
// and options named by their translations. The two-sided item carries the
// driver's own marks on the options that the installed hardware rules out.
// Owns every record it hands out.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/printoem.h"

namespace vornik {
class PpdDocument;
struct PpdFeature;
}  // namespace vornik

namespace vornik::host {

// Resource ids the driver names its device-settings items with.
constexpr ULONG_PTR kFormTrayGroupNameId = 64798;   // hidden by the plug-in
constexpr ULONG_PTR kInstallableGroupNameId = 400;  // shown first

class DriverItems {
 public:
  DriverItems() = default;
  DriverItems(const DriverItems&) = delete;
  DriverItems& operator=(const DriverItems&) = delete;

  // The document-properties tree: layout, paper and colour items, then the
  // printer features outside the installable options. `ppd` may be null;
  // its constraint flags follow the installed options the driver has.
  void BuildDocumentTree(const PpdDocument* ppd);
  // The device-settings tree: the form-to-tray group, then the installable
  // options group with its features.
  void BuildPrinterTree(const PpdDocument* ppd);

  OPTITEM* items() { return items_.empty() ? nullptr : items_.data(); }
  DWORD count() const { return static_cast<DWORD>(items_.size()); }
  OPTITEM* FindKind(DWORD kind);
  OPTITEM* FindKeyword(const char* keyword);  // without '*'

  // "name: option" of an item's current selection, for reports.
  std::string Describe(const OPTITEM& item) const;
  std::string OptionName(const OPTITEM& item, LONG index) const;

 private:
  OPTITEM& AddItem(BYTE level, const void* name, DWORD kind, const char* keyword,
                   const std::vector<const wchar_t*>& options, LONG sel);
  OPTITEM& AddFeatureItem(BYTE level, const PpdFeature& feature, DWORD kind);
  const wchar_t* Keep(const std::wstring& text);
  const char* Keep(const std::string& text);

  std::vector<OPTITEM> items_;
  std::deque<std::wstring> texts_;
  std::deque<std::string> keywords_;
  std::deque<USERDATA> userData_;
  std::deque<OPTTYPE> types_;
  std::deque<std::vector<OPTPARAM>> params_;
};

}  // namespace vornik::host
