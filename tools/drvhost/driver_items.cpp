#include "driver_items.h"

#include <cstring>
#include <iterator>

#include "ppd/document.h"

namespace vornik::host {
namespace {

const wchar_t* Id(ULONG_PTR id) { return reinterpret_cast<const wchar_t*>(id); }

// Readable names of the resource ids the items are named with.
struct ResourceName {
  ULONG_PTR id;
  const char* text;
};
constexpr ResourceName kResourceNames[] = {
    {IDS_CPSUI_PAPER_OUTPUT, "Paper/Output"},
    {IDS_CPSUI_FORMNAME, "Paper Size"},
    {IDS_CPSUI_SOURCE, "Paper Source"},
    {IDS_CPSUI_MEDIA, "Media"},
    {IDS_CPSUI_PRINTQUALITY, "Print Quality"},
    {IDS_CPSUI_GRAPHIC, "Graphic"},
    {IDS_CPSUI_COLOR, "Color"},
    {IDS_CPSUI_GRAYSCALE, "Grayscale"},
    {IDS_CPSUI_DOCUMENT, "Document Options"},
    {IDS_CPSUI_ORIENTATION, "Orientation"},
    {IDS_CPSUI_PORTRAIT, "Portrait"},
    {IDS_CPSUI_LANDSCAPE, "Landscape"},
    {IDS_CPSUI_ROT_LAND, "Rotated Landscape"},
    {IDS_CPSUI_DUPLEX, "Print on Both Sides"},
    {IDS_CPSUI_NONE, "None"},
    {IDS_CPSUI_SHORT_SIDE, "Flip on Short Edge"},
    {IDS_CPSUI_LONG_SIDE, "Flip on Long Edge"},
    {IDS_CPSUI_NUP, "Pages per Sheet"},
    {IDS_CPSUI_BOOKLET, "Booklet"},
    {IDS_CPSUI_PAGEORDER, "Page Order"},
    {IDS_CPSUI_FRONTTOBACK, "Front to Back"},
    {IDS_CPSUI_BACKTOFRONT, "Back to Front"},
    {IDS_CPSUI_NUP_DIRECTION, "Pages per Sheet Layout"},
    {IDS_CPSUI_RIGHT_THEN_DOWN, "Right then Down"},
    {IDS_CPSUI_DOWN_THEN_RIGHT, "Down then Right"},
    {IDS_CPSUI_LEFT_THEN_DOWN, "Left then Down"},
    {IDS_CPSUI_DOWN_THEN_LEFT, "Down then Left"},
    {IDS_CPSUI_BOOKLET_EDGE, "Booklet Binding Edge"},
    {IDS_CPSUI_BOOKLET_EDGE_LEFT, "Left Edge"},
    {IDS_CPSUI_BOOKLET_EDGE_RIGHT, "Right Edge"},
    {IDS_CPSUI_ADVANCED, "Printer Features"},
    {kFormTrayGroupNameId, "Form To Tray Assignment"},
    {kInstallableGroupNameId, "Installable Options"},
};

std::string Narrow(const wchar_t* text) {
  const auto id = reinterpret_cast<ULONG_PTR>(text);
  if (id <= 0xFFFF) {
    for (const ResourceName& name : kResourceNames) {
      if (name.id == id) return name.text;
    }
    return "#" + std::to_string(id);
  }
  char buffer[512] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer) - 1, nullptr, nullptr);
  return buffer;
}

std::string AnsiKeyword(const PpdFeature& feature) {
  char buffer[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(feature.keyword.text) + 1, -1,
                      buffer, sizeof(buffer), nullptr, nullptr);
  return buffer;
}

LONG DefaultIndex(const PpdFeature& feature) {
  for (int32_t i = 0; i < feature.optionCount; ++i) {
    if (feature.options[i]->keyword.SameText(feature.defaultOption)) return i;
  }
  return 0;
}

// PPD features the driver shows as standard items, with the item's kind.
struct StandardFeature {
  const char16_t* keyword;
  DWORD kind;
  ULONG_PTR nameId;
};
constexpr StandardFeature kStandardFeatures[] = {
    {u"*PageSize", DMPUB_FORMNAME, IDS_CPSUI_FORMNAME},
    {u"*InputSlot", DMPUB_DEFSOURCE, IDS_CPSUI_SOURCE},
    {u"*MediaType", DMPUB_MEDIATYPE, IDS_CPSUI_MEDIA},
    {u"*Resolution", DMPUB_PRINTQUALITY, IDS_CPSUI_PRINTQUALITY},
};

// The PPD's *Duplex options that the entries of the driver's two-sided item
// stand for, in the item's order.
constexpr const char16_t* kDuplexOptions[] = {u"None", u"DuplexTumble", u"DuplexNoTumble"};

// The driver resolves the PPD's constraints for its own two-sided item, whose
// entries carry the driver's resource names (which the plug-in cannot match
// to the PPD): an entry that the installed hardware rules out gets the
// warning mark.
void MarkRuledOutDuplexOptions(OPTITEM& item, const PpdDocument* ppd) {
  const int32_t index = ppd ? ppd->FindFeatureByKeyword(u"*Duplex") : -1;
  if (index < 0) return;
  const PpdFeature& duplex = *ppd->GetFeature(index);
  for (size_t entry = 0; entry < std::size(kDuplexOptions) && entry < item.pOptType->Count;
       ++entry) {
    for (int32_t i = 0; i < duplex.optionCount; ++i) {
      const PpdOption& option = *duplex.options[i];
      if (option.constrained && option.keyword.Equals(kDuplexOptions[entry]))
        item.pOptType->pOptParam[entry].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    }
  }
}

bool IsStandardFeature(const PpdFeature& feature) {
  for (const StandardFeature& standard : kStandardFeatures) {
    if (feature.keyword.Equals(standard.keyword)) return true;
  }
  return feature.keyword.Equals(u"*Duplex");
}

}  // namespace

const wchar_t* DriverItems::Keep(const std::wstring& text) {
  texts_.push_back(text);
  return texts_.back().c_str();
}

const char* DriverItems::Keep(const std::string& text) {
  keywords_.push_back(text);
  return keywords_.back().c_str();
}

OPTITEM& DriverItems::AddItem(BYTE level, const void* name, DWORD kind, const char* keyword,
                              const std::vector<const wchar_t*>& options, LONG sel) {
  OPTITEM item = {};
  item.cbSize = sizeof(OPTITEM);
  item.Level = level;
  item.pName = const_cast<LPWSTR>(static_cast<const wchar_t*>(name));
  item.DMPubID = static_cast<BYTE>(kind);
  item.Sel = sel;
  if (keyword) {
    USERDATA data = {};
    data.dwSize = sizeof(USERDATA);
    data.pKeyWordName = const_cast<char*>(Keep(std::string(keyword)));
    userData_.push_back(data);
    item.UserData = reinterpret_cast<ULONG_PTR>(&userData_.back());
  }
  if (!options.empty()) {
    std::vector<OPTPARAM> params(options.size());
    for (size_t i = 0; i < options.size(); ++i) {
      params[i].cbSize = sizeof(OPTPARAM);
      params[i].pData = const_cast<LPWSTR>(options[i]);
    }
    params_.push_back(std::move(params));
    OPTTYPE type = {};
    type.cbSize = sizeof(OPTTYPE);
    type.Type = TVOT_LISTBOX;
    type.Count = static_cast<WORD>(options.size());
    type.pOptParam = params_.back().data();
    types_.push_back(type);
    item.pOptType = &types_.back();
  }
  items_.push_back(item);
  return items_.back();
}

OPTITEM& DriverItems::AddFeatureItem(BYTE level, const PpdFeature& feature, DWORD kind) {
  std::vector<const wchar_t*> options;
  for (int32_t i = 0; i < feature.optionCount; ++i)
    options.push_back(
        Keep(std::wstring(reinterpret_cast<const wchar_t*>(feature.options[i]->translation.text))));
  const void* name = Keep(std::wstring(reinterpret_cast<const wchar_t*>(feature.translation.text)));
  for (const StandardFeature& standard : kStandardFeatures) {
    if (standard.kind == kind && kind) name = Id(standard.nameId);
  }
  return AddItem(level, name, kind, Keep(AnsiKeyword(feature)), options, DefaultIndex(feature));
}

void DriverItems::BuildDocumentTree(const PpdDocument* ppd) {
  items_.clear();
  items_.reserve(256);  // item addresses stay valid while the tree lives
  AddItem(1, Id(IDS_CPSUI_PAPER_OUTPUT), 0, nullptr, {}, 0);
  for (const StandardFeature& standard : kStandardFeatures) {
    const int32_t index = ppd ? ppd->FindFeatureByKeyword(standard.keyword) : -1;
    if (index >= 0) AddFeatureItem(2, *ppd->GetFeature(index), standard.kind);
  }
  AddItem(1, Id(IDS_CPSUI_GRAPHIC), 0, nullptr, {}, 0);
  AddItem(2, Id(IDS_CPSUI_COLOR), DMPUB_COLOR, nullptr,
          {Id(IDS_CPSUI_GRAYSCALE), Id(IDS_CPSUI_COLOR)}, 1);
  AddItem(1, Id(IDS_CPSUI_DOCUMENT), 0, nullptr, {}, 0);
  AddItem(2, Id(IDS_CPSUI_ORIENTATION), DMPUB_ORIENTATION, nullptr,
          {Id(IDS_CPSUI_PORTRAIT), Id(IDS_CPSUI_LANDSCAPE), Id(IDS_CPSUI_ROT_LAND)}, 0);
  OPTITEM& duplex =
      AddItem(2, Id(IDS_CPSUI_DUPLEX), DMPUB_DUPLEX, "Duplex",
              {Id(IDS_CPSUI_NONE), Id(IDS_CPSUI_SHORT_SIDE), Id(IDS_CPSUI_LONG_SIDE)}, 0);
  MarkRuledOutDuplexOptions(duplex, ppd);
  // Page borders are this item's extended check box (OPTIF_ECB_CHECKED).
  AddItem(2, Id(IDS_CPSUI_NUP), DMPUB_NUP, nullptr,
          {L"1", L"2", L"4", L"6", L"9", L"16", Id(IDS_CPSUI_BOOKLET)}, 0);
  AddItem(2, Id(IDS_CPSUI_PAGEORDER), DMPUB_PAGEORDER, nullptr,
          {Id(IDS_CPSUI_FRONTTOBACK), Id(IDS_CPSUI_BACKTOFRONT)}, 0);
  AddItem(2, Id(IDS_CPSUI_NUP_DIRECTION), DMPUB_NUP_DIRECTION, nullptr,
          {Id(IDS_CPSUI_RIGHT_THEN_DOWN), Id(IDS_CPSUI_DOWN_THEN_RIGHT),
           Id(IDS_CPSUI_LEFT_THEN_DOWN), Id(IDS_CPSUI_DOWN_THEN_LEFT)},
          0);
  AddItem(2, Id(IDS_CPSUI_BOOKLET_EDGE), DMPUB_BOOKLET_EDGE, nullptr,
          {Id(IDS_CPSUI_BOOKLET_EDGE_LEFT), Id(IDS_CPSUI_BOOKLET_EDGE_RIGHT)}, 0);
  if (!ppd) return;
  AddItem(1, Id(IDS_CPSUI_ADVANCED), 0, nullptr, {}, 0);
  for (int32_t i = 0; i < ppd->featureCount(); ++i) {
    const PpdFeature& feature = *ppd->GetFeature(i);
    if (IsStandardFeature(feature) || feature.group.Equals(kInstallableOptionsGroup)) continue;
    AddFeatureItem(2, feature, 0);
  }
}

void DriverItems::BuildPrinterTree(const PpdDocument* ppd) {
  items_.clear();
  items_.reserve(256);
  AddItem(1, Id(kFormTrayGroupNameId), 0, nullptr, {}, 0);
  AddItem(2, L"Multipurpose Tray", 0, nullptr, {L"Letter", L"A4"}, 0);
  AddItem(2, L"Cassette 1", 0, nullptr, {L"Letter", L"A4"}, 0);
  AddItem(1, Id(kInstallableGroupNameId), 0, nullptr, {}, 0);
  for (int32_t i = 0; ppd && i < ppd->featureCount(); ++i) {
    const PpdFeature& feature = *ppd->GetFeature(i);
    if (feature.group.Equals(kInstallableOptionsGroup)) AddFeatureItem(2, feature, 0);
  }
}

OPTITEM* DriverItems::FindKind(DWORD kind) {
  for (OPTITEM& item : items_) {
    if (item.DMPubID == kind) return &item;
  }
  return nullptr;
}

OPTITEM* DriverItems::FindKeyword(const char* keyword) {
  for (OPTITEM& item : items_) {
    const auto* data = reinterpret_cast<const USERDATA*>(item.UserData);
    if (data && data->pKeyWordName && std::strcmp(data->pKeyWordName, keyword) == 0) return &item;
  }
  return nullptr;
}

std::string DriverItems::OptionName(const OPTITEM& item, LONG index) const {
  if (!item.pOptType || index < 0 || index >= item.pOptType->Count) return "(none)";
  return Narrow(item.pOptType->pOptParam[index].pData);
}

std::string DriverItems::Describe(const OPTITEM& item) const {
  return Narrow(item.pName) + ": " + OptionName(item, item.Sel);
}

}  // namespace vornik::host
