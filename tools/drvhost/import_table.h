// The import address table of a loaded module: the slots through which its
// code calls the functions it imports, and a way to point a slot elsewhere.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vornik::host {

struct ImportSlot {
  std::string library;   // as the import table names it, e.g. "msvcrt.dll"
  std::string function;  // empty for an import by ordinal
  void** slot;           // the address the module's calls go through
};

// Every import of `module`, in table order.
std::vector<ImportSlot> ImportSlots(HMODULE module);

// Writes `address` into `slot`; false when its page cannot be made writable.
bool RewriteSlot(void** slot, void* address);

}  // namespace vornik::host
