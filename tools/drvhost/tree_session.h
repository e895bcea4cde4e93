// TreeSession: the driver's two CommonUIProp calls around one options tree
// (the count query, then the item pass with the driver's items), with a
// report of everything the plug-in changed in the items.
#pragma once

#include <windows.h>

#include <memory>

#include "driver_items.h"
#include "layout_settings.h"
#include "plugin_host.h"

namespace vornik::host {

// A private heap like the one the driver hands its plug-ins.
class HostHeap {
 public:
  HostHeap() : heap_(HeapCreate(0, 0, 0)) {}
  ~HostHeap() {
    if (heap_) HeapDestroy(heap_);
  }
  HostHeap(const HostHeap&) = delete;
  HostHeap& operator=(const HostHeap&) = delete;
  HANDLE get() const { return heap_; }

 private:
  HANDLE heap_;
};

class TreeSession {
 public:
  TreeSession(PluginHost& host, HANDLE printer, const PpdDocument* ppd, Report& report);

  // Device settings: count query and item pass in printer mode.
  void PrinterProperties();
  // Printing preferences: count query and item pass in document mode, with
  // the layout items set to `layout`. The items and the parameter record
  // stay alive for the pages and callback.
  void DocumentProperties(const LayoutSettings& layout = {});

  OEMCUIPPARAM& param() { return param_; }
  DriverItems& items() { return items_; }
  DEVMODEW& publicDevmode() { return publicDevmode_; }

 private:
  void Run(DWORD mode);
  struct Snapshot {
    std::vector<OPTITEM> items;
    std::vector<std::vector<DWORD>> optionFlags;
  };
  // Reports what the plug-in set that was not set before its item pass.
  void ReportChanges(const Snapshot& before);

  PluginHost& host_;
  HANDLE printer_;
  const PpdDocument* ppd_;
  Report& report_;
  HostHeap heap_;
  OEMUIOBJ uiObject_ = {sizeof(OEMUIOBJ), nullptr};
  DEVMODEW publicDevmode_ = {};
  DriverItems items_;
  OEMCUIPPARAM param_ = {};
  OPTITEM pluginItems_ = {};  // the plug-in adds none; the driver passes a slot
};

}  // namespace vornik::host
