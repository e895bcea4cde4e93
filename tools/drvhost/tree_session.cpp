#include "tree_session.h"

#include <string>
#include <vector>

namespace vornik::host {
namespace {

std::string ModeName(DWORD mode) {
  return mode == OEMCUIP_DOCPROP ? "OEMCUIP_DOCPROP" : "OEMCUIP_PRNPROP";
}

struct FlagChange {
  DWORD flag;
  const char* text;
};
constexpr FlagChange kItemFlags[] = {
    {OPTIF_HIDE, "hidden"},
    {OPTIF_DISABLED, "disabled"},
    {OPTIF_INITIAL_TVITEM, "shown first"},
};

// The option flags of every item, in item order, as they were before the
// plug-in's item pass.
std::vector<std::vector<DWORD>> OptionFlags(DriverItems& items) {
  std::vector<std::vector<DWORD>> flags(items.count());
  for (DWORD i = 0; i < items.count(); ++i) {
    const OPTTYPE* type = items.items()[i].pOptType;
    for (WORD j = 0; type && j < type->Count; ++j) flags[i].push_back(type->pOptParam[j].Flags);
  }
  return flags;
}

// The names of the options that carry the warning mark and did not carry it
// in `before` (the option flags of the item at an earlier time).
std::string MarkedOptions(DriverItems& items, const OPTITEM& item,
                          const std::vector<DWORD>& before) {
  std::string marked;
  for (WORD j = 0; item.pOptType && j < item.pOptType->Count; ++j) {
    const DWORD earlier = j < before.size() ? before[j] : 0;
    if (item.pOptType->pOptParam[j].Flags & ~earlier & OPTPF_OVERLAY_WARNING_ICON)
      marked += std::string(marked.empty() ? "" : ", ") + items.OptionName(item, j);
  }
  return marked;
}

}  // namespace

TreeSession::TreeSession(PluginHost& host, HANDLE printer, const PpdDocument* ppd, Report& report)
    : host_(host), printer_(printer), ppd_(ppd), report_(report) {
  publicDevmode_.dmSize = sizeof(DEVMODEW);
  publicDevmode_.dmFields = DM_DUPLEX | DM_ORIENTATION;
  publicDevmode_.dmDuplex = DMDUP_SIMPLEX;
}

void TreeSession::PrinterProperties() {
  items_.BuildPrinterTree(ppd_);
  Run(OEMCUIP_PRNPROP);
}

void TreeSession::DocumentProperties(const LayoutSettings& layout) {
  items_.BuildDocumentTree(ppd_);
  layout.ApplyTo(items_);
  for (DWORD i = 0; i < items_.count(); ++i) {
    const std::string marked = MarkedOptions(items_, items_.items()[i], {});
    if (!marked.empty())
      report_.Note("driver's own warning marks: " + items_.Describe(items_.items()[i]) + " -> " +
                   marked);
  }
  Run(OEMCUIP_DOCPROP);
}

void TreeSession::Run(DWORD mode) {
  param_ = {};
  param_.cbSize = sizeof(param_);
  param_.poemuiobj = &uiObject_;
  param_.hPrinter = printer_;
  param_.hModule = host_.module();
  param_.hOEMHeap = heap_.get();
  param_.pPublicDM = &publicDevmode_;
  param_.pOEMDM = &host_.devmode();
  param_.pDrvOptItems = items_.items();
  param_.cDrvOptItems = items_.count();

  host_.driver().ClearLog();
  HRESULT hr = host_.plugin()->CommonUIProp(mode, &param_);
  report_.Step(
      "CommonUIProp(" + ModeName(mode) + ") count query",
      HresultText(hr) + ", the plug-in adds " + std::to_string(param_.cOEMOptItems) + " items");
  for (const std::string& call : host_.driver().CallLog()) report_.Note("driver call: " + call);

  const Snapshot before = {{items_.items(), items_.items() + items_.count()}, OptionFlags(items_)};
  param_.pOEMOptItems = &pluginItems_;
  host_.driver().ClearLog();
  hr = host_.plugin()->CommonUIProp(mode, &param_);
  report_.Step("CommonUIProp(" + ModeName(mode) + ") item pass over " +
                   std::to_string(items_.count()) + " driver items",
               HresultText(hr) + (param_.OEMCUIPCallback ? ", item callback installed" : ""));
  ReportChanges(before);
}

void TreeSession::ReportChanges(const Snapshot& before) {
  int changes = 0;
  for (DWORD i = 0; i < items_.count(); ++i) {
    const OPTITEM& item = items_.items()[i];
    std::string what;
    for (const FlagChange& flag : kItemFlags) {
      if ((item.Flags & flag.flag) && !(before.items[i].Flags & flag.flag))
        what += std::string(what.empty() ? "" : ", ") + flag.text;
    }
    const std::string marked = MarkedOptions(items_, item, before.optionFlags[i]);
    std::string hiddenOptions;
    for (WORD j = 0; item.pOptType && j < item.pOptType->Count; ++j) {
      if (item.pOptType->pOptParam[j].Flags & ~before.optionFlags[i][j] & OPTPF_HIDE)
        hiddenOptions = "options hidden";
    }
    if (!marked.empty()) what += std::string(what.empty() ? "" : "; ") + "warning on " + marked;
    if (!hiddenOptions.empty()) what += std::string(what.empty() ? "" : "; ") + hiddenOptions;
    if (what.empty()) continue;
    ++changes;
    report_.Note(items_.Describe(item) + " -> " + what);
  }
  if (!changes) report_.Note("no item changed");
}

}  // namespace vornik::host
