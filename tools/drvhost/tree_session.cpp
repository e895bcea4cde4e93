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

void TreeSession::DocumentProperties() {
  items_.BuildDocumentTree(ppd_);
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

  const std::vector<OPTITEM> before(items_.items(), items_.items() + items_.count());
  param_.pOEMOptItems = &pluginItems_;
  host_.driver().ClearLog();
  hr = host_.plugin()->CommonUIProp(mode, &param_);
  report_.Step("CommonUIProp(" + ModeName(mode) + ") item pass over " +
                   std::to_string(items_.count()) + " driver items",
               HresultText(hr) + (param_.OEMCUIPCallback ? ", item callback installed" : ""));
  ReportChanges(before);
}

void TreeSession::ReportChanges(const std::vector<OPTITEM>& before) {
  int changes = 0;
  for (DWORD i = 0; i < items_.count(); ++i) {
    const OPTITEM& item = items_.items()[i];
    std::string what;
    for (const FlagChange& flag : kItemFlags) {
      if ((item.Flags & flag.flag) && !(before[i].Flags & flag.flag))
        what += std::string(what.empty() ? "" : ", ") + flag.text;
    }
    std::string marked, hiddenOptions;
    for (LONG j = 0; item.pOptType && j < item.pOptType->Count; ++j) {
      const DWORD flags = item.pOptType->pOptParam[j].Flags;
      if (flags & OPTPF_OVERLAY_WARNING_ICON)
        marked += std::string(marked.empty() ? "" : ", ") + items_.OptionName(item, j);
      if (flags & OPTPF_HIDE) hiddenOptions = "options hidden";
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
