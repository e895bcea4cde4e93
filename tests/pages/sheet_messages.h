// Records the change messages (PSM_CHANGED, PSM_UNCHANGED) that the pages
// send to their sheet window, by subclassing the sheet.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <vector>

namespace vornik::test {

// Records the change messages that reach the sheet window.
class SheetMessages {
 public:
  struct Entry {
    UINT message;
    WPARAM wParam;
  };

  static void Attach(HWND sheet) {
    entries().clear();
    previous() = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  }
  static std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
  }
  static size_t Count(UINT message, WPARAM wParam) {
    size_t count = 0;
    for (const Entry& entry : entries())
      count += entry.message == message && entry.wParam == wParam;
    return count;
  }

 private:
  static WNDPROC& previous() {
    static WNDPROC procedure = nullptr;
    return procedure;
  }
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PSM_CHANGED || message == PSM_UNCHANGED) entries().push_back({message, wParam});
    return CallWindowProcW(previous(), window, message, wParam, lParam);
  }
};

}  // namespace vornik::test
